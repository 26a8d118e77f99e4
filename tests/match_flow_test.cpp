// The match from set-up to its end: counter phases, winner decision, Esc and the teardown.
#include <gtest/gtest.h>

#include "headless_run.h"
#include "match/play/run_match.h"
#include "platform/screen.h"

namespace kelmora {
namespace {

using testing::HeadlessRun;

MatchState Scores(int16_t a, int16_t b, int16_t c, int16_t d) {
  MatchState st;
  st.score = {a, b, c, d};
  return st;
}

TEST(WinnerDecision, OnlyAStrictlyHighestScoreWins) {
  EXPECT_EQ(DecideWinner(Scores(3, 1, 0, 0)), 0);
  EXPECT_EQ(DecideWinner(Scores(0, 0, 0, 7)), 3);
  EXPECT_EQ(DecideWinner(Scores(2, 5, 5, 0)), -1) << "shared top score";
  EXPECT_EQ(DecideWinner(Scores(0, 0, 0, 0)), -1) << "nobody scored";
  EXPECT_EQ(DecideWinner(Scores(1, 0, 0, 0)), 0) << "empty seats take part with 0";
}

TEST(MatchSetUp, GivesSeatsTheirStartPlacesAndEmptySeatsTheCentre) {
  HeadlessRun run;
  ASSERT_TRUE(run.form.Form_Load());
  auto& st = run.game.st;
  st.playerCharacter = {0, -1, 2, -1};
  st.score = {9, 9, 9, 9};
  st.power = {3, 3, 3, 3};
  SetUpMatch(run.game);
  EXPECT_EQ(st.posX, (SeatDouble{-300, 0, -300, 0}));
  EXPECT_EQ(st.posZ, (SeatDouble{200, 0, -200, 0}));
  EXPECT_EQ(st.faceX, (Seat16{1, -1, 1, -1}));
  EXPECT_EQ(st.faceZ, (Seat16{1, 1, -1, -1}));
  EXPECT_EQ(st.score, (Seat16{0, 0, 0, 0}));
  EXPECT_EQ(st.power, (Seat16{100, 100, 100, 100}));
  EXPECT_EQ(st.matchCounter, 1900);
  EXPECT_EQ(st.running, -1);
  EXPECT_EQ(st.dropX, kAbsent);
  EXPECT_EQ(st.sway, (std::array<int16_t, 2>{0, -1}));
  EXPECT_EQ(st.cpuWaypointX, (Seat16{kAbsent, kAbsent, kAbsent, kAbsent}));
  EXPECT_EQ(st.cpuTargetPile, (Seat16{-1, -1, -1, -1}));
  for (int i = 2; i < kBlockSlots; ++i) EXPECT_EQ(st.blockX[i], kAbsent) << "obstacle slot " << i;
  EXPECT_EQ(st.fishX, kAbsent);
  EXPECT_TRUE(run.game.screen.Picture1.visible);
  EXPECT_TRUE(run.game.screen.Picture2.visible);
}

TEST(MatchPhases, CounterRunsDownAndTheLastTickRendersNothing) {
  HeadlessRun run;
  ASSERT_TRUE(run.form.Form_Load());
  auto& g = run.game;
  g.st.playerCharacter = {0, 1, -1, -1};
  SetUpMatch(g);
  int ticks = 0;
  bool ended = false;
  int presentsBefore = 0;
  while (!ended) {
    presentsBefore = run.window().presents();
    ended = MatchTick(g);
    ++ticks;
    EXPECT_EQ(g.st.matchCounter, 1900 - ticks);
    if (ticks == 1) {
      EXPECT_EQ(g.st.panelsDrawn, 1) << "panels drawn on the first rendered tick";
    }
    if (!ended) {
      EXPECT_EQ(run.window().presents(), presentsBefore + 1) << "tick " << ticks;
    }
  }
  EXPECT_EQ(ticks, 1900);
  EXPECT_EQ(run.window().presents(), presentsBefore) << "the ending tick renders nothing";
}

TEST(MatchPhases, SeatsActUntilTheDecisionThenFreeze) {
  HeadlessRun run;
  ASSERT_TRUE(run.form.Form_Load());
  auto& g = run.game;
  g.st.playerCharacter = {0, 1, 2, 3};
  SetUpMatch(g);
  // Joystick seats are read in their turns; after the decision the turns stop, so the joystick
  // state no longer reaches the seat.
  auto& joys = static_cast<platform::HeadlessJoysticks&>(*run.backends.joysticks);
  joys.Plug(0);
  input::JoystickInit(g.joy, joys, 16384);
  for (int t = 1; t <= 1700; ++t) MatchTick(g);
  joys.Set(0, 32767, 0, 1);
  MatchTick(g);  // tick 1701: seats frozen
  EXPECT_EQ(g.st.stickX[2], 0);
}

TEST(MatchPhases, SharedTopScorePresentsADrawAndKeepsTheOldWinner) {
  HeadlessRun run;
  ASSERT_TRUE(run.form.Form_Load());
  auto& g = run.game;
  g.st.playerCharacter = {0, 1, -1, -1};
  g.st.winner = 3;  // left over from an earlier match
  SetUpMatch(g);
  for (int t = 1; t <= 1700; ++t) MatchTick(g);
  EXPECT_EQ(g.st.matchCounter, 200);
  EXPECT_EQ(g.st.matchDrawn, 1);
  EXPECT_EQ(g.st.winner, 3) << "a stale seat is kept but not presented";
}

TEST(MatchPhases, StrictlyHighestScoreBecomesTheWinnerAtTheDecision) {
  HeadlessRun run;
  ASSERT_TRUE(run.form.Form_Load());
  auto& g = run.game;
  g.st.playerCharacter = {0, 1, 2, -1};
  SetUpMatch(g);
  for (int t = 1; t < 1700; ++t) MatchTick(g);
  g.st.score = {1, 0, 4, 0};
  MatchTick(g);
  EXPECT_EQ(g.st.winner, 2);
  EXPECT_EQ(g.st.matchDrawn, 0);
}

// Esc at a given match tick, through the real loop: the match ends at the next pass, after
// the tick in progress, and hands over to the menu with the controls cleared.
class EscDuringMatch : public ::testing::TestWithParam<int> {};

TEST_P(EscDuringMatch, EndsTheMatchAtTheNextPass) {
  const int escTick = GetParam();
  HeadlessRun run(std::to_string(escTick) + " key-down 27 0\n");
  run.form.Form_Load();
  auto& g = run.game;
  g.st.playerCharacter = {0, 1, -1, -1};
  run.window().SetTickOrigin(g.TickNow());
  run.window().SetGrace(false);
  g.st.stickX[0] = 1;
  EXPECT_EQ(RunMatch(g), NextScreen::Menu);
  EXPECT_EQ(g.matchTicks, escTick - 1) << "the Esc of tick t arrives before tick t runs";
  EXPECT_EQ(g.st.running, 0);
  EXPECT_EQ(g.st.stickX[0], 0);
  EXPECT_FALSE(g.screen.Picture1.visible);
  EXPECT_FALSE(g.screen.Picture2.visible);
  EXPECT_EQ(g.screen.width(), 640);
}

INSTANTIATE_TEST_SUITE_P(EachPhase, EscDuringMatch, ::testing::Values(2, 900, 1000, 1700, 1701, 1899));

TEST(MatchEnd, SmallDisplayModeGivesTheMenuA640x480ScreenAgain) {
  HeadlessRun run;
  ASSERT_TRUE(run.form.Form_Load());
  auto& g = run.game;
  g.st.playerCharacter = {0, 1, -1, -1};
  g.st.displayMode = 80;
  SetUpMatch(g);
  EXPECT_EQ(g.screen.width(), 320);
  EXPECT_EQ(g.screen.Picture1.place, (platform::Rect{0, 215, 320, 25}));
  EndMatch(g);
  EXPECT_EQ(g.screen.width(), 640);
  EXPECT_EQ(g.screen.height(), 480);
}

}  // namespace
}  // namespace kelmora
