// The menu's seat steps and the start of a match, on a started headless program.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "frontend/match_start.h"
#include "frontend/menu_seat_step.h"
#include "headless_run.h"
#include "input/get_controller.h"
#include "match/numbers.h"
#include "platform/joystick_device.h"

namespace kelmora {
namespace {

constexpr int kCursor = 0, kConfirm = 1, kCancel = 2;

class Menu : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(run.form.Form_Load());
    run.game.onSound = [this](Game&, int id) { sounds.push_back(id); };
    st.menuCursor = 200;
  }
  // Menu ticks: every seat's step in order; returns `field` after each tick.
  std::vector<int16_t> Ticks(int n, const int16_t& field) {
    std::vector<int16_t> seen;
    for (int i = 0; i < n; ++i) {
      for (int s = 0; s < kSeats; ++s) frontend::MenuSeatStep(g, s);
      seen.push_back(field);
    }
    return seen;
  }
  testing::HeadlessRun run;
  Game& g = run.game;
  MatchState& st = run.game.st;
  std::vector<int> sounds;
};

TEST_F(Menu, AHeldActionKeyJoinsAndLeavesEveryTenTicks) {
  st.actionButton[1] = 1;
  const auto seen = Ticks(21, st.playerCharacter[1]);
  EXPECT_EQ(seen[0], 1) << "2P starts on character 1";
  EXPECT_EQ(seen[9], 1);
  EXPECT_EQ(seen[10], -1);
  EXPECT_EQ(seen[20], 1);
  EXPECT_EQ(sounds, (std::vector<int>{kConfirm, kCancel, kConfirm}));
}

// A centred stick must not end the delay while the button is held, or a held button would
// join and leave on every tick.
TEST_F(Menu, AHeldJoystickButtonAlternatesLikeAKey) {
  auto& joysticks = static_cast<platform::HeadlessJoysticks&>(*run.backends.joysticks);
  joysticks.Plug(0);
  input::JoystickInit(g.joy, joysticks, 16384);
  joysticks.Set(0, 0, 0, 1);
  const auto seen = Ticks(11, st.playerCharacter[2]);
  EXPECT_EQ(seen[4], 2);
  EXPECT_EQ(seen[10], -1);
  EXPECT_EQ(sounds, (std::vector<int>{kConfirm, kCancel}));
}

TEST_F(Menu, AHeldDirectionStepsEveryTenTicksWrapsAndReleaseEndsTheDelay) {
  st.playerCharacter[1] = 7;
  st.stickX[1] = 1;
  const auto seen = Ticks(21, st.playerCharacter[1]);
  EXPECT_EQ(seen[0], 8);
  EXPECT_EQ(seen[9], 8);
  EXPECT_EQ(seen[10], 0) << "8 wraps to 0";
  EXPECT_EQ(seen[20], 1);
  st.stickX[1] = 0;
  Ticks(1, st.stickX[1]);
  st.stickX[1] = -1;
  EXPECT_EQ(Ticks(2, st.playerCharacter[1]), (std::vector<int16_t>{0, 0})) << "acts at once after a release";
  st.pushTicks[1] = 0;
  EXPECT_EQ(Ticks(1, st.playerCharacter[1])[0], 8) << "0 wraps to 8";
}

TEST_F(Menu, SeatZerosCursorAndRows) {
  st.stickZ[0] = 1;
  EXPECT_EQ(Ticks(1, st.menuCursor)[0], 200) << "no cursor before seat 0 joins";
  st.playerCharacter[0] = 0;
  st.pushTicks[0] = 0;
  EXPECT_EQ(Ticks(21, st.menuCursor)[20], 400);
  EXPECT_EQ(sounds, (std::vector<int>{kCursor, kCursor, kCursor})) << "Down at the stage row sounds too";
  st.stickZ[0] = 0;
  st.pushTicks[0] = 0;
  st.stage = 5;
  st.stickX[0] = 1;
  EXPECT_EQ(Ticks(11, st.stage)[10], 1) << "5 wraps to 0, then 1";
  EXPECT_EQ(st.playerCharacter[0], 0) << "Left and Right on the stage row leave the character";
  // With the cursor left on the display-mode row, the row answers a seat 0 that has left.
  st.playerCharacter[0] = -1;
  st.pushTicks[0] = 0;
  st.menuCursor = 300;
  st.displayMode = 80;
  auto modes = Ticks(21, st.displayMode);
  EXPECT_EQ((std::vector<int16_t>{modes[0], modes[10], modes[20]}), (std::vector<int16_t>{240, 400, 80}));
  st.stickX[0] = -1;
  st.pushTicks[0] = 0;
  modes = Ticks(21, st.displayMode);
  EXPECT_EQ((std::vector<int16_t>{modes[0], modes[10], modes[20]}), (std::vector<int16_t>{400, 240, 80}));
}

TEST_F(Menu, StartsAreRefusedForOneCharacterTwiceOrOnePlayerAlone) {
  st.playerCharacter = {4, -1, 4, -1};
  st.cpuOption = 1;
  EXPECT_FALSE(frontend::StartMatch(g));
  const auto c = g.screen.PixelAt(540, 400);
  EXPECT_GT(c.r + c.g + c.b, 0) << "the loading picture is on screen";
  st.cpuOption = 0;
  st.playerCharacter = {-1, 6, -1, -1};
  EXPECT_FALSE(frontend::StartMatch(g));
  st.playerCharacter = {0, 6, -1, -1};
  EXPECT_TRUE(frontend::StartMatch(g));
  EXPECT_EQ(st.playerCharacter, (Seat16{0, 6, -1, -1}));
  EXPECT_EQ(sounds, (std::vector<int>{kCancel, kCancel, kConfirm}));
}

TEST_F(Menu, ComputerPlayersFillTheEmptySeatsWithCharactersNobodyHolds) {
  st.cpuOption = 1;
  st.playerCharacter = {-1, -1, 4, -1};
  // The draws, in order: the loading picture, then seats 0, 1 and 3, each until free.
  Random expected;
  expected.Rnd();
  std::set<int> taken{4};
  Seat16 want{-1, -1, 4, -1};
  for (int s : {0, 1, 3}) {
    int c;
    do c = Int(expected.Rnd() * 9);
    while (taken.count(c));
    taken.insert(c);
    want[s] = static_cast<int16_t>(c);
  }
  ASSERT_TRUE(frontend::StartMatch(g));
  EXPECT_EQ(st.playerCharacter, want);
  EXPECT_EQ(st.isCpu, (Seat16{1, 1, 0, 1}));
  EXPECT_EQ(g.rnd.Rnd(), expected.Rnd()) << "the menu drew exactly as many numbers";
}

}  // namespace
}  // namespace kelmora
