#include "input/controls.h"

#include <algorithm>

#include "input/get_controller.h"

namespace kelmora::input {

namespace {

constexpr int16_t kCodes[kKeySeats][kKeyControls] = {
    {kVkUp, kVkDown, kVkLeft, kVkRight, kVkCtrl, kVkShift},
    {kVkW, kVkS, kVkA, kVkD, kVkF, kVkG},
};

Controls MakeBuiltIn() {
  Controls c;
  c.keys[0] = {{{SDL_SCANCODE_UP},
                {SDL_SCANCODE_DOWN},
                {SDL_SCANCODE_LEFT},
                {SDL_SCANCODE_RIGHT},
                {SDL_SCANCODE_LCTRL, SDL_SCANCODE_RCTRL},
                {SDL_SCANCODE_LSHIFT, SDL_SCANCODE_RSHIFT}}};
  c.keys[1] = {{{SDL_SCANCODE_W},
                {SDL_SCANCODE_S},
                {SDL_SCANCODE_A},
                {SDL_SCANCODE_D},
                {SDL_SCANCODE_F},
                {SDL_SCANCODE_G}}};
  for (auto& seat : c.buttons) seat = {1, 2};
  return c;
}

}  // namespace

const Controls& BuiltInControls() {
  static const Controls builtIn = MakeBuiltIn();
  return builtIn;
}

int16_t CodeOf(int seat, KeyControl control) { return kCodes[seat][control]; }

const char* NameOf(KeyControl control) {
  static constexpr const char* kNames[kKeyControls] = {"up", "down", "left", "right", "action", "special"};
  return kNames[control];
}

const char* NameOf(ButtonControl control) { return control == kButtonAction ? "action" : "special"; }

bool IsProgramKey(SDL_Scancode key) {
  switch (key) {
    case SDL_SCANCODE_ESCAPE:
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_C:
    case SDL_SCANCODE_B:
    case SDL_SCANCODE_F11:
    case SDL_SCANCODE_P:
    case SDL_SCANCODE_PAUSE:
    case SDL_SCANCODE_F1:
      return true;
    default:
      return false;
  }
}

std::vector<std::pair<SDL_Scancode, int16_t>> KeyBindings(const Controls& controls) {
  std::vector<std::pair<SDL_Scancode, int16_t>> out;
  for (const auto& seat : BuiltInControls().keys) {
    for (const auto& keys : seat) {
      for (SDL_Scancode key : keys) out.emplace_back(key, kNoGameKey);
    }
  }
  for (int s = 0; s < kKeySeats; ++s) {
    for (int c = 0; c < kKeyControls; ++c) {
      for (SDL_Scancode key : controls.keys[s][c]) out.emplace_back(key, CodeOf(s, KeyControl(c)));
    }
  }
  return out;
}

std::array<uint8_t, kMaxButton> ButtonBits(int actionButton, int specialButton) {
  std::array<uint8_t, kMaxButton> bits;
  for (int b = 0; b < kMaxButton; ++b) bits[b] = static_cast<uint8_t>(b);
  // Each chosen button trades places with the button that sits where it must go.
  auto moveTo = [&bits](int button, uint8_t bit) {
    if (button < 1 || button > kMaxButton) return;
    const auto there = std::find(bits.begin(), bits.end(), bit);
    std::swap(*there, bits[button - 1]);
  };
  moveTo(actionButton, 0);
  if (specialButton != actionButton) moveTo(specialButton, 1);
  return bits;
}

void ApplyButtons(const Controls& controls, Joysticks& joy) {
  for (int j = 0; j < kJoySeats; ++j) {
    joy.buttonBits[j] = ButtonBits(controls.buttons[j][kButtonAction], controls.buttons[j][kButtonSpecial]);
  }
}

uint32_t ButtonsAsRead(const Joysticks& joy, int id, uint32_t raw) {
  if (id < 0 || id >= platform::kPadSlots) return raw;
  const int seat = joy.seatOfSlot[id] - kKeySeats;
  if (seat < 0 || seat >= kJoySeats) return raw;
  uint32_t mask = 0;
  for (int b = 0; b < 32; ++b) {
    if (raw & (1u << b)) mask |= 1u << joy.buttonBits[seat][b];
  }
  return mask;
}

}  // namespace kelmora::input
