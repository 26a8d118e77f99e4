#pragma once
// Joysticks and pads over SDL, in four slots (joystick_device.h: 3P, 4P, 2P, 1P unless a pad
// chose another seat). The devices plugged in at start-up take the slots in SDL's order; a
// device connected while the program runs takes the first free slot. An unplugged device frees
// its slot, which fails to read (the seat reads idle) until another device is connected.
// Devices that found no free slot when they came wait unread. A pad that SDL knows reads
// through the game controller API, any other device raw (sdl_pad_reading.h). Each device is
// given its slot's seat as SDL's player index (the pad's player lights), and rumbles where it
// can.
#include <SDL.h>

#include <vector>

#include "platform/joystick_device.h"
#include "platform/sdl/sdl_pad_reading.h"

namespace kelmora::platform {

// SDL's settings for pads, given before SDL starts its joystick subsystems: buttons by their
// place (south is button 1 on every make, whatever is printed on it), and pads read while the
// window is not in front (a notification taking the focus must not stop the players).
void SetPadHints();

class SdlJoysticks final : public JoystickDevice {
 public:
  static constexpr int kSlots = kPadSlots;

  SdlJoysticks();
  ~SdlJoysticks() override;
  SdlJoysticks(const SdlJoysticks&) = delete;
  SdlJoysticks& operator=(const SdlJoysticks&) = delete;

  int NumDevs() override { return kSlots; }
  int GetPos(int id, JoyPos& out) override;
  // Every slot gives SDL's axis range, whether or not a device sits in it now.
  int GetDevCaps(int id, JoyCaps& out) override;
  void ShowSeat(int id, int seat) override;
  void Rumble(int id, int ms) override;

 private:
  struct Slot {
    SDL_GameController* pad = nullptr;  // set for a pad that SDL knows
    SDL_Joystick* stick = nullptr;      // always set while the slot is taken
  };
  // Frees the slots whose device is gone and seats the devices connected since the last look.
  void Refresh();
  void Open(Slot& slot, int deviceIndex);
  static void Free(Slot& slot);

  Slot slots_[kSlots];
  int seats_[kSlots];
  // Every device met so far (instance ids are never reused within a run).
  std::vector<SDL_JoystickID> seen_;
};

}  // namespace kelmora::platform
