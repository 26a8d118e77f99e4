#pragma once
// Where the scene was last told each pile, decoy and net frame stands. Every seat's turn
// places all 46 of them; most have not moved since the turn before, and those are skipped.
// A place remembers its frame's handle, so the new frames of the next match are always placed.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "match/match_state.h"
#include "scene/scene.h"
#include "scene/scene_handles.h"

namespace kelmora {

struct FramePlace {
  int32_t frame = 0;
  double x = 0, y = 0, z = 0;
};

// Whether two arrays hold the same bytes: four such compares a group, four groups a seat's
// turn, so they are made inline, sixteen (or eight) bytes at a time, the last piece
// overlapping the one before when the size is not a multiple, instead of a call to memcmp
// each. The elements
// are whole numbers and handles, equal exactly when their bytes are.
template <class T, size_t N>
bool SameBytes(const std::array<T, N>& a, const std::array<T, N>& b) {
  static_assert(std::has_unique_object_representations_v<T>, "equal values must have equal bytes");
  constexpr size_t kBytes = sizeof(T) * N;
#if defined(__SSE2__)
  if constexpr (kBytes >= 16) {
    const auto* p = reinterpret_cast<const unsigned char*>(a.data());
    const auto* q = reinterpret_cast<const unsigned char*>(b.data());
    auto differ = [&](size_t at) {
      return _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at)),
                           _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + at)));
    };
    __m128i any = differ(kBytes - 16);
    for (size_t at = 0; at + 16 < kBytes; at += 16) any = _mm_or_si128(any, differ(at));
    return _mm_movemask_epi8(_mm_cmpeq_epi8(any, _mm_setzero_si128())) == 0xFFFF;
  }
#endif
  if constexpr (kBytes >= 8 && kBytes <= 16) {
    uint64_t a0, a1, b0, b1;
    std::memcpy(&a0, a.data(), 8);
    std::memcpy(&b0, b.data(), 8);
    std::memcpy(&a1, reinterpret_cast<const unsigned char*>(a.data()) + kBytes - 8, 8);
    std::memcpy(&b1, reinterpret_cast<const unsigned char*>(b.data()) + kBytes - 8, 8);
    return ((a0 ^ b0) | (a1 ^ b1)) == 0;
  }
  return std::memcmp(a.data(), b.data(), kBytes) == 0;
}

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
    return valid && y == y2 && SameBytes(x, x2) && SameBytes(z, z2) && SameBytes(t, t2) && SameBytes(frames, f);
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

// Frames of one group to be placed, handed to the scene in one call.
template <size_t N>
struct FieldPlacements {
  std::array<scene::FramePlacement, N> items;
  size_t count = 0;
  std::span<const scene::FramePlacement> all() const { return {items.data(), count}; }
};

struct FieldPlaces {
  std::array<FramePlace, kNetSlots> nets{};
  GroupPlaced<kPileSlots> pileGroup;
  GroupPlaced<kDecoySlots> decoyGroup;
  GroupPlaced<kNetSlots> netGroup;
  // Lists reused by every placing, so that none is filled with zeros first.
  FieldPlacements<kPileSlots> pileBatch;
  FieldPlacements<kDecoySlots> decoyBatch;
};

// Adds the frame at (x, y, z) in its parent's axes unless it was put exactly there last time.
template <size_t N>
void PlaceFieldFrame(FieldPlacements<N>& batch, FramePlace& last, scene::FrameHandle frame, double x, double y,
                     double z) {
  if (last.frame == frame.id && last.x == x && last.y == y && last.z == z) return;
  batch.items[batch.count++] = {frame, x, y, z};
  last = {frame.id, x, y, z};
}

// Places the frames of a group standing at one height y that moved since the group was last
// placed. After every placing each frame stands at the group's kept frame, height and x and z
// row (those that moved were put there, the others were there already), so the kept group is
// what each frame is compared with; when y is another height all of them moved, and they are
// handed over as they stand, without comparing each. Before the first placing all are placed.
template <size_t N>
void PlaceGroupAtHeight(scene::Scene& sc, FieldPlacements<N>& batch, const GroupPlaced<N>& group,
                        const std::array<scene::FrameHandle, N>& frames, const std::array<int16_t, N>& xs,
                        double y, const std::array<int16_t, N>& zs) {
  if (!group.valid || !(group.y == y)) {
    sc.SetPositions(frames, xs.data(), y, zs.data());
    return;
  }
  size_t n = 0;
  for (size_t k = 0; k < N; ++k) {
    if (frames[k] == group.frames[k] && xs[k] == group.x[k] && zs[k] == group.z[k]) continue;
    batch.items[n++] = {frames[k], double(xs[k]), y, double(zs[k])};
  }
  batch.count = n;
  sc.SetPositions(batch.all());
}

}  // namespace kelmora
