// The devices around the real window: no display to show it on, a pad's Start and Back, and a
// match in a window that is minimised, hidden or loses the focus.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "audio/dx7_snd_support.h"
#include "audio/music.h"
#include "command_support.h"
#include "match/play/game.h"
#include "platform/clock.h"
#include "platform/headless/recording_audio.h"
#include "platform/screen.h"
#include "platform/sdl/sdl_joysticks.h"
#include "platform/sdl/sdl_window.h"
#include "resources/sprite_sheets.h"
#include "scene/scene.h"
#include "shell/main_window.h"

namespace kelmora {
namespace {

namespace fs = std::filesystem;

// A display number that no X server on this machine answers to (others may run virtual ones).
std::string FreeDisplay() {
  for (int n = 190; n < 290; ++n) {
    const std::string x = std::to_string(n);
    if (!fs::exists("/tmp/.X11-unix/X" + x) && !fs::exists("/tmp/.X" + x + "-lock")) return ":" + x;
  }
  return ":289";
}

TEST(NoDisplay, OneLineThatSaysSoAndStatusOne) {
  // A machine with a graphics card could show the window on the console instead.
  if (fs::exists("/dev/dri")) GTEST_SKIP() << "a console display may be there";
  const fs::path runtime = fs::temp_directory_path() / ("kelmora-nodisplay-" + std::to_string(getpid()));
  fs::create_directories(runtime);
  const std::string env = "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER XDG_RUNTIME_DIR=" + runtime.string() +
                          " SDL_AUDIODRIVER=dummy ";
  const std::string program = std::string(" timeout 10 ") + KELMORA_BUILD_DIR + "/kelmora 2>&1";
  const struct {
    std::string env, why;
  } cases[] = {
      {"", "neither DISPLAY nor WAYLAND_DISPLAY is set"},
      {"DISPLAY=" + FreeDisplay(), "the display named in the environment cannot be opened"},
      {"SDL_VIDEODRIVER=x11", "x11 not available"},
  };
  for (const auto& c : cases) {
    const auto r = testing::RunCommand(env + c.env + program);
    EXPECT_EQ(r.status, 1) << c.env;
    EXPECT_EQ(r.out, "kelmora: no display to show the window on (" + c.why +
                         "); kelmora --headless plays without one\n")
        << c.env;
  }
  fs::remove_all(runtime);
}

// The key events the real window hands on.
struct WindowLog final : platform::WindowEvents {
  void Form_KeyDown(int16_t key, int16_t shift) override { downs.push_back({key, shift}); }
  void Form_KeyUp(int16_t key, int16_t shift) override { ups.push_back({key, shift}); }
  void Form_QueryUnload() override { ++closes; }
  std::vector<std::pair<int16_t, int16_t>> downs, ups;
  int closes = 0;
};

// The real window on SDL's offscreen driver, with joysticks and pads; a virtual pad.
class WindowWithPad : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("SDL_VIDEODRIVER")) setenv("SDL_VIDEODRIVER", "offscreen", 1);
    platform::SetPadHints();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0) {
      GTEST_SKIP() << SDL_GetError();
    }
    try {
      window = std::make_unique<platform::SdlWindow>("Kelmora");
    } catch (const std::exception& e) {
      GTEST_SKIP() << e.what();
    }
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                                SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    instance = SDL_JoystickGetDeviceInstanceID(index);
    pad = SDL_JoystickOpen(index);
    joysticks = std::make_unique<platform::SdlJoysticks>();
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }
  void TearDown() override {
    joysticks.reset();
    if (pad) {
      SDL_JoystickClose(pad);
      for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == instance) SDL_JoystickDetachVirtual(i);
      }
    }
    window.reset();
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
  }
  void Press(SDL_GameControllerButton b, bool down) {
    SDL_JoystickSetVirtualButton(pad, b, down ? 1 : 0);
    SDL_JoystickUpdate();
  }
  static void PushWindowEvent(SDL_Window* w, SDL_WindowEventID what) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = SDL_GetWindowID(w);
    e.window.event = what;
    SDL_PushEvent(&e);
  }

  std::unique_ptr<platform::SdlWindow> window;
  std::unique_ptr<platform::SdlJoysticks> joysticks;
  SDL_Joystick* pad = nullptr;
  SDL_JoystickID instance = -1;
};

