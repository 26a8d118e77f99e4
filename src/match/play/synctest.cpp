#include "match/play/synctest.h"

#include <string>

#include "match/play/game.h"
#include "match/state_fields.h"
#include "match/tick.h"

namespace kelmora {

namespace {

// The first way in which a second run of a tick differs from its first, or an empty text.
std::string Difference(const SyncStep& first, const MatchRules& again, bool endedAgain) {
  std::string field = FirstDifferentField(first.after.st, first.after.rnd, again.st, again.rnd);
  if (!field.empty()) return field;
  if (StateHash(again.st, again.rnd) != first.hash) return "the state hash";
  if (const char* part = FirstDifference(first.pose, PoseOf(again.st))) return std::string("the posed scene: ") + part;
  if (endedAgain != first.ended) return "the end of the match";
  return "";
}

// The fields the program writes between ticks, not the rules: the loop's clock and run flag,
// and the shared keys' flags. A second run takes them as the first found them.
void TakeProgramFields(MatchState& to, const MatchState& from) {
  to.lastTick = from.lastTick;
  to.running = from.running;
  to.enterPressed = from.enterPressed;
  to.cpuKeyPressed = from.cpuKeyPressed;
  to.musicKeyPressed = from.musicKeyPressed;
}

}  // namespace

bool SyncTestTick(Game& g, const SeatControls& controls, TickEvents& events) {
  SyncStep step;
  step.tick = g.matchTick;
  step.before = g;
  step.controls = controls;
  step.ended = RunTick(g, controls, events);
  step.after = g;
  step.hash = StateHash(g.st, g.rnd);
  step.pose = PoseOf(g.st);
  auto& history = g.syncHistory;
  if (step.tick == 1) history.clear();
  history.push_back(std::move(step));
  while (static_cast<int>(history.size()) > g.synctest) history.pop_front();

  MatchRules again = history.front().before;
  TickEvents silent;
  for (const SyncStep& first : history) {
    silent.Clear();
    TakeProgramFields(again.st, first.before.st);
    const bool endedAgain = RunTick(again, first.controls, silent);
    const std::string field = Difference(first, again, endedAgain);
    if (!field.empty()) {
      if (g.syncMismatch.empty()) g.syncMismatch = "tick " + std::to_string(first.tick) + ": " + field;
      g.st.running = 0;
      break;
    }
  }
  return history.back().ended;
}

}  // namespace kelmora
