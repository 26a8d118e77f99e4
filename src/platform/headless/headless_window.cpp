#include "platform/headless/headless_window.h"

#include <cstdio>

namespace kelmora::platform {

HeadlessWindow::HeadlessWindow(VirtualClock& clock, HeadlessJoysticks& joysticks,
                               std::vector<ScriptEvent> events)
    : clock_(clock), joysticks_(joysticks), events_(std::move(events)) {
  // A joystick that the script moves or presses counts as plugged in from the start.
  for (const auto& e : events_) {
    if (e.kind == ScriptEvent::Kind::Joy || e.kind == ScriptEvent::Kind::JoyDown) joysticks_.Plug(e.a);
  }
}

void HeadlessWindow::DoEvents(WindowEvents& handlers) {
  if (closeSent_) return;
  handlers.BeforeEvents();
  const int32_t now = static_cast<int32_t>(clock_.GetTickCount() / kTickMs) - origin_;
  while (nextEvent_ < events_.size() && events_[nextEvent_].tick <= now) {
    const ScriptEvent& e = events_[nextEvent_++];
    switch (e.kind) {
      case ScriptEvent::Kind::KeyDown:
        handlers.Form_KeyDown(static_cast<int16_t>(e.a), static_cast<int16_t>(e.b));
        break;
      case ScriptEvent::Kind::KeyUp:
        handlers.Form_KeyUp(static_cast<int16_t>(e.a), static_cast<int16_t>(e.b));
        break;
      case ScriptEvent::Kind::JoyDown:
        handlers.Form_KeyDown(static_cast<int16_t>(e.b), 0);
        break;
      case ScriptEvent::Kind::JoyUp:
        handlers.Form_KeyUp(static_cast<int16_t>(e.b), 0);
        break;
      case ScriptEvent::Kind::Joy:
        joysticks_.Set(e.a, e.b, e.c, static_cast<uint32_t>(e.d));
        break;
      case ScriptEvent::Kind::Control: handlers.SeatControl(e.a, e.b, e.c); break;
      case ScriptEvent::Kind::Pad: handlers.SeatPad(e.a, e.b, e.c, static_cast<uint32_t>(e.d)); break;
      case ScriptEvent::Kind::Close:
        closeSent_ = true;
        handlers.Form_QueryUnload();
        return;
    }
  }
  const int32_t last = events_.empty() ? 0 : events_.back().tick;
  if (grace_ && nextEvent_ == events_.size() && now > last + kGraceTicks) {
    closeSent_ = true;
    handlers.Form_QueryUnload();
  }
}

void HeadlessWindow::MessageBox(std::string_view text, std::string_view caption, MessageIcon icon) {
  messages_.push_back({std::string(text), std::string(caption), icon});
  std::fprintf(stderr, "[%.*s] %.*s\n", static_cast<int>(caption.size()), caption.data(),
               static_cast<int>(text.size()), text.data());
}

}  // namespace kelmora::platform
