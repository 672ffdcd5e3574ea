#pragma once
// Small raster types for drawing the archive's pictures.
#include <cstddef>
#include <cstdint>
#include <vector>

// 8-bit coverage (0 = nothing, 255 = fully covered), rows top down.
struct Coverage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> value;

  Coverage(int w, int h) : width(w), height(h), value(static_cast<std::size_t>(w) * h, 0) {}
  std::uint8_t& at(int x, int y) { return value[static_cast<std::size_t>(y) * width + x]; }
  std::uint8_t at(int x, int y) const { return value[static_cast<std::size_t>(y) * width + x]; }
};

struct RGB {
  std::uint8_t r, g, b;
};

// 24-bit colour picture, rows top down, 3 bytes (R, G, B) a pixel.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;

  Image(int w, int h) : width(w), height(h), rgb(static_cast<std::size_t>(w) * h * 3, 0) {}
  std::uint8_t* pixel(int x, int y) { return &rgb[(static_cast<std::size_t>(y) * width + x) * 3]; }
  const std::uint8_t* pixel(int x, int y) const {
    return &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
  }
};

// Separable blur with binomial weights of the given radius, integer arithmetic
// throughout so that the pictures come out byte for byte the same everywhere.
Coverage Blur(const Coverage& source, int radius);

// Adds colour × coverage ÷ 255 (times gain ÷ 256) into the picture, saturating,
// with the coverage's top-left corner at (x0, y0); parts outside are dropped.
void AddCoverage(Image& image, const Coverage& coverage, RGB colour, int x0 = 0, int y0 = 0,
                 int gain = 256);

// Fills a rectangle of coverage with a horizontal ramp: `left` at x0 rising or
// falling linearly to `right` at x0 + w − 1.
void FillRamp(Coverage& coverage, int x0, int y0, int w, int h, int left, int right);
