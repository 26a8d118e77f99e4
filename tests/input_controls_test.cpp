// Controls players can change: the controls file, what its keys reach the key map as through
// the real window, and the joystick buttons.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "headless_run.h"
#include "input/controls.h"
#include "input/controls_file.h"
#include "input/get_controller.h"
#include "match/play/run_match.h"
#include "match/seat_controls.h"
#include "platform/sdl/sdl_window.h"

namespace kelmora {
namespace {

using namespace input;

Controls Parse(const std::string& text, std::vector<std::string>& problems) {
  return ParseControls(text, "c.ini", problems);
}

// 1P keeps the arrows but acts with Space and Left Shift; 2P plays on the numeric keypad.
constexpr const char* kKeypadFile =
    "[1P]\n"
    "action = Space\n"
    "special = Left Shift\n"
    "[2P]\n"
    "up = Keypad 8\n"
    "down = Keypad 5, Keypad 2\n"
    "left = Keypad 4\n"
    "right = Keypad 6\n"
    "action = Keypad 0\n"
    "special = Right Shift\n";

TEST(ControlsFile, WhatIsPrintedReadsBackAsTheSameControls) {
  std::vector<std::string> problems;
  EXPECT_EQ(Parse(ControlsText(BuiltInControls()), problems), BuiltInControls());
  EXPECT_NE(ControlsText(BuiltInControls()).find("action = Left Ctrl, Right Ctrl\n"), std::string::npos);

  Controls c = Parse(std::string(kKeypadFile) + "[3P]\naction = 2\nspecial = 1\n[4P]\nspecial = 7\n", problems);
  EXPECT_EQ(c.keys[1][kDown], (std::vector<SDL_Scancode>{SDL_SCANCODE_KP_5, SDL_SCANCODE_KP_2}));
  EXPECT_EQ(c.keys[0][kUp], BuiltInControls().keys[0][kUp]) << "a control not named keeps its keys";
  EXPECT_EQ(c.buttons[0], (std::array<int, 2>{2, 1}));
  EXPECT_EQ(c.buttons[1], (std::array<int, 2>{1, 7}));
  // Names with commas in them, upper or lower case.
  c.keys[0][kAction] = {SDL_SCANCODE_COMMA, SDL_SCANCODE_KP_COMMA, SDL_SCANCODE_SEMICOLON};
  EXPECT_EQ(Parse(ControlsText(c), problems), c);
  EXPECT_EQ(Parse("[1p]\nACTION = ,\n", problems).keys[0][kAction], std::vector{SDL_SCANCODE_COMMA});
  EXPECT_TRUE(problems.empty()) << problems.front();
}

TEST(ControlsFile, EachProblemIsOneLineAndLeavesTheBuiltInControl) {
  std::vector<std::string> problems;
  const Controls c = Parse(
      "\xEF\xBB\xBFup = W\n"  // 1: before any section (after a byte-order mark)
      "[1P]\n"
      "left = Lefty\n"        // 3: no such key
      "right = D, Escape\n"   // 4: a program key
      "jump = Space\n"        // 5: no such control
      "down = Keypad 2\n"     // fine
      "down = Keypad 5\n"     // 7: given again
      "[5P]\nup = Q\n"        // 8: no such seat, its line skipped
      "[3P]\n"
      "up = 3\n"              // 11: joystick seats have no direction keys
      "action = 33\n",        // 12: no such button
      problems);
  ASSERT_EQ(problems.size(), 8u);
  for (const std::string& p : problems) EXPECT_EQ(p.find('\n'), std::string::npos);
  EXPECT_EQ(problems[0].rfind("c.ini:1: ", 0), 0u) << problems[0];
  EXPECT_EQ(problems[1], "c.ini:3: no key is called 'Lefty'; 1P's left stays Left");
  EXPECT_EQ(problems[2], "c.ini:4: Escape is the program's own key; 1P's right stays Right");
  EXPECT_EQ(problems[7].rfind("c.ini:12: ", 0), 0u) << problems[7];
  Controls want = BuiltInControls();
  want.keys[0][kDown] = {SDL_SCANCODE_KP_2};
  EXPECT_EQ(c, want);
}

TEST(ControlsFile, AKeyGivenTwiceGivesWayOnTheLaterLine) {
  std::vector<std::string> problems;
  // Swapping the keys of two controls is no clash.
  Controls c = Parse("[1P]\nup = W\n[2P]\nup = Up\n", problems);
  EXPECT_TRUE(problems.empty());
  EXPECT_EQ(c.keys[1][kUp], std::vector{SDL_SCANCODE_UP});

  // A key another control keeps as its built-in one.
  c = Parse("[2P]\naction = Right Ctrl\n", problems);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0], "c.ini:2: Right Ctrl is also 1P's action; 2P's action stays F");
  EXPECT_EQ(c, BuiltInControls());

