#include "match/rules.h"
#include "match/snow/shovel.h"
#include "match/snow/powers.h"

namespace kelmora {

void PigLanding(Rules& r) {
  // Felt across the whole arena: a swinger keeps its snow, only a walking carrier drops it.
  for (int q = 0; q < kSeats; ++q) {
    if (q != r.st.seat) DropPile(r, q);
  }
}

void MoleBurrow(Rules& r) {
  auto& st = r.st;
  const int p = st.seat;
  // The model comes back by itself when the seat's next turn places it on the floor.
  st.burrowed[p] = 1;
  st.moleMarker = {st.posX[p], double(st.sway[0]), st.posZ[p]};
  if (st.specialTimer[p] == 0) st.moleMarker = {kAbsent, 0, 0};
}

void SquirrelGlide(Rules& r) {
  auto& st = r.st;
  const int p = st.seat;
  // The next move carries the squirrel along the way it faces.
  st.velX[p] = 20 * st.faceX[p];
  st.velZ[p] = -20 * st.faceZ[p];
}

}  // namespace kelmora
