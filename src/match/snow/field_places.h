#pragma once
// Where the scene was last told each pile, decoy and net frame stands. Every seat's turn
// places all 46 of them; most have not moved since the turn before, and those are skipped.
// A place remembers its frame's handle, so the new frames of the next match are always placed.
#include <array>
#include <cstddef>
#include <cstdint>

#include "match/match_state.h"

namespace kelmora {

struct FramePlace {
  int32_t frame = 0;
  double x = 0, y = 0, z = 0;
};

// The numbers a whole group of frames (the piles, the decoys, the nets) was last placed from:
// the frames, a height, the x and z places and a third row the places depend on (the nets'
// ages). While all of them are unchanged, every frame of the group stands where it would be
// put, and the group is passed over without looking at each frame.
template <size_t N>
struct GroupPlaced {
  bool valid = false;
  double y = 0;
  std::array<int16_t, N> x{}, z{}, t{};
  std::array<scene::FrameHandle, N> frames{};

  bool Same(const std::array<scene::FrameHandle, N>& f, double y2, const std::array<int16_t, N>& x2,
            const std::array<int16_t, N>& z2, const std::array<int16_t, N>& t2) const {
    return valid && y == y2 && x == x2 && z == z2 && t == t2 && frames == f;
  }
  void Keep(const std::array<scene::FrameHandle, N>& f, double y2, const std::array<int16_t, N>& x2,
            const std::array<int16_t, N>& z2, const std::array<int16_t, N>& t2) {
    valid = true;
    y = y2;
    x = x2;
    z = z2;
    t = t2;
    frames = f;
  }
};

struct FieldPlaces {
  std::array<FramePlace, kPileSlots> piles{};
  std::array<FramePlace, kDecoySlots> decoys{};
  std::array<FramePlace, kNetSlots> nets{};
  GroupPlaced<kPileSlots> pileGroup;
  GroupPlaced<kDecoySlots> decoyGroup;
  GroupPlaced<kNetSlots> netGroup;
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
