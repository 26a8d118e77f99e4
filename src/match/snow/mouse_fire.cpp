#include "match/rules.h"
#include "match/reach.h"
#include "match/snow/powers.h"

namespace kelmora {

namespace {

constexpr int kFireFrames = 20;
constexpr double kBlastReach = 100;
constexpr double kBlastSpeed = 25;

// The speed away from the mouse along one axis; none when level with it.
void BlowAway(double& vel, double at, double mouseAt) {
  if (at < mouseAt) vel = -kBlastSpeed;
  if (at > mouseAt) vel = kBlastSpeed;
}

}  // namespace

void MouseFire(Rules& r) {
  auto& st = r.st;
  const int p = st.seat;
  st.fireAnimTime = static_cast<int16_t>(st.fireAnimTime + 1);
  if (st.fireAnimTime == kFireFrames) st.fireAnimTime = 0;
  st.fire = {st.posX[p], double(st.sway[0]), st.posZ[p]};
  st.fireShown = st.fireAnimTime;

  // Seats not in play stand still at the centre, so blowing them away changes nothing.
  for (int q = 0; q < kSeats; ++q) {
    if (q == p || !Reaches(st.posX[q], st.posZ[q], st.posX[p], st.posZ[p], kBlastReach)) continue;
    BlowAway(st.velX[q], st.posX[q], st.posX[p]);
    BlowAway(st.velZ[q], st.posZ[q], st.posZ[p]);
  }

  if (st.specialTimer[p] == 0) st.fire = {kAbsent, 0, 0};
}

}  // namespace kelmora
