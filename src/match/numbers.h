#pragma once
// Number conversions of the game rules.
#include <cmath>
#include <cstdint>

namespace kelmora {

// Int: the largest whole number not above x.
inline int32_t Int(double x) { return static_cast<int32_t>(std::floor(x)); }

// Conversion to a 16-bit field: the nearest whole number, halves to the even one.
inline int16_t ToInt16(double x) {
  return static_cast<int16_t>(static_cast<int32_t>(std::nearbyint(x)));
}

}  // namespace kelmora
