#include "frontend/show_screen.h"

#include "match/play/game.h"
#include "platform/screen.h"
#include "platform/window.h"

namespace kelmora::frontend {

Sheets SheetsOf(const Game& g) { return {g.view.menuSheet, g.view.characterSheet}; }

void RedrawMenu(Game& g) { DrawMenuScreen(g.screen, SheetsOf(g), g.st); }

void ShowScreen(Game& g) {
  if (g.screen.revision() != g.frontShownRevision) {
    g.window.Present(g.screen);
    g.frontShownRevision = g.screen.revision();
  }
  if (g.onFrontShown) g.onFrontShown(g);
}

}  // namespace kelmora::frontend
