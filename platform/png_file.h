#pragma once
// Writes rendered frames as PNG files.
#include <cstdint>
#include <string>
#include <vector>

// rgba: width x height pixels, four bytes each, top row first; written as
// opaque RGB. On failure
// returns false and sets *error (when given) to a message naming the file.
bool WritePNG(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba,
              std::string* error = nullptr);
