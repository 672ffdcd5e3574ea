// pack_archive OUT FILE:TYPE:ALPHA ...
// Packs files into a resource archive as lumps 0, 1, ... in the order given,
// each with its lump type and alpha mode. The archive is written beside OUT
// and renamed into place, so a failed run never leaves a half archive.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tools/archive_writer.h"

namespace {

bool ParseInt(const std::string& text, int32_t* value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || parsed < INT32_MIN || parsed > INT32_MAX) return false;
    *value = int32_t(parsed);
    return true;
}

// FILE:TYPE:ALPHA, split from the right so that the path may hold colons.
bool ParseSpec(const std::string& spec, std::string* path, int32_t* type, int32_t* alpha) {
    const size_t second = spec.rfind(':');
    if (second == std::string::npos || second == 0) return false;
    const size_t first = spec.rfind(':', second - 1);
    if (first == std::string::npos || first == 0) return false;
    *path = spec.substr(0, first);
    return ParseInt(spec.substr(first + 1, second - first - 1), type) &&
           ParseInt(spec.substr(second + 1), alpha);
}

// An image lump must start with a header the decoder accepts: type 2 or 10,
// no ID field, no colour map, origin 0, a size and a depth of 24 or 32.
bool LooksLikeTGA(const std::vector<uint8_t>& data) {
    if (data.size() < 18) return false;
    for (int i = 0; i < 12; ++i) {
        if (i != 2 && data[i] != 0) return false;
    }
    const bool width = data[12] || data[13], height = data[14] || data[15];
    return (data[2] == 2 || data[2] == 10) && width && height && (data[16] == 24 || data[16] == 32);
}

int Usage() {
    std::fprintf(stderr, "usage: pack_archive OUT FILE:TYPE:ALPHA ...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string out = argv[1];
    std::vector<ArchiveLump> lumps;
    uint64_t total = kHeaderSize;
    for (int i = 2; i < argc; ++i) {
        ArchiveLump lump;
        std::string path;
        if (!ParseSpec(argv[i], &path, &lump.type, &lump.alphaMode)) {
            std::fprintf(stderr, "pack_archive: '%s' is not FILE:TYPE:ALPHA\n", argv[i]);
            return Usage();
        }
        if (!ReadBytes(path, &lump.data)) {
            std::fprintf(stderr, "pack_archive: cannot read %s: %s\n", path.c_str(), std::strerror(errno));
            return 1;
        }
        if (lump.type == 1 && !LooksLikeTGA(lump.data)) {
            std::fprintf(stderr, "pack_archive: %s is not a 24- or 32-bit true-colour TGA of type 2 or 10\n",
                         path.c_str());
            return 1;
        }
        total += lump.data.size() + kEntrySize;
        lumps.push_back(std::move(lump));
    }
    if (total > INT32_MAX) {
        std::fprintf(stderr, "pack_archive: the archive would be %llu bytes; readers take under 2^31\n",
                     static_cast<unsigned long long>(total));
        return 1;
    }

    const std::string temporary = out + ".tmp";
    if (!WriteBytes(temporary, BuildArchive(lumps))) {
        std::fprintf(stderr, "pack_archive: cannot write %s: %s\n", temporary.c_str(), std::strerror(errno));
        std::remove(temporary.c_str());
        return 1;
    }
    if (std::rename(temporary.c_str(), out.c_str()) != 0) {
        std::fprintf(stderr, "pack_archive: cannot rename %s to %s: %s\n", temporary.c_str(), out.c_str(),
                     std::strerror(errno));
        std::remove(temporary.c_str());
        return 1;
    }
    return 0;
}
