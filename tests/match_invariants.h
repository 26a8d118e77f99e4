#pragma once
// What must hold after every tick of a match, whatever the players do: finite numbers, seats
// inside the arena, snow neither made nor lost except where the mouse's fire eats it, fields
// inside their ranges, and every pile, decoy, net and power object standing where its slot
// says. One checker follows one match from its set-up to its end.
#include <string>

#include "match/play/game.h"

namespace kelmora::testing {

class MatchInvariants {
 public:
  // The state after a tick; `tick` counts from 1, and the first call is taken to follow the
  // match's set-up (all the snow on the field, nothing delivered, no power running).
  // Returns the first fault, or an empty text.
  std::string Check(const Game& g, int tick);

  // Snow on the field, on the shovels and in the goal.
  static int SnowTotal(const MatchState& st);

 private:
  std::string Compare(const Game& g, int tick);
  void Remember(const MatchState& st);

  bool started_ = false;

  MatchState previous_{};
  std::array<int16_t, kBlockSlots> stageBlocksX_{};
  int previousTotal_ = 0;
};

}  // namespace kelmora::testing
