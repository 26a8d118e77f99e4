#pragma once
// The display and scene set-up of a match: device, frame hierarchy, camera, viewport, the one
// scene light and the viewport's depth. The logical screen and its picture boxes are set
// before this by ApplyDisplayMode.
#include <cstdint>

#include "platform/screen.h"

namespace kelmora {
struct MatchView;

// The viewport on the device for a display mode: 80 -> (0, 0, 320, 215), 240 -> (100, 65,
// 400, 300), 400 (and anything else) -> (0, 0, 640, 430).
platform::Rect ViewportRectOf(int displayMode);

// Clipper, Retained Mode object, device (640 x 480, Gouraud quality), sceneFrame with
// cameraFrame and lightFrame under it, the viewport of the mode through cameraFrame, and
// cameraTarget. The camera stays at the origin until the first tick places it.
void SetUpDisplay(MatchView& v, int16_t displayMode);
// The scene's one light: a white point light at (0, 500, -600); on stage index 2 a white
// spotlight at (0, 750, 0) looking down at stageFrame. Needs stageFrame.
void SetUpLight(MatchView& v, int16_t stage);
// The viewport's back clipping plane at 1600.
void SetViewportBack(MatchView& v);

}  // namespace kelmora
