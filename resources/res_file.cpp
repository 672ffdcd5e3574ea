#include "resources/res_file.h"

#include <cstring>
#include <new>

namespace {

const char kMagic[4] = {'Q', 'M', 'B', 'F'};

// The archive is little-endian on every host.
uint32_t FromLittleEndian(uint32_t stored) {
    unsigned char b[4];
    std::memcpy(b, &stored, 4);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

int32_t SignedFromLittleEndian(int32_t stored) {
    uint32_t raw;
    std::memcpy(&raw, &stored, 4);
    const uint32_t host = FromLittleEndian(raw);
    int32_t value;
    std::memcpy(&value, &host, 4);
    return value;
}

}  // namespace

RESFILE::~RESFILE() { Close(); }

void RESFILE::CloseFile() {
    // ifstream::close marks the stream failed itself when closing fails.
    if (STREAM.is_open()) STREAM.close();
}

bool RESFILE::Open(const char* path) {
    Close();  // a reader may be opened again; drop what an earlier Open held
    STREAM.clear();
    STREAM.open(path, std::ios::in | std::ios::binary);
    if (!STREAM.is_open()) {
        STREAM.setstate(std::ios::failbit);
        return false;
    }

    STREAM.seekg(0, std::ios::end);
    const std::streamoff length = STREAM.tellg();
    // Positions are signed 32-bit: longer files (and unseekable ones) are refused.
    if (length < 0 || length > INT32_MAX) {
        CloseFile();
        return false;
    }
    FILESIZE = static_cast<int32_t>(length);
    STREAM.seekg(0, std::ios::beg);

    STREAM.read(reinterpret_cast<char*>(&HEADER), sizeof HEADER);
    if (STREAM.gcount() != static_cast<std::streamsize>(sizeof HEADER)) return false;

    HEADER.NUMLUMPS = FromLittleEndian(HEADER.NUMLUMPS);
    HEADER.SIZECHECK = FromLittleEndian(HEADER.SIZECHECK);
    HEADER.DIROFFSET = FromLittleEndian(HEADER.DIROFFSET);

    if (std::memcmp(HEADER.MAGIC, kMagic, 4) != 0 ||
        HEADER.SIZECHECK != ~static_cast<uint32_t>(FILESIZE)) {
        CloseFile();
        return false;
    }

    // NUMLUMPS x 28 can exceed 32 bits: check the directory against the file
    // in 64 bits before allocating, so a huge count cannot shrink the buffer.
    // An empty directory reads nothing, wherever it is said to lie.
    const uint64_t dirEnd = uint64_t(HEADER.DIROFFSET) + uint64_t(HEADER.NUMLUMPS) * sizeof(RESLUMP);
    if (HEADER.NUMLUMPS > 0 && dirEnd > uint64_t(FILESIZE)) {
        CloseFile();
        return false;
    }

    LUMPS = new (std::nothrow) RESLUMP[HEADER.NUMLUMPS];
    if (!LUMPS) {
        CloseFile();
        return false;
    }

    STREAM.seekg(HEADER.DIROFFSET, std::ios::beg);
    if (STREAM.fail() || STREAM.bad()) {
        CloseFile();
        return false;
    }

    for (uint32_t index = 0; index < HEADER.NUMLUMPS; ++index) {
        RESLUMP& lump = LUMPS[index];
        STREAM.read(reinterpret_cast<char*>(&lump), sizeof lump);
        if (STREAM.gcount() != static_cast<std::streamsize>(sizeof lump)) {
            CloseFile();
            return false;
        }
        lump.LUMPSIZE = FromLittleEndian(lump.LUMPSIZE);
        lump.LUMPOFFSET = FromLittleEndian(lump.LUMPOFFSET);
        lump.LUMPTYPE = SignedFromLittleEndian(lump.LUMPTYPE);
        lump.ALPHAMODE = SignedFromLittleEndian(lump.ALPHAMODE);
    }
    return true;
}

bool RESFILE::ValidIndex(int index) const {
    return STREAM.is_open() && LUMPS != nullptr && index >= 0 &&
           static_cast<uint32_t>(index) < HEADER.NUMLUMPS;
}

bool RESFILE::SeekTo(uint32_t offset) {
    // A read that ran past a lump's end leaves the stream failed; every
    // later seek starts afresh so that lumps may be visited in any order.
    STREAM.clear();
    STREAM.seekg(static_cast<std::streamoff>(offset), std::ios::beg);
    return !STREAM.fail() && !STREAM.bad();
}

bool RESFILE::SeekLump(int index) {
    if (!ValidIndex(index)) return false;
    return SeekTo(LUMPS[index].LUMPOFFSET);
}

bool RESFILE::LoadData(int index, unsigned char** out) {
    if (!ValidIndex(index) || out == nullptr) return false;
    const RESLUMP& lump = LUMPS[index];
    if (!SeekTo(lump.LUMPOFFSET)) return false;
    // A lump that runs past the end of the file can never be read whole:
    // refuse it before allocating its claimed size.
    if (lump.LUMPSIZE > 0 && uint64_t(lump.LUMPOFFSET) + lump.LUMPSIZE > uint64_t(FILESIZE)) return false;

    unsigned char* buffer = new (std::nothrow) unsigned char[lump.LUMPSIZE];
    if (!buffer) return false;
    STREAM.read(reinterpret_cast<char*>(buffer), lump.LUMPSIZE);
    if (STREAM.gcount() != static_cast<std::streamsize>(lump.LUMPSIZE)) {
        delete[] buffer;
        return false;
    }
    *out = buffer;
    return true;
}

void RESFILE::Close() {
    delete[] LUMPS;
    LUMPS = nullptr;
    CloseFile();
}
