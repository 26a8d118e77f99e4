#pragma once
// The title screen and the menu.
#include "match/hand_over.h"

namespace kelmora {
struct Game;

// The title screen: Game Start leads to the menu, Exit ends the program.
NextScreen ShowTitleScreen(Game& g);
// The menu: seats join and choose; Enter starts a match, Esc goes back to the title.
NextScreen RunMenu(Game& g);

}  // namespace kelmora