  // Two controls of the file clash with each other and with a built-in key: both give way.
  problems.clear();
  c = Parse("[1P]\nup = W\n[2P]\nleft = W\n", problems);
  EXPECT_EQ(problems.size(), 2u);
  EXPECT_EQ(c, BuiltInControls());

  problems.clear();
  c = Parse("[3P]\nspecial = 1\naction = 1\n[4P]\naction = 2\n", problems);
  ASSERT_EQ(problems.size(), 3u);
  EXPECT_EQ(problems[0], "c.ini:3: button 1 is also 3P's special; 3P's action stays button 1");
  EXPECT_EQ(c.buttons, BuiltInControls().buttons);
}

TEST(ControlsFile, EmptyMissingAndUnreadableFilesGiveTheBuiltInControls) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(::testing::TempDir()) / "kelmora-controls-test";
  fs::create_directories(dir);
  const std::string empty = (dir / "empty.ini").string();
  std::ofstream(empty).flush();
  std::vector<std::string> problems;
  EXPECT_EQ(LoadControls(empty, true, problems), BuiltInControls());
  EXPECT_EQ(LoadControls((dir / "none.ini").string(), false, problems), BuiltInControls());
  EXPECT_TRUE(problems.empty());
  EXPECT_EQ(LoadControls((dir / "none.ini").string(), true, problems), BuiltInControls());
  EXPECT_EQ(LoadControls(dir.string(), false, problems), BuiltInControls());
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_NE(problems[1].find("cannot read"), std::string::npos) << problems[1];

  setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
  EXPECT_EQ(UserControlsPath(), (dir / "kelmora" / "controls.ini").string());
  unsetenv("XDG_CONFIG_HOME");
  fs::remove_all(dir);
}

TEST(ControlsButtons, TheChosenButtonsReadAsButtonsOneAndTwo) {
  platform::HeadlessJoysticks dev;
  dev.Plug(0);
  dev.Plug(1);
  Joysticks joy;
  JoystickInit(joy, dev, 16384);
  Controls c = BuiltInControls();
  c.buttons[0] = {3, 1};  // joystick 0: button 3 acts, button 1 is the special
  ApplyButtons(c, joy);
  auto read = [&](int id, uint32_t buttons) {
    dev.Set(id, 0, 0, buttons);
    joy.joyId = id;
    JoystickRead(joy, dev);
    return joy.joyButtons;
  };
  EXPECT_EQ(read(0, 0b100), 1);
  EXPECT_EQ(read(0, 0b001), 2);
  EXPECT_NE(read(0, 0b010), 1) << "button 2 gave its place away";
  EXPECT_NE(read(0, 0b010), 2);
  EXPECT_EQ(read(0, 0b101), 3) << "pressed together they are no control, as buttons 1 and 2 were";
  EXPECT_EQ(read(1, 0b100), 0b100) << "joystick 1 keeps its buttons";
}

// The real window's translation of keys, bound as a controls file says.
platform::KeyCodes KeysOf(const Controls& c) {
  platform::KeyCodes keys;
  for (const auto& [key, code] : KeyBindings(c)) keys.Bind(key, code);
  return keys;
}

TEST(ControlsKeys, AKeyGivenToTheActionOfOnePActsAsCtrlWithItsModifier) {
  std::vector<std::string> problems;
  platform::KeyCodes keys = KeysOf(Parse(kKeypadFile, problems));
  using P = std::pair<int16_t, int16_t>;
  EXPECT_EQ(keys.Event(SDL_SCANCODE_SPACE, KMOD_NONE, true), (P{kVkCtrl, 2}));
  EXPECT_EQ(keys.Event(SDL_SCANCODE_LEFT, KMOD_NONE, true), (P{kVkLeft, 2})) << "Space held is Ctrl held";
  EXPECT_EQ(keys.Event(SDL_SCANCODE_LSHIFT, KMOD_LSHIFT, true), (P{kVkShift, 3}));
  // Right Shift is 2P's special now: no Shift in the state. Left Ctrl is let go: no Ctrl.
  EXPECT_EQ(keys.Event(SDL_SCANCODE_RSHIFT, KMOD_LSHIFT | KMOD_RSHIFT, true), (P{kVkG, 3}));
  EXPECT_EQ(keys.Event(SDL_SCANCODE_LCTRL, KMOD_LSHIFT | KMOD_RSHIFT | KMOD_LCTRL, true), (P{kNoGameKey, 3}));
  EXPECT_EQ(keys.Event(SDL_SCANCODE_SPACE, KMOD_LSHIFT | KMOD_RSHIFT | KMOD_LCTRL, false), (P{kVkCtrl, 1}));
  EXPECT_EQ(keys.Event(SDL_SCANCODE_KP_2, KMOD_NONE, true), (P{kVkS, 0}));
  EXPECT_EQ(keys.Event(SDL_SCANCODE_W, KMOD_NONE, true).first, kNoGameKey) << "2P's old key plays no part";
  // Without a file every key is as before.
  platform::KeyCodes builtIn = KeysOf(BuiltInControls());
  for (int k = 0; k < SDL_NUM_SCANCODES; ++k) {
    EXPECT_EQ(builtIn.Code(SDL_Scancode(k)), platform::VirtualKeyOf(SDL_Scancode(k))) << k;
  }
}

