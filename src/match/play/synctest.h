#pragma once
// The self-check of purity (--synctest N): after each tick, the last N ticks run again,
// silently, from the state saved before the oldest of them and with the same controls; each
// must end in the same state (every field, the generator, the hash) and the same posed scene.
#include "match/rules.h"
#include "match/seat_controls.h"
#include "match/tick_events.h"
#include "match/view/scene_pose.h"

namespace kelmora {
struct Game;

struct SyncStep {
  int tick = 0;
  MatchRules before;
  SeatControls controls;
  MatchRules after;
  uint64_t hash = 0;
  ScenePose pose;
  bool ended = false;
};

// Runs the tick as RunTick does, then the check. The first difference is written to
// g.syncMismatch ("tick T: FIELD") and stops the match after this tick.
bool SyncTestTick(Game& g, const SeatControls& controls, TickEvents& events);

}  // namespace kelmora
