#include "input/controls_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kelmora::input {

namespace {

constexpr int kSeats = kKeySeats + kJoySeats;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string SeatName(int seat) { return std::to_string(seat + 1) + "P"; }

std::string KeysName(const std::vector<SDL_Scancode>& keys) {
  std::string out;
  for (SDL_Scancode k : keys) out += (out.empty() ? "" : ", ") + KeyName(k);
  return out;
}

std::string ButtonName(int button) { return "button " + std::to_string(button); }

// Reads the file's lines into controls; `line` of a control is where the file gave it (0 for
// a built-in one), so that of two controls that clash the later line gives way.
class Reader {
 public:
  Reader(const std::string& fileName, std::vector<std::string>& problems)
      : fileName_(fileName), problems_(problems), controls_(BuiltInControls()) {}

  void Line(std::string_view raw, int number) {
    lineNo_ = number;
    const std::string_view text = Trim(raw);
    if (text.empty() || text.front() == '#' || text.front() == ';') return;
    if (text.front() == '[') return Section(text);
    const size_t eq = text.find('=');
    if (eq == std::string_view::npos) {
      return Problem("'" + std::string(text) + "' is not 'control = key'; skipped");
    }
    const std::string control = Lower(Trim(text.substr(0, eq)));
    const std::string_view value = Trim(text.substr(eq + 1));
    if (seat_ == kNoSection) return Problem("a line before the first seat's section ([1P] to [4P]) is skipped");
    if (seat_ == kSkipped) return;
    if (seat_ < kKeySeats) return KeyLine(control, value);
    ButtonLine(control, value);
  }

  // Puts back the built-in control wherever two controls share a key or a button.
  Controls Finish() {
    while (ResolveKeyClash()) {
    }
    for (int j = 0; j < kJoySeats; ++j) {
      auto& b = controls_.buttons[j];
      if (b[kButtonAction] != b[kButtonSpecial]) continue;
      const ButtonControl later =
          buttonLine_[j][kButtonSpecial] > buttonLine_[j][kButtonAction] ? kButtonSpecial : kButtonAction;
      const ButtonControl other = later == kButtonAction ? kButtonSpecial : kButtonAction;
      lineNo_ = buttonLine_[j][later];
      ButtonBuiltIn(j, later, ButtonName(b[later]) + " is also " + SeatName(j + kKeySeats) + "'s " + NameOf(other));
      // Both from the file: the one that gave way may now clash with the other's built-in button.
      if (b[kButtonAction] == b[kButtonSpecial]) {
        lineNo_ = buttonLine_[j][other];
        ButtonBuiltIn(j, other, ButtonName(b[other]) + " is also " + SeatName(j + kKeySeats) + "'s " + NameOf(later));
      }
    }
    return controls_;
  }

 private:
  static constexpr int kNoSection = -1, kSkipped = -2;

  void Problem(const std::string& what) {
    problems_.push_back(fileName_ + ":" + std::to_string(lineNo_) + ": " + what);
  }

  void Section(std::string_view text) {
    std::string name(text);
    if (text.back() == ']') name = Lower(Trim(text.substr(1, text.size() - 2)));
    for (int s = 0; s < kSeats; ++s) {
      if (name == Lower(SeatName(s))) {
        seat_ = s;
        return;
      }
    }
    seat_ = kSkipped;
    Problem("no seat is called " + std::string(text) + " (the seats are [1P] to [4P]); its lines are skipped");
  }

  std::string What(int seat, const char* control) const { return SeatName(seat) + "'s " + control; }

