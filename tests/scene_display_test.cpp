// The display set-up of a match: the viewport of each display mode, the frames under the
// scene root, the one light and the viewport's depth.
#include <gtest/gtest.h>

#include "headless_run.h"
#include "match/numbers.h"
#include "match/tick.h"
#include "match/view/display_setup.h"
#include "match/view/match_view.h"
#include "scene/scene.h"

namespace kelmora {
namespace {

using testing::HeadlessRun;

struct DisplayIn : HeadlessRun {
  explicit DisplayIn(int16_t mode, int16_t stage = 0) {
    game.st.displayMode = mode;
    game.st.stage = stage;
    ApplyDisplayMode(game.screen, mode);
    SetUpDisplay(game.view, mode);
  }
  MatchState& st() { return game.st; }
  MatchScene& obj() { return game.view.objects; }
  scene::Scene& sc() { return game.scene; }
};

TEST(DisplayModes, EachModeHasItsViewportOnThe640By480Device) {
  DisplayIn small(80), framed(240), wide(400);
  EXPECT_EQ(small.sc().ViewportRect(small.obj().viewport), (platform::Rect{0, 0, 320, 215}));
  EXPECT_EQ(framed.sc().ViewportRect(framed.obj().viewport), (platform::Rect{100, 65, 400, 300}));
  EXPECT_EQ(wide.sc().ViewportRect(wide.obj().viewport), (platform::Rect{0, 0, 640, 430}));
  // Every viewport lies inside the 3D view window of its mode.
  for (DisplayIn* d : {&small, &framed, &wide}) {
    const platform::Rect v = d->sc().ViewportRect(d->obj().viewport);
    const platform::Rect p = d->game.screen.Picture2.place;
    EXPECT_LE(v.x + v.w, p.w);
    EXPECT_LE(v.y + v.h, p.h);
  }
}

TEST(DisplaySetUp, CameraLightAndTargetHangUnderTheSceneRootAtTheOrigin) {
  DisplayIn d(240);
  EXPECT_TRUE(d.obj().clipper && d.obj().d3drm && d.obj().device && d.obj().viewport);
  EXPECT_FALSE(d.sc().Parent(d.obj().sceneFrame));
  for (scene::FrameHandle f : {d.obj().cameraFrame, d.obj().lightFrame, d.obj().cameraTarget}) {
    EXPECT_EQ(d.sc().Parent(f), d.obj().sceneFrame);
    EXPECT_EQ(d.sc().WorldPosition(f), glm::dvec3(0, 0, 0));
  }
  SetViewportBack(d.game.view);
  EXPECT_EQ(d.sc().ViewportBack(d.obj().viewport), 1600);
}

TEST(SceneLight, EveryStageButTheDarkOneHasAPointLightAboveTheFront) {
  DisplayIn d(400, 0);
  d.obj().stageFrame = d.sc().CreateFrame(d.obj().sceneFrame);
  SetUpLight(d.game.view, 0);
  EXPECT_TRUE(d.obj().light);
  EXPECT_EQ(d.sc().WorldPosition(d.obj().lightFrame), glm::dvec3(0, 500, -600));
  EXPECT_EQ(d.game.rnd.draws(), 0u);
}

TEST(SceneLight, TheDarkStagesSpotlightPointsStraightDownAndItsFirstTargetsAreDrawn) {
  DisplayIn d(400, 2);
  d.obj().stageFrame = d.sc().CreateFrame(d.obj().sceneFrame);
  d.sc().SetPosition(d.obj().stageFrame, {}, 0, -10, 0);
  SetUpLight(d.game.view, 2);
  SetUpRules(d.game);
  const glm::dvec3 dir = d.sc().Direction(d.obj().lightFrame);
  EXPECT_NEAR(dir.y, -1, 1e-12);
  EXPECT_EQ(d.sc().WorldPosition(d.obj().lightFrame), glm::dvec3(0, 750, 0));
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
  d.obj().stageFrame = d.sc().CreateFrame(d.obj().sceneFrame);
  SetUpLight(d.game.view, 0);
  d.sc().Release(d.obj().sceneFrame);
  d.sc().Release(d.obj().d3drm);
  EXPECT_EQ(d.sc().ObjectCount(), 0u);
}

}  // namespace
}  // namespace kelmora
