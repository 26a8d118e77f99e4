// Whatever players do with the keys and joysticks (mashing, holding everything at once,
// opposite directions, specials at any gauge), a whole match runs to its end with every tick
// in order: snow neither made nor lost, every seat inside the arena.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "headless_run.h"
#include "match_invariants.h"
#include "random_players.h"

namespace kelmora {
namespace {

using testing::HeadlessRun;
using testing::MatchInvariants;
using testing::PlayStyle;
using testing::RandomSeatScript;

TEST(BadInput, EveryWayOfPlayingTheControlsKeepsTheMatchInOrder) {
  for (int style = 0; style < testing::kPlayStyles; ++style) {
    std::mt19937 dice(static_cast<unsigned>(style + 1));
    std::string script;
    for (int seat = 0; seat < 4; ++seat) script += RandomSeatScript(dice, seat, static_cast<PlayStyle>(style), 1, 1700);
    // Two keyboard and two joystick seats; the mouse's fire eats snow, the others only move it.
    HeadlessRun run(script);
    MatchInvariants invariants;
    std::string fault;
    run.game.afterTick = [&](Game& g, int tick) {
      if (fault.empty()) fault = invariants.Check(g, tick);
    };
    ASSERT_EQ(run.RunMatch(static_cast<int16_t>(style), {8, 3, 2, 4}), 0);
    EXPECT_EQ(fault, "") << "style " << style;
    EXPECT_EQ(run.game.matchTicks, 1900) << "style " << style;
  }
}

}  // namespace
}  // namespace kelmora