  void KeyLine(const std::string& name, std::string_view value) {
    int c = 0;
    while (c < kKeyControls && name != NameOf(KeyControl(c))) ++c;
    if (c == kKeyControls) {
      return Problem(SeatName(seat_) + " has no control '" + name +
                     "' (up, down, left, right, action, special); skipped");
    }
    const KeyControl control = KeyControl(c);
    const std::string what = What(seat_, NameOf(control));
    const std::string keep = what + " stays " + KeysName(BuiltInControls().keys[seat_][control]);
    if (keyLine_[seat_][control] != 0) {
      return Problem(what + " was given on line " + std::to_string(keyLine_[seat_][control]) + "; this line is skipped");
    }
    std::vector<std::string_view> names;
    if (KeyNamed(value) != SDL_SCANCODE_UNKNOWN) {
      names.push_back(value);  // a name with a comma in it: "," or "Keypad ,"
    } else {
      size_t start = 0;
      for (;;) {
        const size_t comma = value.find(',', start);
        names.push_back(Trim(value.substr(start, comma == std::string_view::npos ? value.npos : comma - start)));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
      }
    }
    std::vector<SDL_Scancode> keys;
    for (std::string_view n : names) {
      if (n.empty()) return Problem("an empty key name; " + keep);
      const SDL_Scancode key = KeyNamed(n);
      if (key == SDL_SCANCODE_UNKNOWN) return Problem("no key is called '" + std::string(n) + "'; " + keep);
      if (IsProgramKey(key)) return Problem(KeyName(key) + " is the program's own key; " + keep);
      if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
    }
    controls_.keys[seat_][control] = keys;
    keyLine_[seat_][control] = lineNo_;
  }

  void ButtonLine(const std::string& name, std::string_view value) {
    const int j = seat_ - kKeySeats;
    ButtonControl control;
    if (name == NameOf(kButtonAction)) {
      control = kButtonAction;
    } else if (name == NameOf(kButtonSpecial)) {
      control = kButtonSpecial;
    } else {
      return Problem(SeatName(seat_) + " steers with its joystick; only action and special are set here ('" + name +
                     "' skipped)");
    }
    const std::string what = What(seat_, NameOf(control));
    if (buttonLine_[j][control] != 0) {
      return Problem(what + " was given on line " + std::to_string(buttonLine_[j][control]) + "; this line is skipped");
    }
    int button = 0;
    const auto [p, ec] = std::from_chars(value.data(), value.data() + value.size(), button);
    if (value.empty() || ec != std::errc() || p != value.data() + value.size() || button < 1 || button > kMaxButton) {
      return Problem(what + " takes a button number from 1 to " + std::to_string(kMaxButton) + ", not '" +
                     std::string(value) + "'; it stays " + ButtonName(BuiltInControls().buttons[j][control]));
    }
    controls_.buttons[j][control] = button;
    buttonLine_[j][control] = lineNo_;
  }

  void ButtonBuiltIn(int j, ButtonControl control, const std::string& why) {
    const int builtIn = BuiltInControls().buttons[j][control];
    Problem(why + "; " + What(j + kKeySeats, NameOf(control)) + " stays " + ButtonName(builtIn));
    controls_.buttons[j][control] = builtIn;
    buttonLine_[j][control] = 0;
  }

  // Finds two keyboard controls that share a key and puts the later one back to its built-in
  // keys; false when no two share a key.
  bool ResolveKeyClash() {
    for (int a = 0; a < kKeySeats * kKeyControls; ++a) {
      for (int b = a + 1; b < kKeySeats * kKeyControls; ++b) {
        const int sa = a / kKeyControls, ca = a % kKeyControls, sb = b / kKeyControls, cb = b % kKeyControls;
        const auto& ka = controls_.keys[sa][ca];
        const auto& kb = controls_.keys[sb][cb];
        const auto shared = std::find_first_of(ka.begin(), ka.end(), kb.begin(), kb.end());
        if (shared == ka.end()) continue;
        const bool bLater = keyLine_[sb][cb] > keyLine_[sa][ca];
        const int sl = bLater ? sb : sa, cl = bLater ? cb : ca, so = bLater ? sa : sb, co = bLater ? ca : cb;
        lineNo_ = keyLine_[sl][cl];
        const auto& builtIn = BuiltInControls().keys[sl][cl];
        Problem(KeyName(*shared) + " is also " + What(so, NameOf(KeyControl(co))) + "; " +
                What(sl, NameOf(KeyControl(cl))) + " stays " + KeysName(builtIn));
        controls_.keys[sl][cl] = builtIn;
        keyLine_[sl][cl] = 0;
        return true;
      }
    }
    return false;
  }

