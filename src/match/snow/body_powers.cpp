#include "match/game.h"
#include "match/snow/shovel.h"
#include "match/snow/powers.h"
#include "scene/scene.h"

namespace kelmora {

void PigLanding(Game& g) {
  // Felt across the whole arena: a swinger keeps its snow, only a walking carrier drops it.
  for (int q = 0; q < kSeats; ++q) {
    if (q != g.st.seat) DropPile(g, q);
  }
}

void MoleBurrow(Game& g) {
  auto& st = g.st;
  const int p = st.seat;
  // The model comes back by itself when the seat's next turn places it on the floor.
  g.scene.SetPosition(st.playerFrames[p], {}, kAbsent, 0, 0);
  g.scene.SetPosition(st.cursorFrame, {}, st.posX[p], st.sway[0], st.posZ[p]);
  if (st.specialTimer[p] == 0) g.scene.SetPosition(st.cursorFrame, {}, kAbsent, 0, 0);
}

void SquirrelGlide(Game& g) {
  auto& st = g.st;
  const int p = st.seat;
  // The next move carries the squirrel along the way it faces.
  st.velX[p] = 20 * st.faceX[p];
  st.velZ[p] = -20 * st.faceZ[p];
}

}  // namespace kelmora
