#pragma once
// The pause of a match. While it is paused no tick runs: the music and the sounds are held,
// "Paused" shows over the view (F1 there opens the help page) and the loop waits on the
// window's events. The match's clock is the game clock less the time spent paused, so after a
// pause the ticks go on at their pace, none lost or rushed, and the match is the same as one
// that never paused.
#include <cstdint>

namespace kelmora {
struct Game;

// The match's own clock: milliseconds, and its tick number (the game clock's while never paused).
uint32_t MatchClockMs(Game& g);
int32_t MatchTickNow(Game& g);

// Holds the match: the music and the sounds stop where they are and the pause overlay shows.
void PauseMatch(Game& g);
// One pass of a paused match: waits for the window's next event (or at most until the next
// 20 ms), lets the events run and shows what they changed (the help page).
void WaitWhilePaused(Game& g);
// Lets the match go on: its clock leaves out the time paused, the music and the sounds go on
// from where they stood and the overlay goes.
void ResumeMatch(Game& g);

}  // namespace kelmora
