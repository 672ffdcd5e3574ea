#pragma once
// Small archives and TGA images built in the tests, and files to hold them.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/archive_writer.h"

using Bytes = std::vector<uint8_t>;

// The 18-byte TGA header: no ID field, no colour map, origin 0.
Bytes TgaHeader(uint8_t imageType, uint16_t width, uint16_t height, uint8_t depth, uint8_t descriptor = 0);
// A type 2 image: the header, then stored pixel bytes (blue, green, red[, alpha]) as given.
Bytes UncompressedTga(uint16_t width, uint16_t height, uint8_t depth, const Bytes& stored);
// A type 2, 24-bit image from red-green-blue triples (converted to stored order).
Bytes RgbTga(uint16_t width, uint16_t height, const Bytes& rgb);
Bytes Concat(Bytes a, const Bytes& b);

// A file in the temporary folder holding the given bytes, removed when destroyed.
class TempFile {
public:
    explicit TempFile(const Bytes& bytes);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const char* path() const { return path_.c_str(); }
    void Rewrite(const Bytes& bytes);

private:
    std::string path_;
};
