#pragma once
// Writes resource archives: the 24-byte header, the lumps' data in order, the
// directory of 28-byte entries, and SIZECHECK last from the final length.
// Every number is little-endian and every reserved byte zero, so the same
// lumps always give the same bytes. Used by the packer and by the tests.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct ArchiveLump {
    std::vector<uint8_t> data;
    int32_t type = 1;       // 1: a TGA image
    int32_t alphaMode = 0;  // 1 colour key, 2 brightness, else opaque
};

inline void PutLittleEndian32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = uint8_t(value >> (8 * i));
}

inline uint32_t GetLittleEndian32(const std::vector<uint8_t>& bytes, size_t at) {
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
}

// Offsets of the header fields and of a directory entry's fields.
constexpr size_t kHeaderSize = 24, kEntrySize = 28;
constexpr size_t kNumLumpsAt = 12, kSizeCheckAt = 16, kDirOffsetAt = 20;
constexpr size_t kLumpSizeAt = 0, kLumpOffsetAt = 4, kLumpTypeAt = 8, kAlphaModeAt = 12;

// The archive's bytes. The caller keeps the total under 2^31 bytes.
inline std::vector<uint8_t> BuildArchive(const std::vector<ArchiveLump>& lumps) {
    std::vector<uint8_t> bytes(kHeaderSize, 0);
    bytes[0] = 'Q';
    bytes[1] = 'M';
    bytes[2] = 'B';
    bytes[3] = 'F';
    std::vector<uint32_t> offsets;
    for (const ArchiveLump& lump : lumps) {
        offsets.push_back(uint32_t(bytes.size()));
        bytes.insert(bytes.end(), lump.data.begin(), lump.data.end());
    }
    const size_t directory = bytes.size();
    bytes.resize(directory + kEntrySize * lumps.size(), 0);
    for (size_t i = 0; i < lumps.size(); ++i) {
        const size_t entry = directory + kEntrySize * i;
        PutLittleEndian32(bytes, entry + kLumpSizeAt, uint32_t(lumps[i].data.size()));
        PutLittleEndian32(bytes, entry + kLumpOffsetAt, offsets[i]);
        PutLittleEndian32(bytes, entry + kLumpTypeAt, uint32_t(lumps[i].type));
        PutLittleEndian32(bytes, entry + kAlphaModeAt, uint32_t(lumps[i].alphaMode));
    }
    PutLittleEndian32(bytes, kNumLumpsAt, uint32_t(lumps.size()));
    PutLittleEndian32(bytes, kDirOffsetAt, uint32_t(directory));
    // Last: the complement of the finished file's length.
    PutLittleEndian32(bytes, kSizeCheckAt, ~uint32_t(bytes.size()));
    return bytes;
}

// Writes bytes to path; true when every byte reached the file.
inline bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

inline bool ReadBytes(const std::string& path, std::vector<uint8_t>* bytes) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    bytes->clear();
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes->insert(bytes->end(), chunk, chunk + got);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}
