#pragma once
// Pictures between a match's ticks. The rules run 50 ticks a second; the real window draws at
// its display's rate, each picture posed between the last two ticks at the moment it is drawn.
// Other windows (headless, recorded and replayed runs) show the picture each tick renders.
#include <cstdint>

namespace kelmora {
struct Game;

// At the match's start: whether the window draws between ticks (the ticks' renders then only
// take their poses). StopPicturesBetweenTicks at its end.
bool StartPicturesBetweenTicks(Game& g);
void StopPicturesBetweenTicks(Game& g);

// Between two ticks, the latest of which began at tickBeganMs on the game clock: the picture of
// this moment when the window is ready for one, otherwise a sleep until the next picture or
// the next tick is due (or an input event comes).
void PictureOrWait(Game& g, uint32_t tickBeganMs);

}  // namespace kelmora
