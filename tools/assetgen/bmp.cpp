#include "bmp.h"

namespace assetgen {

namespace {
void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
}  // namespace

std::vector<uint8_t> EncodeBmp(const Image& image) {
  const uint32_t rowBytes = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
  const uint32_t dataSize = rowBytes * image.height;
  std::vector<uint8_t> b;
  b.reserve(54 + dataSize);
  b.push_back('B');
  b.push_back('M');
  Put32(b, 54 + dataSize);
  Put32(b, 0);
  Put32(b, 54);
  Put32(b, 40);
  Put32(b, image.width);
  Put32(b, image.height);
  Put16(b, 1);
  Put16(b, 24);
  Put32(b, 0);
  Put32(b, dataSize);
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, 0);
  Put32(b, 0);
  for (int y = image.height - 1; y >= 0; --y) {
    const uint8_t* row = &image.rgb[static_cast<size_t>(y) * image.width * 3];
    for (int x = 0; x < image.width; ++x) {
      b.push_back(row[x * 3 + 2]);
      b.push_back(row[x * 3 + 1]);
      b.push_back(row[x * 3 + 0]);
    }
    for (uint32_t p = image.width * 3; p < rowBytes; ++p) b.push_back(0);
  }
  return b;
}

}  // namespace assetgen
