#include "match/tick.h"

#include "match/numbers.h"
#include "match/seat_turn.h"
#include "match/stage_table.h"
#include "match/world_steps.h"

namespace kelmora {

namespace {

constexpr int kSoundHurry = 17;
constexpr int kSoundWin = 18;

constexpr double kStartX[kSeats] = {-300, 300, -300, 300};
constexpr double kStartZ[kSeats] = {200, 200, -200, -200};
constexpr int16_t kStartFaceX[kSeats] = {1, -1, 1, -1};
constexpr int16_t kStartFaceZ[kSeats] = {1, 1, -1, -1};
// Each seat's model starts turned towards the arena's middle, as a stick held that way would
// turn it.
constexpr int16_t kStartTurnX[kSeats] = {1, -1, 1, -1};
constexpr int16_t kStartTurnZ[kSeats] = {1, 1, -1, -1};
constexpr ObjectPlace kParked{kAbsent, 0, 0};

void SeatTurns(Rules& r, const SeatControls& controls, int16_t before) {
  auto& st = r.st;
  for (st.seat = 0; st.seat < kSeats; ++st.seat) {
    const int s = st.seat;
    if (st.playerCharacter[s] == -1 || before <= kDecisionCounter) continue;
    if (controls.pads[s].read && st.isCpu[s] == 0) ApplyPad(st, s, controls.pads[s]);
    if (st.isCpu[s] == 1 && st.fieldCleared == 0) DecideCpu(r);
    MovePlayer(r);
    BumpPlayers(r);
    ActionStep(r);
  }
}

void Decide(Rules& r) {
  auto& st = r.st;
  const int w = DecideWinner(st);
  st.matchDrawn = w < 0;
  if (w >= 0) st.winner = static_cast<int16_t>(w);
  r.events.Add(TickEventKind::StopMusic);
  if (w >= 0) r.Sound(kSoundWin);
}

// The field of the stage: its goal and obstacles, the piles drawn at random, no decoy, no net.
void SetUpField(MatchRules& m) {
  auto& st = m.st;
  for (int i = 0; i < kBlockSlots; ++i) {
    st.blockX[i] = kAbsent;
    st.blockZ[i] = st.blockW[i] = st.blockD[i] = 0;
  }
  st.fishX = kAbsent;
  const StageInfo& info = kStages[st.stage];
  st.goalX = info.goalX;
  st.goalZ = info.goalZ;
  st.goalWidth = info.goalWidth;
  st.goalDepth = info.goalDepth;
  if (st.stage == kSecondStage) {
    for (int k = 0; k < 2; ++k) {
      st.blockX[k] = kSecondStageBlocks[k][0];
      st.blockZ[k] = kSecondStageBlocks[k][1];
      st.blockW[k] = kSecondStageBlocks[k][2];
      st.blockD[k] = kSecondStageBlocks[k][3];
    }
  }
  if (st.stage == kRailStage) st.backX = {-500, 0, 500, -1000};
  if (st.stage == kDarkStage) {
    st.spotX = 300;
    st.spotZ = 0;
    st.spotTargetX = static_cast<int16_t>(Int(m.rnd.Rnd() * 80 - 40) * 10);
    st.spotTargetZ = static_cast<int16_t>(Int(m.rnd.Rnd() * 80 - 40) * 10);
  }
  for (int i = 0; i < kPileSlots; ++i) {
    st.pileX[i] = static_cast<int16_t>(Int(m.rnd.Rnd() * 500 - 250));
    st.pileZ[i] = static_cast<int16_t>(Int(m.rnd.Rnd() * 400 - 300));
  }
  for (int i = 0; i < kDecoySlots; ++i) {
    st.decoyX[i] = kFreeSlot;
    st.decoyZ[i] = 0;
  }
  for (int i = 0; i < kNetSlots; ++i) {
    st.netX[i] = kFreeSlot;
    st.netZ[i] = 0;
  }
}

}  // namespace

int DecideWinner(const MatchState& st) {
  for (int s = 0; s < kSeats; ++s) {
    bool highest = true;
    for (int o = 0; o < kSeats; ++o) {
      if (o != s && st.score[s] <= st.score[o]) highest = false;
    }
    if (highest) return s;
  }
  return -1;
}

void SetUpRules(MatchRules& m) {
  auto& st = m.st;
  SetUpField(m);
  for (int s = 0; s < kSeats; ++s) {
    st.animFrame[s] = st.stickX[s] = st.stickZ[s] = st.actionButton[s] = 0;
    st.carrying[s] = st.score[s] = st.pushTicks[s] = 0;
    st.power[s] = 100;
    st.specialTimer[s] = 0;
    st.velX[s] = st.velZ[s] = 0;
    st.posX[s] = kStartX[s];
    st.posZ[s] = kStartZ[s];
    if (st.playerCharacter[s] == -1) st.posX[s] = st.posZ[s] = 0;
    st.faceX[s] = kStartFaceX[s];
    st.faceZ[s] = kStartFaceZ[s];
    st.turnX[s] = kStartTurnX[s];
    st.turnZ[s] = kStartTurnZ[s];
    st.poseFrame[s] = st.lift[s] = st.burrowed[s] = 0;
    st.shakeX[s] = st.shakeY[s] = st.shakeZ[s] = 0;
  }
  st.sway = {0, -1};
  st.dropX = kAbsent;
  st.dropHeight = st.dropZ = 0;
  st.matchCounter = kMatchTicks;
  st.fieldCleared = 0;
  for (int s = 0; s < kSeats; ++s) {
    st.cpuTargetPile[s] = -1;
    st.cpuWaypointX[s] = kAbsent;
    st.cpuWaypointTicks[s] = 0;
    st.cpuSearchTicks[s] = st.cpuCarryTicks[s] = 0;
  }
  st.matchDrawn = 0;
  st.panelsDrawn = 0;
  st.giantBear = st.bigFish = st.moleMarker = st.fire = st.gift = kParked;
  st.fireShown = -1;
}

bool RunTick(MatchRules& m, const SeatControls& controls, TickEvents& events) {
  Rules r(m, events);
  auto& st = m.st;
  for (const ControlOp& op : controls.keys) ApplyControl(st, op);
  const int16_t before = st.matchCounter;

  if (before > kDecisionCounter) StageMotionStep(r);                    // T1
  SeatTurns(r, controls, before);                                       // T2
  events.Add(TickEventKind::MusicPoll);                                 // T3
  if (st.stage == kDarkStage && before >= 250) SpotlightStep(r);        // T4
  PowerUpStep(r);                                                       // T5
  CameraStep(r);                                                        // T6

  st.matchCounter = static_cast<int16_t>(st.matchCounter - 1);          // T7
  const int16_t after = st.matchCounter;
  if (after == 0) return true;
  if (after == kHurryCounter) r.Sound(kSoundHurry);
  if (after == kDecisionCounter) Decide(r);                             // T8
  // T9, the hurry board and the winner presentation, is the view's: it follows the counter.
  events.Add(TickEventKind::Render);                                    // T10
  if (st.panelsDrawn == 0) {
    r.Panels();
    st.panelsDrawn = 1;
  }
  return false;
}

}  // namespace kelmora
