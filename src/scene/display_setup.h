#pragma once
// The display and scene set-up of a match: device, frame hierarchy, camera, viewport, the one
// scene light and the viewport's depth. The logical screen and its picture boxes are set
// before this by ApplyDisplayMode.
#include "platform/screen.h"

namespace kelmora {
struct Game;

// The viewport on the device for a display mode: 80 -> (0, 0, 320, 215), 240 -> (100, 65,
// 400, 300), 400 (and anything else) -> (0, 0, 640, 430).
platform::Rect ViewportRectOf(int displayMode);

// Clipper, Retained Mode object, device (640 x 480, Gouraud quality), sceneFrame with
// cameraFrame and lightFrame under it, the viewport of the mode through cameraFrame, and
// cameraTarget. The camera stays at the origin until the first tick places it.
void SetUpDisplay(Game& g);
// The scene's one light: a white point light at (0, 500, -600); on stage index 2 a white
// spotlight at (0, 750, 0) looking down at stageFrame, with spotX = 300, spotZ = 0 and the
// first spot targets drawn (x, then z). Needs stageFrame.
void SetUpLight(Game& g);
// The viewport's back clipping plane at 1600.
void SetViewportBack(Game& g);

}  // namespace kelmora
