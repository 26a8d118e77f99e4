// Pictures between ticks: the scene's pose blended between two ticks' poses.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "match/view/scene_pose.h"

namespace kelmora {
namespace {

// Two ticks of a match in play: seat 0 walks right and turns from facing +x to facing -z.
struct TwoTicks {
  ScenePose a, b;
  TwoTicks() {
    a.playing[0] = b.playing[0] = true;
    a.seats[0] = {{100, 0, 50}, 1, 0, 5};
    b.seats[0] = {{110, 0, 40}, 0, 1, 6};
    a.piles.fill({kAbsent, 0, 0});
    b.piles.fill({kAbsent, 0, 0});
    a.piles[0] = {20, 0, 20};
    b.piles[0] = {30, 0, 20};
    a.cameraTarget = {10, 0, 0};
    b.cameraTarget = {14, 0, 2};
    a.stageY = -12;
    b.stageY = -11;
  }
};

TEST(PoseBlend, TheEndsAreTheTicksAndTheMiddleLiesHalfwayAlongEveryMotion) {
  const TwoTicks t;
  EXPECT_EQ(BlendPoses(t.a, t.b, 0), t.a);
  EXPECT_EQ(BlendPoses(t.a, t.b, 1), t.b);
  const ScenePose m = BlendPoses(t.a, t.b, 0.5);
  EXPECT_EQ(m.seats[0].place, (ObjectPlace{105, 0, 45}));
  EXPECT_DOUBLE_EQ(m.seats[0].frame, 5.5);
  // Turned half of the quarter turn, not along the straight line between the two sticks.
  EXPECT_NEAR(std::atan2(-m.seats[0].turnZ, m.seats[0].turnX), -std::numbers::pi / 4, 1e-9);
  EXPECT_NEAR(std::hypot(m.seats[0].turnX, m.seats[0].turnZ), 1, 1e-9);
  EXPECT_EQ(m.piles[0], (ObjectPlace{25, 0, 20}));
  EXPECT_EQ(m.cameraTarget, (ObjectPlace{12, 0, 1}));
  EXPECT_DOUBLE_EQ(m.stageY, -11.5);
  // Turning back the short way round: from facing -x (180 degrees) to facing -90 degrees.
  TwoTicks back;
  back.a.seats[0].turnX = -1;
  back.a.seats[0].turnZ = 0;
  const ScenePose r = BlendPoses(back.a, back.b, 0.5);
  EXPECT_NEAR(std::atan2(-r.seats[0].turnZ, r.seats[0].turnX), -3 * std::numbers::pi / 4, 1e-9);
}

TEST(PoseBlend, WhatAppearsVanishesJumpsOrWrapsStandsAtTheNewTickAtOnce) {
  TwoTicks t;
  t.b.piles[1] = {-100, 0, 200};  // thrown: lands from its parked place
  t.a.piles[2] = {40, 0, 40};     // scooped: parked
  t.a.nets[0] = {kFreeSlot, 0, 0};
  t.b.nets[0] = {60, 50, 60};  // a new net
  t.a.giantBear = {300, 0, 0};
  t.b.giantBear = {-1700, 0, 0};  // the wall blinks to the other half
  t.a.bigFish = {50, 0, 50};
  t.b.bigFish = {50 - 5000, 0, 50};  // the big fish blinks out of sight
  t.a.backX = {975, 0, 0, 0};
  t.b.backX = {-1000, 25, 0, 0};  // the backdrop wraps round
  t.a.fireTime = 19;
  t.b.fireTime = 0;  // the fire's cycle wraps
  t.a.shaking[0] = t.b.shaking[0] = true;
  t.a.shakes[0] = {3, 0, 0};
  t.b.shakes[0] = {-3, 2, 0};  // the shake is drawn per tick
  TwoTicks burrow = t;
  burrow.b.seats[0].place = {kAbsent, 0, 0};  // a mole goes under
  burrow.b.seats[0].frame = 20;             // and its pose jumps
  for (double f : {0.25, 0.5, 0.75}) {
    const ScenePose m = BlendPoses(t.a, t.b, f);
    EXPECT_EQ(m.piles[1], t.b.piles[1]);
    EXPECT_EQ(m.piles[2], t.b.piles[2]);
    EXPECT_EQ(m.nets[0], t.b.nets[0]);
    EXPECT_EQ(m.giantBear, t.b.giantBear);
    EXPECT_EQ(m.bigFish, t.b.bigFish);
    EXPECT_EQ(m.backX[0], -1000);
    EXPECT_DOUBLE_EQ(m.backX[1], 25 * f);
    EXPECT_EQ(m.fireTime, 0);
    EXPECT_EQ(m.shakes[0], t.b.shakes[0]);
    const ScenePose under = BlendPoses(burrow.a, burrow.b, f);
    EXPECT_EQ(under.seats[0], burrow.b.seats[0]);
  }
  // A walk cycle that wraps from its last frame to its first stands on the first.
  TwoTicks wrap;
  wrap.a.seats[0].frame = 18;
  wrap.b.seats[0].frame = 0;
  EXPECT_EQ(BlendPoses(wrap.a, wrap.b, 0.5).seats[0].frame, 0);
}

}  // namespace
}  // namespace kelmora
