#include "match/game.h"
#include "match/numbers.h"
#include "match/reach.h"
#include "match/snow/powers.h"
#include "scene/scene.h"

namespace kelmora {

namespace {

constexpr int kSoundDecoy = 14;
constexpr int16_t kNetLife = 500;

}  // namespace

void PlaceDecoy(Game& g) {
  auto& st = g.st;
  const int p = st.seat;
  // Five for the whole match: once they are down, a purchase buys nothing.
  for (int d = 0; d < kDecoySlots; ++d) {
    if (st.decoyX[d] != kFreeSlot) continue;
    g.SoundPlay(kSoundDecoy);
    st.decoyX[d] = ToInt16(AheadX(st, p));
    st.decoyZ[d] = ToInt16(AheadZ(st, p));
    return;
  }
}

void PlaceNet(Game& g) {
  auto& st = g.st;
  const int p = st.seat;
  for (int n = 0; n < kNetSlots; ++n) {
    if (st.netX[n] != kFreeSlot) continue;
    st.netX[n] = ToInt16(st.posX[p]);
    st.netZ[n] = ToInt16(st.posZ[p]);
    st.netTimer[n] = kNetLife;
    return;
  }
}

void UpdateNets(Game& g) {
  auto& st = g.st;
  for (int n = 0; n < kNetSlots; ++n) {
    if (st.netX[n] != kFreeSlot) {
      st.netTimer[n] = static_cast<int16_t>(st.netTimer[n] - 1);
      if (st.netTimer[n] == 0) st.netX[n] = kFreeSlot;
    }
  }
  // A new net hangs at 50 and sinks to the floor as it ages.
  auto& placed = g.fieldPlaces;
  if (placed.netGroup.Same(st.netFrames, 0, st.netX, st.netZ, st.netTimer)) return;
  FieldPlacements<kNetSlots> nets;
  for (int n = 0; n < kNetSlots; ++n) {
    PlaceFieldFrame(nets, placed.nets[n], st.netFrames[n], st.netX[n], st.netTimer[n] / 10.0, st.netZ[n]);
  }
  g.scene.SetPositions(nets.all());
  placed.netGroup.Keep(st.netFrames, 0, st.netX, st.netZ, st.netTimer);
}

}  // namespace kelmora
