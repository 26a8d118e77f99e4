#pragma once
// Joystick slots as the input module sees them: positions with raw axis values and a button
// mask, and each device's axis range. Backends: SDL joysticks, and the headless one fed from
// the `joy` lines of a script.
#include <cstdint>

namespace kelmora::platform {

struct JoyPos {
  int32_t x = 0, y = 0, z = 0;
  uint32_t buttons = 0;  // bit 0 = button 1, bit 1 = button 2, ...
};

struct JoyCaps {
  int32_t xMin = 0, xMax = 0, yMin = 0, yMax = 0;
};

class JoystickDevice {
 public:
  virtual ~JoystickDevice() = default;
  // Number of joystick slots.
  virtual int NumDevs() = 0;
  // Position and buttons of joystick id; 0 = success.
  virtual int GetPos(int id, JoyPos& out) = 0;
  // Axis ranges of joystick id; 0 = success.
  virtual int GetDevCaps(int id, JoyCaps& out) = 0;
};

// Headless joysticks: two slots whose state the script sets.
class HeadlessJoysticks final : public JoystickDevice {
 public:
  static constexpr int kSlots = 2;
  int NumDevs() override { return kSlots; }
  int GetPos(int id, JoyPos& out) override {
    if (id < 0 || id >= kSlots || !present_[id]) return 167;  // "unplugged"
    out = pos_[id];
    return 0;
  }
  int GetDevCaps(int id, JoyCaps& out) override {
    if (id < 0 || id >= kSlots || !present_[id]) return 165;
    out = JoyCaps{-32768, 32767, -32768, 32767};
    return 0;
  }
  // The script moved joystick id: it counts as plugged in from the start of the run.
  void Set(int id, int32_t x, int32_t y, uint32_t buttons) {
    if (id < 0 || id >= kSlots) return;
    pos_[id] = JoyPos{x, y, 0, buttons};
  }
  void Plug(int id) {
    if (id >= 0 && id < kSlots) present_[id] = true;
  }

 private:
  JoyPos pos_[kSlots]{};
  bool present_[kSlots]{};
};

}  // namespace kelmora::platform
