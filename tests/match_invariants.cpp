#include "match_invariants.h"

#include <cmath>
#include <sstream>

#include "match/characters.h"
#include "scene/scene.h"

namespace kelmora::testing {

namespace {

constexpr double kArenaX = 370;
constexpr double kArenaZ = 350;
constexpr int16_t kLowestGauge = -49;  // a gauge of 1 buys the mouse's fire at 50
constexpr int16_t kFullGauge = 100;
constexpr int16_t kNetLife = 500;
constexpr int kWallSlot = 9;
constexpr int kBitesPerMove = 2;  // a burning mouse eats a pile on each axis of its move

// Collects the first fault of a tick as one line.
class Faults {
 public:
  explicit Faults(int tick) : tick_(tick) {}
  std::ostringstream& Add() {
    if (!first_) return ignored_;
    first_ = false;
    text_ << "tick " << tick_ << ": ";
    return text_;
  }
  std::string Text() const { return first_ ? std::string() : text_.str(); }

 private:
  int tick_;
  bool first_ = true;
  std::ostringstream text_, ignored_;
};

bool Near(double a, double b) { return std::abs(a - b) < 1e-9; }

// A frame stands at (x, z) on the floor plane, in its parent's axes.
void ExpectFrameAt(Faults& f, const scene::Scene& sc, scene::FrameHandle frame, double x, double z,
                   const char* what, int slot) {
  const glm::dvec3 at = sc.Position(frame);
  if (!Near(at.x, x) || !Near(at.z, z)) {
    f.Add() << what << " " << slot << " is at (" << x << ", " << z << ") but its frame stands at (" << at.x << ", "
            << at.z << ")";
  }
}

int MiceOnFire(const MatchState& st) {
  int n = 0;
  for (int s = 0; s < kSeats; ++s) n += st.playerCharacter[s] == kMouse && st.specialTimer[s] > 0 ? 1 : 0;
  return n;
}

}  // namespace

int MatchInvariants::SnowTotal(const MatchState& st) {
  int total = 0;
  for (int k = 0; k < kPileSlots; ++k) total += st.pileX[k] != kAbsent ? 1 : 0;
  // A load is on the shovel from the scoop (frame 25) on; a throw's follow-through carries
  // nothing, its snow already lies on the field or in the goal.
  for (int s = 0; s < kSeats; ++s) total += (st.carrying[s] == 1 && st.animFrame[s] >= 25 ? 1 : 0) + st.score[s];
  return total;
}

std::string MatchInvariants::Check(const Game& g, int tick) {
  if (!started_) {
    // What the set-up left: the obstacles of the stage and the snow of the start.
    started_ = true;
    for (int i = 0; i < kBlockSlots; ++i) stageBlocksX_[i] = g.st.blockX[i];
    stageBlocksX_[kWallSlot] = kAbsent;
    previous_ = g.st;
    previous_.matchCounter = static_cast<int16_t>(g.st.matchCounter + 1);
    previous_.score = {};
    previous_.specialTimer = {};
    previousTotal_ = kPileSlots;
  }
  std::string fault = Compare(g, tick);
  Remember(g.st);
  return fault;
}

void MatchInvariants::Remember(const MatchState& st) {
  previous_ = st;
  previousTotal_ = SnowTotal(st);
}

std::string MatchInvariants::Compare(const Game& g, int tick) {
  const auto& st = g.st;
  const auto& was = previous_;
  Faults f(tick);

  if (st.matchCounter != was.matchCounter - 1) f.Add() << "matchCounter went from " << was.matchCounter << " to " << st.matchCounter;

  for (int s = 0; s < kSeats; ++s) {
    for (double v : {st.posX[s], st.posZ[s], st.velX[s], st.velZ[s]}) {
      if (!std::isfinite(v)) f.Add() << "seat " << s << " has a position or speed of " << v;
    }
    if (!(std::abs(st.posX[s]) <= kArenaX && std::abs(st.posZ[s]) <= kArenaZ)) {
      f.Add() << "seat " << s << " stands outside the arena at (" << st.posX[s] << ", " << st.posZ[s] << ")";
    }
    if (st.playerCharacter[s] == -1 && (st.posX[s] != 0 || st.posZ[s] != 0 || st.score[s] != 0 || st.carrying[s] != 0)) {
      f.Add() << "empty seat " << s << " moved, scored or carries";
    }
    if (st.score[s] < was.score[s]) f.Add() << "seat " << s << " lost score: " << was.score[s] << " -> " << st.score[s];
    if (st.carrying[s] != 0 && st.carrying[s] != 1) f.Add() << "seat " << s << " carrying is " << st.carrying[s];
    if (st.animFrame[s] < 0 || st.animFrame[s] > 69) f.Add() << "seat " << s << " animFrame is " << st.animFrame[s];
    if (st.power[s] < kLowestGauge || st.power[s] > kFullGauge) f.Add() << "seat " << s << " gauge is " << st.power[s];
    if (st.cpuTargetPile[s] < -1 || st.cpuTargetPile[s] >= kPileSlots) f.Add() << "seat " << s << " targets pile " << st.cpuTargetPile[s];
  }

  // Snow: never more than at the start; less only by what the burning mice ate this tick.
  const int total = SnowTotal(st);
  if (total > kPileSlots) f.Add() << "snow was made: " << total << " piles";
  const int eaten = previousTotal_ - total;
  if (eaten > kBitesPerMove * MiceOnFire(was)) f.Add() << "snow was lost: " << previousTotal_ << " -> " << total << " piles";

  for (int i = 0; i < kBlockSlots; ++i) {
    if (i != kWallSlot && st.blockX[i] != stageBlocksX_[i]) f.Add() << "obstacle " << i << " moved";
  }
  for (int n = 0; n < kNetSlots; ++n) {
    if (st.netX[n] != kFreeSlot && (st.netTimer[n] < 1 || st.netTimer[n] > kNetLife)) {
      f.Add() << "net " << n << " has " << st.netTimer[n] << " ticks to live";
    }
  }

  // Every object stands in the scene where its slot says (the frames are placed in the seats'
  // turns, which stop once the winner is decided; nothing moves after that).
  const auto& sc = g.scene;
  const auto& obj = g.view.objects;
  for (int k = 0; k < kPileSlots; ++k) ExpectFrameAt(f, sc, obj.snowFrames[k], st.pileX[k], st.pileZ[k], "pile", k);
  for (int d = 0; d < kDecoySlots; ++d) ExpectFrameAt(f, sc, obj.decoyFrames[d], st.decoyX[d], st.decoyZ[d], "decoy", d);
  for (int n = 0; n < kNetSlots; ++n) {
    ExpectFrameAt(f, sc, obj.netFrames[n], st.netX[n], st.netZ[n], "net", n);
    if (!Near(sc.Position(obj.netFrames[n]).y, st.netTimer[n] / 10.0)) f.Add() << "net " << n << " hangs at the wrong height";
  }
  if (st.blockX[kWallSlot] != kAbsent) {
    ExpectFrameAt(f, sc, obj.bear2Frame, st.blockX[kWallSlot] + 100, st.blockZ[kWallSlot] + 100, "bear wall", kWallSlot);
  }
  if (st.fishX != kAbsent) ExpectFrameAt(f, sc, obj.fish2Frame, st.fishX - 5000 * st.fishBlink, st.fishZ, "big fish", 0);
  if (st.dropX != kAbsent) ExpectFrameAt(f, sc, obj.itemFrame, st.dropX, st.dropZ, "power-up", 0);
  return f.Text();
}

}  // namespace kelmora::testing
