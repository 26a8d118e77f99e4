#include "scene/bmp_check.h"

#include <cstdint>

namespace kelmora::scene {

namespace {

uint32_t Le(std::string_view b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(b[at + static_cast<size_t>(i)]);
  return v;
}

}  // namespace

std::string BmpProblem(std::string_view b) {
  if (b.empty()) return "the file is empty";
  if (b.size() < 26 || b.substr(0, 2) != "BM") return "";  // the reader names what it is not
  const uint32_t header = Le(b, 14, 4);
  int64_t width = 0, height = 0;
  uint32_t depth = 0, packing = 0;
  if (header == 12) {  // the old, short header
    width = Le(b, 18, 2);
    height = Le(b, 20, 2);
    depth = Le(b, 24, 2);
  } else if (header >= 40) {
    // The reader takes the missing fields of a header cut short for sizes read elsewhere,
    // and asks for terabytes.
    if (b.size() < 14 + 40) return "cut short in its header";
    width = static_cast<int32_t>(Le(b, 18, 4));
    height = static_cast<int32_t>(Le(b, 22, 4));
    depth = Le(b, 28, 2);
    packing = Le(b, 30, 4);
  } else {
    return "";
  }
  if (width < 0) width = -width;
  if (height < 0) height = -height;
  if (width > kLargestTexture || height > kLargestTexture) {
    return std::to_string(width) + " x " + std::to_string(height) + " texels, more than a texture may have";
  }
  // Rows of uncompressed texels, each padded to four bytes: all must be in the file.
  const bool plain = packing == 0 || packing == 3;
  if (plain && height > 0 && (depth == 1 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32)) {
    const int64_t row = (width * depth + 31) / 32 * 4;
    const int64_t need = int64_t{Le(b, 10, 4)} + row * (height - 1) + (width * depth + 7) / 8;
    if (need > static_cast<int64_t>(b.size())) {
      return "cut short: its texels need " + std::to_string(need) + " bytes, the file has " + std::to_string(b.size());
    }
  }
  return "";
}

}  // namespace kelmora::scene
