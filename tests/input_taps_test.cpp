// Keys on the real window and short taps: keys are read by their place on the keyboard under
// any layout, every key reaches the key map, and a press shorter than a tick still counts.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "headless_run.h"
#include "input/get_controller.h"
#include "input/key_taps.h"
#include "match/match_state.h"
#include "match/play/run_match.h"
#include "platform/sdl/sdl_window.h"

namespace kelmora {
namespace {

TEST(SdlKeys, ModifierKeysAndTheKeysOfTheMap) {
  using platform::ModifierStateOf;
  using platform::VirtualKeyOf;
  EXPECT_EQ(VirtualKeyOf(SDL_SCANCODE_LCTRL), input::kVkCtrl);
  EXPECT_EQ(VirtualKeyOf(SDL_SCANCODE_RSHIFT), input::kVkShift);
  EXPECT_EQ(VirtualKeyOf(SDL_SCANCODE_W), input::kVkW);
  EXPECT_EQ(VirtualKeyOf(SDL_SCANCODE_KP_ENTER), input::kVkEnter);
  EXPECT_EQ(VirtualKeyOf(SDL_SCANCODE_KP_4), 100);
  EXPECT_EQ(VirtualKeyOf(SDL_SCANCODE_HOME), 36);
  EXPECT_EQ(ModifierStateOf(KMOD_RCTRL), 2);
  EXPECT_EQ(ModifierStateOf(KMOD_LSHIFT | KMOD_NUM | KMOD_CAPS), 1) << "lock keys do not count";
  EXPECT_EQ(ModifierStateOf(KMOD_LCTRL | KMOD_LSHIFT | KMOD_RALT), 7);
}

// The key events the real window hands on.
struct KeyLog final : platform::WindowEvents {
  void Form_KeyDown(int16_t key, int16_t shift) override { downs.push_back({key, shift}); }
  void Form_KeyUp(int16_t key, int16_t shift) override { ups.push_back({key, shift}); }
  void Form_QueryUnload() override {}
  std::vector<std::pair<int16_t, int16_t>> downs, ups;
};

SDL_Event PrintedKeyEvent(Uint32 type, SDL_Scancode code, SDL_Keycode printed, Uint16 mod = KMOD_NONE) {
  SDL_Event e{};
  e.type = type;
  e.key.type = type;
  e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.scancode = code;
  e.key.keysym.sym = printed;
  e.key.keysym.mod = mod;
  return e;
}

TEST(SdlKeys, UnderACyrillicLayoutTheKeysKeepTheirPlacesAndEveryKeyArrives) {
  if (!std::getenv("SDL_VIDEODRIVER")) setenv("SDL_VIDEODRIVER", "offscreen", 1);
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) GTEST_SKIP() << SDL_GetError();
  std::unique_ptr<platform::SdlWindow> window;
  try {
    window = std::make_unique<platform::SdlWindow>("Kelmora");
  } catch (const std::exception& e) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    GTEST_SKIP() << e.what();
  }
  EXPECT_FALSE(SDL_IsTextInputActive()) << "an input method must not take the key presses";
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  // The keys of 2P and the option keys as a Russian layout prints them: ц ф ы в а п с и.
  struct Press { SDL_Scancode code; SDL_Keycode printed; int16_t vk; };
  const Press presses[] = {{SDL_SCANCODE_W, 0x446, input::kVkW}, {SDL_SCANCODE_A, 0x444, input::kVkA},
                           {SDL_SCANCODE_S, 0x44B, input::kVkS}, {SDL_SCANCODE_D, 0x432, input::kVkD},
                           {SDL_SCANCODE_F, 0x430, input::kVkF}, {SDL_SCANCODE_G, 0x43F, input::kVkG},
                           {SDL_SCANCODE_C, 0x441, input::kVkC}, {SDL_SCANCODE_B, 0x438, input::kVkB}};
  for (const Press& p : presses) {
    SDL_Event down = PrintedKeyEvent(SDL_KEYDOWN, p.code, p.printed), up = PrintedKeyEvent(SDL_KEYUP, p.code, p.printed);
    SDL_PushEvent(&down);
    SDL_PushEvent(&up);
  }
  // Keys the game has no use for still arrive, so the "any key" rules see them: Ctrl held.
  SDL_Event home = PrintedKeyEvent(SDL_KEYDOWN, SDL_SCANCODE_HOME, SDLK_HOME, KMOD_LCTRL);
  SDL_Event pad = PrintedKeyEvent(SDL_KEYUP, SDL_SCANCODE_KP_5, SDLK_KP_5);
  SDL_Event odd = PrintedKeyEvent(SDL_KEYDOWN, SDL_SCANCODE_INTERNATIONAL1, 0x5C);
  SDL_PushEvent(&home);
  SDL_PushEvent(&pad);
  SDL_PushEvent(&odd);
  KeyLog log;
  window->DoEvents(log);
  ASSERT_EQ(log.downs.size(), std::size(presses) + 2);
  ASSERT_EQ(log.ups.size(), std::size(presses) + 1);
  for (size_t i = 0; i < std::size(presses); ++i) {
    EXPECT_EQ(log.downs[i].first, presses[i].vk) << "key " << i;
    EXPECT_EQ(log.ups[i].first, presses[i].vk) << "key " << i;
  }
  EXPECT_EQ(log.downs[8], (std::pair<int16_t, int16_t>{36, 2}));
  EXPECT_EQ(log.ups[8].first, 101);
  EXPECT_EQ(log.downs[9].first, platform::kOtherKey);
  window.reset();
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

// Short taps, on the key map with a tick count of our own.
struct Taps {
  MatchState st;
  input::KeyTaps taps;
  int64_t pass = 0;
  void Down(int16_t key, int16_t shift = 0) { taps.KeyDown(st, key, shift, pass); }
  void Up(int16_t key, int16_t shift = 0) { taps.KeyUp(st, key, shift, pass); }
  void Tick() { taps.Release(st, ++pass); }
};

TEST(ShortTaps, APressAndReleaseWithinOneTickAreSeenByExactlyThatTick) {
  Taps t;
  t.Down(input::kVkF);
  t.Up(input::kVkF);
  EXPECT_EQ(t.st.actionButton[1], 1) << "the next tick sees the press";
  t.Tick();
  EXPECT_EQ(t.st.actionButton[1], 0) << "and the tick after it the release";
  // Seat 0's Ctrl tap: its own release carries no modifier and clears the action only later.
  t.Down(input::kVkCtrl, 2);
  t.Up(input::kVkCtrl, 0);
  EXPECT_EQ(t.st.actionButton[0], 1);
  t.Tick();
  EXPECT_EQ(t.st.actionButton[0], 0);
  // A held key whose press a tick has seen is let go at once.
  t.Down(input::kVkLeft);
  t.Tick();
  t.Up(input::kVkLeft);
  EXPECT_EQ(t.st.stickX[0], 0);
  EXPECT_EQ(t.taps.Waiting(), 0u);
}

TEST(ShortTaps, EventsBehindAHeldReleaseKeepTheirOrderAndEachTapGetsItsOwnTick) {
  Taps t;
  // Left tapped, then Right tapped, then Down pressed: all before one tick.
  t.Down(input::kVkLeft);
  t.Up(input::kVkLeft);
  t.Down(input::kVkRight);
  t.Up(input::kVkRight);
  t.Down(input::kVkDown);
  EXPECT_EQ(t.st.stickX[0], -1);
  EXPECT_EQ(t.st.stickZ[0], 0) << "Down waits behind the held releases";
  t.Tick();  // Left let go; Right pressed, its release waits again, and Down behind it
  EXPECT_EQ(t.st.stickX[0], 1);
  EXPECT_EQ(t.st.stickZ[0], 0);
  t.Tick();
  EXPECT_EQ(t.st.stickX[0], 0);
  EXPECT_EQ(t.st.stickZ[0], 1);
  EXPECT_EQ(t.taps.Waiting(), 0u);
  // Passes without a tick let nothing go.
  t.Down(input::kVkG);
  t.Up(input::kVkG);
  t.taps.Release(t.st, t.pass);
  EXPECT_EQ(t.st.specialButton[1], 1);
}

TEST(ShortTaps, AScriptTapInOneTickPressesForThatTickOfTheMatch) {
  // 1P taps Ctrl in match tick 5: the action is seen by tick 5 and released before tick 6.
  testing::HeadlessRun run("5 key-down 17 2\n5 key-up 17 0\n");
  std::vector<int16_t> seen;
  run.game.afterTick = [&seen](Game& g, int tick) {
    if (tick >= 4 && tick <= 7) seen.push_back(g.st.actionButton[0]);
  };
  run.RunMatch(0, {0, 1, -1, -1});
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0], 0);
  EXPECT_NE(seen[1], 0) << "tick 5 saw the press (and may have used it)";
  EXPECT_EQ(seen[2], 0) << "released after tick 5";
}

}  // namespace
}  // namespace kelmora
