#include "match/game.h"
#include "match/numbers.h"
#include "match/snow/powers.h"
#include "scene/scene.h"

namespace kelmora {

void BigFishStep(Game& g) {
  auto& st = g.st;
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
  g.scene.SetPosition(st.fish2Frame, {}, st.fishX - 5000 * st.fishBlink, st.sway[0], st.fishZ);
}

}  // namespace kelmora
