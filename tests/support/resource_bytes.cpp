#include "tests/support/resource_bytes.h"

#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

Bytes TgaHeader(uint8_t imageType, uint16_t width, uint16_t height, uint8_t depth, uint8_t descriptor) {
    Bytes header(18, 0);
    header[2] = imageType;
    header[12] = uint8_t(width);
    header[13] = uint8_t(width >> 8);
    header[14] = uint8_t(height);
    header[15] = uint8_t(height >> 8);
    header[16] = depth;
    header[17] = descriptor;
    return header;
}

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes UncompressedTga(uint16_t width, uint16_t height, uint8_t depth, const Bytes& stored) {
    return Concat(TgaHeader(2, width, height, depth), stored);
}

Bytes RgbTga(uint16_t width, uint16_t height, const Bytes& rgb) {
    Bytes stored(rgb.size());
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
        stored[i] = rgb[i + 2];
        stored[i + 1] = rgb[i + 1];
        stored[i + 2] = rgb[i];
    }
    return UncompressedTga(width, height, 24, stored);
}

TempFile::TempFile(const Bytes& bytes) {
    const char* folder = std::getenv("TMPDIR");
    std::string pattern = std::string(folder && *folder ? folder : "/tmp") + "/korvel-test-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) throw std::runtime_error("cannot create a temporary file");
    close(fd);
    path_ = pattern;
    Rewrite(bytes);
}

TempFile::~TempFile() { unlink(path_.c_str()); }

void TempFile::Rewrite(const Bytes& bytes) {
    // A new file rather than a truncated one: ext4 flushes a file that is
    // truncated and rewritten at close, which would make each rewrite wait on the disk.
    unlink(path_.c_str());
    if (!WriteBytes(path_, bytes)) throw std::runtime_error("cannot write " + path_);
}
