#pragma once
// Which way the scene was last told each seat's model faces. A seat's frame is turned only
// here (at its start and by its moves), so a move the way the frame already faces leaves it
// as it stands instead of working the same turn out again; most moves keep the stick as it
// was. A facing remembers its frame's handle, so the new frames of the next match are always
// turned.
#include <array>
#include <cstdint>

#include "match/match_state.h"
#include "scene/scene.h"
#include "scene/scene_handles.h"

namespace kelmora {

struct SeatFacing {
  int32_t frame = 0;
  int16_t x = 0, z = 0;
};

using SeatFacings = std::array<SeatFacing, kSeats>;

// Turns `frame` to face the way the stick (x, z) points (z +1 faces towards lower z), unless
// it was turned exactly so last time.
inline void FaceStick(scene::Scene& sc, SeatFacing& shown, scene::FrameHandle frame, int16_t x, int16_t z) {
  if (shown.frame == frame.id && shown.x == x && shown.z == z) return;
  sc.SetOrientation(frame, {}, glm::dvec3(x, 0, -z), glm::dvec3(0, 1, 0));
  shown = {frame.id, x, z};
}

}  // namespace kelmora
