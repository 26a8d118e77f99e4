#include "match/world_steps.h"

#include "match/numbers.h"
#include "match/rules.h"
#include "match/stage_table.h"

namespace kelmora {

namespace {

// One step of the sway between -limit and +limit.
void Sway(MatchState& st, int16_t limit) {
  st.sway[0] = static_cast<int16_t>(st.sway[0] + st.sway[1]);
  if (st.sway[0] == limit) st.sway[1] = -1;
  if (st.sway[0] == -limit) st.sway[1] = 1;
}

int16_t NewSpotTarget(Rules& r) { return static_cast<int16_t>(Int(r.rnd.Rnd() * 80 - 40) * 10); }

// One axis of the spot, 5 units per tick towards its target.
void StepTowards(int16_t& at, int16_t target) {
  if (at < target) at = static_cast<int16_t>(at + 5);
  if (target < at) at = static_cast<int16_t>(at - 5);
}

}  // namespace

void StageMotionStep(Rules& r) {
  auto& st = r.st;
  if (st.stage == kRaftStage) {
    Sway(st, 10);
  } else if (st.stage == kRailStage) {
    Sway(st, 3);
    for (int p = 0; p < 4; ++p) {
      st.backX[p] = static_cast<int16_t>(st.backX[p] + 25);
      if (st.backX[p] == 1000) st.backX[p] = -1000;
    }
  }
}

void SpotlightStep(Rules& r) {
  auto& st = r.st;
  StepTowards(st.spotX, st.spotTargetX);
  StepTowards(st.spotZ, st.spotTargetZ);
  if (st.spotX == st.spotTargetX) st.spotTargetX = NewSpotTarget(r);
  if (st.spotZ == st.spotTargetZ) st.spotTargetZ = NewSpotTarget(r);
}

void PowerUpStep(Rules& r) {
  auto& st = r.st;
  if (st.dropX == kAbsent) {
    if (Int(r.rnd.Rnd() * 300) == 0) {
      st.dropX = static_cast<int16_t>(Int(r.rnd.Rnd() * 600 - 300));
      st.dropHeight = 500;
      st.dropZ = static_cast<int16_t>(Int(r.rnd.Rnd() * 600 - 300));
    }
    if (st.dropX == kAbsent) return;
  }
  if (st.dropHeight > 0) st.dropHeight = static_cast<int16_t>(st.dropHeight - 20);
  st.gift = {double(st.dropX), double(st.sway[0] + st.dropHeight), double(st.dropZ)};
  if (st.dropHeight > 60) return;
  // Every seat, playing or not, in seat order: the first one within reach collects it.
  for (st.seat = 0; st.seat < kSeats; ++st.seat) {
    const int q = st.seat;
    if (st.dropX - 25 < st.posX[q] && st.posX[q] < st.dropX + 25 && st.dropZ - 25 < st.posZ[q] &&
        st.posZ[q] < st.dropZ + 25) {
      st.power[q] = 100;
      st.dropX = kAbsent;
      st.gift = {kAbsent, 0, 0};
      PlayVoice(r);
      r.Panels();
    }
  }
}

void CameraStep(Rules& r) {
  auto& st = r.st;
  // The camera follows the seats (the view aims it); a stomping pig shakes it.
  constexpr int16_t kPig = 2;
  for (int s = 0; s < kSeats; ++s) {
    if (st.playerCharacter[s] != kPig || st.specialTimer[s] < 1 || st.specialTimer[s] > 14) continue;
    st.shakeX[s] = static_cast<int16_t>(Int(r.rnd.Rnd() * 50 - 25));
    st.shakeY[s] = static_cast<int16_t>(Int(r.rnd.Rnd() * 50 - 25));
    st.shakeZ[s] = static_cast<int16_t>(Int(r.rnd.Rnd() * 50 - 25));
  }
}

}  // namespace kelmora
