#pragma once
// RunMatch: the match from set-up through the 20 ms tick loop to the hand-over to the menu.
#include <cstdint>

#include "match/hand_over.h"

namespace kelmora {
struct Game;
struct MatchState;

constexpr int16_t kMatchTicks = 1900;
constexpr int16_t kHurryCounter = 1000;
constexpr int16_t kDecisionCounter = 200;

// Runs a whole match and returns the screen to hand over to (the menu, or Closed).
NextScreen RunMatch(Game& g);

// Set-up: everything before the tick loop starts.
void SetUpMatch(Game& g);
// One tick, steps T1 to T10. Returns true when the match ends in this tick (counter 0).
bool MatchTick(Game& g);
// The end of the match: music, display, scene, flags.
void EndMatch(Game& g);

// The seat whose score is strictly higher than each other seat's, or -1 when the top score
// is shared (empty seats take part with their score).
int DecideWinner(const MatchState& st);

}  // namespace kelmora
