// Pads over SDL's game controller API, on SDL's virtual devices: the buttons and sticks as the
// seats read them, a mapping given in SDL_GAMECONTROLLERCONFIG, pads connected and unplugged
// while the program runs, and a match of four seats with two pads.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>

#include "input/get_controller.h"
#include "joystick_reading.h"
#include "match/play/game.h"
#include "platform/headless/headless_window.h"
#include "platform/sdl/sdl_joysticks.h"
#include "shell/backends.h"
#include "shell/main_window.h"
#include "shell/options.h"
#include "resources/sprite_sheets.h"

namespace kelmora {
namespace {

using testing::Read;
using testing::Reading;

// A virtual device that the test moves; it stays plugged in until Unplug.
class VirtualDevice {
 public:
  // A pad SDL knows (its mapping: a:b0, b:b1, x:b2, y:b3, back:b4, start:b6, shoulders b9
  // and b10, the D-pad b11..b14; left stick a0/a1, triggers a4/a5), or a device it does not.
  // A pad counts the rumbles it is asked for.
  explicit VirtualDevice(bool pad = true) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.userdata = this;
    desc.Rumble = [](void* self, Uint16, Uint16) {
      ++static_cast<VirtualDevice*>(self)->rumbles;
      return 0;
    };
    const int index = pad ? SDL_JoystickAttachVirtualEx(&desc)
                          : SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 4, 1);
    if (index < 0) return;
    instance_ = SDL_JoystickGetDeviceInstanceID(index);
    stick_ = SDL_JoystickOpen(index);
  }
  ~VirtualDevice() { Unplug(); }
  VirtualDevice(const VirtualDevice&) = delete;
  VirtualDevice& operator=(const VirtualDevice&) = delete;

  bool ok() const { return stick_ != nullptr; }
  // SDL's player index of the device: the seat its player lights show.
  int lights() const { return SDL_JoystickGetPlayerIndex(stick_); }
  int rumbles = 0;
  void Axis(int axis, int16_t v) { SDL_JoystickSetVirtualAxis(stick_, axis, v); }
  void Button(int button, bool down) { SDL_JoystickSetVirtualButton(stick_, button, down ? 1 : 0); }
  void Hat(uint8_t hat) { SDL_JoystickSetVirtualHat(stick_, 0, hat); }
  void Release() {
    for (int a = 0; a < SDL_JoystickNumAxes(stick_); ++a) Axis(a, 0);
    if (SDL_JoystickNumAxes(stick_) == SDL_CONTROLLER_AXIS_MAX) {  // triggers let go
      Axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, -32768);
      Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
    }
    for (int b = 0; b < SDL_JoystickNumButtons(stick_); ++b) Button(b, false);
  }
  void Unplug() {
    if (!stick_) return;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      if (SDL_JoystickGetDeviceInstanceID(i) == instance_) SDL_JoystickDetachVirtual(i);
    }
    SDL_JoystickClose(stick_);
    stick_ = nullptr;
  }

 private:
  SDL_JoystickID instance_ = -1;
  SDL_Joystick* stick_ = nullptr;
};

class Pads : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetPadHints();
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0) GTEST_SKIP() << SDL_GetError();
  }
  void TearDown() override { SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER); }
  // The virtual devices' new values reach SDL's state (the window's event pump does this in the game).
  static void Update() { SDL_JoystickUpdate(); }
};

