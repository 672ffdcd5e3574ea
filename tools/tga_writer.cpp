#include "tools/tga_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kHeaderSize = 18;

std::vector<std::uint8_t> Header(int type, int width, int height) {
  std::vector<std::uint8_t> h(kHeaderSize, 0);
  h[2] = static_cast<std::uint8_t>(type);
  h[12] = static_cast<std::uint8_t>(width & 0xFF);
  h[13] = static_cast<std::uint8_t>(width >> 8);
  h[14] = static_cast<std::uint8_t>(height & 0xFF);
  h[15] = static_cast<std::uint8_t>(height >> 8);
  h[16] = 24;
  h[17] = 0;  // no alpha bits; bit 5 clear: bottom row first
  return h;
}

bool SamePixel(const std::uint8_t* a, const std::uint8_t* b) {
  return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

}  // namespace

std::vector<std::uint8_t> EncodeTGARunLength(const std::vector<std::uint8_t>& bgrRows, int width,
                                             int height) {
  std::vector<std::uint8_t> out;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = &bgrRows[static_cast<size_t>(y) * width * 3];
    int x = 0;
    while (x < width) {
      int run = 1;
      while (x + run < width && run < 128 && SamePixel(row + 3 * (x + run), row + 3 * x)) ++run;
      if (run >= 2) {
        // Two equal pixels already cost less as a run (4 bytes) than raw (6).
        out.push_back(static_cast<std::uint8_t>(127 + run));
        out.insert(out.end(), row + 3 * x, row + 3 * x + 3);
        x += run;
        continue;
      }
      // Raw packet: gather pixels up to the next pair of equal neighbours.
      int count = 1;
      while (x + count < width && count < 128 &&
             !(x + count + 1 < width &&
               SamePixel(row + 3 * (x + count), row + 3 * (x + count + 1))))
        ++count;
      out.push_back(static_cast<std::uint8_t>(count - 1));
      out.insert(out.end(), row + 3 * x, row + 3 * (x + count));
      x += count;
    }
  }
  return out;
}

std::vector<std::uint8_t> EncodeTGA(const Image& image) {
  const int w = image.width;
  const int h = image.height;
  std::vector<std::uint8_t> bgr(static_cast<size_t>(w) * h * 3);
  for (int sy = 0; sy < h; ++sy) {
    const int y = h - 1 - sy;  // stored row sy is the picture's row h − 1 − sy
    for (int x = 0; x < w; ++x) {
      const std::uint8_t* p = image.pixel(x, y);
      std::uint8_t* q = &bgr[(static_cast<size_t>(sy) * w + x) * 3];
      q[0] = p[2];
      q[1] = p[1];
      q[2] = p[0];
    }
  }
  std::vector<std::uint8_t> rle = EncodeTGARunLength(bgr, w, h);
  const bool compress = rle.size() < bgr.size();
  const std::vector<std::uint8_t> header = Header(compress ? 10 : 2, w, h);
  const std::vector<std::uint8_t>& body = compress ? rle : bgr;
  std::vector<std::uint8_t> file(header.size() + body.size());
  std::copy(header.begin(), header.end(), file.begin());
  std::copy(body.begin(), body.end(), file.begin() + static_cast<std::ptrdiff_t>(header.size()));
  return file;
}

bool WriteTGA(const std::string& path, const Image& image, std::string& error) {
  if (image.width <= 0 || image.height <= 0 || image.width > 0xFFFF || image.height > 0xFFFF) {
    error = path + ": image size " + std::to_string(image.width) + " x " +
            std::to_string(image.height) + " does not fit a TGA header";
    return false;
  }
  const std::vector<std::uint8_t> bytes = EncodeTGA(image);
  const std::string temp = path + ".part";
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const int writeErrno = errno;
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) {
    error = "cannot write " + path + ": " + std::strerror(written ? errno : writeErrno);
    std::remove(temp.c_str());
    return false;
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    std::remove(temp.c_str());
    return false;
  }
  return true;
}
