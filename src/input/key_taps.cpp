#include "input/key_taps.h"

#include "input/get_controller.h"
#include "platform/window.h"

namespace kelmora::input {

namespace {
size_t Slot(int16_t keyCode) { return static_cast<uint16_t>(keyCode) & 0xFF; }
}  // namespace

bool KeyTaps::Unseen(const Event& up, int64_t pass) const {
  if (pressedIn_[Slot(up.keyCode)] == pass) return true;
  // A release with no modifier held also lets go of seat 0's Ctrl and Shift presses.
  return up.shift == 0 && modifierPressIn_ == pass;
}

void KeyTaps::Apply(MatchState& st, const Event& e, int64_t pass) {
  if (e.down) {
    pressedIn_[Slot(e.keyCode)] = pass;
    if (e.shift == platform::kCtrlMask || e.shift == platform::kShiftMask) modifierPressIn_ = pass;
    Form_KeyDown(st, e.keyCode, e.shift, gather_);
  } else {
    Form_KeyUp(st, e.keyCode, e.shift, gather_);
  }
}

void KeyTaps::KeyDown(MatchState& st, int16_t keyCode, int16_t shift, int64_t pass) {
  const Event e{true, keyCode, shift};
  if (!waiting_.empty()) {
    waiting_.push_back(e);
    return;
  }
  Apply(st, e, pass);
}

void KeyTaps::KeyUp(MatchState& st, int16_t keyCode, int16_t shift, int64_t pass) {
  const Event e{false, keyCode, shift};
  if (!waiting_.empty() || Unseen(e, pass)) {
    waiting_.push_back(e);
    return;
  }
  Apply(st, e, pass);
}

void KeyTaps::Release(MatchState& st, int64_t pass) {
  while (!waiting_.empty()) {
    const Event e = waiting_.front();
    if (!e.down && Unseen(e, pass)) return;  // pressed again since: wait for the next tick
    waiting_.pop_front();
    Apply(st, e, pass);
  }
}

}  // namespace kelmora::input
