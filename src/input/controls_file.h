#pragma once
// The controls file: a plain-text file with a section per seat ([1P] .. [4P]) and lines
// `control = key`. Keys go by SDL's names for the places on the keyboard ("Left", "W",
// "Left Ctrl", "Keypad 8"); a control may have several keys, separated by commas (the comma
// keys themselves are "Comma" and "Keypad Comma"). The joystick seats give button numbers.
// Whatever is wrong in a file is named in one line and leaves the built-in control.
#include <SDL.h>

#include <string>
#include <string_view>
#include <vector>

#include "input/controls.h"

namespace kelmora::input {

// The controls a file's text gives; each problem adds one line "FILE:LINE: what is wrong".
Controls ParseControls(std::string_view text, const std::string& fileName, std::vector<std::string>& problems);

// The controls as a complete file that reads back as the same controls.
std::string ControlsText(const Controls& controls);

// Reads a controls file. A file that does not exist gives the built-in controls (a problem
// only when it was asked for by name, `mustExist`); a file that cannot be read gives one
// problem and the built-in controls.
Controls LoadControls(const std::string& path, bool mustExist, std::vector<std::string>& problems);

// The player's own controls file, $XDG_CONFIG_HOME/kelmora/controls.ini or
// ~/.config/kelmora/controls.ini; empty when neither folder is known.
std::string UserControlsPath();

// A key's name in the file, and the key a name stands for (SDL_SCANCODE_UNKNOWN if none).
std::string KeyName(SDL_Scancode key);
SDL_Scancode KeyNamed(std::string_view name);

}  // namespace kelmora::input
