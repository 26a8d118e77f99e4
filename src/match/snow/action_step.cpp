// The shovel's action cycle of one seat: walk, swing, scoop, carry, throw; then the special
// power, the pose of the seat's model and the ageing of the nets.
#include "match/characters.h"
#include "match/rules.h"
#include "match/numbers.h"
#include "match/reach.h"
#include "match/seat_turn.h"
#include "match/snow/shovel.h"
#include "match/snow/powers.h"

namespace kelmora {

namespace {

constexpr int kSoundScoop = 5;
constexpr int kSoundStep = 6;
constexpr int kSoundDecoy = 14;

// Frames of the cycle: walk 0..18, swing 20..29 (contact at 25), loaded walk 30..48,
// pushing walk 50..68.
constexpr int16_t kSwing = 20;
constexpr int16_t kContact = 25;
constexpr int16_t kLoaded = 30;
constexpr int16_t kPushing = 50;

bool Swinging(int16_t f) { return kSwing <= f && f < kLoaded; }

bool StepSounds(int16_t f) { return f == 10 || f == 19 || f == 40 || f == 49 || f == 60 || f == 69; }

void AdvanceCycle(Rules& r, int p, bool moving) {
  auto& st = r.st;
  int16_t& f = st.animFrame[p];
  if (Swinging(f)) {
    ++f;  // a swing runs on whatever the sticks do
    return;
  }
  // A footstep sounds when the walk reaches a step frame, not again while standing on it.
  if (moving) {
    ++f;
    if (st.playerCharacter[p] != kFlyingSquirrel && StepSounds(f)) r.Sound(kSoundStep);
  }
  if (f == 19) f = 0;
  if (f == 49) f = kLoaded;
  if (f == 69) f = kPushing;
}

void Rest(int16_t& f) {
  if (f < kSwing) f = 0;
  if (kLoaded - 1 < f && f < kPushing) f = kLoaded;
  if (f > kPushing - 1) f = 0;
}

// The swing reaches the snow: the follow-through of a throw ends, or the first pile within
// reach of the point ahead is scooped; a decoy only squeaks.
void Contact(Rules& r, int p) {
  auto& st = r.st;
  st.animFrame[p] = 0;
  if (st.carrying[p] == 1) {
    st.carrying[p] = 0;
    return;
  }
  const double ax = AheadX(st, p);
  const double az = AheadZ(st, p);
  for (int k = 0; k < kPileSlots; ++k) {
    if (!Reaches(ax, az, st.pileX[k], st.pileZ[k], kPileReach)) continue;
    r.Sound(kSoundScoop);
    st.pileX[k] = kAbsent;
    st.carrying[p] = 1;
    st.actionButton[p] = 2;
    st.animFrame[p] = kContact;
    return;
  }
  for (int d = 0; d < kDecoySlots; ++d) {
    if (Reaches(ax, az, st.decoyX[d], st.decoyZ[d], kPileReach)) {
      r.Sound(kSoundDecoy);
      return;
    }
  }
}

// A loaded seat presses the button: the load goes into the goal (strictly inside) or lands
// in front of the seat as a pile in the lowest empty slot.
void Throw(Rules& r, int p) {
  auto& st = r.st;
  st.animFrame[p] = kSwing;
  st.actionButton[p] = 2;
  const double ax = AheadX(st, p);
  const double az = AheadZ(st, p);
  if (InsideGoal(st, ax, az)) {
    ++st.score[p];
    r.Panels();
    PlayVoice(r);
    return;
  }
  const int k = LowestEmptyPile(st);
  if (k < 0) return;  // no slot is free: nothing is placed
  st.pileX[k] = ToInt16(ax);
  st.pileZ[k] = ToInt16(az);
}

}  // namespace

void ActionStep(Rules& r) {
  auto& st = r.st;
  const int p = st.seat;
  int16_t& f = st.animFrame[p];
  const bool moving = st.stickX[p] != 0 || st.stickZ[p] != 0;

  if (st.pushTicks[p] == 0 && f > 49) f = 0;
  AdvanceCycle(r, p, moving);
  if (!moving) Rest(f);

  // The seat's model stands where the seat is, lifted while a pig stomps, and turns the way
  // a moved stick points.
  st.burrowed[p] = 0;
  PigLift(r);
  if (moving) {
    st.turnX[p] = st.stickX[p];
    st.turnZ[p] = st.stickZ[p];
  }

  if (f < kSwing && st.actionButton[p] == 1) f = kSwing;
  if (st.actionButton[p] == 1 && f > 49) f = kSwing;  // a swing interrupts a push

  if (f == kContact) {
    Contact(r, p);
  } else if (kLoaded <= f && f <= 49 && st.actionButton[p] == 1) {
    Throw(r, p);
  }

  SpecialStep(r);

  UpdateNets(r);
  st.poseFrame[p] = st.animFrame[p];
}

}  // namespace kelmora
