// The check that passes over a group of field frames whose rows have not changed: a change in
// any one slot of any row, at either end or in the middle of a sixteen-byte piece, must be
// seen, or that frame would stay where it was.
#include <gtest/gtest.h>

#include <random>

#include "match/snow/field_places.h"
#include "scene/scene.h"

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

// A group placed at one height, over many turns with the height, places and frames changing
// now and then, must leave every frame where SetPosition would have put it each turn: the
// frames the placing passes over, or hands over without comparing, must be the right ones.
TEST(FieldPlaces, AGroupAtOneHeightEndsWhereEachFrameWouldBePut) {
  constexpr size_t N = 7;
  scene::Scene sc;
  sc.CreateRetainedMode();
  const scene::FrameHandle root = sc.CreateFrame({});
  GroupPlaced<N> group;
  FieldPlacements<N> batch;
  std::array<scene::FrameHandle, N> frames{};
  std::array<int16_t, N> x{}, z{};
  for (auto& f : frames) f = sc.CreateFrame(root);
  std::mt19937 rng(7);
  double y = 0;
  for (int turn = 0; turn < 400; ++turn) {
    const auto k = static_cast<size_t>(rng() % N);
    switch (rng() % 5) {
      case 0: y = static_cast<double>(static_cast<int>(rng() % 3) - 1); break;
      case 1: x[k] = static_cast<int16_t>(static_cast<int>(rng() % 41) - 20); break;
      case 2: z[k] = static_cast<int16_t>(static_cast<int>(rng() % 41) - 20); break;
      case 3:  // a new frame in the slot, still at its parent's origin, maybe never placed
        sc.Release(frames[k]);
        frames[k] = sc.CreateFrame(root);
        break;
      default: break;
    }
    if (turn % 3 == 0) continue;  // the frames wait a turn or two
    if (!group.Same(frames, y, x, z, x)) {
      PlaceGroupAtHeight(sc, batch, group, frames, x, y, z);
      group.Keep(frames, y, x, z, x);
    }
    for (size_t i = 0; i < N; ++i) {
      ASSERT_EQ(sc.Position(frames[i]), glm::dvec3(x[i], y, z[i])) << "turn " << turn << ", slot " << i;
    }
  }
}

}  // namespace
}  // namespace kelmora
