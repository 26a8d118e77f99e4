#pragma once
// Geometry shared by the rules: the reach test, the goal, and the point one shovel length ahead.
#include <cstdint>

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

// The first pile slot from `from` on whose pile reaches the point (ax, az), or kPileSlots.
inline int NextPileReaching(const MatchState& st, double ax, double az, int from) {
  for (int k = from; k < kPileSlots; ++k) {
    if (Reaches(ax, az, st.pileX[k], st.pileZ[k], kPileReach)) return k;
  }
  return kPileSlots;
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
