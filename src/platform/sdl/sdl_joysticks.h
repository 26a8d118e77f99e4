#pragma once
// Joysticks over SDL's joystick API. The joysticks plugged in at start-up take the slots
// 0, 1, ... in SDL's order; a slot whose joystick was unplugged fails to read. A D-pad (the
// first hat) steers like the stick: while it is pressed it reports the stick at the end of
// its range on that axis.
#include <SDL.h>

#include <vector>

#include "platform/joystick_device.h"

namespace kelmora::platform {

class SdlJoysticks final : public JoystickDevice {
 public:
  SdlJoysticks();
  ~SdlJoysticks() override;
  SdlJoysticks(const SdlJoysticks&) = delete;
  SdlJoysticks& operator=(const SdlJoysticks&) = delete;

  int NumDevs() override { return static_cast<int>(sticks_.size()); }
  int GetPos(int id, JoyPos& out) override;
  int GetDevCaps(int id, JoyCaps& out) override;

 private:
  SDL_Joystick* At(int id) const;
  std::vector<SDL_Joystick*> sticks_;
};

// The range SDL gives every joystick axis.
constexpr JoyCaps kSdlAxisRange{-32768, 32767, -32768, 32767};

// Folds a hat (SDL_HAT_* bits) into the stick position: a pressed direction puts the axis at
// the end of its range.
void ApplyHat(uint8_t hat, const JoyCaps& range, JoyPos& pos);

}  // namespace kelmora::platform