// Start and Back reach the program under codes of their own (Enter and Esc outside a match,
// the main window decides).
TEST_F(WindowWithPad, StartIsEnterAndBackIsEscAndTheOtherButtonsAreNoKeys) {
  WindowLog log;
  Press(SDL_CONTROLLER_BUTTON_A, true);
  Press(SDL_CONTROLLER_BUTTON_START, true);
  Press(SDL_CONTROLLER_BUTTON_START, false);
  Press(SDL_CONTROLLER_BUTTON_BACK, true);
  Press(SDL_CONTROLLER_BUTTON_BACK, false);
  Press(SDL_CONTROLLER_BUTTON_A, false);
  window->DoEvents(log);
  using Key = std::pair<int16_t, int16_t>;
  const Key start{platform::kPadStartKey, 0}, back{platform::kPadBackKey, 0};
  EXPECT_EQ(log.downs, (std::vector<Key>{start, back}));
  EXPECT_EQ(log.ups, (std::vector<Key>{start, back}));
  // The keyboard's modifiers stay as they are: releasing Start while 1P holds Ctrl must not
  // read as a release of 1P's action.
  SDL_SetModState(KMOD_LCTRL);
  Press(SDL_CONTROLLER_BUTTON_START, true);
  Press(SDL_CONTROLLER_BUTTON_START, false);
  window->DoEvents(log);
  SDL_SetModState(KMOD_NONE);
  EXPECT_EQ(log.downs.back(), (Key{platform::kPadStartKey, platform::kCtrlMask}));
  EXPECT_EQ(log.ups.back(), (Key{platform::kPadStartKey, platform::kCtrlMask}));
}

// A match in the real window at its real pace, ended by a close request after 40 ticks. On the
// way the window is minimised, hidden, loses the focus and comes back; seat 2's pad is held
// right all the while.
TEST_F(WindowWithPad, MinimisedHiddenOrWithoutFocusTheMatchGoesOnAndThePadStillSteers) {
  platform::SdlClock clock;
  platform::Screen screen;
  scene::Scene scene;
  platform::HeadlessSoundDevice soundDevice(clock);
  platform::HeadlessMusicDevice musicDevice(clock);
  audio::Dx7DSndSupport snd(soundDevice, *window);
  audio::Music music(musicDevice);
  Game g(clock, *window, screen, scene, snd, music, *joysticks);
  g.programFolder = KELMORA_BUILD_DIR;
  const resources::SpriteSheets sheets;
  g.view.menuSheet = sheets.menu;
  g.view.characterSheet = sheets.character;
  MainWindow form(g);

  SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, 32767);
  SDL_JoystickUpdate();
  std::vector<int> ticks;
  int steered = 0;
  g.afterTick = [&](Game& game, int tick) {
    ticks.push_back(tick);
    if (game.st.stickX[2] == 1) ++steered;
    SDL_Window* w = window->handle();
    if (tick == 5) PushWindowEvent(w, SDL_WINDOWEVENT_MINIMIZED);
    if (tick == 10) PushWindowEvent(w, SDL_WINDOWEVENT_FOCUS_LOST);
    if (tick == 15) PushWindowEvent(w, SDL_WINDOWEVENT_HIDDEN);
    if (tick == 25) {
      PushWindowEvent(w, SDL_WINDOWEVENT_SHOWN);
      PushWindowEvent(w, SDL_WINDOWEVENT_RESTORED);
      PushWindowEvent(w, SDL_WINDOWEVENT_FOCUS_GAINED);
    }
    if (tick == 40) {
      SDL_Event quit{};
      quit.type = SDL_QUIT;
      SDL_PushEvent(&quit);
    }
  };
  ASSERT_TRUE(form.Form_Load());
  g.st.stage = 1;
  g.st.playerCharacter = {0, -1, 2, -1};
  g.st.isCpu = {1, 0, 0, 0};
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(form.RunScreens(NextScreen::Match, true), 0);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  EXPECT_TRUE(g.closing) << "the close request ended the run";
  ASSERT_GE(ticks.size(), 40u);
  for (size_t i = 0; i < ticks.size(); ++i) ASSERT_EQ(ticks[i], static_cast<int>(i) + 1) << "no tick lost";
  EXPECT_EQ(steered, static_cast<int>(ticks.size())) << "the pad is read with the window out of sight";
  EXPECT_LT(seconds, 10.0) << "40 ticks of 20 ms";
}

}  // namespace
}  // namespace kelmora
