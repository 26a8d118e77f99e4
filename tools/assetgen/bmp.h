#pragma once
// 24-bit BMP images in memory.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace assetgen {

struct Image {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;  // top-down rows, 3 bytes per pixel

  Image() = default;
  Image(int w, int h) : width(w), height(h), rgb(static_cast<size_t>(w) * h * 3, 0) {}
  void Set(int x, int y, uint8_t r, uint8_t g, uint8_t b) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    p[0] = r; p[1] = g; p[2] = b;
  }
};

// Encodes a 24-bit bottom-up BMP with a BITMAPINFOHEADER and padded rows.
std::vector<uint8_t> EncodeBmp(const Image& image);

}  // namespace assetgen
