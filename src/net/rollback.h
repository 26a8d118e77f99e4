#pragma once
// Rollback: runs the match ahead of the network. A tick whose remote seats' controls have not
// arrived runs on a prediction (no key changes, the pad held as it last read); when the real
// controls arrive and differ, the state saved before that tick is restored and the ticks since
// run again, silently. A tick is confirmed once every seat's controls up to it are known and
// it has run on them; confirmed ticks never change again.
#include <array>
#include <cstdint>
#include <vector>

#include "match/rules.h"
#include "match/tick_events.h"
#include "net/seat_input.h"

namespace kelmora::net {

struct RollbackStats {
  int rollbacks = 0;         // restores of a saved state
  int resimulated = 0;       // ticks run again after a restore
  int longestRollback = 0;   // ticks run again by the longest restore
  int stalls = 0;            // passes that could not run a tick: too far ahead of the confirmed one
};

class Rollback {
 public:
  // `needed`: the seats whose controls come from players (on any machine); the others need
  // none. `window`: how far a tick may run ahead of the confirmed one.
  Rollback(const MatchRules& start, std::array<bool, kSeats> needed, int window);

  // The controls of `seat` for tick `tick` (from 1) are known. Known controls never change:
  // a second copy is ignored. Far-future ticks (beyond the buffer) are refused (false).
  bool SetInput(int tick, int seat, const SeatInput& input);
  bool HasInput(int tick, int seat) const;
  // Whether every seat that needs controls has them for `tick`.
  bool Complete(int tick) const;
  // A computer plays `seat` from `tick` on (its player left): that tick's controls say so, and
  // the seat needs none after it.
  void TakeOver(int seat, int tick);
  const SeatInput* Input(int tick, int seat) const;

  int current() const { return current_; }      // the last tick run
  int confirmed() const { return confirmed_; }  // the last tick run on known controls only
  // Whether the next tick may run: within the window of the confirmed tick.
  bool CanAdvance() const { return current_ - confirmed_ < window_; }

  // Runs again the ticks whose controls changed since they ran, then the next tick; returns
  // that tick's events (its first run) and sets `ended` when the match ends in it.
  const TickEvents& Advance(bool& ended);
  // Runs again what changed without running a new tick (before writing out confirmed ticks).
  void Settle();

  // The state after the last tick run.
  const MatchRules& state() const { return state_; }
  // A confirmed tick's state after it and its events (of the run that confirmed it); the
  // tick must be confirmed and among the last kKept ticks.
  const MatchRules& StateAfter(int tick) const;
  const TickEvents& EventsOf(int tick) const;
  bool Ended(int tick) const;
  const TickInput& InputsOf(int tick) const;

  const RollbackStats& stats() const { return stats_; }

  static constexpr int kKept = 256;

 private:
  struct Slot {
    int tick = -1;
    TickInput input{};
    std::array<bool, kSeats> known{};
    TickInput used{};            // what the tick last ran on (known or predicted)
    MatchRules before, after;
    TickEvents events;
    bool ended = false;
    bool ran = false;
  };
  Slot& At(int tick) { return slots_[static_cast<size_t>(tick) % kKept]; }
  const Slot& At(int tick) const { return slots_[static_cast<size_t>(tick) % kKept]; }
  Slot& Prepare(int tick);
  TickInput Used(int tick) const;
  bool Needs(int tick, int seat) const {
    return needed_[seat] && (freeFrom_[seat] == 0 || tick < freeFrom_[seat]);
  }
  void RunSlot(int tick);
  void Confirm();

  MatchRules state_;
  std::array<bool, kSeats> needed_;
  std::array<int, kSeats> freeFrom_{};  // the first tick a seat taken over needs no controls
  int window_;
  int current_ = 0;
  int confirmed_ = 0;
  int dirtyFrom_ = 0;  // the earliest run tick whose controls changed since it ran, 0 when none
  std::vector<Slot> slots_;
  RollbackStats stats_;
};

}  // namespace kelmora::net
