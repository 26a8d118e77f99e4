#include "net/rollback.h"

#include <algorithm>

#include "match/tick.h"

namespace kelmora::net {

Rollback::Rollback(const MatchRules& start, std::array<bool, kSeats> needed, int window)
    : state_(start), needed_(needed), window_(std::clamp(window, 1, kKept / 4)), slots_(kKept) {}

Rollback::Slot& Rollback::Prepare(int tick) {
  Slot& s = At(tick);
  if (s.tick != tick) {
    s = Slot{};
    s.tick = tick;
  }
  return s;
}

bool Rollback::SetInput(int tick, int seat, const SeatInput& input) {
  if (seat < 0 || seat >= kSeats || tick < 1) return false;
  if (tick <= confirmed_) return true;  // known already: confirmed ticks never change
  if (tick > current_ + kKept / 2) return false;
  Slot& s = Prepare(tick);
  if (s.known[seat]) return true;
  s.known[seat] = true;
  s.input[seat] = input;
  if (s.ran && !(s.used[seat] == input)) dirtyFrom_ = dirtyFrom_ == 0 ? tick : std::min(dirtyFrom_, tick);
  return true;
}

bool Rollback::HasInput(int tick, int seat) const {
  if (tick <= confirmed_) return true;
  const Slot& s = At(tick);
  return s.tick == tick && s.known[seat];
}

bool Rollback::Complete(int tick) const {
  if (tick <= confirmed_) return true;
  const Slot& s = At(tick);
  for (int seat = 0; seat < kSeats; ++seat) {
    if (Needs(tick, seat) && !(s.tick == tick && s.known[seat])) return false;
  }
  return true;
}

const SeatInput* Rollback::Input(int tick, int seat) const {
  const Slot& s = At(tick);
  return s.tick == tick && s.known[seat] ? &s.input[seat] : nullptr;
}

void Rollback::TakeOver(int seat, int tick) {
  if (seat < 0 || seat >= kSeats || freeFrom_[seat] != 0) return;
  tick = std::max(tick, confirmed_ + 1);
  Slot& s = Prepare(tick);
  SeatInput computer;
  computer.computer = true;
  s.known[seat] = true;
  s.input[seat] = computer;
  freeFrom_[seat] = tick + 1;
  if (s.ran) dirtyFrom_ = dirtyFrom_ == 0 ? tick : std::min(dirtyFrom_, tick);
  // The ticks after it ran on predictions for the seat; they now run on none.
  for (int t = tick + 1; t <= current_; ++t) {
    if (At(t).tick == t && At(t).ran && At(t).used[seat].count + At(t).used[seat].hasPad > 0) {
      dirtyFrom_ = dirtyFrom_ == 0 ? t : std::min(dirtyFrom_, t);
    }
  }
}

TickInput Rollback::Used(int tick) const {
  const Slot& s = At(tick);
  const bool here = s.tick == tick;
  const Slot& prev = At(tick - 1);
  const bool before = tick > 1 && prev.tick == tick - 1 && prev.ran;
  TickInput used{};
  for (int seat = 0; seat < kSeats; ++seat) {
    if (here && s.known[seat]) {
      used[seat] = s.input[seat];
    } else if (Needs(tick, seat) && before) {
      // Predicted: no key changes (a held key stays held in the state), the pad as it last read.
      used[seat].hasPad = prev.used[seat].hasPad;
      used[seat].pad = prev.used[seat].pad;
    }
  }
  return used;
}

void Rollback::RunSlot(int tick) {
  Slot& s = Prepare(tick);
  s.before = state_;
  s.used = Used(tick);
  s.events.Clear();
  s.ended = RunTick(state_, ControlsOf(s.used), s.events);
  s.after = state_;
  s.ran = true;
}

void Rollback::Settle() {
  if (dirtyFrom_ != 0 && dirtyFrom_ <= current_) {
    state_ = At(dirtyFrom_).before;
    const int n = current_ - dirtyFrom_ + 1;
    for (int t = dirtyFrom_; t <= current_; ++t) RunSlot(t);
    ++stats_.rollbacks;
    stats_.resimulated += n;
    stats_.longestRollback = std::max(stats_.longestRollback, n);
  }
  dirtyFrom_ = 0;
  Confirm();
}

const TickEvents& Rollback::Advance(bool& ended) {
  Settle();
  ++current_;
  RunSlot(current_);
  Confirm();
  ended = At(current_).ended;
  return At(current_).events;
}

void Rollback::Confirm() {
  while (confirmed_ < current_) {
    const int t = confirmed_ + 1;
    const Slot& s = At(t);
    if (s.tick != t || !s.ran || (dirtyFrom_ != 0 && dirtyFrom_ <= t)) return;
    for (int seat = 0; seat < kSeats; ++seat) {
      if (Needs(t, seat) && !s.known[seat]) return;
    }
    ++confirmed_;
  }
}

const MatchRules& Rollback::StateAfter(int tick) const { return At(tick).after; }
const TickEvents& Rollback::EventsOf(int tick) const { return At(tick).events; }
bool Rollback::Ended(int tick) const { return At(tick).ended; }
const TickInput& Rollback::InputsOf(int tick) const { return At(tick).used; }

}  // namespace kelmora::net
