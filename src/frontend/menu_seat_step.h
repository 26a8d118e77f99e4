#pragma once
// One seat's step in a tick of the menu.
#include <cstdint>

namespace kelmora {
struct Game;
}

namespace kelmora::frontend {

// The repeat delay a seat waits after each action, in menu ticks.
constexpr int kRepeatTicks = 10;

// Seat `seat`'s step: the option keys, the seat's pad (input/seat_pads.h), joining and leaving,
// seat 0's display-mode and stage rows and its cursor, the seat's character, and the repeat
// delay (kept in pushTicks).
void MenuSeatStep(Game& g, int seat);

// The parts of the step: the C and B keys (C only when `cpuToo`), and what the seat's stick and
// action button, as they stand in the state, choose (joining, leaving, the rows, the character).
void MenuOptionKeys(Game& g, bool cpuToo);
// The display mode one step along its row: 80 -> 240 -> 400 -> 80 for dx 1, back for -1.
int16_t NextDisplayMode(int16_t mode, int dx);
void MenuSeatChoices(Game& g, int seat);

}  // namespace kelmora::frontend
