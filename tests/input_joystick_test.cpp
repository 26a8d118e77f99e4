#include <SDL.h>
#include <gtest/gtest.h>

#include "headless_run.h"
#include "input/get_controller.h"
#include "joystick_reading.h"
#include "match/play/run_match.h"
#include "platform/sdl/sdl_joysticks.h"

namespace kelmora {
namespace {

using platform::HeadlessJoysticks;

using testing::Read;
using testing::Reading;

TEST(Joysticks, AxesTurnAtSixteenThousandInsideTheDevicesRange) {
  HeadlessJoysticks dev;
  dev.Plug(0);
  input::Joysticks joy;
  input::JoystickInit(joy, dev, 16384);
  ASSERT_EQ(joy.joyId, 0);
  EXPECT_EQ(joy.joyLeftBelow, -16384);
  EXPECT_EQ(joy.joyRightAbove, 16383);
  const std::pair<int32_t, int16_t> cases[] = {
      {-32768, -1}, {-16385, -1}, {-16384, 0}, {0, 0}, {16383, 0}, {16384, 1}, {32767, 1}};
  for (auto [raw, want] : cases) {
    dev.Set(0, raw, 0, 0);
    EXPECT_EQ(Read(joy, dev, 0).x, want) << "x " << raw;
    dev.Set(0, 0, raw, 0);
    EXPECT_EQ(Read(joy, dev, 0).y, want) << "y " << raw << " (down is +1)";
  }
  dev.Set(0, 0, 0, 0b1011);
  EXPECT_EQ(Read(joy, dev, 0).buttons, 0b1011);
}

TEST(Joysticks, AJoystickThatDoesNotAnswerReadsIdle) {
  HeadlessJoysticks dev;
  input::Joysticks joy;
  input::JoystickInit(joy, dev, 16384);
  EXPECT_EQ(joy.joyId, -1);
  EXPECT_EQ(Read(joy, dev, 0), (Reading{0, 0, 0}));
  EXPECT_EQ(Read(joy, dev, -1), (Reading{0, 0, 0}));

  // Joystick 0 present, joystick 1 absent: seat 3 stays idle instead of holding up-left.
  dev.Plug(0);
  input::JoystickInit(joy, dev, 16384);
  dev.Set(0, 32767, -32768, 1);
  EXPECT_EQ(Read(joy, dev, 0), (Reading{1, -1, 1}));
  EXPECT_EQ(Read(joy, dev, 1), (Reading{0, 0, 0}));
}

TEST(Joysticks, TheFirstJoystickThatAnswersGivesTheThresholds) {
  HeadlessJoysticks dev;
  dev.Plug(1);
  input::Joysticks joy;
  input::JoystickInit(joy, dev, 16384);
  EXPECT_EQ(joy.joyId, 1);
  dev.Set(1, -20000, 20000, 2);
  EXPECT_EQ(Read(joy, dev, 1), (Reading{-1, 1, 2}));
}

TEST(Joysticks, TheDPadSteersLikeTheStick) {
  platform::JoyPos pos{100, -200, 0, 0};
  platform::ApplyHat(SDL_HAT_CENTERED, platform::kSdlAxisRange, pos);
  EXPECT_EQ(pos.x, 100);
  EXPECT_EQ(pos.y, -200);
  platform::ApplyHat(SDL_HAT_LEFTUP, platform::kSdlAxisRange, pos);
  EXPECT_EQ(pos.x, -32768);
  EXPECT_EQ(pos.y, -32768);
  pos = {};
  platform::ApplyHat(SDL_HAT_RIGHTDOWN, platform::kSdlAxisRange, pos);
  EXPECT_EQ(pos.x, 32767);
  EXPECT_EQ(pos.y, 32767);
}

TEST(Joysticks, SdlStickHatAndButtonsReachTheSeatControls) {
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) GTEST_SKIP() << SDL_GetError();
  // A device that SDL has no pad mapping for reads raw.
  const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 4, 1);
  ASSERT_GE(index, 0) << SDL_GetError();
  {
    platform::SdlJoysticks dev;
    input::Joysticks joy;
    input::JoystickInit(joy, dev, 16384);
    SDL_Joystick* stick = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
    ASSERT_NE(stick, nullptr);
    auto set = [&](int16_t x, int16_t y, uint8_t hat, uint32_t buttons) {
      SDL_JoystickSetVirtualAxis(stick, 0, x);
      SDL_JoystickSetVirtualAxis(stick, 1, y);
      SDL_JoystickSetVirtualHat(stick, 0, hat);
      for (int b = 0; b < 4; ++b) SDL_JoystickSetVirtualButton(stick, b, (buttons >> b) & 1);
      SDL_JoystickUpdate();
    };
    set(20000, -20000, SDL_HAT_CENTERED, 0b01);
    EXPECT_EQ(Read(joy, dev, 0), (Reading{1, -1, 1}));
    set(0, 0, SDL_HAT_LEFTDOWN, 0b10);
    EXPECT_EQ(Read(joy, dev, 0), (Reading{-1, 1, 2}));
    set(10000, 0, SDL_HAT_CENTERED, 0);
    EXPECT_EQ(Read(joy, dev, 0), (Reading{0, 0, 0}));
    SDL_JoystickDetachVirtual(index);
    SDL_JoystickUpdate();
    EXPECT_EQ(Read(joy, dev, 0), (Reading{0, 0, 0})) << "an unplugged joystick reads idle";
  }
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

TEST(Joysticks, InTheMatchButtonTwoAloneIsTheSpecialControlAndAUsedAction) {
  testing::HeadlessRun run;
  ASSERT_TRUE(run.form.Form_Load());
  auto& g = run.game;
  g.st.playerCharacter = {-1, -1, 2, 3};
  SetUpMatch(g);
  auto& joys = static_cast<HeadlessJoysticks&>(*run.backends.joysticks);
  joys.Plug(0);  // joystick 1 stays unplugged
  input::JoystickInit(g.joy, joys, 16384);
  joys.Set(0, 32767, 0, 2);
  for (int t = 1; t <= 210; ++t) MatchTick(g);
  EXPECT_EQ(g.st.stickX[2], 1);
  EXPECT_EQ(g.st.specialButton[2], 1);
  joys.Set(0, 0, 0, 2);  // a held stick re-arms a used action, so read it with the stick centred
  MatchTick(g);
  EXPECT_EQ(g.st.actionButton[2], 2);
  EXPECT_EQ(g.st.stickX[3], 0);
  EXPECT_EQ(g.st.stickZ[3], 0);
  joys.Set(0, 0, 0, 3);  // buttons together: neither control
  MatchTick(g);
  EXPECT_EQ(g.st.specialButton[2], 0);
  EXPECT_EQ(g.st.actionButton[2], 3);
}

}  // namespace
}  // namespace kelmora
