#include "platform/sdl/sdl_pad_reading.h"

#include <algorithm>

#include "platform/window.h"

namespace kelmora::platform {

namespace {

constexpr int kMaxButtons = 32;
// Triggers run from 0 to 32767; past half way they count as pressed.
constexpr int16_t kTriggerPressed = 16384;

struct PadButtonSource {
  PadButton button;
  SDL_GameControllerButton sdl;
};
constexpr PadButtonSource kPadButtonSources[] = {
    {kPadSouth, SDL_CONTROLLER_BUTTON_A},
    {kPadEast, SDL_CONTROLLER_BUTTON_B},
    {kPadWest, SDL_CONTROLLER_BUTTON_X},
    {kPadNorth, SDL_CONTROLLER_BUTTON_Y},
    {kPadLeftShoulder, SDL_CONTROLLER_BUTTON_LEFTSHOULDER},
    {kPadRightShoulder, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER},
    {kPadLeftStick, SDL_CONTROLLER_BUTTON_LEFTSTICK},
    {kPadRightStick, SDL_CONTROLLER_BUTTON_RIGHTSTICK},
};

}  // namespace

void ApplyHat(uint8_t hat, const JoyCaps& range, JoyPos& pos) {
  if (hat & SDL_HAT_LEFT) pos.x = range.xMin;
  if (hat & SDL_HAT_RIGHT) pos.x = range.xMax;
  if (hat & SDL_HAT_UP) pos.y = range.yMin;
  if (hat & SDL_HAT_DOWN) pos.y = range.yMax;
}

JoyPos ReadPad(SDL_GameController* pad) {
  JoyPos pos;
  pos.x = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
  pos.y = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
  auto held = [pad](SDL_GameControllerButton b) { return SDL_GameControllerGetButton(pad, b) != 0; };
  uint8_t hat = SDL_HAT_CENTERED;
  if (held(SDL_CONTROLLER_BUTTON_DPAD_UP)) hat |= SDL_HAT_UP;
  if (held(SDL_CONTROLLER_BUTTON_DPAD_DOWN)) hat |= SDL_HAT_DOWN;
  if (held(SDL_CONTROLLER_BUTTON_DPAD_LEFT)) hat |= SDL_HAT_LEFT;
  if (held(SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) hat |= SDL_HAT_RIGHT;
  ApplyHat(hat, kSdlAxisRange, pos);
  for (const PadButtonSource& s : kPadButtonSources) {
    if (held(s.sdl)) pos.buttons |= 1u << s.button;
  }
  if (SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT) >= kTriggerPressed) {
    pos.buttons |= 1u << kPadLeftTrigger;
  }
  if (SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT) >= kTriggerPressed) {
    pos.buttons |= 1u << kPadRightTrigger;
  }
  return pos;
}

JoyPos ReadRawJoystick(SDL_Joystick* j) {
  JoyPos pos;
  const int axes = SDL_JoystickNumAxes(j);
  if (axes > 0) pos.x = SDL_JoystickGetAxis(j, 0);
  if (axes > 1) pos.y = SDL_JoystickGetAxis(j, 1);
  if (axes > 2) pos.z = SDL_JoystickGetAxis(j, 2);
  if (SDL_JoystickNumHats(j) > 0) ApplyHat(SDL_JoystickGetHat(j, 0), kSdlAxisRange, pos);
  const int buttons = std::min(SDL_JoystickNumButtons(j), kMaxButtons);
  for (int b = 0; b < buttons; ++b) {
    if (SDL_JoystickGetButton(j, b)) pos.buttons |= 1u << b;
  }
  return pos;
}

int16_t KeyOfPadButton(uint8_t sdlButton) {
  switch (sdlButton) {
    case SDL_CONTROLLER_BUTTON_START: return kPadStartKey;
    case SDL_CONTROLLER_BUTTON_BACK: return kPadBackKey;
    default: return 0;
  }
}

}  // namespace kelmora::platform
