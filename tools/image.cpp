#include "tools/image.h"

#include <algorithm>

namespace {

std::vector<int> BinomialWeights(int radius) {
  std::vector<int> w(2 * radius + 1, 0);
  w[0] = 1;
  for (int n = 1; n <= 2 * radius; ++n)
    for (int k = n; k > 0; --k) w[k] += w[k - 1];
  return w;
}

}  // namespace

Coverage Blur(const Coverage& source, int radius) {
  if (radius <= 0) return source;
  const std::vector<int> w = BinomialWeights(radius);
  const int total = 1 << (2 * radius);
  std::vector<int> across(source.value.size(), 0);
  for (int y = 0; y < source.height; ++y)
    for (int x = 0; x < source.width; ++x) {
      int sum = 0;
      for (int k = -radius; k <= radius; ++k) {
        const int sx = x + k;
        if (sx >= 0 && sx < source.width) sum += w[k + radius] * source.at(sx, y);
      }
      across[static_cast<size_t>(y) * source.width + x] = sum;
    }
  Coverage out(source.width, source.height);
  const long long scale = static_cast<long long>(total) * total;
  for (int y = 0; y < source.height; ++y)
    for (int x = 0; x < source.width; ++x) {
      long long sum = 0;
      for (int k = -radius; k <= radius; ++k) {
        const int sy = y + k;
        if (sy >= 0 && sy < source.height)
          sum += static_cast<long long>(w[k + radius]) * across[static_cast<size_t>(sy) * source.width + x];
      }
      out.at(x, y) = static_cast<std::uint8_t>((sum + scale / 2) / scale);
    }
  return out;
}

void AddCoverage(Image& image, const Coverage& coverage, RGB colour, int x0, int y0, int gain) {
  for (int y = 0; y < coverage.height; ++y) {
    const int ty = y0 + y;
    if (ty < 0 || ty >= image.height) continue;
    for (int x = 0; x < coverage.width; ++x) {
      const int tx = x0 + x;
      const int c = coverage.at(x, y);
      if (tx < 0 || tx >= image.width || c == 0) continue;
      std::uint8_t* p = image.pixel(tx, ty);
      const int channel[3] = {colour.r, colour.g, colour.b};
      for (int i = 0; i < 3; ++i) {
        const int add = (channel[i] * c * gain + 255 * 128) / (255 * 256);
        p[i] = static_cast<std::uint8_t>(std::min(255, p[i] + add));
      }
    }
  }
}

void FillRamp(Coverage& coverage, int x0, int y0, int w, int h, int left, int right) {
  for (int y = y0; y < y0 + h; ++y) {
    if (y < 0 || y >= coverage.height) continue;
    for (int x = x0; x < x0 + w; ++x) {
      if (x < 0 || x >= coverage.width) continue;
      const int v = w > 1 ? left + (right - left) * (x - x0) / (w - 1) : left;
      coverage.at(x, y) = static_cast<std::uint8_t>(std::clamp(v, 0, 255));
    }
  }
}
