#include "match/view/release_scene.h"

#include "match/view/match_view.h"
#include "scene/scene.h"

namespace kelmora {

namespace {
// Releases the object and empties the handle, so a second release is a no-op.
template <class H>
void Drop(MatchView& v, H& handle) {
  v.scene.Release(handle);
  handle = {};
}
}  // namespace

void ReleaseScene(MatchView& v) {
  auto& st = v.objects;
  Drop(v, st.sceneFrame);
  Drop(v, st.cameraFrame);
  for (int i = 0; i < kSeats; ++i) {
    Drop(v, st.playerAnims[i]);
    Drop(v, st.playerFrames[i]);
    Drop(v, st.backFrames[i]);
  }
  for (auto& f : st.snowFrames) Drop(v, f);
  for (auto& f : st.decoyFrames) Drop(v, f);
  Drop(v, st.fish2Frame);
  Drop(v, st.cursorFrame);
  Drop(v, st.lightFrame);
  Drop(v, st.stageFrame);
  Drop(v, st.blockFrame);
  Drop(v, st.itemFrame);
  Drop(v, st.bear2Frame);
  Drop(v, st.light);
  Drop(v, st.decisionLight);
  Drop(v, st.device);
  Drop(v, st.viewport);
  Drop(v, st.clipper);
  v.posedValid = false;
  v.decisionShown = false;
  // Releasing the Retained Mode object releases whatever the match made besides.
  Drop(v, st.d3drm);
}

}  // namespace kelmora
