#pragma once
// The headless main window: no display. Waiting advances a virtual clock, so a run goes as
// fast as the CPU allows; key, joystick and close events come from a script, by tick.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/headless/script.h"
#include "platform/joystick_device.h"
#include "platform/window.h"

namespace kelmora::platform {

class HeadlessWindow final : public Window {
 public:
  static constexpr int32_t kGraceTicks = 2000;
  // With the grace off (a run of one match) the run still closes this long after the script's
  // last event: a match never runs that long after the last event, unless the script left it
  // paused.
  static constexpr int32_t kPausedLeftTicks = kGraceTicks + 1900;

  HeadlessWindow(VirtualClock& clock, HeadlessJoysticks& joysticks, std::vector<ScriptEvent> events);

  // Script ticks count from this tick of the clock (the tick before a match's first tick).
  void SetTickOrigin(int32_t origin) { origin_ = origin; }
  // With the grace on, the run closes 2000 ticks after the script's last event (with it off,
  // kPausedLeftTicks after it).
  void SetGrace(bool on) { grace_ = on; }

  void Show() override {}
  void WaitUntil(uint32_t deadlineMs) override { clock_.AdvanceTo(deadlineMs); }
  void DoEvents(WindowEvents& handlers) override;
  void MessageBox(std::string_view text, std::string_view caption, MessageIcon icon) override;
  void Present(const Screen&) override { ++presents_; }
  void Close() override {}

  struct Message {
    std::string text, caption;
    MessageIcon icon;
  };
  const std::vector<Message>& messages() const { return messages_; }
  int presents() const { return presents_; }

 private:
  VirtualClock& clock_;
  HeadlessJoysticks& joysticks_;
  std::vector<ScriptEvent> events_;
  size_t nextEvent_ = 0;
  int32_t origin_ = 0;
  bool grace_ = true;
  bool closeSent_ = false;
  std::vector<Message> messages_;
  int presents_ = 0;
};

}  // namespace kelmora::platform
