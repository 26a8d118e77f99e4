#include <gtest/gtest.h>

#include "match/random.h"

TEST(Random, DrawsStartFromTheSameStateEveryRun) {
  kelmora::Random a, b;
  for (int i = 0; i < 100; ++i) {
    const double x = a.Rnd();
    EXPECT_EQ(x, b.Rnd());
    EXPECT_GE(x, 0.0);
    EXPECT_LT(x, 1.0);
  }
}
