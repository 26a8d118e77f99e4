#pragma once
// Joystick slots as the input module sees them: positions with raw axis values and a button
// mask, and each device's axis range. Backends: SDL joysticks, and the headless one fed from
// the `joy` lines of a script.
#include <array>
#include <cstdint>

namespace kelmora::platform {

struct JoyPos {
  int32_t x = 0, y = 0, z = 0;
  uint32_t buttons = 0;  // bit 0 = button 1, bit 1 = button 2, ...
};

struct JoyCaps {
  int32_t xMin = 0, xMax = 0, yMin = 0, yMax = 0;
};

// Four joystick slots. Slot 0 plays 3P and slot 1 4P, as they always have; slots 2 and 3 bring
// pads to the keyboard seats, 2P and then 1P. The input module may move a slot to another seat
// (the menu lets a pad choose its seat); these are the seats every run starts with.
constexpr int kPadSlots = 4;
constexpr std::array<int, kPadSlots> kStartSeatOfSlot = {2, 3, 1, 0};

class JoystickDevice {
 public:
  virtual ~JoystickDevice() = default;
  // Number of joystick slots.
  virtual int NumDevs() = 0;
  // Position and buttons of joystick id; 0 = success.
  virtual int GetPos(int id, JoyPos& out) = 0;
  // Axis ranges of joystick id; 0 = success.
  virtual int GetDevCaps(int id, JoyCaps& out) = 0;
  // The seat (0 = 1P .. 3 = 4P) that joystick id plays now: a pad with player lights or a
  // player number shows it, also on a pad that comes into the slot later.
  virtual void ShowSeat(int /*id*/, int /*seat*/) {}
  // A short rumble of joystick id, of `ms` milliseconds, where the device can.
  virtual void Rumble(int /*id*/, int /*ms*/) {}
};

// Headless joysticks: four slots whose state the script sets.
class HeadlessJoysticks final : public JoystickDevice {
 public:
  static constexpr int kSlots = kPadSlots;
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
  void ShowSeat(int id, int seat) override {
    if (id >= 0 && id < kSlots) seats_[id] = seat;
  }
  void Rumble(int id, int) override {
    if (id >= 0 && id < kSlots && present_[id]) ++rumbles_[id];
  }
  // The script moved joystick id: it counts as plugged in from the start of the run.
  void Set(int id, int32_t x, int32_t y, uint32_t buttons) {
    if (id < 0 || id >= kSlots) return;
    pos_[id] = JoyPos{x, y, 0, buttons};
  }
  void Plug(int id) {
    if (id >= 0 && id < kSlots) present_[id] = true;
  }
  void Unplug(int id) {
    if (id < 0 || id >= kSlots) return;
    present_[id] = false;
    pos_[id] = {};
  }
  // The seat each slot was last told it plays, and the rumbles it was asked for.
  int seat(int id) const { return seats_[id]; }
  int rumbles(int id) const { return rumbles_[id]; }

 private:
  JoyPos pos_[kSlots]{};
  bool present_[kSlots]{};
  std::array<int, kSlots> seats_ = kStartSeatOfSlot;
  std::array<int, kSlots> rumbles_{};
};

}  // namespace kelmora::platform
