#pragma once
// RunMatch: the match from set-up through the 20 ms tick loop to the hand-over to the menu.
// Each tick gathers the seats' controls, runs the rules' tick and plays what it reported.
#include <cstdint>

#include "match/hand_over.h"
#include "match/tick.h"

namespace kelmora {
struct Game;

// Runs a whole match and returns the screen to hand over to (the menu, or Closed).
NextScreen RunMatch(Game& g);

// Set-up: the rules' state, then the scene built from it.
void SetUpMatch(Game& g);
// One tick: the pads are read, the rules run on the controls gathered, and the view plays
// the tick's events. Returns true when the match ends in this tick (counter 0).
bool MatchTick(Game& g);
// Plays a tick's events in the order the rules reported them: sounds, strip redraws, music
// commands, the render. `tellHooks`: the event log and tests hear them too (an online match
// tells them only of confirmed ticks).
void PlayTickEvents(Game& g, const TickEvents& events, bool tellHooks);
// The end of the match: music, display, scene, flags.
void EndMatch(Game& g);

}  // namespace kelmora