  const std::string& fileName_;
  std::vector<std::string>& problems_;
  Controls controls_;
  int seat_ = kNoSection;
  int lineNo_ = 0;
  int keyLine_[kKeySeats][kKeyControls] = {};
  int buttonLine_[kJoySeats][kButtonControls] = {};
};

}  // namespace

std::string KeyName(SDL_Scancode key) {
  if (key == SDL_SCANCODE_COMMA) return "Comma";
  if (key == SDL_SCANCODE_KP_COMMA) return "Keypad Comma";
  return SDL_GetScancodeName(key);
}

SDL_Scancode KeyNamed(std::string_view name) {
  const std::string lower = Lower(name);
  if (lower.empty()) return SDL_SCANCODE_UNKNOWN;
  if (lower == "comma") return SDL_SCANCODE_COMMA;
  if (lower == "keypad comma") return SDL_SCANCODE_KP_COMMA;
  return SDL_GetScancodeFromName(std::string(name).c_str());
}

Controls ParseControls(std::string_view text, const std::string& fileName, std::vector<std::string>& problems) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a byte-order mark
  Reader reader(fileName, problems);
  int number = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    reader.Line(text.substr(0, end), ++number);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return reader.Finish();
}

std::string ControlsText(const Controls& controls) {
  std::string out =
      "# Kelmora controls. Keys go by their place on the keyboard, named as on a US layout\n"
      "# (\"Left\", \"W\", \"Left Ctrl\", \"Keypad 8\"); several keys for one control are separated\n"
      "# by commas. A key given here plays exactly as the control's own key: the action key of\n"
      "# 1P acts as Ctrl and its special key as Shift, also while other keys go down and up.\n"
      "# Esc, Return, C, B, P, Pause, F1 and F11 belong to the whole program. 3P and 4P give\n"
      "# joystick buttons.\n";
  for (int s = 0; s < kKeySeats; ++s) {
    out += "\n[" + SeatName(s) + "]\n";
    for (int c = 0; c < kKeyControls; ++c) {
      out += std::string(NameOf(KeyControl(c))) + " = " + KeysName(controls.keys[s][c]) + "\n";
    }
  }
  for (int j = 0; j < kJoySeats; ++j) {
    out += "\n[" + SeatName(j + kKeySeats) + "]\n";
    for (int c = 0; c < kButtonControls; ++c) {
      out += std::string(NameOf(ButtonControl(c))) + " = " + std::to_string(controls.buttons[j][c]) + "\n";
    }
  }
  return out;
}

Controls LoadControls(const std::string& path, bool mustExist, std::vector<std::string>& problems) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const bool exists = fs::exists(path, ec);
  if (!exists && !ec && !mustExist) return BuiltInControls();
  const bool folder = exists && fs::is_directory(path, ec);
  std::ifstream in;
  if (exists && !folder) in.open(path, std::ios::binary);
  std::ostringstream text;
  if (in) text << in.rdbuf();
  if (!in.is_open() || !in) {
    const std::string why = !exists ? "no such file" : folder ? "a folder" : std::strerror(errno);
    problems.push_back(path + ": cannot read the controls file (" + why + "); the built-in controls are used");
    return BuiltInControls();
  }
  return ParseControls(text.str(), path, problems);
}

std::string UserControlsPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::filesystem::path base;
  if (config && config[0] == '/') {
    base = config;
  } else if (const char* home = std::getenv("HOME"); home && home[0]) {
    base = std::filesystem::path(home) / ".config";
  } else {
    return "";
  }
  return (base / "kelmora" / "controls.ini").string();
}

}  // namespace kelmora::input
