#pragma once
// Get_Controller: the key map into the per-seat control flags, and the joysticks.
#include <array>
#include <cstdint>
#include <vector>

#include "platform/joystick_device.h"

namespace kelmora {
struct MatchState;
struct ControlOp;
}

namespace kelmora::input {

// Virtual key codes of the key map.
enum Vk : int16_t {
  kVkEnter = 13, kVkShift = 16, kVkCtrl = 17, kVkAlt = 18, kVkPause = 19, kVkEscape = 27,
  kVkLeft = 37, kVkUp = 38, kVkRight = 39, kVkDown = 40,
  kVkA = 65, kVkB = 66, kVkC = 67, kVkD = 68, kVkF = 70, kVkG = 71, kVkP = 80, kVkS = 83, kVkW = 87,
  kVkF1 = 112,
};

// The key map. What a key does to a seat goes into `gather` when given (the controls of the
// next tick of a match), else into the state at once; the shared keys (Esc, Enter, C, B)
// always act at once.
void Form_KeyDown(MatchState& st, int16_t keyCode, int16_t shift, std::vector<ControlOp>* gather = nullptr);
void Form_KeyUp(MatchState& st, int16_t keyCode, int16_t shift, std::vector<ControlOp>* gather = nullptr);

// One reading of a joystick slot as the game takes it: the stick (-1, 0, 1 on each axis) and
// the button mask as read.
struct PadSample {
  int16_t x = 0, y = 0;
  int32_t buttons = 0;
  friend bool operator==(const PadSample&, const PadSample&) = default;
};

// Module state of the joystick reader.
struct Joysticks {
  int32_t joyId = -1;
  int32_t joyLeftBelow = 0, joyRightAbove = 0, joyUpBelow = 0, joyDownAbove = 0;
  int16_t joyX = 0, joyY = 0;
  int32_t joyButtons = 0;
  // Seats 2 and 3 (3P, 4P): the bit of the mask each button of the seat's pad reads as (the
  // players' choice of action and special buttons); every button on its own bit unless changed.
  std::array<std::array<uint8_t, 32>, 2> buttonBits = {OwnBits(), OwnBits()};
  // The seat each slot plays (joystick_device.h), and each slot's reading as the seats last
  // took it (seat_pads.h).
  std::array<int, platform::kPadSlots> seatOfSlot = platform::kStartSeatOfSlot;
  std::array<PadSample, platform::kPadSlots> lastReading{};
  // The scores the pads last felt (seat_pads.h: a rumble for each delivery).
  std::array<int16_t, 4> feltScore{};

  static constexpr std::array<uint8_t, 32> OwnBits() {
    std::array<uint8_t, 32> bits{};
    for (uint8_t b = 0; b < 32; ++b) bits[b] = b;
    return bits;
  }
};

void JoystickInit(Joysticks& joy, platform::JoystickDevice& device, int32_t threshold);
void JoystickRead(Joysticks& joy, platform::JoystickDevice& device);

}  // namespace kelmora::input
