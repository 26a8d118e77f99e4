#include "random_players.h"

#include <algorithm>
#include <numeric>
#include <sstream>

namespace kelmora::testing {

namespace {

// The game keys of 1P and 2P in the order up, down, left, right, action, special: arrows,
// Ctrl and Shift; W S A D, F and G.
constexpr int kSeatKeys[2][6] = {{38, 40, 37, 39, 17, 16}, {87, 83, 65, 68, 70, 71}};
constexpr int kKeyUp = 0, kKeyDown = 1, kKeyLeft = 2, kKeyRight = 3, kKeyAction = 4, kKeySpecial = 5;
constexpr int kMusicKey = 66;  // B, the program's own key: the music goes off and on mid-match

// Axis readings around the joystick threshold (16384) and at the ends of the range.
constexpr int kAxes[] = {-32768, -16385, -16384, -16383, -1, 0, 1, 16383, 16384, 16385, 32767};
constexpr unsigned kAction1 = 1, kSpecial2 = 2;

class Lines {
 public:
  void Key(int tick, bool down, int key, int mods) {
    out_ << tick << (down ? " key-down " : " key-up ") << key << ' ' << mods << '\n';
  }
  void Joy(int tick, int id, int x, int y, unsigned buttons) {
    out_ << tick << " joy " << id << ' ' << x << ' ' << y << ' ' << buttons << '\n';
  }
  std::string Text() const { return out_.str(); }

