#pragma once
// MatchState: every variable of the game, held by the main window for the whole run.
// Field names are the game's own; every field is zero at program start. It holds no handle of
// the scene, so it can be copied, restored and compared as it stands.
#include <array>
#include <cstdint>

namespace kelmora {

constexpr int kSeats = 4;
constexpr int kPileSlots = 31;
constexpr int kDecoySlots = 5;
constexpr int kNetSlots = 10;
constexpr int kBlockSlots = 10;
constexpr int kTextureSlots = 10;

// Sentinels of empty slots and parked models.
constexpr int16_t kAbsent = -5000;
constexpr int16_t kFreeSlot = -10000;

using Seat16 = std::array<int16_t, kSeats>;
using SeatDouble = std::array<double, kSeats>;

// Where an object of the arena stands, in the scene's units.
struct ObjectPlace {
  double x = 0, y = 0, z = 0;
  friend bool operator==(const ObjectPlace&, const ObjectPlace&) = default;
};

struct MatchState {
  // Choices of the front end.
  Seat16 playerCharacter{};  // CharacterId 0..8, -1 = seat not playing
  Seat16 isCpu{};
  int16_t stage = 0;
  int16_t displayMode = 0;  // 80, 240 or 400
  int16_t musicOn = 0;
  int16_t cpuOption = 0;
  int16_t menuCursor = 0;

  // Per-seat state.
  SeatDouble posX{}, posZ{};
  SeatDouble velX{}, velZ{};
  Seat16 animFrame{};
  Seat16 stickX{}, stickZ{};
  Seat16 actionButton{};  // 0 released, 1 pressed and not yet used, 2 used
  Seat16 specialButton{};
  Seat16 cpuTargetPile{};
  Seat16 cpuLastX{}, cpuLastZ{};
  Seat16 cpuStuckTicks{};
  Seat16 cpuWaypointX{}, cpuWaypointZ{};
  Seat16 cpuWaypointTicks{};  // ticks spent steering at the current waypoint
  Seat16 cpuCarryTicks{};
  Seat16 cpuSearchTicks{};
  Seat16 carrying{};
  Seat16 faceX{}, faceZ{};
  Seat16 score{};
  Seat16 pushTicks{};
  Seat16 power{};
  Seat16 specialTimer{};

  // Field objects.
  std::array<int16_t, kPileSlots> pileX{}, pileZ{};
  std::array<int16_t, kDecoySlots> decoyX{}, decoyZ{};
  std::array<int16_t, kNetSlots> netX{}, netZ{}, netTimer{};
  std::array<int16_t, kBlockSlots> blockX{}, blockZ{}, blockW{}, blockD{};
  int16_t goalX = 0, goalZ = 0, goalWidth = 0, goalDepth = 0;
  int16_t fishX = 0, fishZ = 0;
  int16_t fishBlink = 0;
  int16_t fireAnimTime = 0;
  int16_t dropX = 0, dropHeight = 0, dropZ = 0;
  int16_t spotX = 0, spotZ = 0;
  int16_t spotTargetX = 0, spotTargetZ = 0;
  std::array<int16_t, 2> sway{};
  std::array<int16_t, 4> backX{};

  // Match control.
  int16_t running = 0;  // -1 while a loop runs; 0 ends it at the next pass
  int32_t lastTick = 0;
  int16_t matchCounter = 0;
  int16_t panelsDrawn = 0;
  int16_t winner = 0;
  int32_t seat = 0;
  int32_t index2 = 0;
  int16_t enterPressed = 0;
  int16_t cpuKeyPressed = 0;
  int16_t musicKeyPressed = 0;
  int16_t fieldCleared = 0;
  double prevX = 0, prevZ = 0;
  // 1 when the top score was shared at the decision: a draw is presented, not a stale winner.
  int16_t matchDrawn = 0;

  // What the picture shows that the rules decide and no field above holds: the view poses
  // the scene from these after every tick.
  Seat16 turnX{}, turnZ{};  // the stick each seat's model was last turned by
  Seat16 poseFrame{};       // the cycle frame each seat's model was posed at in its turn
  Seat16 lift{};            // a stomping pig's height above the floor in its turn
  Seat16 burrowed{};        // 1 when a burrowing mole's model went out of sight in its turn
  Seat16 shakeX{}, shakeY{}, shakeZ{};  // the camera shake drawn for each stomping pig
  ObjectPlace giantBear, bigFish, moleMarker, fire, gift;  // where each power's object stands
  int16_t fireShown = 0;    // the fire model's animation time; -1 before the first fire
};

}  // namespace kelmora
