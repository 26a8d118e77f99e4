#include "match/rules.h"
#include "match/numbers.h"
#include "match/reach.h"
#include "match/snow/powers.h"

namespace kelmora {

namespace {

constexpr int kSoundDecoy = 14;
constexpr int16_t kNetLife = 500;

}  // namespace

void PlaceDecoy(Rules& r) {
  auto& st = r.st;
  const int p = st.seat;
  // Five for the whole match: once they are down, a purchase buys nothing.
  for (int d = 0; d < kDecoySlots; ++d) {
    if (st.decoyX[d] != kFreeSlot) continue;
    r.Sound(kSoundDecoy);
    st.decoyX[d] = ToInt16(AheadX(st, p));
    st.decoyZ[d] = ToInt16(AheadZ(st, p));
    return;
  }
}

void PlaceNet(Rules& r) {
  auto& st = r.st;
  const int p = st.seat;
  for (int n = 0; n < kNetSlots; ++n) {
    if (st.netX[n] != kFreeSlot) continue;
    st.netX[n] = ToInt16(st.posX[p]);
    st.netZ[n] = ToInt16(st.posZ[p]);
    st.netTimer[n] = kNetLife;
    return;
  }
}

void UpdateNets(Rules& r) {
  auto& st = r.st;
  for (int n = 0; n < kNetSlots; ++n) {
    if (st.netX[n] != kFreeSlot) {
      st.netTimer[n] = static_cast<int16_t>(st.netTimer[n] - 1);
      if (st.netTimer[n] == 0) st.netX[n] = kFreeSlot;
    }
  }
}

}  // namespace kelmora
