#include "match/match_scene.h"

#include "match/game.h"
#include "platform/screen.h"
#include "platform/window.h"

namespace kelmora {

void ApplyDisplayMode(Game& g) {
  auto& s = g.screen;
  if (g.st.displayMode == 80) {
    s.SetMode(320, 240);
    s.Picture1.place = platform::Rect{0, 215, 320, 25};
    s.Picture2.place = platform::Rect{0, 0, 320, 215};
  } else {
    s.SetMode(640, 480);
    s.Picture1.place = platform::Rect{0, 430, 640, 50};
    s.Picture2.place = platform::Rect{0, 0, 640, 430};
  }
}

// Placeholder scene steps until the scene layer and the stages land.
void BuildMatchScene(Game&) {}
void ShowHurryBoard(Game&) {}
void PresentDecision(Game&, bool) {}
void PresentWinner(Game&, bool) {}

void RenderMatch(Game& g) { g.window.Present(g.screen); }

}  // namespace kelmora
