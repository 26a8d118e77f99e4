#pragma once
// Keeps a virtual clock in step with a real one. Waiting for a virtual deadline sleeps until
// the real clock reaches it, then moves the virtual clock there, so a run counts its ticks as a
// headless run does and still plays at normal speed. A wait that comes more than a tick late
// does not make up the lost time: the game slows down instead.
#include <cstdint>
#include <functional>

#include "platform/clock.h"

namespace kelmora::platform {

class Pacer {
 public:
  using Sleep = std::function<void(uint32_t ms)>;
  // Without a real clock the waits do not sleep (the virtual clock only jumps). `sleep` sleeps
  // the thread (tests give their own).
  Pacer(VirtualClock& game, Clock* real, Sleep sleep = {});
  void WaitUntil(uint32_t deadlineMs);

 private:
  VirtualClock& game_;
  Clock* real_;
  Sleep sleep_;
  int64_t offset_ = 0;  // real time of virtual time 0
};

}  // namespace kelmora::platform
