// The shovel's cycle (scoop, carry, throw), pushing piles into the goal, and the snow ledger
// over many matches of random play.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "match/characters.h"
#include "match/numbers.h"
#include "match/snow/shovel.h"
#include "match_invariants.h"
#include "match_rules_fixture.h"
#include "scene/scene.h"

namespace kelmora {
namespace {

using testing::RulesMatch;

// Stage 1's goal covers x -140..170 and z 220..470.

TEST(Shovel, AScoopReachesTheLoadedWalkOnTheEleventhTickAndAThrowScores) {
  RulesMatch m;
  m.ClearPiles();
  auto& st = m.st();
  m.Place(0, 0, 150, 0, -1);  // facing +z: the point ahead is (0, 200)
  st.pileX[4] = 0, st.pileZ[4] = 200;
  st.actionButton[0] = 1;
  const int16_t frames[] = {20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30};
  for (int t = 0; t < 11; ++t) {
    m.Turn(0);
    EXPECT_EQ(st.animFrame[0], frames[t]) << "tick " << t + 1;
    EXPECT_EQ(st.carrying[0], t >= 5 ? 1 : 0) << "tick " << t + 1;
  }
  EXPECT_EQ(st.pileX[4], kAbsent);
  EXPECT_EQ(st.actionButton[0], 2) << "the scoop uses the press";
  EXPECT_EQ(m.sounds(), (std::vector<int>{5}));
  EXPECT_EQ(m.Shown(m.obj().snowFrames[4]).x, kAbsent) << "the pile's model is parked";

  st.posZ[0] = 180;  // the point ahead (0, 230) lies inside the goal
  st.actionButton[0] = 1;
  m.Turn(0);
  EXPECT_EQ(st.score[0], 1);
  EXPECT_EQ(st.animFrame[0], 20);
  EXPECT_EQ(m.events(), (std::vector<std::string>{"sound 5", "panels", "sound 3"}))
      << "redraw, then the bear's cheer";
  EXPECT_EQ(m.EmptySlots(), kPileSlots) << "a delivered load never becomes a pile";
  for (int t = 0; t < 4; ++t) m.Turn(0);
  EXPECT_EQ(st.carrying[0], 1) << "still a carrier through the follow-through";
  m.Turn(0);
  EXPECT_EQ(st.carrying[0], 0);
  EXPECT_EQ(st.animFrame[0], 0);
}

TEST(Shovel, AThrowOnTheGoalEdgeLandsAsAPileInTheLowestEmptySlot) {
  RulesMatch m;
  auto& st = m.st();
  st.pileX[2] = kAbsent;
  st.pileX[9] = kAbsent;
  m.Place(0, 0, 170, 0, -1);  // the point ahead (0, 220) lies on the goal's edge
  st.carrying[0] = 1, st.animFrame[0] = 30, st.actionButton[0] = 1;
  m.Turn(0);
  EXPECT_EQ(st.score[0], 0);
  EXPECT_EQ(st.pileX[2], 0);
  EXPECT_EQ(st.pileZ[2], 220);
  EXPECT_EQ(st.pileX[9], kAbsent);
}

TEST(Shovel, AnEmptySwingRepeatsEverySixTicksWhileTheButtonIsHeld) {
  RulesMatch m;
  m.ClearPiles();
  m.Place(0, 0, 0);
  m.st().actionButton[0] = 1;
  const int16_t frames[] = {20, 21, 22, 23, 24, 0, 20, 21};
  for (int16_t f : frames) {
    m.Turn(0);
    EXPECT_EQ(m.st().animFrame[0], f);
  }
  EXPECT_EQ(m.st().actionButton[0], 1) << "a swing that finds nothing does not use the press";
  m.st().actionButton[0] = 2;
  m.st().animFrame[0] = 0;
  m.Turns(0, 3);
  EXPECT_EQ(m.st().animFrame[0], 0) << "a used press starts no swing";
}

TEST(Shovel, ReachIsStrictAndTheLowestSlotIsScooped) {
  struct Case {
    int dx, dz;
    bool scooped;
  };
  for (const Case c : {Case{50, 0, false}, Case{0, -50, false}, Case{49, -49, true}}) {
    RulesMatch m;
    m.ClearPiles();
    m.Place(0, 0, 0, 1, 0);  // the point ahead is (50, 0)
    m.st().pileX[0] = static_cast<int16_t>(50 + c.dx);
    m.st().pileZ[0] = static_cast<int16_t>(c.dz);
    m.st().actionButton[0] = 1;
    m.Turns(0, 6);
    EXPECT_EQ(m.st().carrying[0], c.scooped ? 1 : 0) << c.dx << "," << c.dz;
  }
  RulesMatch m;
  m.ClearPiles();
  m.Place(0, 0, 0, 1, 0);
  m.st().pileX[7] = 60, m.st().pileZ[7] = 0;
  m.st().pileX[3] = 40, m.st().pileZ[3] = 10;
  m.st().actionButton[0] = 1;
  m.Turns(0, 6);
  EXPECT_EQ(m.st().pileX[3], kAbsent);
  EXPECT_EQ(m.st().pileX[7], 60) << "one pile per swing";
}

TEST(Shovel, TwoSeatsOnOnePileInOneTickTheFirstSeatScoopsIt) {
  RulesMatch m;
  m.ClearPiles();
  m.Place(0, 0, 0, 1, 0);
  m.Place(1, 100, 0, -1, 0);  // both points ahead are (50, 0)
  m.st().pileX[0] = 50, m.st().pileZ[0] = 0;
  m.st().actionButton[0] = m.st().actionButton[1] = 1;
  for (int t = 0; t < 6; ++t) {
    m.Turn(0);
    m.Turn(1);
  }
  EXPECT_EQ(m.st().carrying[0], 1);
  EXPECT_EQ(m.st().carrying[1], 0);
  EXPECT_EQ(m.st().animFrame[1], 0);
}

TEST(Shovel, ADecoySqueaksAndStaysWhileALoadThrownOnItLandsAsAPile) {
  RulesMatch m;
  m.ClearPiles();
  auto& st = m.st();
  m.Place(0, 0, 0, 1, 0);
  st.decoyX[1] = 60, st.decoyZ[1] = 0;
  st.actionButton[0] = 1;
  m.Turns(0, 6);
  EXPECT_EQ(m.sounds(), (std::vector<int>{14}));
  EXPECT_EQ(st.animFrame[0], 0);
  EXPECT_EQ(st.decoyX[1], 60);
  st.carrying[0] = 1, st.animFrame[0] = 30;
  m.Turn(0);  // the button is still 1: a throw
  EXPECT_EQ(st.pileX[0], 50);
  EXPECT_EQ(m.Shown(m.obj().decoyFrames[1]), glm::dvec3(60, 0, 0));
}

TEST(Shovel, FootstepsSoundTwicePerWalkCycleExceptForTheFlyingSquirrel) {
  for (int16_t ch : {int16_t{kBear}, int16_t{kFlyingSquirrel}}) {
    RulesMatch m({ch, -1, -1, -1});
    m.ClearPiles();
    m.Place(0, -300, 0);
    m.Stick(0, 1, 0);
    m.Turns(0, 19);
    EXPECT_EQ(m.st().animFrame[0], 0) << "frame 19 is frame 0";
    EXPECT_EQ(m.sounds().size(), ch == kBear ? 2u : 0u);
    m.Stick(0, 0, 0);
    m.Turn(0);
    EXPECT_EQ(m.sounds().size(), ch == kBear ? 2u : 0u) << "standing still makes no step";
  }
}

TEST(Shovel, TheSeatsModelIsPlacedTurnedAndTimedEveryTurn) {
  RulesMatch m({0, -1, -1, -1}, 4);
  m.ClearPiles();
  m.st().sway[0] = 7;
  m.Place(0, -100, 40);
  m.Stick(0, -1, 1);  // left and towards -z
  m.Turn(0);
  PoseScene(m.game.view, m.st());
  const auto& sc = m.game.scene;
  EXPECT_EQ(sc.WorldPosition(m.obj().playerFrames[0]), glm::dvec3(-101, 7, 39));
  const glm::dvec3 dir = sc.Direction(m.obj().playerFrames[0]);
  EXPECT_NEAR(dir.x, -std::sqrt(0.5), 1e-9);
  EXPECT_NEAR(dir.z, -std::sqrt(0.5), 1e-9);
}

TEST(Pushing, APileGoesTwoAwayOnEachHeldAxisAndALevelPileGoesUp) {
  RulesMatch m;
  m.ClearPiles();
  auto& st = m.st();
  m.Place(0, 0, 0);
  m.Stick(0, 1, 1);
  st.pileX[0] = -30, st.pileZ[0] = 20;
  st.pileX[1] = 0, st.pileZ[1] = -20;
  PushPile(m.game.rules, 0, 0);
  EXPECT_EQ(st.pileX[0], -32);
  EXPECT_EQ(st.pileZ[0], 22);
  m.Stick(0, -1, 0);
  PushPile(m.game.rules, 0, 1);
  EXPECT_EQ(st.pileX[1], 2) << "a pile at the player's x goes right, whatever the stick";
  EXPECT_EQ(st.pileZ[1], -20) << "no z stick, no z push";
}

TEST(Pushing, TheScrapeSoundsAtPushFramesFiftyFiveAndSixtyFive) {
  RulesMatch m;
  m.ClearPiles();
  m.st().pileX[0] = 100;
  m.Stick(0, 1, 0);
  for (const int16_t f : std::array<int16_t, 4>{5, 15, 14, 64}) {
    m.st().animFrame[0] = f;
    PushPile(m.game.rules, 0, 0);
  }
  EXPECT_EQ(m.sounds(), (std::vector<int>{5, 5}));
  EXPECT_EQ(m.st().animFrame[0], 64) << "a pushing frame stays as it is";
}

TEST(Pushing, ASwingingOrCarryingSeatIsStoppedButPushesNothing) {
  for (const int16_t f : std::array<int16_t, 4>{20, 29, 30, 49}) {
    RulesMatch m;
    m.ClearPiles();
    m.st().pileX[0] = 40;
    m.Stick(0, 1, 0);
    m.st().animFrame[0] = f;
    PushPile(m.game.rules, 0, 0);
    EXPECT_EQ(m.st().pileX[0], 40);
    EXPECT_EQ(m.st().pushTicks[0], 0);
    EXPECT_EQ(m.st().animFrame[0], f);
    EXPECT_TRUE(m.sounds().empty());
  }
}

TEST(Pushing, EveryPileInTheGoalEdgesIncludedIsDeliveredToThePusher) {
  RulesMatch m;
  m.ClearPiles();
  auto& st = m.st();
  st.pileX[5] = -165, st.pileZ[5] = 193;  // pushed up to z 195: +25 lands on the goal's corner
  st.pileX[8] = 0, st.pileZ[8] = 300;     // a pile thrown into the goal by someone else
  st.pileX[9] = -166, st.pileZ[9] = 300;  // just outside the left edge
  m.Place(1, -165, 140);
  m.Stick(1, 0, -1);
  st.seat = 1;
  PushPile(m.game.rules, 1, 5);
  EXPECT_EQ(st.pileX[5], kAbsent);
  EXPECT_EQ(st.pileX[8], kAbsent);
  EXPECT_EQ(st.pileX[9], -166);
  EXPECT_EQ(st.score[1], 2);
  EXPECT_EQ(m.events(), (std::vector<std::string>{"sound 9", "panels", "sound 9", "panels"}))
      << "each delivery cheers, then redraws";
}

TEST(Pushing, AClearedFieldParksTheComputerSeatsWithTheirButtonsReleased) {
  RulesMatch m({0, 1, 2, 3});
  m.ClearPiles();
  auto& st = m.st();
  st.isCpu = {0, 0, 1, 1};
  st.pileX[30] = 100, st.pileZ[30] = 0;
  for (int s = 0; s < 4; ++s) {
    m.Stick(s, 1, -1);
    st.actionButton[s] = 1;
    st.specialButton[s] = 1;
  }
  st.posX[2] = 33, st.posZ[2] = -42;
  m.Place(0, 50, 0);
  PushPile(m.game.rules, 0, 30);
  EXPECT_EQ(st.fieldCleared, 1) << "30 empty slots clear the field";
  EXPECT_EQ(st.cpuWaypointX[2], 33);
  EXPECT_EQ(st.cpuWaypointZ[2], -42);
  for (int s : {2, 3}) {
    EXPECT_EQ(st.stickX[s], 0);
    EXPECT_EQ(st.stickZ[s], 0);
    EXPECT_EQ(st.actionButton[s], 0) << "a parked seat swings no more";
    EXPECT_EQ(st.specialButton[s], 0);
  }
  EXPECT_EQ(st.actionButton[1], 1) << "human seats play on";
  MatchTick(m.game);
  EXPECT_EQ(st.stickX[2], 0) << "no more decisions";
  EXPECT_EQ(st.stickX[3], 0);
}

TEST(Dropping, ALoadStaysOnTheShovelWhenEverySlotHoldsAPile) {
  RulesMatch m;
  auto& st = m.st();
  st.carrying[0] = 1, st.animFrame[0] = 40;
  DropPile(m.game.rules, 0);
  EXPECT_EQ(st.carrying[0], 1);
  EXPECT_EQ(st.animFrame[0], 40);
  st.pileX[12] = kAbsent;
  DropPile(m.game.rules, 0);
  EXPECT_EQ(st.carrying[0], 0);
  EXPECT_EQ(st.pileX[12], ToInt16(st.posX[0] + 50 * st.faceX[0]));
}

// Random play on every stage, with the rules driven directly: every tick stays in order (snow
// neither made nor lost, nobody outside the arena).
TEST(SnowLedger, RandomPlayNeverMakesOrLosesSnow) {
  std::mt19937 dice(2026);
  for (int match = 0; match < 12; ++match) {
    const int16_t stage = static_cast<int16_t>(match % 6);
    RulesMatch m({kBear, kPig, kFox, kSpider}, stage);
    auto& st = m.st();
    st.isCpu = {0, 0, static_cast<int16_t>(match % 2), 0};
    testing::MatchInvariants invariants;
    for (int t = 1; t <= 1900; ++t) {
      for (int s = 0; s < 4; ++s) {
        if (st.isCpu[s]) continue;
        if (dice() % 8 == 0) m.Stick(s, static_cast<int16_t>(dice() % 3) - 1, static_cast<int16_t>(dice() % 3) - 1);
        if (dice() % 6 == 0) st.actionButton[s] = dice() % 2 ? 1 : 0;
        st.specialButton[s] = dice() % 40 == 0 ? 1 : 0;
      }
      const bool ended = MatchTick(m.game);
      ASSERT_EQ(invariants.Check(m.game, t), "") << "stage " << stage;
      if (ended) break;
    }
  }
}

}  // namespace
}  // namespace kelmora
