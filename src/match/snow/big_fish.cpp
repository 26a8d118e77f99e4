#include "match/rules.h"
#include "match/numbers.h"
#include "match/snow/powers.h"

namespace kelmora {

void BigFishStep(Rules& r) {
  auto& st = r.st;
  const int p = st.seat;
  const int16_t t = st.specialTimer[p];
  if (t == 199) {
    st.fishX = ToInt16(st.posX[p]);
    st.fishZ = ToInt16(st.posZ[p]);
    st.fishBlink = 0;
  }
  // Only the model blinks in the last 25 ticks; the slippery zone stays where it is.
  if (t < 25) st.fishBlink = static_cast<int16_t>(1 - st.fishBlink);
  if (t == 0) st.fishX = kAbsent;
  st.bigFish = {double(st.fishX - 5000 * st.fishBlink), double(st.sway[0]), double(st.fishZ)};
}

}  // namespace kelmora
