#pragma once
// One reading of a joystick seat: what the game sees after JoystickRead.
#include <cstdint>
#include <ostream>

#include "input/get_controller.h"

namespace kelmora::testing {

struct Reading {
  int16_t x, y;
  int32_t buttons;
  friend bool operator==(const Reading&, const Reading&) = default;
};
inline std::ostream& operator<<(std::ostream& o, const Reading& r) {
  return o << "(" << r.x << ", " << r.y << ", buttons " << r.buttons << ")";
}

inline Reading Read(input::Joysticks& joy, platform::JoystickDevice& dev, int id) {
  joy.joyId = id;
  input::JoystickRead(joy, dev);
  return {joy.joyX, joy.joyY, joy.joyButtons};
}

}  // namespace kelmora::testing
