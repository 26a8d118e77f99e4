#include <gtest/gtest.h>

#include "input/get_controller.h"
#include "match/match_state.h"

namespace kelmora {
namespace {

using namespace input;
constexpr int16_t kModNone = 0, kModShift = 1, kModCtrl = 2, kModAlt = 4;

void Down(MatchState& st, int16_t key, int16_t mods = kModNone) { Form_KeyDown(st, key, mods); }
void Up(MatchState& st, int16_t key, int16_t mods = kModNone) { Form_KeyUp(st, key, mods); }

TEST(KeyMap, CtrlAndShiftActForSeatZeroThroughTheModifierState) {
  MatchState st;
  Down(st, kVkCtrl, kModCtrl);
  EXPECT_EQ(st.actionButton[0], 1);
  Down(st, kVkShift, kModCtrl | kModShift);  // both held: neither flag is set by this key
  EXPECT_EQ(st.specialButton[0], 0);
  Up(st, kVkShift, kModCtrl);  // Ctrl still held: nothing is cleared
  EXPECT_EQ(st.actionButton[0], 1);
  Up(st, kVkCtrl, kModNone);
  EXPECT_EQ(st.actionButton[0], 0);

  // Any key that goes down while Shift alone is held counts as the special control.
  Down(st, kVkLeft, kModShift);
  EXPECT_EQ(st.specialButton[0], 1);
  EXPECT_EQ(st.stickX[0], -1);
  // Ctrl with Alt is neither control.
  Down(st, kVkCtrl, kModCtrl | kModAlt);
  EXPECT_EQ(st.actionButton[0], 0);
  // Releasing any key with no modifier held clears both controls at once.
  Up(st, kVkLeft, kModNone);
  EXPECT_EQ(st.specialButton[0], 0);
}

TEST(KeyMap, ShiftHeldFirstKeepsTheActionUnsetWhenCtrlJoins) {
  MatchState st;
  Down(st, kVkShift, kModShift);
  Down(st, kVkCtrl, kModShift | kModCtrl);
  EXPECT_EQ(st.specialButton[0], 1);
  EXPECT_EQ(st.actionButton[0], 0);
  Up(st, kVkCtrl, kModShift);
  EXPECT_EQ(st.specialButton[0], 1);
}

TEST(KeyMap, TheLaterDirectionKeyWinsAndReleasingTheEarlierChangesNothing) {
  MatchState st;
  Down(st, kVkLeft);
  Down(st, kVkRight);
  st.pushTicks[0] = 7;
  Up(st, kVkLeft);
  EXPECT_EQ(st.stickX[0], 1);
  EXPECT_EQ(st.pushTicks[0], 7);
  Up(st, kVkRight);
  EXPECT_EQ(st.stickX[0], 0);
  EXPECT_EQ(st.pushTicks[0], 0);

  Down(st, kVkS);
  Down(st, kVkW);
  st.pushTicks[1] = 4;
  Up(st, kVkS);
  EXPECT_EQ(st.stickZ[1], -1);
  EXPECT_EQ(st.pushTicks[1], 4);
  Up(st, kVkW);
  EXPECT_EQ(st.stickZ[1], 0);
  EXPECT_EQ(st.pushTicks[1], 0);
  // Each seat has its own keys.
  Down(st, kVkDown);
  Down(st, kVkD);
  EXPECT_EQ(st.stickZ[0], 1);
  EXPECT_EQ(st.stickX[1], 1);
  EXPECT_EQ(st.stickX[0], 0);
  EXPECT_EQ(st.stickZ[1], 0);
}

TEST(KeyMap, KeyRepeatNeverTurnsAUsedPressBackIntoAFreshOne) {
  MatchState st;
  Down(st, kVkF);
  EXPECT_EQ(st.actionButton[1], 1);
  st.actionButton[1] = 2;  // the match used the press
  for (int i = 0; i < 5; ++i) Down(st, kVkF);
  EXPECT_EQ(st.actionButton[1], 2);
  st.actionButton[1] = 0;  // the match re-armed it (the stick moved)
  Down(st, kVkF);
  EXPECT_EQ(st.actionButton[1], 1);
  Up(st, kVkF);
  EXPECT_EQ(st.actionButton[1], 0);

  Down(st, kVkCtrl, kModCtrl);
  st.actionButton[0] = 2;
  for (int i = 0; i < 5; ++i) Down(st, kVkCtrl, kModCtrl);
  EXPECT_EQ(st.actionButton[0], 2);

  Down(st, kVkG);
  Down(st, kVkG);
  EXPECT_EQ(st.specialButton[1], 1);
  Up(st, kVkG);
  EXPECT_EQ(st.specialButton[1], 0);
}

TEST(KeyMap, KeysOfComputerSeatsAreIgnoredButSharedKeysStillWork) {
  MatchState st;
  st.isCpu = {1, 1, 0, 0};
  st.stickX[1] = 1;  // what the computer player chose
  st.actionButton[0] = 2;
  for (int16_t key : {kVkW, kVkA, kVkS, kVkD, kVkF, kVkG, kVkLeft, kVkUp, kVkCtrl}) {
    Down(st, key, key == kVkCtrl ? kModCtrl : kModNone);
    Up(st, key, kModNone);
  }
  Down(st, kVkShift, kModShift);
  EXPECT_EQ(st.stickX, (Seat16{0, 1, 0, 0}));
  EXPECT_EQ(st.stickZ, (Seat16{0, 0, 0, 0}));
  EXPECT_EQ(st.actionButton, (Seat16{2, 0, 0, 0}));
  EXPECT_EQ(st.specialButton, (Seat16{0, 0, 0, 0}));

  st.running = -1;
  Down(st, kVkEscape);
  EXPECT_EQ(st.running, 0);
  Down(st, kVkEnter);
  Down(st, kVkC);
  Down(st, kVkB);
  EXPECT_EQ(st.enterPressed, 1);
  EXPECT_EQ(st.cpuKeyPressed, 1);
  EXPECT_EQ(st.musicKeyPressed, 1);
  Up(st, kVkEnter);
  Up(st, kVkC);
  Up(st, kVkB);
  EXPECT_EQ(st.enterPressed, 0);
  EXPECT_EQ(st.cpuKeyPressed, 0);
  EXPECT_EQ(st.musicKeyPressed, 0);
  Up(st, kVkEscape);
  EXPECT_EQ(st.running, 0);  // only its key-down counts
}

}  // namespace
}  // namespace kelmora
