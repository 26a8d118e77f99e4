#include "match/game.h"
#include "match/match_scene.h"
#include "platform/window.h"
#include "scene/scene.h"

namespace kelmora {

// Clears the viewport, renders the scene into it and shows the logical screen with the 3D
// view in Picture2.
void RenderMatch(Game& g) {
  auto& st = g.st;
  g.scene.Clear(st.viewport);
  g.scene.Render(st.viewport, st.sceneFrame);
  g.scene.Update();
  g.window.Present(g.screen);
}

}  // namespace kelmora
