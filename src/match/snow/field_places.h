#pragma once
// Where the scene was last told each pile, decoy and net frame stands. Every seat's turn
// places all 46 of them; most have not moved since the turn before, and those are skipped.
// A place remembers its frame's handle, so the new frames of the next match are always placed.
#include <array>
#include <cstdint>

#include "match/match_state.h"

namespace kelmora {

struct FramePlace {
  int32_t frame = 0;
  double x = 0, y = 0, z = 0;
};

struct FieldPlaces {
  std::array<FramePlace, kPileSlots> piles{};
  std::array<FramePlace, kDecoySlots> decoys{};
  std::array<FramePlace, kNetSlots> nets{};
};

// Puts the frame at (x, y, z) in its parent's axes unless it was put exactly there last time.
// (A template over the scene so that this header, which Game includes, needs only the handles.)
template <class Scene>
void PlaceFieldFrame(Scene& sc, FramePlace& last, scene::FrameHandle frame, double x, double y, double z) {
  if (last.frame == frame.id && last.x == x && last.y == y && last.z == z) return;
  sc.SetPosition(frame, {}, x, y, z);
  last = {frame.id, x, y, z};
}

}  // namespace kelmora
