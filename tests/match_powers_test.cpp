// The special powers bought from the gauge and the objects they leave in the arena.
#include <gtest/gtest.h>

#include <vector>

#include "headless_run.h"
#include "match/characters.h"
#include "match/run_match.h"
#include "match/snow/special_powers.h"
#include "scene/scene.h"

namespace kelmora {
namespace {

// A match set up on the headless backends; seats act only when a test runs their power.
struct PowersMatch : testing::HeadlessRun {
  explicit PowersMatch(Seat16 characters) {
    EXPECT_TRUE(form.Form_Load());
    game.st.stage = 0;
    game.st.playerCharacter = characters;
    SetUpMatch(game);
    game.onSound = [this](Game&, int id) { events.push_back(id); };
    game.onPanels = [this](Game&) { events.push_back(kPanels); };
    for (int k = 0; k < kPileSlots; ++k) st().pileX[k] = kAbsent;
  }
  MatchState& st() { return game.st; }
  // SpecialStep of seat p, `n` times, with the button as given.
  void Special(int p, int16_t button, int n = 1) {
    st().specialButton[p] = button;
    for (int i = 0; i < n; ++i) {
      st().seat = p;
      SpecialStep(game);
    }
  }
  glm::dvec3 Where(scene::FrameHandle f) { return game.scene.WorldPosition(f); }

