#pragma once
// Where everything of a match's scene stands after a tick, worked out from the rules' state
// alone: the view places the scene's frames from it, and two poses of the same state are
// equal, so a tick run again can be checked against the picture too.
#include <array>
#include <cstdint>

#include "match/match_state.h"

namespace kelmora {

struct SeatPose {
  ObjectPlace place;
  double turnX = 0, turnZ = 0;  // the stick the model is turned by (a tick's pose: whole numbers)
  double frame = 0;             // the cycle frame it is posed at
  friend bool operator==(const SeatPose&, const SeatPose&) = default;
};

// What the match presents: play, the hurry board, the tick of the decision, then the winner
// (or a draw) under the camera.
enum class Presentation : uint8_t { Play, Hurry, Decision, Winner };

struct ScenePose {
  int16_t stage = 0;
  Presentation presentation = Presentation::Play;
  int16_t winner = 0;
  bool drawn = false;
  // Only the seats that play are posed by the ticks; the others stay where the set-up put them.
  std::array<bool, kSeats> playing{};
  std::array<SeatPose, kSeats> seats{};
  std::array<ObjectPlace, kPileSlots> piles{};
  std::array<ObjectPlace, kDecoySlots> decoys{};
  std::array<ObjectPlace, kNetSlots> nets{};
  double stageY = -10, blockY = -5;  // the swaying stages
  std::array<double, 4> backX{};      // the rail stage's backdrop
  ObjectPlace spot;                   // the dark stage's roaming spotlight
  ObjectPlace cameraTarget;
  ObjectPlace winnerAt;  // where the winner stands while presented (y 0)
  std::array<bool, kSeats> shaking{};  // the stomping pigs that shake the camera, in seat order
  std::array<ObjectPlace, kSeats> shakes{};
  ObjectPlace giantBear, bigFish, moleMarker, fire, gift;
  double fireTime = -1;  // -1: the fire has not burnt in this match
  friend bool operator==(const ScenePose&, const ScenePose&) = default;
};

ScenePose PoseOf(const MatchState& st);

// The pose `f` of the way from tick pose `a` (f 0: a itself) to the next tick's pose `b` (f 1:
// b itself), for pictures drawn between ticks. Places move in a straight line and the seats
// turn through the smaller angle; an animation time runs on by its one frame a tick, and
// stands at b's frame when it wraps round its cycle or jumps. Whatever appears, vanishes or
// moves further than anything runs in a tick (parked out of the arena, a burrowing mole, a new
// net, a blinking wall) stands where b has it, as do the presentation and the camera's shake.
ScenePose BlendPoses(const ScenePose& a, const ScenePose& b, double f);

// Furthest an object of the arena moves in one tick without jumping (the fastest runs about
// 30); a place that moves further, or lies beyond kParkedBelow in x, is not slid to.
constexpr double kFurthestStep = 100;
constexpr double kParkedBelow = -2500;

// The name of the first part in which two poses differ, or nullptr when they are equal.
const char* FirstDifference(const ScenePose& a, const ScenePose& b);

}  // namespace kelmora
