#pragma once
// What the front-end loops share: the sheets of the run, redrawing the menu, and showing the
// logical screen in the window.
#include "frontend/draw_screens.h"

namespace kelmora {
struct Game;
}

namespace kelmora::frontend {

// Sound table entries of the front end.
constexpr int kSoundCursor = 0, kSoundConfirm = 1, kSoundCancel = 2;

// The two sprite sheets the run loaded.
Sheets SheetsOf(const Game& g);
// Redraws the whole menu from the state.
void RedrawMenu(Game& g);
// Shows the logical screen in the window when it changed since it was last shown, then tells
// the onFrontShown listener (headless screenshots) in any case.
void ShowScreen(Game& g);

}  // namespace kelmora::frontend