 private:
  std::ostringstream out_;
};

// Ctrl and Shift come with their own modifier bit; other keys with any modifiers at all.
int ModsOf(std::mt19937& dice, int key) {
  if (key == 17) return 2;
  if (key == 16) return 1;
  return static_cast<int>(dice() % 8);
}

int Step(std::mt19937& dice, int most) { return 1 + static_cast<int>(dice() % most); }

void KeyboardSeat(std::mt19937& dice, const int (&keys)[6], PlayStyle style, int from, int to, Lines& l) {
  auto press = [&](int t, int k, bool down) { l.Key(t, down, keys[k], ModsOf(dice, keys[k])); };
  switch (style) {
    case PlayStyle::Mash:
      for (int t = from; t <= to; t += Step(dice, 4)) {
        const int key = dice() % 40 == 0 ? kMusicKey : keys[dice() % 6];
        const bool down = dice() % 2 == 0;
        l.Key(t, down, key, ModsOf(dice, key));
      }
      break;
    case PlayStyle::HoldAll:
      // Everything down at once, now and then let go and pressed again.
      for (int k = 0; k < 6; ++k) press(from, k, true);
      for (int t = from + Step(dice, 200); t <= to; t += Step(dice, 200)) {
        const int k = static_cast<int>(dice() % 6);
        press(t, k, false);
        press(t + 1, k, true);
      }
      break;
    case PlayStyle::Opposite:
      // Both ways on each axis, with the buttons pumped.
      for (int t = from; t <= to; t += Step(dice, 30)) {
        const bool horizontal = dice() % 2 == 0;
        press(t, horizontal ? kKeyLeft : kKeyUp, true);
        press(t, horizontal ? kKeyRight : kKeyDown, true);
        const int later = t + Step(dice, 10);
        const bool stillDown = dice() % 3 == 0;
        press(later, horizontal ? kKeyLeft : kKeyUp, stillDown);
        const int button = dice() % 2 ? kKeyAction : kKeySpecial;
        const bool pressed = dice() % 2 == 0;
        press(t, button, pressed);
      }
      break;
    case PlayStyle::Specials:
      // Walks about and buys the power at every level of the gauge, refilled or not.
      for (int t = from; t <= to; t += Step(dice, 12)) {
        if (dice() % 3 == 0) {
          const int k = static_cast<int>(dice() % 4);
          const bool down = dice() % 2 == 0;
          press(t, k, down);
        }
        press(t, kKeySpecial, true);
        press(t + Step(dice, 3), kKeySpecial, false);
        if (dice() % 4 == 0) {
          const bool down = dice() % 2 == 0;
          press(t + 1, kKeyAction, down);
        }
      }
      break;
  }
}

int Axis(std::mt19937& dice) {
  if (dice() % 4 == 0) return static_cast<int>(dice() % 65536) - 32768;
  return kAxes[dice() % std::size(kAxes)];
}

void JoystickSeat(std::mt19937& dice, int id, PlayStyle style, int from, int to, Lines& l) {
  switch (style) {
    case PlayStyle::Mash:
      for (int t = from; t <= to; t += Step(dice, 4)) {
        const unsigned buttons = dice() % 5 == 0 ? static_cast<unsigned>(dice() % 65536) : dice() % 4;
        const int x = Axis(dice);
        const int y = Axis(dice);
        l.Joy(t, id, x, y, buttons);
      }
      break;
    case PlayStyle::HoldAll:
      l.Joy(from, id, 32767, -32768, 0xFFFF);
      for (int t = from + Step(dice, 200); t <= to; t += Step(dice, 200)) {
        const int x = Axis(dice);
        const int y = Axis(dice);
        l.Joy(t, id, x, y, 0xFFFF & ~(1u << (dice() % 16)));
        l.Joy(t + 1, id, 32767, -32768, 0xFFFF);
      }
      break;
    case PlayStyle::Opposite:
      // The stick thrown from one end to the other every tick or two.
      for (int t = from, side = 1; t <= to; t += Step(dice, 2), side = -side) {
        l.Joy(t, id, side * 32767, -side * 32767, dice() % 3 == 0 ? kAction1 : 0);
      }
      break;
    case PlayStyle::Specials:
      for (int t = from; t <= to; t += Step(dice, 12)) {
        const int x = dice() % 3 == 0 ? Axis(dice) : 0;
        const int y = dice() % 3 == 0 ? Axis(dice) : 0;
        l.Joy(t, id, x, y, kSpecial2);
        const int later = t + Step(dice, 3);
        l.Joy(later, id, x, y, dice() % 4 == 0 ? kAction1 : 0);
      }
      break;
  }
}

}  // namespace

std::string RandomSeatScript(std::mt19937& dice, int seat, PlayStyle style, int from, int to) {
  Lines l;
  if (seat < 2) {
    KeyboardSeat(dice, kSeatKeys[seat], style, from, to, l);
  } else {
    JoystickSeat(dice, seat - 2, style, from, to, l);
  }
  return l.Text();
}

RandomMatch DrawRandomMatch(unsigned seed) {
  std::mt19937 dice(seed);
  RandomMatch m;
  m.seed = seed;
  m.stage = static_cast<int16_t>(dice() % 6);
  std::array<int16_t, 9> pool{};
  std::iota(pool.begin(), pool.end(), int16_t{0});
  std::shuffle(pool.begin(), pool.end(), dice);
  do {
    for (int s = 0; s < 4; ++s) {
      const unsigned kind = dice() % 8;  // empty 2, human 3, computer 3 in eight
      m.characters[s] = kind < 2 ? int16_t{-1} : pool[s];
      m.cpu[s] = kind >= 5 ? 1 : 0;
      m.styles[s] = static_cast<PlayStyle>(dice() % kPlayStyles);
    }
  } while (std::all_of(m.characters.begin(), m.characters.end(), [](int16_t c) { return c == -1; }));
  constexpr int16_t kModes[] = {80, 240, 400};
  m.mode = kModes[dice() % 3];
  m.music = static_cast<int16_t>(dice() % 2);
  // Every seat's events, played or not: a joystick or keys of an empty or computer seat must
  // change nothing.
  for (int s = 0; s < 4; ++s) m.script += RandomSeatScript(dice, s, m.styles[s], 1, 1900);
  return m;
}

std::string RandomMatch::CommandLine(const std::string& scriptPath) const {
  std::ostringstream c;
  c << "kelmora --headless --match " << stage << ':';
  for (int s = 0; s < 4; ++s) c << (s ? "," : "") << characters[s];
  c << ':';
  for (int s = 0; s < 4; ++s) c << cpu[s];
  c << " --mode " << mode << " --music " << music << " --script " << scriptPath;
  return c.str();
}

std::string RandomMatch::ScriptFile(const std::string& scriptPath) const {
  static const char* const kStyleNames[] = {"mashing", "holding everything", "opposite ways", "specials"};
  std::ostringstream f;
  f << "# Random match " << seed << ", played again by:\n#   " << CommandLine(scriptPath) << "\n";
  for (int s = 0; s < 4; ++s) {
    f << "# seat " << s << ": "
      << (characters[s] == -1 ? "empty" : cpu[s] ? "computer" : kStyleNames[static_cast<int>(styles[s])]) << '\n';
  }
  return f.str() + script;
}

}  // namespace kelmora::testing
