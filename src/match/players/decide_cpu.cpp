// The computer player: a small state machine re-entered every tick from the seat's own fields.
// Search walks to a snow pile and scoops it, carry walks to the goal and throws the snow in,
// and detour walks to a waypoint. It sets the same controls a human sets with keys or a stick.
#include "match/rules.h"
#include "match/numbers.h"
#include "match/reach.h"
#include "match/seat_turn.h"

namespace kelmora {

namespace {

constexpr int kChaseReach = 100;      // half-width of the square in which a carrier is charged
constexpr int kNearbyPileReach = 100; // half-width of the square in which a pile takes over
constexpr int kWaypointReach = 20;    // a waypoint is reached strictly within this
constexpr int kCentreWalkAfter = 150; // search ticks before the walk to the arena centre
constexpr int kStuckLimit = 10;       // carry ticks without moving before giving up the carry
constexpr int kCarryLimit = 75;       // carry ticks before throwing wherever it stands
constexpr int kWaypointGiveUp = 100;  // ticks of steering before an unreached waypoint is dropped
constexpr int kDetourOut = 50;        // the detour steps this far away from the line x = 0
constexpr int kDetourBack = 10;       // ... and this far back from the goal's side
constexpr int kScoopOdds = 5;         // one draw in five per pile slot presses the button
constexpr int kSpecialOdds = 100;     // one draw in a hundred per tick presses the special

// Sets a stick towards `to` from `from` on one axis; an equal coordinate leaves it as it was.
// `towardsLow` is the stick value that moves towards lower coordinates.
void SteerAxis(int16_t& stick, double from, double to, int16_t towardsLow) {
  if (from < to) stick = static_cast<int16_t>(-towardsLow);
  if (from > to) stick = towardsLow;
}

// Steers seat p at (x, z): stickX -1 moves towards lower x, stickZ +1 towards lower z.
void SteerAt(MatchState& st, int p, double x, double z) {
  SteerAxis(st.stickX[p], st.posX[p], x, -1);
  SteerAxis(st.stickZ[p], st.posZ[p], z, +1);
}

// A draw of 0..n-1: the whole part of a number in [0, n), which for a number never below 0 is
// what the conversion to a whole number keeps.
int16_t Draw(Rules& r, int n) { return static_cast<int16_t>(r.rnd.Rnd() * n); }

// A human carrier close by is charged so that the bump knocks its snow loose.
bool Chase(MatchState& st, int p) {
  for (int q = 0; q < kSeats; ++q) {
    if (q == p || st.isCpu[q] != 0 || st.carrying[q] != 1) continue;
    if (Reaches(st.posX[p], st.posZ[p], st.posX[q], st.posZ[q], kChaseReach)) {
      SteerAt(st, p, st.posX[q], st.posZ[q]);
      return true;
    }
  }
  return false;
}

// Without a target, or with a target whose pile is gone, one draw may pick a new pile slot;
// then any pile within reach of the seat takes over, the highest slot winning.
void ChooseTarget(Rules& r, int p) {
  auto& st = r.st;
  int16_t& target = st.cpuTargetPile[p];
  if (target == -1 || st.pileX[target] == kAbsent) {
    const int16_t k = Draw(r, kPileSlots);
    if (st.pileX[k] != kAbsent) target = k;
  }
  // The last pile nearby takes over.
  for (int k = 0; k < kPileSlots; ++k) {
    if (Reaches(st.posX[p], st.posZ[p], st.pileX[k], st.pileZ[k], kNearbyPileReach)) target = static_cast<int16_t>(k);
  }
}

// Search: walk to the target pile and swing at any pile in front.
void Search(Rules& r, int p) {
  auto& st = r.st;
  ChooseTarget(r, p);
  st.stickX[p] = st.stickZ[p] = st.actionButton[p] = st.specialButton[p] = 0;
  const int16_t t = st.cpuTargetPile[p];
  if (t != -1) SteerAt(st, p, st.pileX[t], st.pileZ[t]);
  // One draw per pile slot: a pile in front presses the button on one draw in five.
  const double aheadX = AheadX(st, p);
  const double aheadZ = AheadZ(st, p);
  for (int k = 0; k < kPileSlots; ++k) {
    const int16_t d = Draw(r, kScoopOdds);
    if (d == 0 && Reaches(aheadX, aheadZ, st.pileX[k], st.pileZ[k], kPileReach)) st.actionButton[p] = 1;
  }
}

// Carry: head for the middle of the goal's low-z edge, throw with the point ahead inside the
// goal, and throw where it stands after standing still too long, stepping aside as it does.
void Carry(MatchState& st, int p) {
  const double centreX = st.goalX + st.goalWidth / 2.0;
  SteerAxis(st.stickX[p], st.posX[p], centreX, -1);
  SteerAxis(st.stickZ[p], st.posZ[p], st.goalZ, +1);

  const double aheadX = AheadX(st, p);
  const double aheadZ = AheadZ(st, p);
  if (InsideGoal(st, aheadX, aheadZ)) st.actionButton[p] = 1;

  if (st.cpuLastX[p] == st.posX[p] && st.cpuLastZ[p] == st.posZ[p]) {
    ++st.cpuStuckTicks[p];
  } else {
    st.cpuStuckTicks[p] = 0;
  }
  if (st.cpuStuckTicks[p] >= kStuckLimit) {
    if (st.posX[p] > 0) st.cpuWaypointX[p] = ToInt16(st.posX[p] + kDetourOut);
    if (st.posX[p] < 0) st.cpuWaypointX[p] = ToInt16(st.posX[p] - kDetourOut);
    if (st.goalZ < 0) st.cpuWaypointZ[p] = ToInt16(st.posZ[p] + kDetourBack);
    if (st.goalZ > 0) st.cpuWaypointZ[p] = ToInt16(st.posZ[p] - kDetourBack);
  }
  if (st.cpuStuckTicks[p] == kStuckLimit) {
    st.actionButton[p] = 1;
    st.cpuStuckTicks[p] = 0;
  }
}

// Walks to the waypoint; it is dropped on arrival, and also after steering at it for
// kWaypointGiveUp ticks, since a seat at full speed can overshoot and circle it for ever.
void Detour(MatchState& st, int p) {
  SteerAt(st, p, st.cpuWaypointX[p], st.cpuWaypointZ[p]);
  ++st.cpuWaypointTicks[p];
  const bool reached =
      Reaches(st.posX[p], st.posZ[p], st.cpuWaypointX[p], st.cpuWaypointZ[p], kWaypointReach);
  if (reached || st.cpuWaypointTicks[p] >= kWaypointGiveUp) {
    st.cpuWaypointX[p] = kAbsent;
    st.cpuWaypointTicks[p] = 0;
  }
}

}  // namespace

void DecideCpu(Rules& r) {
  auto& st = r.st;
  const int p = st.seat;
  if (st.isCpu[p] != 1 || st.fieldCleared != 0) return;

  if (st.cpuWaypointX[p] == kAbsent) {
    if (st.carrying[p] == 0) {
      st.cpuCarryTicks[p] = 0;
      if (++st.cpuSearchTicks[p] == kCentreWalkAfter) {
        st.cpuWaypointX[p] = 0;
        st.cpuWaypointZ[p] = 0;
      }
      if (Chase(st, p)) return;
      Search(r, p);
    } else {
      ++st.cpuCarryTicks[p];
      st.cpuSearchTicks[p] = 0;
      Carry(st, p);
    }
    st.cpuLastX[p] = ToInt16(st.posX[p]);
    st.cpuLastZ[p] = ToInt16(st.posZ[p]);
  }

  if (st.cpuWaypointX[p] != kAbsent) Detour(st, p);

  if (st.cpuCarryTicks[p] == kCarryLimit) {
    st.actionButton[p] = 1;
    st.cpuCarryTicks[p] = 0;
  }

  if (Draw(r, kSpecialOdds) == 0 && st.power[p] > 0) st.specialButton[p] = 1;
}

}  // namespace kelmora
