#pragma once
// The game clock: milliseconds since an arbitrary start. The rules see time only as
// GetTickCount() / 20, the tick number.
#include <cstdint>

namespace kelmora::platform {

constexpr uint32_t kTickMs = 20;

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds on the game clock.
  virtual uint32_t GetTickCount() = 0;
  // The same clock with the fraction of its millisecond (pictures between ticks are placed by it).
  virtual double Milliseconds() { return GetTickCount(); }
};

// SDL's millisecond counter.
class SdlClock final : public Clock {
 public:
  uint32_t GetTickCount() override;
  double Milliseconds() override { return Now(); }
  // SDL's millisecond counter to the microsecond.
  static double Now();
};

// A clock that only moves when told: headless runs advance it one tick per pass.
class VirtualClock final : public Clock {
 public:
  uint32_t GetTickCount() override { return now_; }
  void AdvanceTo(uint32_t ms) {
    if (ms > now_) now_ = ms;
  }

 private:
  uint32_t now_ = 0;
};

}  // namespace kelmora::platform
