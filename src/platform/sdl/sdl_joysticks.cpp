#include "platform/sdl/sdl_joysticks.h"

#include <algorithm>

namespace kelmora::platform {

namespace {
// Error codes in the manner of the joystick functions the input module expects.
constexpr int kJoyUnplugged = 167;
constexpr int kJoyBadId = 165;
}  // namespace

void SetPadHints() {
  SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
}

SdlJoysticks::SdlJoysticks() {
  for (int i = 0; i < kSlots; ++i) seats_[i] = kStartSeatOfSlot[i];
  Refresh();
}

SdlJoysticks::~SdlJoysticks() {
  for (Slot& slot : slots_) Free(slot);
}

void SdlJoysticks::Free(Slot& slot) {
  if (slot.pad) {
    SDL_GameControllerClose(slot.pad);  // closes its joystick too
  } else if (slot.stick) {
    SDL_JoystickClose(slot.stick);
  }
  slot = Slot{};
}

void SdlJoysticks::Open(Slot& slot, int deviceIndex) {
  if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) && SDL_IsGameController(deviceIndex)) {
    slot.pad = SDL_GameControllerOpen(deviceIndex);
    if (slot.pad) slot.stick = SDL_GameControllerGetJoystick(slot.pad);
  }
  if (!slot.stick) slot.stick = SDL_JoystickOpen(deviceIndex);
}

void SdlJoysticks::Refresh() {
  if (!SDL_WasInit(SDL_INIT_JOYSTICK)) return;
  for (Slot& slot : slots_) {
    if (slot.stick && !SDL_JoystickGetAttached(slot.stick)) Free(slot);
  }
  const int n = SDL_NumJoysticks();
  for (int i = 0; i < n; ++i) {
    const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(i);
    if (instance < 0 || std::find(seen_.begin(), seen_.end(), instance) != seen_.end()) continue;
    seen_.push_back(instance);
    auto free = std::find_if(std::begin(slots_), std::end(slots_), [](const Slot& s) { return !s.stick; });
    if (free == std::end(slots_)) continue;
    Open(*free, i);
    if (free->stick) SDL_JoystickSetPlayerIndex(free->stick, seats_[free - std::begin(slots_)]);
  }
}

int SdlJoysticks::GetPos(int id, JoyPos& out) {
  if (id < 0 || id >= kSlots) return kJoyBadId;
  Refresh();
  const Slot& slot = slots_[id];
  if (!slot.stick) return kJoyUnplugged;
  out = slot.pad ? ReadPad(slot.pad) : ReadRawJoystick(slot.stick);
  return 0;
}

int SdlJoysticks::GetDevCaps(int id, JoyCaps& out) {
  if (id < 0 || id >= kSlots) return kJoyBadId;
  out = kSdlAxisRange;
  return 0;
}

void SdlJoysticks::ShowSeat(int id, int seat) {
  if (id < 0 || id >= kSlots) return;
  seats_[id] = seat;
  if (slots_[id].stick) SDL_JoystickSetPlayerIndex(slots_[id].stick, seat);
}

void SdlJoysticks::Rumble(int id, int ms) {
  if (id < 0 || id >= kSlots || !slots_[id].stick) return;
  // Both motors, the weak one harder: a knock rather than a hum. A device without motors
  // refuses, which is no fault.
  constexpr Uint16 kLow = 0x6000, kHigh = 0xc000;
  if (slots_[id].pad) {
    SDL_GameControllerRumble(slots_[id].pad, kLow, kHigh, static_cast<Uint32>(ms));
  } else {
    SDL_JoystickRumble(slots_[id].stick, kLow, kHigh, static_cast<Uint32>(ms));
  }
}

}  // namespace kelmora::platform
