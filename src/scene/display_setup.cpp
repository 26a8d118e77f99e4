#include "scene/display_setup.h"

#include "match/game.h"
#include "match/numbers.h"
#include "scene/scene.h"

namespace kelmora {

namespace {
constexpr int kDeviceWidth = 640, kDeviceHeight = 480;
constexpr int kGouraudQuality = 137;
constexpr double kBackPlane = 1600;
}  // namespace

platform::Rect ViewportRectOf(int displayMode) {
  if (displayMode == 80) return {0, 0, 320, 215};
  if (displayMode == 240) return {100, 65, 400, 300};
  return {0, 0, 640, 430};
}

void SetUpDisplay(Game& g) {
  auto& st = g.st;
  auto& sc = g.scene;
  st.clipper = sc.CreateClipper();
  st.d3drm = sc.CreateRetainedMode();
  st.device = sc.CreateDevice(st.clipper, kDeviceWidth, kDeviceHeight);
  sc.SetQuality(st.device, kGouraudQuality);

  st.sceneFrame = sc.CreateFrame({});
  st.cameraFrame = sc.CreateFrame(st.sceneFrame);
  st.lightFrame = sc.CreateFrame(st.sceneFrame);

  const platform::Rect r = ViewportRectOf(st.displayMode);
  st.viewport = sc.CreateViewport(st.device, st.cameraFrame, r.x, r.y, r.w, r.h);
  st.cameraTarget = sc.CreateFrame(st.sceneFrame);
}

void SetUpLight(Game& g) {
  auto& st = g.st;
  auto& sc = g.scene;
  if (st.stage != 2) {
    st.light = sc.CreateLight(scene::LightKind::Point, 1, 1, 1);
    sc.AddLight(st.lightFrame, st.light);
    sc.SetPosition(st.lightFrame, {}, 0, 500, -600);
    return;
  }
  st.light = sc.CreateLight(scene::LightKind::Spot, 1, 1, 1);
  sc.AddLight(st.lightFrame, st.light);
  sc.SetPosition(st.lightFrame, {}, 0, 750, 0);
  sc.LookAt(st.lightFrame, st.stageFrame);
  st.spotX = 300;
  st.spotZ = 0;
  st.spotTargetX = static_cast<int16_t>(Int(g.rnd.Rnd() * 80 - 40) * 10);
  st.spotTargetZ = static_cast<int16_t>(Int(g.rnd.Rnd() * 80 - 40) * 10);
}

void SetViewportBack(Game& g) { g.scene.SetBack(g.st.viewport, kBackPlane); }

}  // namespace kelmora
