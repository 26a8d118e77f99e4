// The shortcuts the rules take for speed give the same answers as the plain rules.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "match/random.h"
#include "match/reach.h"

namespace kelmora {
namespace {

TEST(RandomSkip, SkippingNDrawsLeavesTheSequenceWhereNDrawsWould) {
  Random drawn, skipped;
  for (int i = 0; i < 37; ++i) drawn.Rnd();
  skipped.Rnd();
  skipped.Skip(36);
  EXPECT_EQ(skipped.draws(), drawn.draws());
  for (int i = 0; i < 5; ++i) EXPECT_EQ(skipped.Rnd(), drawn.Rnd());
  skipped.Skip(0);
  EXPECT_EQ(skipped.Rnd(), drawn.Rnd());
}

TEST(ReachBox, AgreesWithTheReachTestOnEveryWholeNumberPlace) {
  // Points on, just inside and just outside the edges, whole and fractional, both signs;
  // objects around both edges of the reach and at the point itself.
  const double points[] = {-370, -120.5, -50, -49.999, -0.25, 0, 0.5, 49.5, 50, 50.0001, 99, 369.75};
  auto near = [](double a, int half) {
    std::vector<int> out;
    const int c = static_cast<int>(std::lround(a));
    for (int d = -2; d <= 2; ++d) {
      out.push_back(c - half + d);
      out.push_back(c + half + d);
    }
    out.push_back(c);
    return out;
  };
  for (int half : {20, 50, 100}) {
    for (double ax : points) {
      for (double az : points) {
        const ReachBox box(ax, az, half);
        for (int x : near(ax, half)) {
          for (int z : near(az, half)) {
            ASSERT_EQ(box.Holds(x, z), Reaches(ax, az, x, z, half))
                << "point (" << ax << ", " << az << ") object (" << x << ", " << z << ") half " << half;
          }
        }
      }
    }
  }
  MatchState st;
  st.pileX.fill(kAbsent);
  st.pileX[3] = 40;
  st.pileZ[3] = 0;
  st.pileX[9] = -40;
  st.pileZ[9] = 0;
  EXPECT_EQ(NextPileReaching(st, 0, 0, 0), 3);
  EXPECT_EQ(NextPileReaching(st, 0, 0, 4), 9);
  EXPECT_EQ(NextPileReaching(st, 0, 0, 10), kPileSlots);
  EXPECT_EQ(NextPileReaching(st, 90, 0, 0), kPileSlots) << "reach is strict: 50 away is out";
}

TEST(ReachBox, WholeNumberFloorAndCeilAgreeWithTheLibrarys) {
  std::vector<double> values = {0.0, -0.0, 0.5, -0.5, 1e-300, -1e-300, 0.9999999999999999, -0.9999999999999999,
                                1, -1, 49.5, -49.5, 370, -370, 32767.5, -32768.5, 1073741823.5, -1073741823.5,
                                1073741824.0, -1073741824.0, 3e9, -3e9};
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> any(-40000, 40000);
  for (int i = 0; i < 20000; ++i) {
    const double v = any(rng);
    values.push_back(v);
    values.push_back(std::nextafter(std::round(v), 0.0));  // just inside a whole number
    values.push_back(std::round(v));
  }
  for (const double v : values) {
    if (std::abs(v) < 2e9) {
      ASSERT_EQ(FloorToInt(v), static_cast<int32_t>(std::floor(v))) << v;
      ASSERT_EQ(CeilToInt(v), static_cast<int32_t>(std::ceil(v))) << v;
    }
  }
}

TEST(PileMask, AgreesWithTheSlotBySlotTestForEverySlot) {
  // Random fields with absent piles, piles on the edges of the 16-bit range and piles in
  // every slot (the last ones are read through an overlapping group); boxes anywhere, beyond
  // that range too.
  Random rnd;
  auto pick = [&](int n) { return static_cast<int>(rnd.Rnd() * n); };
  const int16_t edges[] = {INT16_MIN, INT16_MIN + 1, -1, 0, 1, INT16_MAX - 1, INT16_MAX};
  for (int round = 0; round < 3000; ++round) {
    MatchState st;
    for (int k = 0; k < kPileSlots; ++k) {
      const int kind = pick(5);
      st.pileX[k] = kind == 0 ? kAbsent : kind == 1 ? edges[pick(7)] : static_cast<int16_t>(pick(200) - 100);
      st.pileZ[k] = kind == 1 ? edges[pick(7)] : static_cast<int16_t>(pick(200) - 100);
    }
    const double far = round % 10 == 0 ? 40000 : 0;
    const double ax = rnd.Rnd() * 300 - 150 + (pick(2) ? far : -far);
    const double az = rnd.Rnd() * 300 - 150;
    for (int32_t half : {1, 20, 50, 100, 70000}) {
      const ReachBox box(ax, az, half);
      ASSERT_EQ(PileMask(st, box), PileMaskPlain(st, box)) << "round " << round << " half " << half;
    }
  }
  MatchState st;
  st.pileX.fill(kAbsent);
  st.pileX[kPileSlots - 1] = 0;
  st.pileZ[kPileSlots - 1] = 0;
  EXPECT_EQ(PileMask(st, ReachBox(0, 0, 50)), 1u << (kPileSlots - 1));
}

}  // namespace
}  // namespace kelmora