TEST_F(Pads, FaceButtonsShouldersTriggersAndBothWaysOfSteering) {
  VirtualDevice pad;
  ASSERT_TRUE(pad.ok()) << SDL_GetError();
  platform::SdlJoysticks dev;
  input::Joysticks joy;
  input::JoystickInit(joy, dev, 16384);
  ASSERT_EQ(joy.joyId, 0);
  const std::pair<SDL_GameControllerButton, int32_t> buttons[] = {
      {SDL_CONTROLLER_BUTTON_A, 1},           {SDL_CONTROLLER_BUTTON_B, 2},
      {SDL_CONTROLLER_BUTTON_X, 4},           {SDL_CONTROLLER_BUTTON_Y, 8},
      {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 16}, {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 32},
      {SDL_CONTROLLER_BUTTON_LEFTSTICK, 256}, {SDL_CONTROLLER_BUTTON_RIGHTSTICK, 512},
      // Start and Back are keys, not buttons of the seat; the D-pad steers.
      {SDL_CONTROLLER_BUTTON_START, 0},       {SDL_CONTROLLER_BUTTON_BACK, 0},
      {SDL_CONTROLLER_BUTTON_GUIDE, 0},
  };
  for (auto [button, bits] : buttons) {
    pad.Release();
    pad.Button(button, true);
    Update();
    EXPECT_EQ(Read(joy, dev, 0).buttons, bits) << "SDL button " << button;
  }
  pad.Release();
  // A trigger's axis runs over the whole range, let go at -32768.
  pad.Axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, -1000);
  pad.Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 1000);
  Update();
  EXPECT_EQ(Read(joy, dev, 0).buttons, 128) << "a trigger counts past half way";

  pad.Release();
  pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 20000);
  pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, -20000);
  pad.Axis(SDL_CONTROLLER_AXIS_RIGHTX, -32768);  // the right stick does not steer
  Update();
  EXPECT_EQ(Read(joy, dev, 0), (Reading{1, -1, 0}));
  pad.Release();
  pad.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
  pad.Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
  pad.Button(SDL_CONTROLLER_BUTTON_A, true);
  Update();
  EXPECT_EQ(Read(joy, dev, 0), (Reading{-1, 1, 1}));
}

TEST_F(Pads, AMappingInTheEnvironmentMakesAnUnknownDeviceAPad) {
  // A mapping that puts south on the device's fourth button and the stick's axes the other
  // way round.
  char guid[33];
  {
    VirtualDevice probe(false);
    ASSERT_TRUE(probe.ok());
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(0), guid, sizeof guid);
    for (int i = 4; i < 8; ++i) guid[i] = '0';  // mappings leave out the checksum of the name
  }
  // SDL reads the mappings when its joystick part starts.
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
  if (SDL_WasInit(SDL_INIT_JOYSTICK)) GTEST_SKIP() << "SDL's joystick part is held elsewhere";
  setenv("SDL_GAMECONTROLLERCONFIG", (std::string(guid) + ",Table pad,a:b3,b:b0,leftx:a1,lefty:a0,").c_str(), 1);
  const int started = SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
  unsetenv("SDL_GAMECONTROLLERCONFIG");
  ASSERT_EQ(started, 0) << SDL_GetError();
  VirtualDevice mapped(false);
  platform::SdlJoysticks dev;
  input::Joysticks joy;
  input::JoystickInit(joy, dev, 16384);
  mapped.Axis(1, 20000);
  mapped.Button(3, true);
  Update();
  EXPECT_EQ(Read(joy, dev, 0), (Reading{1, 0, 1}));
  mapped.Button(3, false);
  mapped.Button(0, true);
  mapped.Hat(SDL_HAT_UP);  // not in the mapping
  Update();
  EXPECT_EQ(Read(joy, dev, 0), (Reading{1, 0, 2}));
}

