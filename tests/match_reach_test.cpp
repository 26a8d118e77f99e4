// The shortcuts the rules take for speed give the same answers as the plain rules.
#include <gtest/gtest.h>

#include <cmath>
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

}  // namespace
}  // namespace kelmora
