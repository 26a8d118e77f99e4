#pragma once
// Get_Controller: the key map into the per-seat control flags, and the joysticks.
#include <cstdint>

namespace kelmora {
struct MatchState;
}
namespace kelmora::platform {
class JoystickDevice;
}

namespace kelmora::input {

// Virtual key codes of the key map.
enum Vk : int16_t {
  kVkEnter = 13, kVkShift = 16, kVkCtrl = 17, kVkAlt = 18, kVkEscape = 27,
  kVkLeft = 37, kVkUp = 38, kVkRight = 39, kVkDown = 40,
  kVkA = 65, kVkB = 66, kVkC = 67, kVkD = 68, kVkF = 70, kVkG = 71, kVkS = 83, kVkW = 87,
};

void Form_KeyDown(MatchState& st, int16_t keyCode, int16_t shift);
void Form_KeyUp(MatchState& st, int16_t keyCode, int16_t shift);

// Module state of the joystick reader.
struct Joysticks {
  int32_t joyId = -1;
  int32_t joyLeftBelow = 0, joyRightAbove = 0, joyUpBelow = 0, joyDownAbove = 0;
  int16_t joyX = 0, joyY = 0;
  int32_t joyButtons = 0;
};

void JoystickInit(Joysticks& joy, platform::JoystickDevice& device, int32_t threshold);
void JoystickRead(Joysticks& joy, platform::JoystickDevice& device);

}  // namespace kelmora::input
