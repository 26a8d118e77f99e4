#pragma once
// Geometry shared by the rules: the reach test, the goal, and the point one shovel length ahead.
#include <bit>
#include <cmath>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "match/match_state.h"

namespace kelmora {

// The stick's top speed on an axis; exactly this speed makes a bump.
constexpr double kTopSpeed = 10;
// Half-width of a pile (and of a decoy and a net) for every reach test.
constexpr double kPileReach = 50;

// The point (ax, az) reaches an object at (x, z): strictly within `half` of it on both axes.
inline bool Reaches(double ax, double az, double x, double z, double half) {
  return x - half < ax && ax < x + half && z - half < az && az < z + half;
}

// floor(v) and ceil(v) as whole numbers without a call to the library (the x86-64 baseline has
// no rounding instruction): the truncation, moved down (or up) by one when it went the other
// way. Beyond +-2^30, and for NaN, the library's floor (ceil) as before.
inline int32_t FloorToInt(double v) {
  if (!(v > -1073741824.0 && v < 1073741824.0)) return static_cast<int32_t>(std::floor(v));
  const int32_t i = static_cast<int32_t>(v);
  return static_cast<double>(i) > v ? i - 1 : i;
}
inline int32_t CeilToInt(double v) {
  if (!(v > -1073741824.0 && v < 1073741824.0)) return static_cast<int32_t>(std::ceil(v));
  const int32_t i = static_cast<int32_t>(v);
  return static_cast<double>(i) < v ? i + 1 : i;
}

// The same test for objects on whole-number places, made once for many of them: the whole
// numbers x that reach ax are those with x - half < ax < x + half, that is
// floor(ax) - half + 1 <= x <= ceil(ax) + half - 1 (and likewise for z).
struct ReachBox {
  int32_t loX, hiX, loZ, hiZ;
  ReachBox(double ax, double az, int32_t half)
      : loX(FloorToInt(ax) - half + 1),
        hiX(CeilToInt(ax) + half - 1),
        loZ(FloorToInt(az) - half + 1),
        hiZ(CeilToInt(az) + half - 1) {}
  bool Holds(int32_t x, int32_t z) const { return loX <= x && x <= hiX && loZ <= z && z <= hiZ; }
};

// Bit k set for every pile slot k whose pile the box holds, one slot at a time.
inline uint32_t PileMaskPlain(const MatchState& st, const ReachBox& box) {
  uint32_t mask = 0;
  for (int k = 0; k < kPileSlots; ++k) {
    mask |= static_cast<uint32_t>(box.Holds(st.pileX[k], st.pileZ[k])) << k;
  }
  return mask;
}

static_assert(kPileSlots > 24 && kPileSlots <= 32, "the pile mask reads the slots as 8 + 8 + 8 + 8");

// The same mask, eight slots to a compare. The moves and the computer's choices ask
// this tens of thousands of times a match; it gives exactly PileMaskPlain's answer.
inline uint32_t PileMask(const MatchState& st, const ReachBox& box) {
#if defined(__SSE2__)
  // A box beyond the range of the 16-bit places holds none of them; inside it, the bounds fit.
  constexpr int32_t kMin = INT16_MIN, kMax = INT16_MAX;
  if (box.loX > kMax || box.hiX < kMin || box.loZ > kMax || box.hiZ < kMin || box.loX > box.hiX ||
      box.loZ > box.hiZ) {
    return 0;
  }
  auto bound = [](int32_t v) { return static_cast<short>(v < kMin ? kMin : v > kMax ? kMax : v); };
  const __m128i loX = _mm_set1_epi16(bound(box.loX)), hiX = _mm_set1_epi16(bound(box.hiX));
  const __m128i loZ = _mm_set1_epi16(bound(box.loZ)), hiZ = _mm_set1_epi16(bound(box.hiZ));
  // Lanes set where a slot is outside the box (below the low bound or above the high one).
  auto outside = [&](int first) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(st.pileX.data() + first));
    const __m128i z = _mm_loadu_si128(reinterpret_cast<const __m128i*>(st.pileZ.data() + first));
    return _mm_or_si128(_mm_or_si128(_mm_cmpgt_epi16(loX, x), _mm_cmpgt_epi16(x, hiX)),
                        _mm_or_si128(_mm_cmpgt_epi16(loZ, z), _mm_cmpgt_epi16(z, hiZ)));
  };
  // The last eight start at the last slot's place minus 7, overlapping the third eight.
  constexpr int kLast = kPileSlots - 8;
  const auto low = static_cast<uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(outside(0), outside(8))));
  const auto high = static_cast<uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(outside(16), outside(kLast))));
  const uint32_t in = (~low & 0xFFFFu) | ((~high & 0xFFu) << 16) | (((~high >> 8) & 0xFFu) << kLast);
  return in;
#else
  return PileMaskPlain(st, box);
#endif
}

// The first pile slot from `from` on whose pile reaches the point (ax, az), or kPileSlots.
inline int NextPileReaching(const MatchState& st, double ax, double az, int from) {
  const uint32_t mask = PileMask(st, ReachBox(ax, az, static_cast<int32_t>(kPileReach))) >> from << from;
  return mask == 0 ? kPileSlots : std::countr_zero(mask);
}

// (x, z) strictly inside the goal: where a thrown load is delivered.
inline bool InsideGoal(const MatchState& st, double x, double z) {
  return st.goalX < x && x < st.goalX + st.goalWidth && st.goalZ < z && z < st.goalZ + st.goalDepth;
}
// (x, z) inside the goal or on its edges: where players cannot stand and pushed piles score.
inline bool OnGoal(const MatchState& st, double x, double z) {
  return st.goalX <= x && x <= st.goalX + st.goalWidth && st.goalZ <= z && z <= st.goalZ + st.goalDepth;
}

// The spot one shovel length in front of seat p (a z facing of -1 points towards +z).
inline double AheadX(const MatchState& st, int p) { return st.posX[p] + 50 * st.faceX[p]; }
inline double AheadZ(const MatchState& st, int p) { return st.posZ[p] - 50 * st.faceZ[p]; }

// The lowest empty pile slot, or -1 when all are taken.
inline int LowestEmptyPile(const MatchState& st) {
  for (int k = 0; k < kPileSlots; ++k) {
    if (st.pileX[k] == kAbsent) return k;
  }
  return -1;
}

}  // namespace kelmora
