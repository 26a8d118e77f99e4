// The menu's seat steps and the start of a match, on a started headless program.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "frontend/match_start.h"
#include "frontend/menu_seat_step.h"
#include "headless_run.h"
#include "input/get_controller.h"
#include "match/numbers.h"
#include "match/random.h"
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
  // One menu tick: every seat's step in order.
  void Tick(int times = 1) {
    for (int i = 0; i < times; ++i) {
      for (int s = 0; s < kSeats; ++s) frontend::MenuSeatStep(g, s);
    }
  }
  testing::HeadlessRun run;
  Game& g = run.game;
  MatchState& st = run.game.st;
  std::vector<int> sounds;
};

TEST_F(Menu, AHeldActionKeyJoinsAndLeavesEveryTenTicks) {
  st.actionButton[1] = 1;
  std::vector<int16_t> seen;
  for (int t = 1; t <= 21; ++t) {
    Tick();
    seen.push_back(st.playerCharacter[1]);
  }
  EXPECT_EQ(seen[0], 1) << "2P starts on character 1";
  EXPECT_EQ(seen[9], 1);
  EXPECT_EQ(seen[10], -1) << "leaves on the 11th tick, 10 after joining";
  EXPECT_EQ(seen[19], -1);
  EXPECT_EQ(seen[20], 1);
  EXPECT_EQ(sounds, (std::vector<int>{kConfirm, kCancel, kConfirm}));
}

TEST_F(Menu, AHeldJoystickButtonAlternatesLikeAKeyNotEveryTick) {
  auto& joysticks = static_cast<platform::HeadlessJoysticks&>(*run.backends.joysticks);
  joysticks.Plug(0);
  joysticks.Plug(1);
  input::JoystickInit(g.joy, joysticks, 16384);
  joysticks.Set(0, 0, 0, 1);  // 3P: stick centred, button 1 held
  Tick(5);
  EXPECT_EQ(st.playerCharacter[2], 2) << "joined once and stays while the delay runs";
  EXPECT_EQ(sounds, (std::vector<int>{kConfirm}));
  Tick(6);
  EXPECT_EQ(st.playerCharacter[2], -1);
  joysticks.Set(0, 0, 0, 0);
  Tick();
  joysticks.Set(0, 32767, 0, 0);  // right: next character at once after the release
  Tick();
  joysticks.Set(0, 0, 0, 1);
  Tick();
  EXPECT_EQ(st.playerCharacter[2], 2) << "a seat that has not joined only joins";
}

TEST_F(Menu, AHeldDirectionStepsTheCharacterEveryTenTicksAndWraps) {
  st.playerCharacter[1] = 7;
  st.stickX[1] = 1;
  std::vector<int16_t> seen;
  for (int t = 1; t <= 21; ++t) {
    Tick();
    seen.push_back(st.playerCharacter[1]);
  }
  EXPECT_EQ(seen[0], 8);
  EXPECT_EQ(seen[9], 8);
  EXPECT_EQ(seen[10], 0) << "8 wraps to 0";
  EXPECT_EQ(seen[20], 1);
  st.stickX[1] = -1;
  st.pushTicks[1] = 0;  // as the key-up of Right left it
  Tick();
  EXPECT_EQ(st.playerCharacter[1], 0);
  // Releasing every control ends the delay: the next press acts on the next tick.
  st.stickX[1] = 0;
  Tick();
  st.stickX[1] = -1;
  Tick();
  EXPECT_EQ(st.playerCharacter[1], 8) << "0 wraps to 8";
}

TEST_F(Menu, SeatZeroMovesItsCursorOnlyAfterJoiningAndStaysWithinTheRows) {
  st.stickZ[0] = 1;
  Tick();
  EXPECT_EQ(st.menuCursor, 200) << "Down does nothing before seat 0 joins";
  EXPECT_TRUE(sounds.empty());
  st.stickZ[0] = 0;
  st.playerCharacter[0] = 0;
  for (int row : {300, 400, 400}) {
    st.stickZ[0] = 1;
    Tick();
    EXPECT_EQ(st.menuCursor, row);
    st.stickZ[0] = 0;
    Tick();
  }
  EXPECT_EQ(sounds, (std::vector<int>{kCursor, kCursor, kCursor})) << "the last Down sounds at the limit too";
  st.stickX[0] = 1;
  Tick();
  EXPECT_EQ(st.playerCharacter[0], 0) << "Left and Right on the stage row change the stage, not the character";
  EXPECT_EQ(st.stage, 2);
}

TEST_F(Menu, DisplayModeAndStageRowsWrapRoundAndWorkWithoutJoining) {
  st.menuCursor = 300;
  st.displayMode = 80;
  std::vector<int16_t> modes;
  for (int dx : {1, 1, 1, -1, -1, -1}) {
    st.stickX[0] = static_cast<int16_t>(dx);
    Tick();
    modes.push_back(st.displayMode);
    st.stickX[0] = 0;
    Tick();
  }
  EXPECT_EQ(modes, (std::vector<int16_t>{240, 400, 80, 400, 240, 80}));
  st.menuCursor = 400;
  st.stage = 5;
  st.stickX[0] = 1;
  Tick();
  EXPECT_EQ(st.stage, 0);
  st.stickX[0] = 0;
  Tick();
  st.stickX[0] = -1;
  Tick();
  EXPECT_EQ(st.stage, 5);
  EXPECT_EQ(st.playerCharacter[0], -1);
}

TEST_F(Menu, OptionKeysToggleOncePerPressWithoutASound) {
  st.cpuKeyPressed = 1;
  st.musicKeyPressed = 1;
  Tick(3);
  EXPECT_EQ(st.cpuOption, 1);
  EXPECT_EQ(st.musicOn, 0);
  EXPECT_EQ(st.cpuKeyPressed, 0);
  EXPECT_TRUE(sounds.empty());
}

TEST_F(Menu, TwoSeatsOnOneCharacterAreRefusedAfterTheLoadingPicture) {
  st.playerCharacter = {4, -1, 4, -1};
  st.cpuOption = 1;
  EXPECT_FALSE(frontend::StartMatch(g));
  EXPECT_EQ(sounds, (std::vector<int>{kCancel}));
  EXPECT_EQ(st.isCpu, (Seat16{0, 0, 0, 0}));
  const auto c = g.screen.PixelAt(540, 400);
  EXPECT_GT(c.r + c.g + c.b, 0) << "the loading picture is on screen";
  EXPECT_EQ(g.screen.PixelAt(100, 100).r, 0);
}

TEST_F(Menu, OnePlayerWithoutComputerPlayersIsRefused) {
  st.playerCharacter = {-1, 6, -1, -1};
  EXPECT_FALSE(frontend::StartMatch(g));
  st.playerCharacter = {0, 6, -1, -1};
  EXPECT_TRUE(frontend::StartMatch(g));
  EXPECT_EQ(st.playerCharacter, (Seat16{0, 6, -1, -1})) << "no computer seats without the option";
  EXPECT_EQ(sounds, (std::vector<int>{kCancel, kConfirm}));
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
  EXPECT_EQ(std::set<int>(st.playerCharacter.begin(), st.playerCharacter.end()).size(), 4u);
  EXPECT_EQ(g.rnd.Rnd(), expected.Rnd()) << "the menu drew exactly as many numbers";
}

}  // namespace
}  // namespace kelmora
