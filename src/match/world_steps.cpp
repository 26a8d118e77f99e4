#include "match/world_steps.h"

#include "match/game.h"
#include "match/numbers.h"
#include "match/status_panels.h"
#include "scene/scene.h"
#include "scene/stage_table.h"

namespace kelmora {

namespace {

// One step of the sway between -limit and +limit.
void Sway(MatchState& st, int16_t limit) {
  st.sway[0] = static_cast<int16_t>(st.sway[0] + st.sway[1]);
  if (st.sway[0] == limit) st.sway[1] = -1;
  if (st.sway[0] == -limit) st.sway[1] = 1;
}

int16_t NewSpotTarget(Game& g) { return static_cast<int16_t>(Int(g.rnd.Rnd() * 80 - 40) * 10); }

// One axis of the spot, 5 units per tick towards its target.
void StepTowards(int16_t& at, int16_t target) {
  if (at < target) at = static_cast<int16_t>(at + 5);
  if (target < at) at = static_cast<int16_t>(at - 5);
}

}  // namespace

void StageMotionStep(Game& g) {
  auto& st = g.st;
  auto& sc = g.scene;
  if (st.stage == scene::kRaftStage) {
    Sway(st, 10);
    sc.SetPosition(st.stageFrame, {}, 0, st.sway[0] / 2.0 - 10, 0);
    sc.SetPosition(st.blockFrame, {}, 0, st.sway[0] - 5, 0);
  } else if (st.stage == scene::kRailStage) {
    Sway(st, 3);
    sc.SetPosition(st.stageFrame, {}, 0, st.sway[0] - 10, 0);
    for (int p = 0; p < 4; ++p) {
      st.backX[p] = static_cast<int16_t>(st.backX[p] + 25);
      if (st.backX[p] == 1000) st.backX[p] = -1000;
      sc.SetPosition(st.backFrames[p], {}, st.backX[p], -100, 450);
    }
  }
}

void SpotlightStep(Game& g) {
  auto& st = g.st;
  StepTowards(st.spotX, st.spotTargetX);
  StepTowards(st.spotZ, st.spotTargetZ);
  if (st.spotX == st.spotTargetX) st.spotTargetX = NewSpotTarget(g);
  if (st.spotZ == st.spotTargetZ) st.spotTargetZ = NewSpotTarget(g);
  g.scene.SetPosition(st.lightFrame, {}, st.spotX, 1000, st.spotZ);
}

void PowerUpStep(Game& g) {
  auto& st = g.st;
  if (st.dropX == kAbsent) {
    if (Int(g.rnd.Rnd() * 300) == 0) {
      st.dropX = static_cast<int16_t>(Int(g.rnd.Rnd() * 600 - 300));
      st.dropHeight = 500;
      st.dropZ = static_cast<int16_t>(Int(g.rnd.Rnd() * 600 - 300));
    }
    if (st.dropX == kAbsent) return;
  }
  if (st.dropHeight > 0) st.dropHeight = static_cast<int16_t>(st.dropHeight - 20);
  g.scene.SetPosition(st.itemFrame, {}, st.dropX, st.sway[0] + st.dropHeight, st.dropZ);
  if (st.dropHeight > 60) return;
  // Every seat, playing or not, in seat order: the first one within reach collects it.
  for (st.seat = 0; st.seat < kSeats; ++st.seat) {
    const int q = st.seat;
    if (st.dropX - 25 < st.posX[q] && st.posX[q] < st.dropX + 25 && st.dropZ - 25 < st.posZ[q] &&
        st.posZ[q] < st.dropZ + 25) {
      st.power[q] = 100;
      st.dropX = kAbsent;
      g.scene.SetPosition(st.itemFrame, {}, kAbsent, 0, 0);
      PlayVoice(g);
      DrawPanels(g);
    }
  }
}

void CameraStep(Game& g) {
  auto& st = g.st;
  auto& sc = g.scene;
  sc.SetPosition(st.cameraTarget, {}, (st.posX[0] + st.posX[1] + st.posX[2] + st.posX[3]) / 8, 0,
                 (st.posZ[0] + st.posZ[1] + st.posZ[2] + st.posZ[3]) / 8);
  sc.SetPosition(st.cameraFrame, {}, 0, 500, -1000);
  sc.LookAt(st.cameraFrame, st.cameraTarget);
  sc.SetPosition(st.cameraFrame, {}, 0, 475, -1000);
  constexpr int16_t kPig = 2;
  for (int s = 0; s < kSeats; ++s) {
    if (st.playerCharacter[s] != kPig || st.specialTimer[s] < 1 || st.specialTimer[s] > 14) continue;
    const int dx = Int(g.rnd.Rnd() * 50 - 25);
    const int dy = Int(g.rnd.Rnd() * 50 - 25);
    const int dz = Int(g.rnd.Rnd() * 50 - 25);
    sc.SetPosition(st.cameraFrame, st.cameraFrame, dx, dy, dz);
  }
}

}  // namespace kelmora
