#include "match/view/display_setup.h"

#include "match/stage_table.h"
#include "match/view/match_view.h"
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

void SetUpDisplay(MatchView& v, int16_t displayMode) {
  auto& o = v.objects;
  auto& sc = v.scene;
  o.clipper = sc.CreateClipper();
  o.d3drm = sc.CreateRetainedMode();
  o.device = sc.CreateDevice(o.clipper, kDeviceWidth, kDeviceHeight);
  sc.SetQuality(o.device, kGouraudQuality);

  o.sceneFrame = sc.CreateFrame({});
  o.cameraFrame = sc.CreateFrame(o.sceneFrame);
  o.lightFrame = sc.CreateFrame(o.sceneFrame);

  const platform::Rect r = ViewportRectOf(displayMode);
  o.viewport = sc.CreateViewport(o.device, o.cameraFrame, r.x, r.y, r.w, r.h);
  o.cameraTarget = sc.CreateFrame(o.sceneFrame);
}

void SetUpLight(MatchView& v, int16_t stage) {
  auto& o = v.objects;
  auto& sc = v.scene;
  if (stage != kDarkStage) {
    o.light = sc.CreateLight(scene::LightKind::Point, 1, 1, 1);
    sc.AddLight(o.lightFrame, o.light);
    sc.SetPosition(o.lightFrame, {}, 0, 500, -600);
    return;
  }
  o.light = sc.CreateLight(scene::LightKind::Spot, 1, 1, 1);
  sc.AddLight(o.lightFrame, o.light);
  sc.SetPosition(o.lightFrame, {}, 0, 750, 0);
  sc.LookAt(o.lightFrame, o.stageFrame);
}

void SetViewportBack(MatchView& v) { v.scene.SetBack(v.objects.viewport, kBackPlane); }

}  // namespace kelmora
