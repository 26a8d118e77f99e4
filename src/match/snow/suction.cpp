#include "match/rules.h"
#include "match/reach.h"
#include "match/snow/powers.h"

namespace kelmora {

namespace {

constexpr int kSuctionPoints = 11;  // the elephant itself and ten more, 50 apart
constexpr int kPull = 10;

// One step of pile k towards the elephant at (x0, z0) on each axis on which it lies more than
// 50 away.
void Pull(MatchState& st, int k, double x0, double z0) {
  if (st.pileX[k] > x0 + 50) st.pileX[k] = static_cast<int16_t>(st.pileX[k] - kPull);
  if (st.pileX[k] < x0 - 50) st.pileX[k] = static_cast<int16_t>(st.pileX[k] + kPull);
  if (st.pileZ[k] > z0 + 50) st.pileZ[k] = static_cast<int16_t>(st.pileZ[k] - kPull);
  if (st.pileZ[k] < z0 - 50) st.pileZ[k] = static_cast<int16_t>(st.pileZ[k] + kPull);
}

}  // namespace

void ElephantSuction(Rules& r) {
  auto& st = r.st;
  const int p = st.seat;
  const double x0 = st.posX[p];
  const double z0 = st.posZ[p];
  // Each point ahead pulls every pile within reach of it, in slot order, so a pile between two
  // neighbouring points is pulled twice in one tick.
  for (int n = 0; n < kSuctionPoints; ++n) {
    const double sx = x0 + 50 * n * st.faceX[p];
    const double sz = z0 - 50 * n * st.faceZ[p];
    for (int k = 0; k < kPileSlots; ++k) {
      if (Reaches(sx, sz, st.pileX[k], st.pileZ[k], kPileReach)) Pull(st, k, x0, z0);
    }
  }
}

}  // namespace kelmora
