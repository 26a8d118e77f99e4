// The check that passes over a group of field frames whose rows have not changed: a change in
// any one slot of any row, at either end or in the middle of a sixteen-byte piece, must be
// seen, or that frame would stay where it was.
#include <gtest/gtest.h>

#include "match/snow/field_places.h"

namespace kelmora {
namespace {

template <size_t N>
void ExpectEverySlotSeen() {
  GroupPlaced<N> placed;
  std::array<scene::FrameHandle, N> frames{};
  std::array<int16_t, N> x{}, z{}, t{};
  for (size_t k = 0; k < N; ++k) {
    frames[k] = {static_cast<int32_t>(1000 + k)};
    x[k] = static_cast<int16_t>(-300 + 7 * static_cast<int>(k));
    z[k] = static_cast<int16_t>(200 - 5 * static_cast<int>(k));
    t[k] = static_cast<int16_t>(k);
  }
  EXPECT_FALSE(placed.Same(frames, 3, x, z, t)) << "nothing kept yet";
  placed.Keep(frames, 3, x, z, t);
  EXPECT_TRUE(placed.Same(frames, 3, x, z, t));
  EXPECT_FALSE(placed.Same(frames, 4, x, z, t));
  for (size_t k = 0; k < N; ++k) {
    for (const int16_t change : {1, 256, -32768}) {
      auto x2 = x, z2 = z, t2 = t;
      x2[k] = static_cast<int16_t>(x2[k] ^ change);
      z2[k] = static_cast<int16_t>(z2[k] ^ change);
      t2[k] = static_cast<int16_t>(t2[k] ^ change);
      EXPECT_FALSE(placed.Same(frames, 3, x2, z, t)) << N << " slots, x of slot " << k;
      EXPECT_FALSE(placed.Same(frames, 3, x, z2, t)) << N << " slots, z of slot " << k;
      EXPECT_FALSE(placed.Same(frames, 3, x, z, t2)) << N << " slots, third row of slot " << k;
      auto frames2 = frames;
      frames2[k].id ^= change;
      EXPECT_FALSE(placed.Same(frames2, 3, x, z, t)) << N << " slots, frame of slot " << k;
    }
  }
}

TEST(FieldPlaces, AGroupSeesAChangeInAnySlotOfAnyRow) {
  ExpectEverySlotSeen<kPileSlots>();
  ExpectEverySlotSeen<kDecoySlots>();
  ExpectEverySlotSeen<kNetSlots>();
  ExpectEverySlotSeen<3>();
  ExpectEverySlotSeen<8>();
}

}  // namespace
}  // namespace kelmora
