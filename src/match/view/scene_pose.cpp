#include "match/view/scene_pose.h"

#include <cmath>
#include <numbers>

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
    for (size_t k = 0; k < p.backX.size(); ++k) p.backX[k] = st.backX[k];
  }
  if (st.stage == kDarkStage) p.spot = {double(st.spotX), 1000, double(st.spotZ)};
  p.cameraTarget = {(st.posX[0] + st.posX[1] + st.posX[2] + st.posX[3]) / 8, 0,
                    (st.posZ[0] + st.posZ[1] + st.posZ[2] + st.posZ[3]) / 8};
  if (p.presentation == Presentation::Winner && !p.drawn && st.winner >= 0 && st.winner < kSeats) {
    p.winnerAt = {st.posX[st.winner], 0, st.posZ[st.winner]};
  }
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

namespace {

double Mix(double a, double b, double f) { return a + (b - a) * f; }

ObjectPlace Mix(const ObjectPlace& a, const ObjectPlace& b, double f) {
  return {Mix(a.x, b.x, f), Mix(a.y, b.y, f), Mix(a.z, b.z, f)};
}

bool Parked(const ObjectPlace& p) { return p.x <= kParkedBelow; }

// An object that appears, vanishes or jumps between the two places.
bool Jumps(const ObjectPlace& a, const ObjectPlace& b) {
  return Parked(a) || Parked(b) || std::hypot(b.x - a.x, b.y - a.y, b.z - a.z) > kFurthestStep;
}

// A place on its way from a to b, or b itself when the object jumps.
ObjectPlace Slide(const ObjectPlace& a, const ObjectPlace& b, double f) { return Jumps(a, b) ? b : Mix(a, b, f); }

template <size_t N>
void SlideRow(std::array<ObjectPlace, N>& out, const std::array<ObjectPlace, N>& a, double f) {
  for (size_t k = 0; k < N; ++k) out[k] = Slide(a[k], out[k], f);
}

// An animation time runs on by at most a frame a tick; a wrap or a jump stands at b.
double RunOn(double a, double b, double f) { return b > a && b - a <= 1 ? Mix(a, b, f) : b; }

// The seat's facing (x, -z) turned through the smaller angle.
void TurnBetween(const SeatPose& a, SeatPose& b, double f) {
  if ((a.turnX == 0 && a.turnZ == 0) || (b.turnX == 0 && b.turnZ == 0)) return;
  const double from = std::atan2(-a.turnZ, a.turnX);
  double by = std::atan2(-b.turnZ, b.turnX) - from;
  if (by > std::numbers::pi) by -= 2 * std::numbers::pi;
  if (by <= -std::numbers::pi) by += 2 * std::numbers::pi;
  const double angle = from + by * f;
  b.turnX = std::cos(angle);
  b.turnZ = -std::sin(angle);
}

}  // namespace

ScenePose BlendPoses(const ScenePose& a, const ScenePose& b, double f) {
  if (f <= 0) return a;
  if (f >= 1 || a.stage != b.stage) return b;
  ScenePose p = b;  // what is not blended stands as b has it
  for (int s = 0; s < kSeats; ++s) {
    if (!a.playing[s] || !b.playing[s]) continue;
    SeatPose& seat = p.seats[s];
    const SeatPose& was = a.seats[s];
    // A seat that jumped is placed, turned and posed as it landed.
    if (Jumps(was.place, seat.place)) continue;
    seat.place = Mix(was.place, seat.place, f);
    TurnBetween(was, seat, f);
    seat.frame = RunOn(was.frame, seat.frame, f);
  }
  SlideRow(p.piles, a.piles, f);
  SlideRow(p.decoys, a.decoys, f);
  SlideRow(p.nets, a.nets, f);
  p.stageY = Mix(a.stageY, b.stageY, f);
  p.blockY = Mix(a.blockY, b.blockY, f);
  for (size_t k = 0; k < p.backX.size(); ++k) {
    if (std::abs(b.backX[k] - a.backX[k]) <= kFurthestStep) p.backX[k] = Mix(a.backX[k], b.backX[k], f);
  }
  p.spot = Slide(a.spot, b.spot, f);
  p.cameraTarget = Mix(a.cameraTarget, b.cameraTarget, f);
  if (a.presentation == b.presentation && a.drawn == b.drawn && a.winner == b.winner) {
    p.winnerAt = Mix(a.winnerAt, b.winnerAt, f);
  }
  p.giantBear = Slide(a.giantBear, b.giantBear, f);
  p.bigFish = Slide(a.bigFish, b.bigFish, f);
  p.moleMarker = Slide(a.moleMarker, b.moleMarker, f);
  p.fire = Slide(a.fire, b.fire, f);
  p.gift = Slide(a.gift, b.gift, f);
  p.fireTime = a.fireTime < 0 ? b.fireTime : RunOn(a.fireTime, b.fireTime, f);
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
  if (a.cameraTarget != b.cameraTarget || a.winnerAt != b.winnerAt || a.shaking != b.shaking || a.shakes != b.shakes) return "the camera";
  if (a.giantBear != b.giantBear || a.bigFish != b.bigFish || a.moleMarker != b.moleMarker || a.fire != b.fire ||
      a.gift != b.gift || a.fireTime != b.fireTime) {
    return "the powers' objects";
  }
  return nullptr;
}

}  // namespace kelmora
