// The computer player's decisions: chase, target choice, scooping, carrying, detours and the
// order of its random draws.
#include <gtest/gtest.h>

#include <algorithm>

#include "headless_run.h"
#include "match/numbers.h"
#include "match/play/run_match.h"
#include "match/seat_turn.h"

namespace kelmora {
namespace {

// A match with a computer player in seat 0, a human in seat 1 and an empty field.
struct Cpu : testing::HeadlessRun {
  Cpu() {
    EXPECT_TRUE(form.Form_Load());
    game.st.playerCharacter = {0, 1, 2, -1};
    game.st.isCpu = {1, 0, 1, 0};
    SetUpMatch(game);
    for (int k = 0; k < kPileSlots; ++k) st().pileX[k] = kAbsent;
    Place(0, 0, 0);
    Place(1, 300, 300);
    Place(2, -300, 300);
  }
  MatchState& st() { return game.st; }
  MatchScene& obj() { return game.view.objects; }
  void Place(int p, double x, double z) {
    st().posX[p] = x;
    st().posZ[p] = z;
  }
  // Runs seat 0's decision and returns the number of random draws it made.
  uint64_t Decide() {
    const uint64_t before = game.rnd.draws();
    st().seat = 0;
    DecideCpu(game.rules);
    return game.rnd.draws() - before;
  }
  // The next random draws, without taking them.
  Random Peek() const { return game.rnd; }
};

TEST(CpuChase, ChargesAHumanCarrierStrictlyWithinAHundredAndDrawsNothing) {
  Cpu c;
  c.st().carrying[1] = 1;
  c.Place(1, 99, -99);
  EXPECT_EQ(c.Decide(), 0u);
  EXPECT_EQ(c.st().stickX[0], 1);
  EXPECT_EQ(c.st().stickZ[0], 1);
  EXPECT_EQ(c.st().cpuSearchTicks[0], 1);

  c.Place(1, 100, 0);
  EXPECT_EQ(c.Decide(), 33u) << "at exactly 100 the search goes on";
  c.Place(1, 0, -100);
  EXPECT_EQ(c.Decide(), 33u);

  c.Place(2, 10, 10);
  c.st().carrying[2] = 1;
  EXPECT_EQ(c.Decide(), 33u) << "another computer player is never chased";
  c.Place(1, 10, 10);
  c.st().carrying[1] = 0;
  EXPECT_EQ(c.Decide(), 33u) << "nor a human with empty hands";
}

TEST(CpuChase, AChargeAtFullSpeedKnocksTheHumansLoadLoose) {
  Cpu c;
  c.st().playerCharacter[2] = -1;
  c.st().carrying[1] = 1;
  c.st().animFrame[1] = 30;
  c.Place(1, 99, 0);
  for (int i = 0; i < 10; ++i) MatchTick(c.game);
  EXPECT_EQ(c.st().posX[0], 55) << "top speed after ten ticks";
  EXPECT_EQ(c.st().carrying[1], 0);
  EXPECT_EQ(c.st().pileX[0], 49) << "the load lands ahead of the human";
}

TEST(CpuMatch, FourComputerPlayersScoreCircleNoWaypointForLongAndRestWhenParked) {
  Cpu c;
  c.st().playerCharacter = {0, 1, 2, 3};
  c.st().isCpu = {1, 1, 1, 1};
  c.st().stage = 3;
  SetUpMatch(c.game);
  Seat16 run{};
  int longest = 0, pressesWhileParked = 0;
  while (!MatchTick(c.game)) {
    if (c.st().matchCounter <= 200) continue;
    for (int s = 0; s < kSeats; ++s) {
      if (c.st().fieldCleared) {
        pressesWhileParked += c.st().actionButton[s] == 1 || c.st().specialButton[s] == 1;
        continue;
      }
      run[s] = c.st().cpuWaypointX[s] == kAbsent ? 0 : run[s] + 1;
      longest = std::max<int>(longest, run[s]);
    }
  }
  EXPECT_GT(c.st().score[0] + c.st().score[1] + c.st().score[2] + c.st().score[3], 10);
  EXPECT_LT(longest, 100);
  ASSERT_EQ(c.st().fieldCleared, 1);
  EXPECT_EQ(pressesWhileParked, 0) << "parked computer players keep their hands off the buttons";
}

TEST(CpuSearch, AnEmptiedTargetIsRedrawnOnceAPickThatMissesKeepsTheStaleTarget) {
  Cpu c;
  const int k = Int(c.Peek().Rnd() * 31);
  const int stale = (k + 1) % kPileSlots;
  c.st().cpuTargetPile[0] = static_cast<int16_t>(stale);
  EXPECT_EQ(c.Decide(), 33u);
  EXPECT_EQ(c.st().cpuTargetPile[0], stale);
  EXPECT_EQ(c.st().stickX[0], -1) << "it walks towards the empty slot at the left edge";

  const int next = Int(c.Peek().Rnd() * 31);
  ASSERT_NE(next, stale);
  c.st().pileX[next] = 200;
  c.st().pileZ[next] = -200;
  EXPECT_EQ(c.Decide(), 33u);
  EXPECT_EQ(c.st().cpuTargetPile[0], next);
  EXPECT_EQ(c.st().stickX[0], 1);
  EXPECT_EQ(c.st().stickZ[0], 1);
  EXPECT_EQ(c.Decide(), 32u) << "a live target is not redrawn";
}

TEST(CpuSearch, TheLastPileWithinReachOverridesTheTarget) {
  Cpu c;
  c.st().pileX[3] = 99;  c.st().pileZ[3] = 0;
  c.st().pileX[7] = -99; c.st().pileZ[7] = 99;
  c.st().pileX[9] = 100; c.st().pileZ[9] = 0;  // just out of reach
  c.Decide();
  EXPECT_EQ(c.st().cpuTargetPile[0], 7);
  EXPECT_EQ(c.st().stickX[0], -1);
  EXPECT_EQ(c.st().stickZ[0], -1);
}

TEST(CpuSearch, EachSlotsDrawOfZeroSwingsAtAPileInFrontAndTheSpecialComesLast) {
  Cpu c;
  c.st().faceX[0] = 1;
  c.st().faceZ[0] = 0;
  c.st().cpuTargetPile[0] = 4;
  c.st().pileX[4] = 60;
  c.st().pileZ[4] = 30;
  c.st().specialButton[0] = 1;
  // Spends draws until slot 4's scoop draw will come out 0.
  for (;;) {
    Random r = c.Peek();
    for (int k = 0; k < 4; ++k) r.Rnd();
    if (Int(r.Rnd() * 5) == 0) break;
    c.game.rnd.Rnd();
  }
  Random r = c.Peek();
  for (int k = 0; k < 31; ++k) r.Rnd();
  const bool special = Int(r.Rnd() * 100) == 0;
  EXPECT_EQ(c.Decide(), 32u);
  EXPECT_EQ(c.st().actionButton[0], 1);
  EXPECT_EQ(c.st().specialButton[0], special ? 1 : 0) << "search clears the held special";

  c.st().pileX[4] = 100;  // the point ahead is exactly 50 away
  for (int i = 0; i < 40; ++i) {
    c.Decide();
    ASSERT_EQ(c.st().actionButton[0], 0);
  }
}

TEST(CpuCarry, HeadsForTheGoalsLowEdgeAndThrowsWithThePointAheadInside) {
  Cpu c;
  c.st().goalX = -100; c.st().goalZ = 200;
  c.st().goalWidth = 201; c.st().goalDepth = 100;
  c.st().carrying[0] = 1;
  c.Place(0, 0, 150);
  c.st().faceX[0] = 0;
  c.st().faceZ[0] = 1;
  c.st().cpuSearchTicks[0] = 40;
  EXPECT_EQ(c.Decide(), 1u);
  EXPECT_EQ(c.st().stickX[0], 1) << "the middle is 0.5";
  EXPECT_EQ(c.st().stickZ[0], -1);
  EXPECT_EQ(c.st().actionButton[0], 0) << "the point ahead at z 100 is outside";
  EXPECT_EQ(c.st().cpuSearchTicks[0], 0);
  c.Place(0, 0, 160);
  c.st().faceZ[0] = -1;
  c.Decide();
  EXPECT_EQ(c.st().actionButton[0], 1) << "the point ahead at z 210 is inside";
}

TEST(CpuCarry, TenTicksStuckThrowsAndStepsAsideOutwardAndBackFromTheGoal) {
  Cpu c;
  c.st().goalZ = 250;
  c.st().carrying[0] = 1;
  c.Place(0, 120, -80);
  for (int i = 0; i < 11; ++i) {  // the first tick only notes where it stands
    c.st().actionButton[0] = 0;
    c.Decide();
  }
  EXPECT_EQ(c.st().cpuStuckTicks[0], 0);
  EXPECT_EQ(c.st().actionButton[0], 1);
  EXPECT_EQ(c.st().cpuWaypointX[0], 170);
  EXPECT_EQ(c.st().cpuWaypointZ[0], -90);
  EXPECT_EQ(c.st().stickX[0], 1) << "steering at the waypoint in the same tick";
  EXPECT_EQ(c.st().stickZ[0], 1);
  EXPECT_EQ(c.st().cpuWaypointTicks[0], 1);

  c.st().carrying[0] = 0;
  EXPECT_EQ(c.Decide(), 1u) << "a detour tick searches nothing";
  EXPECT_EQ(c.st().cpuSearchTicks[0], 0);

  Cpu middle;
  middle.st().carrying[0] = 1;
  for (int i = 0; i < 10; ++i) middle.Decide();
  EXPECT_EQ(middle.st().cpuWaypointX[0], kAbsent) << "at x 0 there is no detour";
  EXPECT_EQ(middle.st().actionButton[0], 1);
}

TEST(CpuCarry, ThrowsWhereverItIsAfterSeventyFiveCarryTicks) {
  Cpu c;
  c.st().carrying[0] = 1;
  c.st().goalX = 0; c.st().goalZ = 300; c.st().goalWidth = 100; c.st().goalDepth = 50;
  for (int i = 1; i < 75; ++i) {
    c.Place(0, 0, i);  // moving, never stuck, never at the goal
    c.Decide();
    ASSERT_EQ(c.st().actionButton[0], 0) << i;
  }
  c.Place(0, 0, 75);
  c.Decide();
  EXPECT_EQ(c.st().actionButton[0], 1);
  EXPECT_EQ(c.st().cpuCarryTicks[0], 0);
}

TEST(CpuDetour, AfterAHundredAndFiftySearchTicksItWalksToTheCentreUntilWithinTwenty) {
  Cpu c;
  c.Place(0, -200, 100);
  c.st().cpuSearchTicks[0] = 149;
  EXPECT_EQ(c.Decide(), 33u) << "that tick still searches";
  EXPECT_EQ(c.st().cpuWaypointX[0], 0);
  EXPECT_EQ(c.st().cpuWaypointZ[0], 0);
  EXPECT_EQ(c.st().stickX[0], 1);
  EXPECT_EQ(c.st().stickZ[0], 1);
  c.Place(0, -20, 19);
  c.Decide();
  EXPECT_EQ(c.st().cpuWaypointX[0], 0) << "exactly 20 away is not there yet";
  c.Place(0, -19, 19);
  c.Decide();
  EXPECT_EQ(c.st().cpuWaypointX[0], kAbsent);
  EXPECT_EQ(c.st().cpuWaypointTicks[0], 0);
  EXPECT_EQ(c.Decide(), 33u);
  EXPECT_EQ(c.st().cpuSearchTicks[0], 151) << "the walk to the centre comes once";
}

TEST(CpuDetour, AWaypointNotReachedInAHundredTicksIsGivenUp) {
  Cpu c;
  c.st().cpuWaypointX[0] = 0;
  c.st().cpuWaypointZ[0] = 0;
  for (int i = 1; i < 100; ++i) {
    c.Place(0, i % 2 ? 30 : -30, 0);  // overshooting back and forth
    c.Decide();
    ASSERT_EQ(c.st().cpuWaypointX[0], 0) << i;
  }
  c.Place(0, 30, 0);
  c.Decide();
  EXPECT_EQ(c.st().stickX[0], -1) << "the last tick still steers";
  EXPECT_EQ(c.st().cpuWaypointX[0], kAbsent);
  EXPECT_EQ(c.st().cpuWaypointTicks[0], 0);
}

TEST(CpuSpecial, OneDrawInAHundredPressesTheSpecialWhilePowerLasts) {
  for (const int16_t power : std::array<int16_t, 2>{1, 0}) {
    Cpu c;
    c.st().power[0] = power;
    c.st().cpuWaypointX[0] = 300;
    while (Int(c.Peek().Rnd() * 100) != 0) c.game.rnd.Rnd();
    c.Decide();
    EXPECT_EQ(c.st().specialButton[0], power > 0 ? 1 : 0);
  }
}

TEST(CpuDecide, AClearedFieldOrAHumanSeatDecidesNothing) {
  Cpu c;
  c.st().fieldCleared = 1;
  c.st().stickX[0] = 1;
  EXPECT_EQ(c.Decide(), 0u);
  EXPECT_EQ(c.st().cpuSearchTicks[0], 0);
  EXPECT_EQ(c.st().stickX[0], 1);
  c.st().fieldCleared = 0;
  c.st().isCpu[0] = 0;
  EXPECT_EQ(c.Decide(), 0u);
}

TEST(CpuSetUp, ANewMatchKeepsTheStuckCountLastPositionAndWaypointZ) {
  Cpu c;
  c.st().cpuStuckTicks[0] = 7;
  c.st().cpuLastX[0] = 120;
  c.st().cpuLastZ[0] = -80;
  c.st().cpuWaypointZ[0] = -90;
  c.st().cpuWaypointTicks[0] = 40;
  SetUpMatch(c.game);
  EXPECT_EQ(c.st().cpuStuckTicks[0], 7);
  EXPECT_EQ(c.st().cpuLastX[0], 120);
  EXPECT_EQ(c.st().cpuLastZ[0], -80);
  EXPECT_EQ(c.st().cpuWaypointZ[0], -90);
  EXPECT_EQ(c.st().cpuWaypointX[0], kAbsent);
  EXPECT_EQ(c.st().cpuWaypointTicks[0], 0);
}

}  // namespace
}  // namespace kelmora
