#include "match/view/scene_pose.h"

#include "match/characters.h"
#include "match/stage_table.h"
#include "match/tick.h"

namespace kelmora {

ScenePose PoseOf(const MatchState& st) {
  ScenePose p;
  p.stage = st.stage;
  const int16_t c = st.matchCounter;
  p.presentation = c < kDecisionCounter    ? Presentation::Winner
                   : c == kDecisionCounter ? Presentation::Decision
                   : c < kHurryCounter     ? Presentation::Hurry
                                           : Presentation::Play;
  p.winner = st.winner;
  p.drawn = st.matchDrawn != 0;
  for (int s = 0; s < kSeats; ++s) {
    p.playing[s] = st.playerCharacter[s] != -1;
    SeatPose& seat = p.seats[s];
    // A burrowing mole's model is out of sight; a stomping pig's is lifted.
    seat.place = st.burrowed[s] ? ObjectPlace{kAbsent, 0, 0}
                                : ObjectPlace{st.posX[s], double(st.sway[0] + st.lift[s]), st.posZ[s]};
    seat.turnX = st.turnX[s];
    seat.turnZ = st.turnZ[s];
    seat.frame = st.poseFrame[s];
  }
  const double y = st.sway[0];
  for (int k = 0; k < kPileSlots; ++k) p.piles[k] = {double(st.pileX[k]), y, double(st.pileZ[k])};
  for (int k = 0; k < kDecoySlots; ++k) p.decoys[k] = {double(st.decoyX[k]), y, double(st.decoyZ[k])};
  // A new net hangs at 50 and sinks to the floor as it ages.
  for (int k = 0; k < kNetSlots; ++k) p.nets[k] = {double(st.netX[k]), st.netTimer[k] / 10.0, double(st.netZ[k])};
  if (st.stage == kRaftStage) {
    p.stageY = st.sway[0] / 2.0 - 10;
    p.blockY = st.sway[0] - 5;
  } else if (st.stage == kRailStage) {
    p.stageY = st.sway[0] - 10;
    p.backX = st.backX;
  }
  if (st.stage == kDarkStage) p.spot = {double(st.spotX), 1000, double(st.spotZ)};
  p.cameraTarget = {(st.posX[0] + st.posX[1] + st.posX[2] + st.posX[3]) / 8, 0,
                    (st.posZ[0] + st.posZ[1] + st.posZ[2] + st.posZ[3]) / 8};
  for (int s = 0; s < kSeats; ++s) {
    p.shaking[s] = st.playerCharacter[s] == kPig && st.specialTimer[s] >= 1 && st.specialTimer[s] <= 14;
    if (p.shaking[s]) p.shakes[s] = {double(st.shakeX[s]), double(st.shakeY[s]), double(st.shakeZ[s])};
  }
  p.giantBear = st.giantBear;
  p.bigFish = st.bigFish;
  p.moleMarker = st.moleMarker;
  p.fire = st.fire;
  p.gift = st.gift;
  p.fireTime = st.fireShown;
  return p;
}

const char* FirstDifference(const ScenePose& a, const ScenePose& b) {
  if (a.stage != b.stage || a.presentation != b.presentation || a.winner != b.winner || a.drawn != b.drawn) {
    return "the presentation";
  }
  if (a.playing != b.playing || a.seats != b.seats) return "the seats' models";
  if (a.piles != b.piles) return "the piles";
  if (a.decoys != b.decoys) return "the decoys";
  if (a.nets != b.nets) return "the nets";
  if (a.stageY != b.stageY || a.blockY != b.blockY || a.backX != b.backX) return "the stage";
  if (a.spot != b.spot) return "the spotlight";
  if (a.cameraTarget != b.cameraTarget || a.shaking != b.shaking || a.shakes != b.shakes) return "the camera";
  if (a.giantBear != b.giantBear || a.bigFish != b.bigFish || a.moleMarker != b.moleMarker || a.fire != b.fire ||
      a.gift != b.gift || a.fireTime != b.fireTime) {
    return "the powers' objects";
  }
  return nullptr;
}

}  // namespace kelmora
