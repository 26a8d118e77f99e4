// The special powers bought from the gauge and the objects they leave in the arena.
#include <gtest/gtest.h>

#include <vector>

#include "headless_run.h"
#include "match/characters.h"
#include "match/play/run_match.h"
#include "match/snow/powers.h"
#include "scene/scene.h"

namespace kelmora {
namespace {

// A match without piles; SpecialStep runs for one seat at a time with the button as given.
struct PowersMatch : testing::HeadlessRun {
  explicit PowersMatch(Seat16 characters) {
    EXPECT_TRUE(form.Form_Load());
    game.st.playerCharacter = characters;
    SetUpMatch(game);
    game.events.Clear();
    st().pileX.fill(kAbsent);
  }
  MatchState& st() { return game.st; }
  MatchScene& obj() { return game.view.objects; }
  void Special(int p, int16_t button, int n = 1) {
    st().specialButton[p] = button;
    for (int i = 0; i < n; ++i) {
      st().seat = p;
      SpecialStep(game.rules);
    }
  }
  // Where the view poses a frame for the state as it stands.
  glm::dvec3 Where(scene::FrameHandle f) {
    PoseScene(game.view, game.st);
    return game.scene.WorldPosition(f);
  }
  // The sounds by id and the redraws of the status strip (-1) the rules reported.
  std::vector<int> events() const {
    std::vector<int> out;
    for (const TickEvent& e : game.events.list) {
      if (e.kind == TickEventKind::Sound) out.push_back(e.id);
      if (e.kind == TickEventKind::Panels) out.push_back(-1);
    }
    return out;
  }
};

TEST(Powers, BoughtOnlyFromIdleWhileHeldAndWithAnyPositiveGauge) {
  PowersMatch m({kElephant, kBear, kMouse, -1});
  std::vector<int> timers;
  for (int i = 0; i < 4; ++i) {
    m.Special(0, 1);
    timers.push_back(m.st().specialTimer[0]);
  }
  EXPECT_EQ(timers, (std::vector<int>{1, 0, 1, 0}));
  EXPECT_EQ(m.st().power[0], 98);
  m.Special(1, 1, 250);  // the bear's wall stands 250 ticks before it can be bought again
  EXPECT_EQ(m.st().power[1], 75);
  m.Special(1, 1);
  EXPECT_EQ(m.st().power[1], 50);
  m.st().power[2] = 1;
  m.game.events.Clear();
  m.Special(2, 1, 53);
  EXPECT_EQ(m.st().power[2], -49);
  EXPECT_EQ(m.st().specialTimer[2], 0);
  EXPECT_EQ(m.events(), (std::vector<int>{19, -1})) << "the fire sounds before the redraw, once";
}

TEST(Powers, ThePigRisesTwiceAndEachLandingShakesLoadsOffWalkingCarriersOnly) {
  PowersMatch m({kPig, kFox, kBear, -1});
  auto& st = m.st();
  std::vector<int> heights, drops;
  for (int tick = 0; tick < 31; ++tick) {
    st.carrying = {0, 1, 1, 0};
    st.animFrame = {0, 35, 27, 0};  // seat 1 walks with its load, seat 2 is mid-swing
    st.seat = 0;
    m.game.scene.SetPosition(m.obj().playerFrames[0], {}, st.posX[0], 0, st.posZ[0]);
    PigLift(m.game.rules);
    heights.push_back(static_cast<int>(m.Where(m.obj().playerFrames[0]).y));
    m.Special(0, tick == 0 ? 1 : 0);
    if (st.carrying[1] == 0) drops.push_back(tick);
    EXPECT_EQ(st.carrying[2], 1);
  }
  std::vector<int> expected = {0};
  for (int h = 28; h >= 2; h -= 2) expected.push_back(h);
  for (int h = 30; h >= 0; h -= 2) expected.push_back(h);
  EXPECT_EQ(heights, expected);
  EXPECT_EQ(drops, (std::vector<int>{14, 29}));
}

TEST(Powers, SuctionPullsAPileOnTheLineAheadBy10Or20UntilItIsWithin50) {
  PowersMatch m({kElephant, -1, -1, -1});
  auto& st = m.st();
  st.posX[0] = -200;
  st.posZ[0] = 0;
  st.faceX[0] = 1;
  st.faceZ[0] = 0;
  // 300 ahead; beside the line by exactly 50; behind.
  st.pileX[0] = 100, st.pileZ[0] = 20;
  st.pileX[1] = 0, st.pileZ[1] = 50;
  st.pileX[2] = -300, st.pileZ[2] = 0;
  std::vector<int> xs;
  for (int i = 0; i < 30; ++i) {
    m.Special(0, 1);
    xs.push_back(st.pileX[0]);
  }
  EXPECT_EQ((std::vector<int>{xs[0], xs[1], xs[2]}), (std::vector<int>{90, 70, 50}));
  EXPECT_EQ(xs.back(), -150);
  EXPECT_EQ(st.pileZ[0], 20);
  EXPECT_EQ(st.pileX[1], 0);
  EXPECT_EQ(st.pileX[2], -300);
}

TEST(Powers, AMoleHoldingTheButtonStaysUndergroundForOnePurchase) {
  PowersMatch m({kMole, -1, -1, -1});
  m.Special(0, 1, 30);
  EXPECT_TRUE(Underground(m.st(), 0));
  EXPECT_EQ(m.st().power[0], 90);
  EXPECT_EQ(m.Where(m.obj().cursorFrame), glm::dvec3(-300, 0, 200));
  m.Special(0, 0);
  EXPECT_FALSE(Underground(m.st(), 0));
  EXPECT_EQ(m.Where(m.obj().cursorFrame).x, kAbsent);
}

TEST(Powers, TheBlastSetsExactly25AwayAndLeavesALevelAxisAlone) {
  PowersMatch m({kMouse, kFox, kPig, kBear});
  auto& st = m.st();
  st.posX = {0, 50, 0, 100};
  st.posZ = {0, -30, 60, 0};
  st.velX = {0, 30, 7, 3};
  st.velZ = {0, 3, -9, 3};
  m.Special(0, 1);
  EXPECT_EQ(st.velX, (SeatDouble{0, 25, 7, 3})) << "seat 3 is exactly 100 away: out of reach";
  EXPECT_EQ(st.velZ, (SeatDouble{0, -25, 25, 3}));
}

TEST(ArenaObjects, AFoxWithAllFiveDecoysDownPays20ForNothing) {
  PowersMatch m({kFox, -1, -1, -1});
  m.st().decoyX = {0, 0, 0, 0, 0};
  m.Special(0, 1);
  EXPECT_EQ(m.st().power[0], 80);
  EXPECT_EQ(m.events(), (std::vector<int>{-1})) << "no decoy sound";
}

TEST(ArenaObjects, WithFourSeatsANetLasts125TicksAndAllPowersFreezeInTheLast200) {
  PowersMatch m({kBear, kFox, kPig, kMole});
  auto& st = m.st();
  st.netX[0] = 0;
  st.netZ[0] = -300;
  st.netTimer[0] = 500;
  for (int i = 0; i < 124; ++i) MatchTick(m.game);
  EXPECT_EQ(m.Where(m.obj().netFrames[0]), glm::dvec3(0, 0.4, -300));
  MatchTick(m.game);
  EXPECT_EQ(st.netX[0], kFreeSlot);

  st.matchCounter = 200;
  st.netX[0] = 0;
  st.netTimer[0] = 300;
  st.specialTimer = {100, 5, 20, 3};
  st.specialButton = {1, 1, 1, 1};
  for (int i = 0; i < 20; ++i) MatchTick(m.game);
  EXPECT_EQ(st.netTimer[0], 300);
  EXPECT_EQ(st.specialTimer, (Seat16{100, 5, 20, 3}));
}

TEST(ArenaObjects, TheWallBlinksInPlaceOnBothHalvesAndASecondBearMovesIt) {
  for (double x : {-300.0, 95.0, 300.0}) {
    PowersMatch m({kBear, kBear, -1, -1});
    m.st().posX[0] = x;
    m.Special(0, 1, 230);
    const int wall = static_cast<int>(x) - 95;
    for (int i = 0; i < 19; ++i) {
      m.Special(0, 0);
      ASSERT_EQ(m.st().blockX[9], i % 2 == 0 ? wall - 2000 : wall) << "x " << x << " tick " << i;
      EXPECT_EQ(m.Where(m.obj().bear2Frame).x, m.st().blockX[9] + 100);
    }
    m.Special(0, 0);
    EXPECT_EQ(m.st().blockX[9], kAbsent);
  }
  PowersMatch m({kBear, kBear, -1, -1});
  m.Special(0, 1);
  m.Special(1, 1);
  EXPECT_EQ(m.st().blockX[9], 205);
  EXPECT_EQ(m.Where(m.obj().bear2Frame), glm::dvec3(305, 0, 200));
}

}  // namespace
}  // namespace kelmora
