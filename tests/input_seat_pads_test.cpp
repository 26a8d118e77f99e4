// Four pads on the headless joysticks: every seat played on a pad, a pad beside the keys of a
// keyboard seat, the rumbles of a bump and a delivery, and a journey from the title to a match
// against computer players on one pad alone.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "headless_run.h"
#include "match/match_state.h"

namespace kelmora {
namespace {

using platform::HeadlessJoysticks;

HeadlessJoysticks& Pads(testing::HeadlessRun& run) { return static_cast<HeadlessJoysticks&>(*run.backends.joysticks); }

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Slots 0 to 3 play 3P, 4P, 2P and 1P: each holds its own direction, and 1P's pad presses its
// action once. 1P and 2P run into each other, and only their pads rumble.
TEST(SeatPads, FourPadsDriveTheFourSeatsAndABumpRumblesTheBumpedPads) {
  testing::HeadlessRun run(
      "1 joy 0 0 32767 0\n"     // 3P down (towards the camera)
      "1 joy 1 0 -32768 0\n"    // 4P up
      "1 joy 2 -32768 0 0\n"    // 2P left, towards 1P
      "1 joy 3 32767 0 0\n"     // 1P right
      "30 joy 3 32767 0 1\n"    // 1P's action, beside its stick
      "31 joy 3 32767 0 0\n");
  MatchState start, later;
  std::vector<int16_t> action0;
  run.game.afterTick = [&](Game& g, int tick) {
    if (tick == 1) start = g.st;
    if (tick == 25) later = g.st;  // before the bump
    action0.push_back(g.st.actionButton[0]);
  };
  ASSERT_EQ(run.RunMatch(0, {0, 1, 2, 3}), 0);
  EXPECT_GT(later.posX[0], start.posX[0]) << "1P right";
  EXPECT_LT(later.posX[1], start.posX[1]) << "2P left";
  EXPECT_LT(later.posZ[2], start.posZ[2]) << "3P down";
  EXPECT_GT(later.posZ[3], start.posZ[3]) << "4P up";
  EXPECT_EQ(later.posZ[0], start.posZ[0]);
  EXPECT_EQ(later.posX[2], start.posX[2]);
  ASSERT_GT(action0.size(), 31u);
  EXPECT_EQ(action0[28], 0);
  EXPECT_NE(action0[29], 0) << "1P's action, pressed on the pad";
  auto& pads = Pads(run);
  EXPECT_GE(pads.rumbles(3), 1) << "1P's bump";
  EXPECT_GE(pads.rumbles(2), 1) << "2P's bump";
  EXPECT_EQ(pads.rumbles(0) + pads.rumbles(1), 0) << "3P and 4P bumped nobody";
}

// A pad plugged into 1P's slot that does nothing leaves the keys exactly as they were: the
// same match, tick for tick; the delivery rumbles that pad once.
TEST(SeatPads, AnIdlePadBesideTheKeysChangesNothingAndADeliveryRumblesIt) {
  const std::string keys = ReadText(KELMORA_TEST_DATA_DIR "/../../docs/play/scoop-carry-throw.txt");
  ASSERT_FALSE(keys.empty());
  auto play = [](const std::string& script, int& rumbles) {
    testing::HeadlessRun run(script);
    std::vector<std::string> ticks;
    run.game.afterTick = [&](Game& g, int) {
      std::ostringstream line;
      for (int s = 0; s < kSeats; ++s) line << g.st.posX[s] << ',' << g.st.posZ[s] << ',' << g.st.score[s] << ';';
      ticks.push_back(line.str());
    };
    EXPECT_EQ(run.RunMatch(0, {0, 1, -1, -1}, {0, 0, 0, 0}, 400, 0), 0);
    rumbles = Pads(run).rumbles(3);
    return ticks;
  };
  int without = 0, with = 0;
  const auto plain = play(keys, without);
  const auto beside = play(keys + "1 joy 3 0 0 0\n", with);
  EXPECT_EQ(plain, beside);
  ASSERT_FALSE(beside.empty());
  EXPECT_EQ(with, 1) << "one delivery";
}

// One pad and no keyboard: Start on the title; the shoulder twice, from 3P to 2P to 1P; join,
// the fox, 640x480, the first stage, computer players on, music off, Start; Start pauses the
// match and Back ends it, Back again goes to the title.
TEST(SeatPads, OnePadAloneChoosesEverythingAndStartsAMatchAgainstComputers) {
  std::string script = "1 joy 0 0 0 0\n";
  int t = 10;
  auto press = [&](const std::string& down, const std::string& up) {
    script += std::to_string(t) + " " + down + "\n" + std::to_string(t + 4) + " " + up + "\n";
    t += 20;
  };
  auto buttons = [&](int x, int y, int mask) {
    press("joy 0 " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(mask), "joy 0 0 0 0");
  };
  press("joy-down 0 start", "joy-up 0 start");
  buttons(0, 0, 16);        // left shoulder: 2P
  buttons(0, 0, 16);        // and 1P
  buttons(0, 0, 1);         // join as the bear
  buttons(32767, 0, 0);     // the fox
  buttons(0, 32767, 0);     // down to the display mode
  buttons(32767, 0, 0);     // 400 -> 640x480
  buttons(0, 32767, 0);     // down to the stage
  buttons(-32768, 0, 0);    // the first stage
  buttons(0, 0, 4);         // computer players
  buttons(0, 0, 8);         // no music
  press("joy-down 0 start", "joy-up 0 start");
  t += 300;
  press("joy-down 0 start", "joy-up 0 start");
  press("joy-down 0 back", "joy-up 0 back");
  t += 100;
  press("joy-down 0 back", "joy-up 0 back");
  script += std::to_string(t + 50) + " close\n";

  testing::HeadlessRun run(script);
  MatchState first;
  run.game.afterTick = [&](Game& g, int tick) {
    if (tick == 1) first = g.st;
  };
  ASSERT_EQ(run.RunProgram(), 0);
  EXPECT_EQ(run.game.matchesStarted, 1);
  EXPECT_EQ(first.playerCharacter[0], 1);
  EXPECT_EQ(first.isCpu, (Seat16{0, 1, 1, 1}));
  EXPECT_EQ(first.displayMode, 400);
  EXPECT_EQ(first.stage, 0);
  EXPECT_EQ(first.cpuOption, 1);
  EXPECT_EQ(first.musicOn, 0);
  EXPECT_LT(run.game.matchTicks, 1000) << "Back ended the paused match";
  EXPECT_EQ(run.game.st.menuCursor, 360) << "and then the menu, on the title's Game Start";
  // The shoulder traded seats twice: 3P with 2P, then 2P with 1P.
  EXPECT_EQ(Pads(run).seat(0), 0) << "the pad shows 1P";
  EXPECT_EQ(Pads(run).seat(2), 2);
  EXPECT_EQ(Pads(run).seat(3), 1);
}

}  // namespace
}  // namespace kelmora
