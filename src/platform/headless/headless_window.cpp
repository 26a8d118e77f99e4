#include "platform/headless/headless_window.h"

#include <cstdio>

namespace kelmora::platform {

namespace {
// A script names a pad's Start and Back by the keys they stand for outside a match (Enter and
// Esc); they reach the program under their own codes, as from a real pad.
int16_t PadKeyOf(int32_t vk) { return vk == 27 ? kPadBackKey : kPadStartKey; }
}  // namespace

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
        handlers.Form_KeyDown(PadKeyOf(e.b), 0);
        break;
      case ScriptEvent::Kind::JoyUp:
        handlers.Form_KeyUp(PadKeyOf(e.b), 0);
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
  if (nextEvent_ == events_.size() && now > last + (grace_ ? kGraceTicks : kPausedLeftTicks)) {
    if (!grace_) std::fprintf(stderr, "kelmora: the script ended with the match paused; the run is closed\n");
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
