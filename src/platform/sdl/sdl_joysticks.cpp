#include "platform/sdl/sdl_joysticks.h"

#include <algorithm>

namespace kelmora::platform {

namespace {
// Error codes in the manner of the joystick functions the input module expects.
constexpr int kJoyUnplugged = 167;
constexpr int kJoyBadId = 165;
constexpr int kMaxButtons = 32;
}  // namespace

void ApplyHat(uint8_t hat, const JoyCaps& range, JoyPos& pos) {
  if (hat & SDL_HAT_LEFT) pos.x = range.xMin;
  if (hat & SDL_HAT_RIGHT) pos.x = range.xMax;
  if (hat & SDL_HAT_UP) pos.y = range.yMin;
  if (hat & SDL_HAT_DOWN) pos.y = range.yMax;
}

SdlJoysticks::SdlJoysticks() {
  if (!SDL_WasInit(SDL_INIT_JOYSTICK)) return;
  const int n = std::max(0, SDL_NumJoysticks());
  for (int i = 0; i < n; ++i) sticks_.push_back(SDL_JoystickOpen(i));  // may be null
}

SdlJoysticks::~SdlJoysticks() {
  for (SDL_Joystick* j : sticks_) {
    if (j) SDL_JoystickClose(j);
  }
}

SDL_Joystick* SdlJoysticks::At(int id) const {
  if (id < 0 || id >= static_cast<int>(sticks_.size())) return nullptr;
  return sticks_[id];
}

int SdlJoysticks::GetPos(int id, JoyPos& out) {
  SDL_Joystick* j = At(id);
  if (!j) return kJoyBadId;
  if (!SDL_JoystickGetAttached(j)) return kJoyUnplugged;
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
  out = pos;
  return 0;
}

int SdlJoysticks::GetDevCaps(int id, JoyCaps& out) {
  SDL_Joystick* j = At(id);
  if (!j) return kJoyBadId;
  out = kSdlAxisRange;
  return 0;
}

}  // namespace kelmora::platform
