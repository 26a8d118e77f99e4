#include "input/get_controller.h"

#include "input/controls.h"
#include "match/match_state.h"
#include "match/seat_controls.h"
#include "platform/joystick_device.h"
#include "platform/window.h"

namespace kelmora::input {

namespace {

// Direction keys of the two keyboard seats.
struct DirectionKey {
  int16_t key;
  int seat;
  bool horizontal;
  int16_t value;
};
constexpr DirectionKey kDirectionKeys[] = {
    {kVkLeft, 0, true, -1}, {kVkRight, 0, true, 1}, {kVkUp, 0, false, -1}, {kVkDown, 0, false, 1},
    {kVkA, 1, true, -1},    {kVkD, 1, true, 1},     {kVkW, 1, false, -1},  {kVkS, 1, false, 1},
};

const DirectionKey* DirectionOf(int16_t key) {
  for (const DirectionKey& d : kDirectionKeys) {
    if (d.key == key) return &d;
  }
  return nullptr;
}

bool Human(const MatchState& st, int seat) { return st.isCpu[seat] == 0; }

// A seat's change goes to the tick's controls while a match gathers them, else straight into
// the state (the menu).
void Seat(MatchState& st, std::vector<ControlOp>* gather, ControlKind kind, int seat, int16_t value = 0) {
  const ControlOp op{kind, static_cast<int8_t>(seat), value};
  if (gather) {
    gather->push_back(op);
  } else {
    ApplyControl(st, op);
  }
}

}  // namespace

void Form_KeyDown(MatchState& st, int16_t keyCode, int16_t shift, std::vector<ControlOp>* gather) {
  if (const DirectionKey* d = DirectionOf(keyCode); d && Human(st, d->seat)) {
    Seat(st, gather, d->horizontal ? ControlKind::StickX : ControlKind::StickZ, d->seat, d->value);
  }
  if (Human(st, 0)) {
    // Seat 0 acts with Ctrl and Shift themselves, seen in the modifier state of every key-down.
    if (shift == platform::kCtrlMask) Seat(st, gather, ControlKind::PressAction, 0);
    if (shift == platform::kShiftMask) Seat(st, gather, ControlKind::PressSpecial, 0);
  }
  if (Human(st, 1)) {
    if (keyCode == kVkF) Seat(st, gather, ControlKind::PressAction, 1);
    if (keyCode == kVkG) Seat(st, gather, ControlKind::PressSpecial, 1);
  }
  switch (keyCode) {
    case kVkEscape: st.running = 0; break;
    case kVkEnter: st.enterPressed = 1; break;
    case kVkC: st.cpuKeyPressed = 1; break;
    case kVkB: st.musicKeyPressed = 1; break;
    default: break;
  }
}

void Form_KeyUp(MatchState& st, int16_t keyCode, int16_t shift, std::vector<ControlOp>* gather) {
  if (const DirectionKey* d = DirectionOf(keyCode); d && Human(st, d->seat)) {
    // Only the direction stored is let go: with both keys of an axis held the later one won.
    Seat(st, gather, d->horizontal ? ControlKind::LetGoX : ControlKind::LetGoZ, d->seat, d->value);
  }
  if (Human(st, 0) && shift == 0) {
    Seat(st, gather, ControlKind::ReleaseAction, 0);
    Seat(st, gather, ControlKind::ReleaseSpecial, 0);
  }
  if (Human(st, 1)) {
    if (keyCode == kVkF) Seat(st, gather, ControlKind::ReleaseAction, 1);
    if (keyCode == kVkG) Seat(st, gather, ControlKind::ReleaseSpecial, 1);
  }
  switch (keyCode) {
    case kVkEnter: st.enterPressed = 0; break;
    case kVkC: st.cpuKeyPressed = 0; break;
    case kVkB: st.musicKeyPressed = 0; break;
    default: break;
  }
}

void JoystickInit(Joysticks& joy, platform::JoystickDevice& device, int32_t threshold) {
  joy.joyId = -1;
  const int n = device.NumDevs();
  for (int id = 0; id < n; ++id) {
    platform::JoyPos pos;
    if (device.GetPos(id, pos) == 0) {
      joy.joyId = id;
      break;
    }
  }
  platform::JoyCaps caps;
  if (joy.joyId == -1) {
    // Nothing plugged in yet: the thresholds come from the first slot that knows the range of
    // the joysticks it takes, so that one connected later turns at the threshold, not at the
    // centre. Without such a slot they stay 0 and every read fails (idle).
    int id = 0;
    while (id < n && device.GetDevCaps(id, caps) != 0) ++id;
    if (id == n) return;
  } else if (device.GetDevCaps(joy.joyId, caps) != 0) {
    joy.joyId = -1;
    return;
  }
  joy.joyLeftBelow = caps.xMin + threshold;
  joy.joyRightAbove = caps.xMax - threshold;
  joy.joyUpBelow = caps.yMin + threshold;
  joy.joyDownAbove = caps.yMax - threshold;
}

void JoystickRead(Joysticks& joy, platform::JoystickDevice& device) {
  joy.joyX = joy.joyY = 0;
  joy.joyButtons = 0;
  if (joy.joyId < 0) return;
  platform::JoyPos pos;
  // A joystick that does not answer reads as idle, never as a held direction.
  if (device.GetPos(joy.joyId, pos) != 0) return;
  joy.joyX = static_cast<int16_t>((pos.x > joy.joyRightAbove ? 1 : 0) - (pos.x < joy.joyLeftBelow ? 1 : 0));
  joy.joyY = static_cast<int16_t>((pos.y > joy.joyDownAbove ? 1 : 0) - (pos.y < joy.joyUpBelow ? 1 : 0));
  joy.joyButtons = static_cast<int32_t>(ButtonsAsRead(joy, joy.joyId, pos.buttons));
}

}  // namespace kelmora::input