TEST_F(Pads, PadsConnectedLaterTakeTheFirstFreeSeatAndAnUnpluggedSeatReadsIdle) {
  platform::SdlJoysticks dev;
  input::Joysticks joy;
  input::JoystickInit(joy, dev, 16384);
  EXPECT_EQ(joy.joyId, -1);
  EXPECT_EQ(Read(joy, dev, 0), (Reading{0, 0, 0}));

  // Seat 2 first; a stick a little off centre must not steer a pad that came later.
  VirtualDevice a;
  a.Axis(SDL_CONTROLLER_AXIS_LEFTX, 6000);
  a.Button(SDL_CONTROLLER_BUTTON_A, true);
  Update();
  EXPECT_EQ(Read(joy, dev, 0), (Reading{0, 0, 1}));
  EXPECT_EQ(Read(joy, dev, 1), (Reading{0, 0, 0}));
  VirtualDevice b;
  b.Button(SDL_CONTROLLER_BUTTON_B, true);
  Update();
  EXPECT_EQ(Read(joy, dev, 1), (Reading{0, 0, 2})) << "then seat 3";

  a.Unplug();
  Update();
  EXPECT_EQ(Read(joy, dev, 0), (Reading{0, 0, 0}));
  EXPECT_EQ(Read(joy, dev, 1), (Reading{0, 0, 2})) << "the other seat plays on";
  VirtualDevice c;
  c.Axis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
  Update();
  EXPECT_EQ(Read(joy, dev, 0), (Reading{-1, 0, 0})) << "the next pad takes the free seat";

  // Then the keyboard seats' slots, 2P's and 1P's. A pad that came while all four were taken
  // waits: it does not take a slot freed later.
  VirtualDevice third, fourth;
  third.Button(SDL_CONTROLLER_BUTTON_Y, true);
  fourth.Button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true);
  Update();
  EXPECT_EQ(Read(joy, dev, 2), (Reading{0, 0, 8}));
  EXPECT_EQ(Read(joy, dev, 3), (Reading{0, 0, 16}));
  VirtualDevice waiting;
  waiting.Button(SDL_CONTROLLER_BUTTON_A, true);
  Update();
  EXPECT_EQ(Read(joy, dev, 1), (Reading{0, 0, 2}));  // the slots are read on every tick
  b.Unplug();
  Update();
  EXPECT_EQ(Read(joy, dev, 1), (Reading{0, 0, 0}));
  VirtualDevice d;
  d.Button(SDL_CONTROLLER_BUTTON_X, true);
  Update();
  EXPECT_EQ(Read(joy, dev, 1), (Reading{0, 0, 4}));
  EXPECT_EQ(Read(joy, dev, 0), (Reading{-1, 0, 0}));
}

// A match of four seats: seats 0 and 1 computer players, seats 2 and 3 on two pads that the
// test moves after each tick. The pad of seat 2 is pulled out half way and another put in.
TEST_F(Pads, AFourSeatMatchWithTwoPadsOneUnpluggedAndReplaced) {
  Options options;
  Backends b = MakeHeadlessBackends(options, {});
  auto headlessJoysticks = std::move(b.joysticks);  // the headless window keeps a reference
  b.joysticks = std::make_unique<platform::SdlJoysticks>();
  auto first = std::make_unique<VirtualDevice>();
  VirtualDevice second;
  ASSERT_TRUE(first->ok() && second.ok()) << SDL_GetError();
  std::unique_ptr<VirtualDevice> replacement;

  Game g(*b.clock, *b.window, *b.screen, *b.scene, *b.snd, *b.music, *b.joysticks);
  g.programFolder = KELMORA_BUILD_DIR;
  const resources::SpriteSheets sheets;
  g.view.menuSheet = sheets.menu;
  g.view.characterSheet = sheets.character;
  MainWindow form(g);

  constexpr int kUnplug = 600, kReplace = 800;
  double leftAt = 0, rightAt = 0;
  int failures = 0;
  auto check = [&failures](bool ok, int tick, const char* what) {
    if (!ok && failures++ < 5) ADD_FAILURE() << "tick " << tick << ": " << what;
  };
  g.afterTick = [&](Game& game, int tick) {
    const auto& st = game.st;
    // What the pads held since the last tick has been read by this one.
    if (tick > 210 && tick < kUnplug) {
      check(st.stickX[2] == 1 && st.stickZ[3] == -1, tick, "seat 2 steers right, seat 3 up");
    }
    if (tick == 400) check(st.actionButton[2] == 1, tick, "seat 2's action");
    if (tick > kUnplug && tick <= kReplace) {
      check(st.stickX[2] == 0 && st.actionButton[2] == 0, tick, "seat 2 idle while unplugged");
    }
    if (tick == kUnplug) rightAt = st.posX[2];
    if (tick > kReplace + 1 && tick < 1600) check(st.stickX[2] == -1, tick, "seat 2 steers left again");
    if (tick == 1000) leftAt = st.posX[2];

    // The pads for the next tick.
    if (first) {
      first->Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
      first->Button(SDL_CONTROLLER_BUTTON_A, tick == 399);
    }
    second.Button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    if (tick == kUnplug) first.reset();
    if (tick == kReplace) {
      replacement = std::make_unique<VirtualDevice>();
      replacement->Axis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
    }
    Update();
  };

  ASSERT_TRUE(form.Form_Load());
  g.st.stage = 1;
  g.st.playerCharacter = {0, 1, 2, 3};
  g.st.isCpu = {1, 1, 0, 0};
  b.headlessWindow->SetTickOrigin(g.TickNow());
  b.headlessWindow->SetGrace(false);
  EXPECT_EQ(form.RunScreens(NextScreen::Match, true), 0);
  EXPECT_GE(g.matchTicks, 1700) << "the whole match was played";
  EXPECT_GT(rightAt, -300) << "seat 2 went right from its start";
  EXPECT_LT(leftAt, rightAt) << "and left again on the new pad";
}

