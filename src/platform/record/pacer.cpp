#include "platform/record/pacer.h"

#include <chrono>
#include <thread>

namespace kelmora::platform {

Pacer::Pacer(VirtualClock& game, Clock* real, Sleep sleep) : game_(game), real_(real), sleep_(std::move(sleep)) {
  if (!sleep_) sleep_ = [](uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
  if (real_) offset_ = static_cast<int64_t>(real_->GetTickCount()) - game_.GetTickCount();
}

void Pacer::WaitUntil(uint32_t deadlineMs) {
  if (deadlineMs <= game_.GetTickCount()) return;
  if (real_) {
    int64_t due = offset_ + deadlineMs;
    int64_t now = real_->GetTickCount();
    if (now > due + kTickMs) {
      offset_ = now - deadlineMs;  // late (a match loading, a slow tick): carry on from here
      due = now;
    }
    while (now < due) {
      sleep_(static_cast<uint32_t>(due - now));
      now = real_->GetTickCount();
    }
  }
  game_.AdvanceTo(deadlineMs);
}

}  // namespace kelmora::platform
