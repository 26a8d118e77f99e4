#include "shell/release_scene.h"

#include "match/game.h"
#include "scene/scene.h"

namespace kelmora {

namespace {
// Releases the object and empties the handle, so a second release is a no-op.
template <class H>
void Drop(Game& g, H& handle) {
  g.scene.Release(handle);
  handle = {};
}
}  // namespace

void ReleaseScene(Game& g) {
  auto& st = g.st;
  st.running = 0;
  Drop(g, st.sceneFrame);
  Drop(g, st.cameraFrame);
  for (int i = 0; i < kSeats; ++i) {
    Drop(g, st.playerAnims[i]);
    Drop(g, st.playerFrames[i]);
    Drop(g, st.backFrames[i]);
  }
  for (auto& f : st.snowFrames) Drop(g, f);
  for (auto& f : st.decoyFrames) Drop(g, f);
  Drop(g, st.fish2Frame);
  Drop(g, st.cursorFrame);
  Drop(g, st.lightFrame);
  Drop(g, st.stageFrame);
  Drop(g, st.blockFrame);
  Drop(g, st.itemFrame);
  Drop(g, st.bear2Frame);
  Drop(g, st.light);
  Drop(g, st.device);
  Drop(g, st.viewport);
  Drop(g, st.clipper);
  // Releasing the Retained Mode object releases whatever the match made besides.
  Drop(g, st.d3drm);
}

}  // namespace kelmora
