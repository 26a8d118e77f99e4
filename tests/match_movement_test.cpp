// Movement and collision of the seats, and bumps between them.
#include <gtest/gtest.h>

#include "match/characters.h"
#include "match_rules_fixture.h"

namespace kelmora {
namespace {

using testing::RulesMatch;

TEST(Movement, StickAcceleratesToTenAndFrictionBringsItBackToRest) {
  RulesMatch m;
  m.ClearPiles();
  m.Place(0, -300, 0);
  m.Stick(0, 1, -1);  // right and towards +z
  double expectedX = -300;
  for (int t = 1; t <= 12; ++t) {
    m.Move(0);
    const double v = t < 10 ? t : 10;
    expectedX += v;
    EXPECT_EQ(m.st().velX[0], v) << "tick " << t;
    EXPECT_EQ(m.st().velZ[0], v) << "diagonal speed is 10 on each axis";
    EXPECT_EQ(m.st().posX[0], expectedX);
  }
  m.Stick(0, 0, 0);
  for (int v = 9; v >= 0; --v) {
    m.Move(0);
    EXPECT_EQ(m.st().velX[0], v);
  }
  m.Move(0);
  EXPECT_EQ(m.st().velX[0], 0) << "friction stops at 0";
  EXPECT_EQ(m.st().faceX[0], 1) << "a released stick keeps the facing";
  EXPECT_EQ(m.st().faceZ[0], -1);
}

TEST(Movement, ReversingTakesTwentyTicksWhileTheFacingTurnsAtOnce) {
  RulesMatch m;
  m.ClearPiles();
  m.Place(0, -100, 0);
  m.st().velX[0] = 10;
  m.Stick(0, -1, 0);
  m.Move(0);
  EXPECT_EQ(m.st().faceX[0], -1);
  EXPECT_EQ(m.st().velX[0], 9);
  for (int t = 2; t <= 20; ++t) m.Move(0);
  EXPECT_EQ(m.st().velX[0], -10);
  m.st().velX[0] = 15;  // a speed above 10 is kept while the stick points the same way
  m.Stick(0, 1, 0);
  m.Move(0);
  EXPECT_EQ(m.st().velX[0], 15);
}

TEST(Movement, ArenaEdgeClampsThePositionAndKeepsTheVelocity) {
  RulesMatch m;
  m.ClearPiles();
  m.Place(0, 365, -345);
  m.st().velX[0] = 10;
  m.st().velZ[0] = -10;
  m.Stick(0, 1, 1);
  m.Move(0);
  EXPECT_EQ(m.st().posX[0], 370);
  EXPECT_EQ(m.st().posZ[0], -350);
  EXPECT_EQ(m.st().velX[0], 10);
  EXPECT_EQ(m.st().velZ[0], -10);
}

TEST(Movement, GoalEdgesStopThePlayerAndOnlyTheBlockedAxisIsPutBack) {
  RulesMatch m;  // stage 1 goal: x -140..170, z 220..470
  m.ClearPiles();
  m.Place(0, -150, 200);
  m.st().velX[0] = 10;
  m.st().velZ[0] = 10;
  m.Stick(0, 1, -1);
  m.Move(0);  // x -140 with z 200 is outside; then z 210 stays outside
  EXPECT_EQ(m.st().posX[0], -140);
  EXPECT_EQ(m.st().posZ[0], 210);
  m.Move(0);  // z 220 at x -130: on the goal's edge, put back; x went on first (z was 210)
  EXPECT_EQ(m.st().posX[0], -130);
  EXPECT_EQ(m.st().posZ[0], 210);
}

TEST(Movement, BlocksStopTheOffsetTestPointAndThePlayerSlidesAlong) {
  RulesMatch m;
  m.ClearPiles();
  auto& st = m.st();
  st.blockX[0] = 0, st.blockZ[0] = -100, st.blockW[0] = 100, st.blockD[0] = 200;
  m.Place(0, -35, 0);
  st.velX[0] = 10;
  st.velZ[0] = 10;
  m.Stick(0, 1, -1);
  m.Move(0);  // x -25: test point at 0 is on the edge, not inside
  EXPECT_EQ(st.posX[0], -25);
  m.Move(0);  // x -15: test point 10 inside: x put back, z slides on
  EXPECT_EQ(st.posX[0], -25);
  EXPECT_EQ(st.posZ[0], 20);

  // The bear is stopped by slots 0..7 only.
  for (int k : {7, 8, 9}) {
    RulesMatch b;
    b.ClearPiles();
    b.st().blockX[k] = 0, b.st().blockZ[k] = -100, b.st().blockW[k] = 100, b.st().blockD[k] = 200;
    b.Place(0, -35, 0);
    b.st().velX[0] = 10;
    b.Stick(0, 1, 0);
    b.Move(0);
    b.Move(0);
    EXPECT_EQ(b.st().posX[0], k == 7 ? -25 : -15) << "block slot " << k;
  }

  // Any other character is stopped by every slot; a block with no width or no depth (or a
  // negative one) stops nobody, in any slot.
  for (int k = 0; k < kBlockSlots; ++k) {
    for (const auto& [w, d] : {std::pair{100, 200}, std::pair{0, 200}, std::pair{100, 0}, std::pair{-5, 200}}) {
      RulesMatch f({1, 0, -1, -1});
      f.ClearPiles();
      f.st().blockX[k] = 0, f.st().blockZ[k] = -100;
      f.st().blockW[k] = static_cast<int16_t>(w), f.st().blockD[k] = static_cast<int16_t>(d);
      f.Place(0, -35, 0);
      f.st().velX[0] = 10;
      f.Stick(0, 1, 0);
      f.Move(0);
      f.Move(0);
      EXPECT_EQ(f.st().posX[0], w > 0 && d > 0 ? -25 : -15) << "block slot " << k << ", size " << w << " x " << d;
    }
  }
}

TEST(Movement, WalkingIntoAPileHoldsThePlayerWhileThePileIsShoved) {
  RulesMatch m;
  m.ClearPiles();
  auto& st = m.st();
  st.pileX[3] = 50, st.pileZ[3] = 0;
  m.Place(0, -5, 0);
  st.velX[0] = 10;
  m.Stick(0, 1, 0);
  m.Move(0);  // x 5 lies within 50 of the pile: put back, pile shoved 2 to the right
  EXPECT_EQ(st.posX[0], -5);
  EXPECT_EQ(st.pileX[3], 52);
  EXPECT_EQ(st.pushTicks[0], 5);
  EXPECT_EQ(st.animFrame[0], 50);
  for (int t = 0; t < 20; ++t) m.Turn(0);
  EXPECT_LT(st.posX[0], st.pileX[3] - 49) << "the player never walks into the pile";
  EXPECT_GT(st.pileX[3], 52);
}

TEST(Movement, NetsInEverySlotHoldPlayersOnTheirCentreButNeverTheSpider) {
  for (int slot : {0, 4, 5, 9}) {
    RulesMatch m({0, kSpider, -1, -1});
    m.ClearPiles();
    m.st().netX[slot] = 100;
    m.st().netZ[slot] = 0;
    m.Place(0, 60, 20);
    m.Place(1, 60, -20);
    m.st().velX[0] = m.st().velX[1] = 10;
    m.Stick(0, 1, 0);
    m.Stick(1, 1, 0);
    for (int t = 0; t < 5; ++t) {
      m.Move(0);
      m.Move(1);
      EXPECT_EQ(m.st().posX[0], 100) << "net slot " << slot << " holds the bear";
      EXPECT_EQ(m.st().posZ[0], 0);
    }
    EXPECT_EQ(m.st().posX[1], 110) << "the spider walks on";
  }
}

TEST(Movement, TheBigFishZoneSlidesPlayersTheWayTheyFace) {
  RulesMatch m({0, kFish, kFlyingSquirrel, kMole});
  m.ClearPiles();
  auto& st = m.st();
  st.fishX = 0, st.fishZ = 0;
  for (int p = 0; p < 4; ++p) m.Place(p, -20 + 10 * p, 0, 1, 1);  // facing right and -z
  st.specialTimer[3] = 3;  // the mole underground
  for (int p = 0; p < 4; ++p) m.Move(p);
  EXPECT_EQ(st.velX[0], 15);
  EXPECT_EQ(st.velZ[0], -15);
  EXPECT_EQ(st.posX[0], -5);
  for (int p = 1; p < 4; ++p) EXPECT_EQ(st.velX[p], 0) << "seat " << p << " does not slide";
  st.posX[0] = 80;  // leaving the square: friction takes over
  m.Move(0);
  EXPECT_EQ(st.velX[0], 14);
}

TEST(Movement, TheBurningMouseEatsPilesAndTheUndergroundMolePassesThem) {
  RulesMatch m({kMouse, kMole, -1, -1});
  m.ClearPiles();
  auto& st = m.st();
  st.pileX[0] = 40, st.pileZ[0] = 0;
  st.pileX[1] = 40, st.pileZ[1] = 10;
  st.pileX[2] = 40, st.pileZ[2] = -10;
  st.pileX[3] = 40, st.pileZ[3] = 200;
  st.specialTimer[0] = 20;
  m.Place(0, -15, 0);
  st.velX[0] = 10;
  m.Stick(0, 1, 0);
  m.Move(0);
  EXPECT_EQ(st.posX[0], -5) << "the mouse keeps its new position";
  EXPECT_EQ(st.pileX[0], kAbsent) << "eaten in the x step";
  EXPECT_EQ(st.pileX[1], kAbsent) << "eaten in the z step";
  EXPECT_EQ(st.pileX[2], 40) << "one pile per axis step";
  st.specialTimer[1] = 2;
  m.Place(1, -15, 200);
  st.velX[1] = 10;
  m.Stick(1, 1, 0);
  m.Move(1);
  EXPECT_EQ(st.posX[1], -5);
  EXPECT_EQ(st.pileX[3], 40) << "the mole neither pushes nor eats";
}

TEST(Bumps, OnlyExactlyTopSpeedBumpsAndTheRunnerBounces) {
  for (double speed : {9.0, 10.0, 15.0, -10.0}) {
    RulesMatch m;
    m.ClearPiles();
    m.Place(0, 0, 0);
    m.Place(1, 30, 30);
    m.st().velX[0] = speed;
    m.st().velX[1] = 3;
    m.st().seat = 0;
    BumpPlayers(m.game.rules);
    const bool bumps = speed == 10 || speed == -10;
    EXPECT_EQ(m.st().velX[0], bumps ? -speed : speed) << "speed " << speed;
    EXPECT_EQ(m.st().velX[1], 3) << "the struck player keeps its velocity";
    EXPECT_EQ(m.sounds().size(), bumps ? 1u : 0u);
  }
  RulesMatch far;
  far.Place(0, 0, 0);
  far.Place(1, 45, 0);
  far.st().velZ[0] = 10;
  far.st().seat = 0;
  BumpPlayers(far.game.rules);
  EXPECT_EQ(far.st().velZ[0], 10) << "45 apart is out of reach";
}

TEST(Bumps, CarriersInTheLoadedWalkDropAheadWhileSwingersKeepTheirSnow) {
  RulesMatch m({0, 1, 2, -1});
  m.ClearPiles();
  auto& st = m.st();
  m.Place(0, 0, 0, 1, 0);
  m.Place(1, 20, 0, -1, 0);
  m.Place(2, -20, 0, 1, 0);
  st.velX[0] = 10;
  st.carrying[0] = 1, st.animFrame[0] = 35;
  st.carrying[1] = 1, st.animFrame[1] = 50;
  st.carrying[2] = 1, st.animFrame[2] = 24;  // the follow-through of a throw
  st.seat = 0;
  BumpPlayers(m.game.rules);
  EXPECT_EQ(st.carrying[0], 0);
  EXPECT_EQ(st.animFrame[0], 0);
  EXPECT_EQ(st.pileX[0], 50) << "the runner's load lands at its point ahead, lowest slot";
  EXPECT_EQ(st.pileX[1], -30) << "then seat 1's load, at its point ahead";
  EXPECT_EQ(st.carrying[2], 1);
  EXPECT_EQ(st.velX[0], 10) << "reversed twice by two overlapping players";
  EXPECT_EQ(m.sounds(), (std::vector<int>{12, 12}));
}

TEST(Bumps, BumpsBetweenComputerPlayersAreSilentAndMolesUndergroundAreLeftOut) {
  RulesMatch m({0, kMole, 2, -1});
  m.st().isCpu = {1, 0, 1, 0};
  m.Place(0, 0, 0);
  m.Place(1, 10, 0);
  m.Place(2, 20, 0);
  m.st().specialTimer[1] = 3;
  m.st().velX[0] = 10;
  m.st().seat = 0;
  BumpPlayers(m.game.rules);
  EXPECT_EQ(m.st().velX[0], -10) << "one bump: with seat 2 only";
  EXPECT_TRUE(m.sounds().empty());
}

}  // namespace
}  // namespace kelmora
