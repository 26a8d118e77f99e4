// The display set-up of a match: the viewport of each display mode, the frames under the
// scene root, the one light and the viewport's depth.
#include <gtest/gtest.h>

#include "headless_run.h"
#include "match/match_scene.h"
#include "match/numbers.h"
#include "scene/display_setup.h"
#include "scene/scene.h"

namespace kelmora {
namespace {

using testing::HeadlessRun;

struct DisplayIn : HeadlessRun {
  explicit DisplayIn(int16_t mode, int16_t stage = 0) {
    game.st.displayMode = mode;
    game.st.stage = stage;
    ApplyDisplayMode(game);
    SetUpDisplay(game);
  }
  MatchState& st() { return game.st; }
  scene::Scene& sc() { return game.scene; }
};

TEST(DisplayModes, EachModeHasItsViewportOnThe640By480Device) {
  DisplayIn small(80), framed(240), wide(400);
  EXPECT_EQ(small.sc().ViewportRect(small.st().viewport), (platform::Rect{0, 0, 320, 215}));
  EXPECT_EQ(framed.sc().ViewportRect(framed.st().viewport), (platform::Rect{100, 65, 400, 300}));
  EXPECT_EQ(wide.sc().ViewportRect(wide.st().viewport), (platform::Rect{0, 0, 640, 430}));
  // Every viewport lies inside the 3D view window of its mode.
  for (DisplayIn* d : {&small, &framed, &wide}) {
    const platform::Rect v = d->sc().ViewportRect(d->st().viewport);
    const platform::Rect p = d->game.screen.Picture2.place;
    EXPECT_LE(v.x + v.w, p.w);
    EXPECT_LE(v.y + v.h, p.h);
  }
}

TEST(DisplaySetUp, CameraLightAndTargetHangUnderTheSceneRootAtTheOrigin) {
  DisplayIn d(240);
  auto& st = d.st();
  EXPECT_TRUE(st.clipper && st.d3drm && st.device && st.viewport);
  EXPECT_FALSE(d.sc().Parent(st.sceneFrame));
  for (scene::FrameHandle f : {st.cameraFrame, st.lightFrame, st.cameraTarget}) {
    EXPECT_EQ(d.sc().Parent(f), st.sceneFrame);
    EXPECT_EQ(d.sc().WorldPosition(f), glm::dvec3(0, 0, 0));
  }
  SetViewportBack(d.game);
  EXPECT_EQ(d.sc().ViewportBack(st.viewport), 1600);
}

TEST(SceneLight, EveryStageButTheDarkOneHasAPointLightAboveTheFront) {
  DisplayIn d(400, 0);
  d.st().stageFrame = d.sc().CreateFrame(d.st().sceneFrame);
  SetUpLight(d.game);
  EXPECT_TRUE(d.st().light);
  EXPECT_EQ(d.sc().WorldPosition(d.st().lightFrame), glm::dvec3(0, 500, -600));
  EXPECT_EQ(d.game.rnd.draws(), 0u);
}

TEST(SceneLight, TheDarkStagesSpotlightPointsStraightDownAndDrawsItsFirstTargets) {
  DisplayIn d(400, 2);
  d.st().stageFrame = d.sc().CreateFrame(d.st().sceneFrame);
  d.sc().SetPosition(d.st().stageFrame, {}, 0, -10, 0);
  SetUpLight(d.game);
  const glm::dvec3 dir = d.sc().Direction(d.st().lightFrame);
  EXPECT_NEAR(dir.y, -1, 1e-12);
  EXPECT_EQ(d.sc().WorldPosition(d.st().lightFrame), glm::dvec3(0, 750, 0));
  Random expected;
  const int tx = Int(expected.Rnd() * 80 - 40) * 10;
  const int tz = Int(expected.Rnd() * 80 - 40) * 10;
  EXPECT_EQ(d.st().spotX, 300);
  EXPECT_EQ(d.st().spotZ, 0);
  EXPECT_EQ(d.st().spotTargetX, tx);
  EXPECT_EQ(d.st().spotTargetZ, tz);
}

TEST(DisplaySetUp, ReleasingTheSceneLeavesNoObjectBehind) {
  DisplayIn d(240);
  d.st().stageFrame = d.sc().CreateFrame(d.st().sceneFrame);
  SetUpLight(d.game);
  d.sc().Release(d.st().sceneFrame);
  d.sc().Release(d.st().d3drm);
  EXPECT_EQ(d.sc().ObjectCount(), 0u);
}

}  // namespace
}  // namespace kelmora
