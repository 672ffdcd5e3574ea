#pragma once
// Writes 24-bit true-colour TGA files of the kind the resource archive holds:
// no ID field, no colour map, origin 0, rows stored bottom row first.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/image.h"

// The whole file for an image: run-length encoded (type 10) when that is
// smaller than the plain layout (type 2), else plain. Rows of `image` run top
// down; the file stores them bottom up, so the picture's top row comes last.
std::vector<std::uint8_t> EncodeTGA(const Image& image);

// The run-length pixel data alone (packets never cross a row end, as most
// readers expect), for rows already in stored order, 3 bytes (B, G, R) a pixel.
std::vector<std::uint8_t> EncodeTGARunLength(const std::vector<std::uint8_t>& bgrRows,
                                             int width, int height);

// Writes EncodeTGA(image) to `path` through a temporary file and a rename, so
// a failed run never leaves a half-written picture behind. On failure returns
// false and puts the reason in `error`.
bool WriteTGA(const std::string& path, const Image& image, std::string& error);
