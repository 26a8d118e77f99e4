#include "shell/release_scene.h"

#include "match/game.h"

namespace kelmora {

void ReleaseScene(Game& g) {
  auto& st = g.st;
  st.running = 0;
  // The scene objects are released by the scene layer once it exists; the handles are
  // emptied so that a later release is a no-op.
  st.sceneFrame = st.cameraFrame = {};
  for (int i = 0; i < kSeats; ++i) {
    st.playerAnims[i] = {};
    st.playerFrames[i] = {};
    st.backFrames[i] = {};
  }
  for (auto& f : st.snowFrames) f = {};
  for (auto& f : st.decoyFrames) f = {};
  st.fish2Frame = st.cursorFrame = st.lightFrame = st.stageFrame = st.blockFrame = {};
  st.itemFrame = st.bear2Frame = {};
  st.light = {};
  st.device = {};
  st.viewport = {};
  st.clipper = st.d3drm = {};
}

}  // namespace kelmora
