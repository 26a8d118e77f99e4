#include "match/rules.h"
#include "match/numbers.h"
#include "match/snow/powers.h"

namespace kelmora {

namespace {

constexpr int kWallSlot = 9;
constexpr int16_t kBlinkJump = 2000;
// A wall whose x lies above this is in the arena, one at or below it is blinked away.
constexpr int16_t kBlinkedAway = -1000;

}  // namespace

void BearWallStep(Rules& r) {
  auto& st = r.st;
  const int p = st.seat;
  const int16_t t = st.specialTimer[p];
  int16_t& x = st.blockX[kWallSlot];
  int16_t& z = st.blockZ[kWallSlot];
  if (t == 249) {
    // Raised around the bear, reaching further to its right than to its left.
    x = ToInt16(st.posX[p] - 95);
    z = ToInt16(st.posZ[p] - 100);
    st.blockW[kWallSlot] = 245;
    st.blockD[kWallSlot] = 250;
  }
  // The last 20 ticks: away and back on alternate ticks, on either half of the arena.
  if (t < 20) x = static_cast<int16_t>(x > kBlinkedAway ? x - kBlinkJump : x + kBlinkJump);
  if (t == 0) {
    x = kAbsent;
    z = 0;
  }
  st.giantBear = {double(x + 100), double(st.sway[0]), double(z + 100)};
}

}  // namespace kelmora