// Three pads: the third plays 2P beside its keys. It steers 2P down and is pulled out while
// held, which leaves 2P standing; the D key still steers 2P; a new pad takes 2P's slot and
// steers it. Every pad's lights show its seat, and a rumble reaches the pad of its slot.
TEST_F(Pads, APadOnAKeyboardSeatPlaysBesideTheKeysThroughHotPlug) {
  Options options;
  Backends b = MakeHeadlessBackends(options, platform::ParseScript("400 key-down 68 0\n450 key-up 68 0\n", "keys"));
  auto headlessJoysticks = std::move(b.joysticks);  // the headless window keeps a reference
  auto sdl = std::make_unique<platform::SdlJoysticks>();
  platform::SdlJoysticks& dev = *sdl;
  b.joysticks = std::move(sdl);
  VirtualDevice first, second;
  auto third = std::make_unique<VirtualDevice>();
  ASSERT_TRUE(first.ok() && second.ok() && third->ok()) << SDL_GetError();
  std::unique_ptr<VirtualDevice> replacement;

  Game g(*b.clock, *b.window, *b.screen, *b.scene, *b.snd, *b.music, *b.joysticks);
  g.programFolder = KELMORA_BUILD_DIR;
  const resources::SpriteSheets sheets;
  g.view.menuSheet = sheets.menu;
  g.view.characterSheet = sheets.character;
  MainWindow form(g);

  constexpr int kUnplug = 300, kReplace = 600;
  std::vector<std::pair<int16_t, int16_t>> sticks(1, {0, 0});  // 2P's stick after each tick
  g.afterTick = [&](Game& game, int tick) {
    sticks.emplace_back(game.st.stickX[1], game.st.stickZ[1]);
    if (third) third->Axis(SDL_CONTROLLER_AXIS_LEFTY, 32767);
    if (tick == kUnplug) third.reset();
    if (tick == kReplace) {
      replacement = std::make_unique<VirtualDevice>();
      replacement->Axis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
    }
    Update();
  };
  ASSERT_TRUE(form.Form_Load());
  EXPECT_EQ(first.lights(), 2) << "3P";
  EXPECT_EQ(second.lights(), 3) << "4P";
  EXPECT_EQ(third->lights(), 1) << "2P";
  dev.Rumble(2, 100);
  EXPECT_EQ(third->rumbles, 1);
  EXPECT_EQ(first.rumbles + second.rumbles, 0);

  g.st.stage = 1;
  g.st.playerCharacter = {0, 1, 2, 3};
  g.st.isCpu = {1, 0, 1, 1};
  b.headlessWindow->SetTickOrigin(g.TickNow());
  b.headlessWindow->SetGrace(false);
  EXPECT_EQ(form.RunScreens(NextScreen::Match, true), 0);
  ASSERT_GT(sticks.size(), size_t{kReplace + 10});
  using Stick = std::pair<int16_t, int16_t>;
  EXPECT_EQ(sticks[kUnplug - 10], (Stick{0, 1})) << "the pad steers 2P down";
  EXPECT_EQ(sticks[kUnplug + 1], (Stick{0, 0})) << "pulled out while held: 2P stands";
  EXPECT_EQ(sticks[420], (Stick{1, 0})) << "the D key";
  EXPECT_EQ(sticks[500], (Stick{0, 0}));
  EXPECT_EQ(sticks[kReplace + 2], (Stick{-1, 0})) << "the new pad takes 2P";
  EXPECT_EQ(replacement->lights(), 1);
}

}  // namespace
}  // namespace kelmora