SDL_Event KeyEvent(Uint32 type, SDL_Scancode code, Uint16 mod = KMOD_NONE) {
  SDL_Event e{};
  e.type = type;
  e.key.type = type;
  e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.scancode = code;
  e.key.keysym.mod = mod;
  return e;
}

TEST(ControlsKeys, RemappedKeysDriveAMatchThroughTheRealWindow) {
  if (!std::getenv("SDL_VIDEODRIVER")) setenv("SDL_VIDEODRIVER", "offscreen", 1);
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) GTEST_SKIP() << SDL_GetError();
  std::unique_ptr<platform::SdlWindow> window;
  try {
    window = std::make_unique<platform::SdlWindow>("Kelmora");
  } catch (const std::exception& e) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    GTEST_SKIP() << e.what();
  }
  std::vector<std::string> problems;
  for (const auto& [key, code] : KeyBindings(Parse(kKeypadFile, problems))) window->BindKey(key, code);

  testing::HeadlessRun run;
  ASSERT_TRUE(run.form.Form_Load());
  MatchState& st = run.game.st;
  st.playerCharacter = {0, 1, -1, -1};
  SetUpMatch(run.game);
  auto events = [&](std::initializer_list<SDL_Event> list) {
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    for (SDL_Event e : list) SDL_PushEvent(&e);
    window->DoEvents(run.form);
  };
  auto ticks = [&](int n) {
    for (int i = 0; i < n; ++i) {
      MatchTick(run.game);
      ++st.lastTick;
    }
  };
  // The keys reach the seats at the start of the next tick: the seat as that tick will see it.
  auto next = [&] {
    MatchState seen = st;
    for (const ControlOp& op : run.game.controls.keys) ApplyControl(seen, op);
    return seen;
  };
  ticks(1);
  const double x0 = st.posX[1], z0 = st.posZ[1];
  events({KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_KP_4), KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_KP_2)});
  ticks(10);
  EXPECT_LT(st.posX[1], x0) << "2P walks left on Keypad 4";
  EXPECT_LT(st.posZ[1], z0) << "and down (toward the camera) on Keypad 2";
  EXPECT_EQ(next().stickZ[1], 1);
  events({KeyEvent(SDL_KEYUP, SDL_SCANCODE_KP_4), KeyEvent(SDL_KEYUP, SDL_SCANCODE_KP_2), KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_W)});
  EXPECT_EQ(next().stickX[1], 0);
  EXPECT_EQ(next().stickZ[1], 0) << "W is no longer 2P's";

  // 1P holds Space (its action) while 2P taps Keypad 0: the tap's release, with Space held,
  // does not let go of 1P's action, as with Ctrl.
  events({KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_SPACE), KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_KP_0)});
  EXPECT_EQ(next().actionButton[0], 1);
  EXPECT_EQ(next().actionButton[1], 1);
  ticks(1);
  events({KeyEvent(SDL_KEYUP, SDL_SCANCODE_KP_0)});
  EXPECT_EQ(next().actionButton[1], 0);
  EXPECT_NE(next().actionButton[0], 0);
  events({KeyEvent(SDL_KEYUP, SDL_SCANCODE_SPACE)});
  EXPECT_EQ(next().actionButton[0], 0);
  // Right Shift is 2P's special and not 1P's.
  events({KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_RSHIFT, KMOD_RSHIFT)});
  EXPECT_EQ(next().specialButton[1], 1);
  EXPECT_EQ(next().specialButton[0], 0);
  window.reset();
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

TEST(ControlsCli, PrintControlsPrintsTheFileGivenWithItsProblemsOnStderr) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(::testing::TempDir()) / "kelmora-print-controls";
  fs::create_directories(dir);
  const std::string file = (dir / "c.ini").string();
  std::ofstream(file) << kKeypadFile << "[4P]\naction = x\n";
  const std::string cmd = std::string(KELMORA_BINARY) + " --headless --controls " + file + " --print-controls > " +
                          (dir / "out.ini").string() + " 2> " + (dir / "err.txt").string();
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  auto slurp = [](const fs::path& p) {
    std::ifstream in(p);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  std::vector<std::string> problems;
  Controls want = Parse(kKeypadFile, problems);
  EXPECT_EQ(slurp(dir / "out.ini"), ControlsText(want));
  EXPECT_EQ(slurp(dir / "err.txt"), "kelmora: " + file + ":12: 4P's action takes a button number from 1 to 32, not 'x'; it stays button 1\n");
  fs::remove_all(dir);
}

}  // namespace
}  // namespace kelmora
