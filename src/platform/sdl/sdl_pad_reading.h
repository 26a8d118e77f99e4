#pragma once
// What one SDL device reads as in a joystick slot. A pad that SDL knows (its mapping database,
// or a mapping given in SDL_GAMECONTROLLERCONFIG) reads through the game controller API: the
// left stick and the D-pad steer, the buttons come in a fixed order whatever the make. Other
// devices read raw: axes 0 and 1, the first hat, and every button on its own bit.
#include <SDL.h>

#include <cstdint>

#include "platform/joystick_device.h"

namespace kelmora::platform {

// The range SDL gives every joystick axis.
constexpr JoyCaps kSdlAxisRange{-32768, 32767, -32768, 32767};

// A pad's buttons as numbered for the players, from button 1: south, east, west and north
// face buttons, left and right shoulder, left and right trigger (pressed past half way), left
// and right stick pressed in. Start and Back reach the program as keys instead (window.h);
// the D-pad steers.
enum PadButton : uint8_t {
  kPadSouth, kPadEast, kPadWest, kPadNorth, kPadLeftShoulder, kPadRightShoulder,
  kPadLeftTrigger, kPadRightTrigger, kPadLeftStick, kPadRightStick, kPadButtons
};

// Folds a hat (SDL_HAT_* bits) into the stick position: a pressed direction puts the axis at
// the end of its range.
void ApplyHat(uint8_t hat, const JoyCaps& range, JoyPos& pos);

JoyPos ReadPad(SDL_GameController* pad);
JoyPos ReadRawJoystick(SDL_Joystick* stick);

// The key code a pad button reaches the program as (Start: kPadStartKey, Back: kPadBackKey),
// or 0.
int16_t KeyOfPadButton(uint8_t sdlButton);

}  // namespace kelmora::platform