  static constexpr int kPanels = -1;
  std::vector<int> events;  // sound ids, and kPanels for each redraw of the strip
};

TEST(Powers, APowerIsBoughtOnlyInATickThatStartsIdleAndReboughtWhileHeld) {
  PowersMatch m({kElephant, kBear, kFlyingSquirrel, -1});
  // Elephant and squirrel: bought every second tick for 1 each.
  for (int p : {0, 2}) {
    std::vector<int> timers;
    for (int i = 0; i < 6; ++i) {
      m.Special(p, 1);
      timers.push_back(m.st().specialTimer[p]);
    }
    EXPECT_EQ(timers, (std::vector<int>{1, 0, 1, 0, 1, 0})) << "seat " << p;
    EXPECT_EQ(m.st().power[p], 97);
  }
  // The bear buys again 250 ticks after its purchase, not while its wall stands.
  m.Special(1, 1);
  EXPECT_EQ(m.st().power[1], 75);
  m.Special(1, 1, 249);
  EXPECT_EQ(m.st().specialTimer[1], 0);
  EXPECT_EQ(m.st().power[1], 75);
  m.Special(1, 1);
  EXPECT_EQ(m.st().specialTimer[1], 249);
  EXPECT_EQ(m.st().power[1], 50);
}

TEST(Powers, AnyPositiveGaugeBuysAnyPowerAndAnEmptyOneBuysNothing) {
  PowersMatch m({kMouse, -1, -1, -1});
  m.st().power[0] = 1;
  m.Special(0, 1);
  EXPECT_EQ(m.st().power[0], -49);
  EXPECT_EQ(m.st().specialTimer[0], 49);
  // The fire sound comes just before the gauge is redrawn.
  EXPECT_EQ(m.events, (std::vector<int>{19, PowersMatch::kPanels}));
  m.Special(0, 1, 49);
  m.Special(0, 1, 3);
  EXPECT_EQ(m.st().specialTimer[0], 0);
  EXPECT_EQ(m.st().power[0], -49);
  m.st().power[0] = 0;
  m.Special(0, 1);
  EXPECT_EQ(m.st().specialTimer[0], 0);
}

TEST(Powers, ThePigRisesAndFallsTwiceAndEachLandingShakesLoadsOffWalkingCarriers) {
  PowersMatch m({kPig, kFox, kBear, kMole});
  auto& st = m.st();
  st.posX[0] = 100;
  st.posZ[0] = -50;
  // Seat 1 walks with a load, seat 2 is in the follow-through of a fresh scoop.
  auto load = [&] {
    st.carrying[1] = 1;
    st.animFrame[1] = 35;
    st.carrying[2] = 1;
    st.animFrame[2] = 27;
  };
  load();
  std::vector<int> heights;
  std::vector<int> drops;  // ticks at which seat 1 lost its load
  for (int tick = 0; tick < 32; ++tick) {
    st.seat = 0;
    m.game.scene.SetPosition(st.playerFrames[0], {}, st.posX[0], 0, st.posZ[0]);
    PigLift(m.game);
    heights.push_back(static_cast<int>(m.Where(st.playerFrames[0]).y));
    m.Special(0, tick == 0 ? 1 : 0);
    if (st.carrying[1] == 0) {
      drops.push_back(tick);
      EXPECT_EQ(st.carrying[2], 1) << "a swinger keeps its snow";
      EXPECT_EQ(st.animFrame[1], 0);
      load();
    }
  }
  std::vector<int> expected = {0};
  for (int h = 28; h >= 2; h -= 2) expected.push_back(h);
  for (int h = 30; h >= 2; h -= 2) expected.push_back(h);
  expected.push_back(0);
  expected.push_back(0);
  EXPECT_EQ(heights, expected);
  EXPECT_EQ(drops, (std::vector<int>{14, 29}));
  EXPECT_EQ(m.Where(st.playerFrames[0]).x, 100);
  EXPECT_EQ(st.pileX[0], 300 + 50 * st.faceX[1]);
}

TEST(Powers, SuctionDrawsAPileAlongTheLineAheadUntilItIsWithin50) {
  PowersMatch m({kElephant, -1, -1, -1});
  auto& st = m.st();
  st.posX[0] = -200;
  st.posZ[0] = 0;
  st.faceX[0] = 1;
  st.faceZ[0] = 0;
  st.pileX[0] = 100;  // on the line, 300 ahead
  st.pileZ[0] = 20;
  st.pileX[1] = 0;  // 50 beside the line: untouched
  st.pileZ[1] = 50;
  st.pileX[2] = -300;  // behind: untouched
  st.pileZ[2] = 0;
  std::vector<int> xs;
  for (int i = 0; i < 40; ++i) {
    m.Special(0, 1);
    xs.push_back(st.pileX[0]);
  }
  // One point reaches the pile at first, then two neighbouring points pull it twice a tick.
  EXPECT_EQ(xs[0], 90);
  EXPECT_EQ(xs[1], 70);
  EXPECT_EQ(xs[2], 50);
  EXPECT_EQ(xs.back(), -150);
  EXPECT_EQ(xs[xs.size() - 2], -150);
  EXPECT_EQ(st.pileZ[0], 20) << "within 50 on z: never pulled sideways";
  EXPECT_EQ(st.pileX[1], 0);
  EXPECT_EQ(st.pileX[2], -300);
  EXPECT_EQ(st.power[0], 80);
}

TEST(Powers, AMoleHoldingTheButtonStaysUndergroundForOnePurchase) {
  PowersMatch m({kMole, -1, -1, -1});
  auto& st = m.st();
  st.posX[0] = 40;
  st.posZ[0] = 60;
  m.Special(0, 1, 30);
  EXPECT_EQ(st.specialTimer[0], 1);
  EXPECT_EQ(st.power[0], 90);
  EXPECT_TRUE(Underground(st, 0));
  EXPECT_EQ(m.Where(st.playerFrames[0]).x, kAbsent);
  EXPECT_EQ(m.Where(st.cursorFrame), glm::dvec3(40, 0, 60));
  m.Special(0, 0);
  EXPECT_EQ(st.specialTimer[0], 0);
  EXPECT_EQ(m.Where(st.cursorFrame).x, kAbsent);
  // A tap hides the mole in the tick of purchase and the four after it.
  int hidden = 0;
  for (int i = 0; i < 8; ++i) {
    m.game.scene.SetPosition(st.playerFrames[0], {}, st.posX[0], 0, st.posZ[0]);
    m.Special(0, i == 0 ? 1 : 0);
    hidden += m.Where(st.playerFrames[0]).x == kAbsent ? 1 : 0;
  }
  EXPECT_EQ(hidden, 5);
}

TEST(Powers, TheMouseBlastSetsExactly25AwayAndLeavesALevelAxisAlone) {
  PowersMatch m({kMouse, kFox, kPig, kBear});
  auto& st = m.st();
  st.posX = {0, 50, 0, 100};
  st.posZ = {0, -30, 60, 0};
  st.velX = {0, 30, 7, 3};
  st.velZ = {0, 3, -9, 3};
  m.Special(0, 1);
  EXPECT_EQ(st.velX[1], 25);
  EXPECT_EQ(st.velZ[1], -25);
  EXPECT_EQ(st.velX[2], 7) << "level with the mouse on x";
  EXPECT_EQ(st.velZ[2], 25);
  EXPECT_EQ(st.velX[3], 3) << "exactly 100 away is out of reach";
  EXPECT_EQ(st.velX[0], 0);
  EXPECT_EQ(m.Where(st.fireFrame), glm::dvec3(0, 0, 0));
  // The fire's animation runs 1..19, 0, ... and the fire is put out with the last tick.
  m.Special(0, 0, 18);
  EXPECT_EQ(st.fireAnimTime, 19);
  m.Special(0, 0);
  EXPECT_EQ(st.fireAnimTime, 0);
  m.Special(0, 0, 29);
  EXPECT_EQ(st.specialTimer[0], 1);
  EXPECT_NE(m.Where(st.fireFrame).x, kAbsent);
  m.Special(0, 0);
  EXPECT_EQ(m.Where(st.fireFrame).x, kAbsent);
}

TEST(Powers, TheGlideSetsSpeed20AlongTheFacing) {
  PowersMatch m({kFlyingSquirrel, -1, -1, -1});
  auto& st = m.st();
  st.faceX[0] = -1;
  st.faceZ[0] = -1;  // towards +z
  m.Special(0, 1);
  EXPECT_EQ(st.velX[0], -20);
  EXPECT_EQ(st.velZ[0], 20);
}

TEST(ArenaObjects, AFoxPlacesOneDecoyPerPurchaseAndPaysEvenWhenAllFiveAreDown) {
  PowersMatch m({kFox, -1, -1, -1});
  auto& st = m.st();
  st.posX[0] = 100;
  st.posZ[0] = 100;
  st.faceX[0] = 1;
  st.faceZ[0] = 1;
  m.Special(0, 1);
  EXPECT_EQ(st.decoyX[0], 150);
  EXPECT_EQ(st.decoyZ[0], 50);
  EXPECT_EQ(m.events, (std::vector<int>{PowersMatch::kPanels, 14}));
  // Held: the next purchase comes ten ticks later; released: the power ends at once.
  m.Special(0, 1, 9);
  EXPECT_EQ(st.decoyX[1], kFreeSlot);
  m.Special(0, 1);
  EXPECT_EQ(st.decoyX[1], 150);
  m.Special(0, 0);
  EXPECT_EQ(st.specialTimer[0], 0);
  for (int d = 2; d < kDecoySlots; ++d) st.decoyX[d] = 0;
  m.events.clear();
  const int16_t power = st.power[0];
  m.Special(0, 1);
  EXPECT_EQ(st.power[0], power - 20);
  EXPECT_EQ(m.events, (std::vector<int>{PowersMatch::kPanels})) << "no decoy, no sound";
}

TEST(ArenaObjects, ANetHangsAtTheSpidersSpotAndSinksFor500SeatTurns) {
  PowersMatch m({kSpider, -1, -1, -1});
  auto& st = m.st();
  st.posX[0] = -120;
  st.posZ[0] = 80;
  st.netX[0] = 0;  // slot 0 taken
  st.netTimer[0] = 10000;
  m.Special(0, 1);
  EXPECT_EQ(st.netX[1], -120);
  EXPECT_EQ(st.netZ[1], 80);
  EXPECT_EQ(st.power[0], 90);
  UpdateNets(m.game);
  EXPECT_EQ(m.Where(st.netFrames[1]), glm::dvec3(-120, 49.9, 80));
  for (int i = 1; i < 499; ++i) UpdateNets(m.game);
  EXPECT_EQ(st.netTimer[1], 1);
  UpdateNets(m.game);
  EXPECT_EQ(st.netX[1], kFreeSlot);
  EXPECT_EQ(m.Where(st.netFrames[1]).x, kFreeSlot);
  // With all ten slots taken a purchase places nothing.
  for (int n = 0; n < kNetSlots; ++n) st.netX[n] = 0;
  m.Special(0, 0);
  m.Special(0, 1);
  EXPECT_EQ(st.netZ[1], 80);
}

TEST(ArenaObjects, WithFourSeatsANetLasts125TicksAndAllPowersFreezeInTheLast200) {
  PowersMatch m({kBear, kFox, kPig, kMole});
  auto& st = m.st();
  st.netX[0] = 0;
  st.netZ[0] = -300;
  st.netTimer[0] = 500;
  for (int i = 0; i < 124; ++i) MatchTick(m.game);
  EXPECT_EQ(st.netTimer[0], 4);
  MatchTick(m.game);
  EXPECT_EQ(st.netX[0], kFreeSlot);

  st.matchCounter = 200;
  st.netX[0] = 0;
  st.netTimer[0] = 300;
  st.specialTimer = {100, 5, 20, 3};
  st.specialButton = {1, 1, 1, 1};
  for (int i = 0; i < 50; ++i) MatchTick(m.game);
  EXPECT_EQ(st.netTimer[0], 300);
  EXPECT_EQ(st.specialTimer, (Seat16{100, 5, 20, 3}));
}

// The giant bear's wall x over a bear's whole power, tick by tick.
std::vector<int> WallXs(PowersMatch& m, int p) {
  std::vector<int> xs;
  m.Special(p, 1);
  xs.push_back(m.st().blockX[9]);
  for (int i = 0; i < 249; ++i) {
    m.Special(p, 0);
    xs.push_back(m.st().blockX[9]);
    EXPECT_EQ(m.Where(m.st().bear2Frame).x, m.st().blockX[9] + 100);
  }
  return xs;
}

TEST(ArenaObjects, TheWallBlinksInPlaceOnBothHalvesOfTheArena) {
  for (double x : {-300.0, 95.0, 300.0}) {
    PowersMatch m({kBear, -1, -1, -1});
    m.st().posX[0] = x;
    m.st().posZ[0] = 100;
    const std::vector<int> xs = WallXs(m, 0);
    const int wall = static_cast<int>(x) - 95;
    EXPECT_EQ(m.st().blockZ[9], 0);
    EXPECT_EQ(m.st().blockW[9], 245);
    for (int i = 0; i < 230; ++i) ASSERT_EQ(xs[i], wall) << "x " << x << " tick " << i;
    for (int i = 230; i < 249; ++i) {
      EXPECT_EQ(xs[i], (i % 2 == 0) ? wall - 2000 : wall) << "x " << x << " tick " << i;
    }
    EXPECT_EQ(xs[249], kAbsent);
  }
}

TEST(ArenaObjects, ASecondBearMovesTheSharedWallAndTheFirstToEndTakesItAway) {
  PowersMatch m({kBear, kBear, -1, -1});
  auto& st = m.st();
  st.posX = {-200, 200, 0, 0};
  st.posZ = {0, -100, 0, 0};
  m.Special(0, 1);
  EXPECT_EQ(st.blockX[9], -295);
  m.Special(0, 0, 50);
  m.Special(1, 1);
  EXPECT_EQ(st.blockX[9], 105);
  EXPECT_EQ(st.blockZ[9], -200);
  EXPECT_EQ(m.Where(st.bear2Frame), glm::dvec3(205, 0, -100));
  m.Special(0, 0, 199);
  EXPECT_EQ(st.specialTimer[0], 0);
  EXPECT_EQ(st.blockX[9], kAbsent);
}

TEST(ArenaObjects, TheBigFishBlinksItsLast25TicksWhileItsZoneStays) {
  PowersMatch m({kFish, -1, -1, -1});
  auto& st = m.st();
  st.posX[0] = -60;
  st.posZ[0] = 30;
  m.Special(0, 1);
  EXPECT_EQ(st.fishX, -60);
  EXPECT_EQ(st.fishZ, 30);
  EXPECT_EQ(st.power[0], 95);
  m.Special(0, 0, 174);
  EXPECT_EQ(m.Where(st.fish2Frame), glm::dvec3(-60, 0, 30));
  std::vector<int> xs;
  for (int i = 0; i < 24; ++i) {
    m.Special(0, 0);
    EXPECT_EQ(st.fishX, -60);
    xs.push_back(static_cast<int>(m.Where(st.fish2Frame).x));
  }
  EXPECT_EQ(xs[0], -5060);
  EXPECT_EQ(xs[1], -60);
  EXPECT_EQ(xs[22], -5060);
  m.Special(0, 0);
  EXPECT_EQ(st.fishX, kAbsent);
}

}  // namespace
}  // namespace kelmora
