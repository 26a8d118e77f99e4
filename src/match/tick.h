#pragma once
// The match as the rules see it: the set-up of the rules' state and one tick, a function of
// that state and the seats' controls that reports what happened as events. Neither touches
// the scene, the screen, the sound, the clock or a file, so a tick can be run again silently.
#include <cstdint>

#include "match/rules.h"
#include "match/seat_controls.h"
#include "match/tick_events.h"

namespace kelmora {

constexpr int16_t kMatchTicks = 1900;
constexpr int16_t kHurryCounter = 1000;
constexpr int16_t kDecisionCounter = 200;

// Everything the rules set before the first tick, on the stage and seats chosen: the goal and
// the obstacles, the piles (drawn from the generator), the seats at their starts, the timers.
void SetUpRules(MatchRules& m);

// One tick, steps T1 to T10 of the rules. Returns true when the match ends in this tick
// (counter 0); such a tick renders nothing.
bool RunTick(MatchRules& m, const SeatControls& controls, TickEvents& events);

// The seat whose score is strictly higher than each other seat's, or -1 when the top score
// is shared (empty seats take part with their score).
int DecideWinner(const MatchState& st);

}  // namespace kelmora
