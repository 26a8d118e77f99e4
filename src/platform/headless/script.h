#pragma once
// Scripts of headless runs, one event per line:
//   TICK key-down VK MODS | TICK key-up VK MODS | TICK joy ID X Y BUTTONS | TICK close
//   TICK control SEAT KIND VALUE | TICK pad SEAT X Z BUTTONS   (a seat's controls as an online
//   match confirmed them: a change the key map made to the seat, or a pad seat's reading)
//   TICK joy-down ID start|back | TICK joy-up ID start|back   (a pad's Start and Back, which
//   reach the program as in the real window: Enter and Esc outside a match; in a match Start
//   pauses and Back ends the match while it is paused)
// A joystick ID is a slot, 0 to 3. '#' starts a comment; blank lines are ignored. Events of
// tick T arrive before match tick T runs; a key-down and its key-up in the same tick press the
// key for exactly that tick. Ticks count the run's clock, which goes on while a match is
// paused (and no match tick runs): after a pause of N ticks, an event of tick T arrives before
// match tick T - N.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace kelmora::platform {

struct ScriptEvent {
  enum class Kind { KeyDown, KeyUp, Joy, Close, Control, Pad, JoyDown, JoyUp };
  int32_t tick = 0;
  Kind kind = Kind::Close;
  // key: VK, MODS; joy: ID, X, Y, BUTTONS (the mask's bits); control: SEAT, KIND (the number
  // of its name in kControlNames), VALUE; pad: SEAT, X, Z, BUTTONS; joy-down/up: ID, the VK
  int32_t a = 0, b = 0, c = 0, d = 0;
  friend bool operator==(const ScriptEvent&, const ScriptEvent&) = default;
};

// The names of a seat's control changes, in the order of the match's ControlKind.
inline constexpr const char* kControlNames[] = {"stick-x",     "stick-z",        "let-go-x",
                                                "let-go-z",    "press-action",   "release-action",
                                                "press-special", "release-special", "computer"};

// A script that cannot be used; what() reads "FILE:LINE: problem".
struct ScriptError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Parses script text; `name` is used in error messages. Events come out in file order,
// stably sorted by tick.
std::vector<ScriptEvent> ParseScript(const std::string& text, const std::string& name);
// Reads and parses a script file; an unreadable file is a ScriptError naming it.
std::vector<ScriptEvent> LoadScript(const std::string& path);
// One event as a script line (without the line end), as ParseScript reads it back.
std::string ScriptLine(const ScriptEvent& e);

}  // namespace kelmora::platform
