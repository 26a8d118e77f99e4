// Players who run into each other at top speed bounce, and both lose a load they carry.
#include "match/characters.h"
#include "match/rules.h"
#include "match/reach.h"
#include "match/seat_turn.h"
#include "match/snow/shovel.h"

namespace kelmora {

namespace {

constexpr double kBumpHalf = 45;
constexpr int kSoundBump = 12;

bool AtTopSpeed(const MatchState& st, int p) {
  return st.velX[p] == kTopSpeed || st.velX[p] == -kTopSpeed || st.velZ[p] == kTopSpeed ||
         st.velZ[p] == -kTopSpeed;
}

}  // namespace

void BumpPlayers(Rules& r) {
  auto& st = r.st;
  const int p = st.seat;
  // Only a runner at top speed bumps (a bounce keeps the speed, so this holds for the turn).
  if (Underground(st, p) || !AtTopSpeed(st, p)) return;
  for (int q = 0; q < kSeats; ++q) {
    if (q == p || st.playerCharacter[q] == -1 || Underground(st, q)) continue;
    if (!Reaches(st.posX[p], st.posZ[p], st.posX[q], st.posZ[q], kBumpHalf)) continue;
    DropPile(r, p);
    DropPile(r, q);
    // The runner bounces; the reversed speed is still 10 and can bump the next player too.
    st.velX[p] = -st.velX[p];
    st.velZ[p] = -st.velZ[p];
    if (st.isCpu[p] == 0 || st.isCpu[q] == 0) r.Sound(kSoundBump);
  }
}

}  // namespace kelmora
