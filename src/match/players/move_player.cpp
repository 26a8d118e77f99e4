// Acceleration, sliding and collision of one seat: the stick becomes a velocity, and the
// player moves one axis at a time against the arena edge, the goal, the piles and the blocks,
// then the nets catch it.
#include <cstdint>

#include "match/characters.h"
#include "match/rules.h"
#include "match/reach.h"
#include "match/seat_turn.h"
#include "match/snow/shovel.h"

namespace kelmora {

namespace {

constexpr double kSlideSpeed = 15;
constexpr double kFishHalf = 75;
constexpr double kBlockOffset = 25;
constexpr double kArenaX = 370;
constexpr double kArenaZ = 350;
// The bear walks through the last two obstacle slots (its own wall stands in slot 9).
constexpr int kBearFreeBlocks = 8;

enum class Axis { X, Z };

double Clamp(double v, double limit) { return v < -limit ? -limit : v > limit ? limit : v; }

// One step of friction: the velocity moves 1 towards 0.
void Friction(double& v) {
  if (v > 0) {
    v -= 1;
  } else if (v < 0) {
    v += 1;
  }
}

// A block stops the player whose centre, moved by +25 on both axes, lies strictly inside it.
bool InBlock(const MatchState& st, int k, double x, double z) {
  const double tx = x + kBlockOffset;
  const double tz = z + kBlockOffset;
  return st.blockX[k] < tx && tx < st.blockX[k] + st.blockW[k] && st.blockZ[k] < tz &&
         tz < st.blockZ[k] + st.blockD[k];
}

// Moves seat p along one axis and puts that coordinate back wherever the move is blocked.
void MoveAlong(Rules& r, int p, Axis axis, bool underground) {
  auto& st = r.st;
  double& pos = axis == Axis::X ? st.posX[p] : st.posZ[p];
  const double vel = axis == Axis::X ? st.velX[p] : st.velZ[p];
  const double prev = axis == Axis::X ? st.prevX : st.prevZ;

  pos = Clamp(pos + vel, axis == Axis::X ? kArenaX : kArenaZ);
  if (OnGoal(st, st.posX[p], st.posZ[p])) pos = prev;
  if (underground) return;

  const bool burning = st.playerCharacter[p] == kMouse && st.specialTimer[p] > 0;
  // Each pile within reach in slot order, tested from where the seat stands after the last.
  for (int k = 0; k < kPileSlots; ++k) {
    if (!Reaches(st.posX[p], st.posZ[p], st.pileX[k], st.pileZ[k], kPileReach)) continue;
    if (burning) {
      st.pileX[k] = kAbsent;  // the fire eats the pile; its snow counts for nobody
      break;
    }
    pos = prev;
    PushPile(r, p, k);
  }

  // The first block that holds the seat puts it back; the later ones cannot move it further.
  const int blocks = st.playerCharacter[p] == kBear ? kBearFreeBlocks : kBlockSlots;
  for (int k = 0; k < blocks; ++k) {
    if (InBlock(st, k, st.posX[p], st.posZ[p])) {
      pos = prev;
      break;
    }
  }
}

}  // namespace

void MovePlayer(Rules& r) {
  auto& st = r.st;
  const int p = st.seat;
  const int16_t ch = st.playerCharacter[p];
  const bool underground = Underground(st, p);

  st.prevX = st.posX[p];
  st.prevZ = st.posZ[p];

  if (st.stickX[p] != 0 || st.stickZ[p] != 0) {
    st.faceX[p] = st.stickX[p];
    st.faceZ[p] = st.stickZ[p];
    if (st.actionButton[p] == 2) st.actionButton[p] = 0;
  }

  // The stick accelerates by 1 per tick up to 10; a faster speed is kept, not cut.
  if (st.velX[p] > -kTopSpeed && st.stickX[p] == -1) st.velX[p] -= 1;
  if (st.stickX[p] == 1 && st.velX[p] < kTopSpeed) st.velX[p] += 1;
  if (st.velZ[p] > -kTopSpeed && st.stickZ[p] == 1) st.velZ[p] -= 1;
  if (st.stickZ[p] == -1 && st.velZ[p] < kTopSpeed) st.velZ[p] += 1;

  // In the big fish's zone the player slides the way it faces, whatever the stick says.
  const bool slides = !underground && ch != kFlyingSquirrel && ch != kFish &&
                      Reaches(st.posX[p], st.posZ[p], st.fishX, st.fishZ, kFishHalf);
  if (slides) {
    st.velX[p] = kSlideSpeed * st.faceX[p];
    st.velZ[p] = -kSlideSpeed * st.faceZ[p];
  } else {
    if (st.stickX[p] == 0) Friction(st.velX[p]);
    if (st.stickZ[p] == 0) Friction(st.velZ[p]);
  }

  if (st.pushTicks[p] > 0) --st.pushTicks[p];

  MoveAlong(r, p, Axis::X, underground);
  MoveAlong(r, p, Axis::Z, underground);

  // Every net holds a player who comes within reach of it on its centre (the spider excepted).
  if (underground || ch == kSpider) return;
  for (int k = 0; k < kNetSlots; ++k) {
    if (Reaches(st.posX[p], st.posZ[p], st.netX[k], st.netZ[k], kPileReach)) {
      st.posX[p] = st.netX[k];
      st.posZ[p] = st.netZ[k];
    }
  }
}

}  // namespace kelmora
