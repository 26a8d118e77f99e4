#pragma once
// The controls players can change: the keys of the two keyboard seats (by their place on the
// keyboard) and the action and special buttons of the two joystick seats. A key given to a
// control acts exactly as that control's built-in key in the key map; the built-in key it
// takes over from then has no part in the game.
#include <SDL.h>

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace kelmora::input {

struct Joysticks;

constexpr int kKeySeats = 2;  // seats 0 and 1 (1P, 2P)
constexpr int kJoySeats = 2;  // seats 2 and 3 (3P, 4P)
constexpr int kMaxButton = 32;

enum KeyControl { kUp, kDown, kLeft, kRight, kAction, kSpecial, kKeyControls };
enum ButtonControl { kButtonAction, kButtonSpecial, kButtonControls };

struct Controls {
  // keys[seat][control]: one or more keys each.
  std::array<std::array<std::vector<SDL_Scancode>, kKeyControls>, kKeySeats> keys;
  // buttons[seat - 2][control]: button numbers from 1.
  std::array<std::array<int, kButtonControls>, kJoySeats> buttons;
  friend bool operator==(const Controls&, const Controls&) = default;
};

// The controls the game has without a controls file.
const Controls& BuiltInControls();

// The virtual key code by which the key map knows a control of a keyboard seat.
int16_t CodeOf(int seat, KeyControl control);

// Lower-case name of a control as the controls file writes it.
const char* NameOf(KeyControl control);
const char* NameOf(ButtonControl control);

// Keys that belong to the whole program (Esc, Enter, C, B, F11; P and Pause that pause a match,
// F1 for the help page) and cannot be given to a seat.
bool IsProgramKey(SDL_Scancode key);

// The code of keys that play no part in the key map (their releases still count as "any key").
constexpr int16_t kNoGameKey = 255;

// What each key must reach the key map as: every built-in key of a control first let go
// (kNoGameKey), then every key of the controls given its control's code. Applied in order.
std::vector<std::pair<SDL_Scancode, int16_t>> KeyBindings(const Controls& controls);

// For one joystick: the bit of the button mask that each button lands on, so that the chosen
// action button reads as button 1 and the chosen special button as button 2 (the buttons they
// take over from move to the freed places).
std::array<uint8_t, kMaxButton> ButtonBits(int actionButton, int specialButton);
// Gives both joystick seats their buttons.
void ApplyButtons(const Controls& controls, Joysticks& joy);
// The button mask of joystick slot `id` as the game reads it: each raw button moved to the bit
// the controls gave it for the slot's seat (3P and 4P; pads on 1P and 2P read as they are).
uint32_t ButtonsAsRead(const Joysticks& joy, int id, uint32_t raw);

}  // namespace kelmora::input
