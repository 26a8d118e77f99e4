#include "frontend/menu_seat_step.h"

#include "frontend/show_screen.h"
#include "input/controls.h"
#include "input/get_controller.h"
#include "input/seat_pads.h"
#include "match/play/game.h"

namespace kelmora::frontend {

namespace {

constexpr int16_t kModeStep = 160, kSmallestMode = 80, kLargestMode = 400;
constexpr int16_t kRowStep = 100;

}  // namespace

int16_t NextDisplayMode(int16_t mode, int dx) {
  int next = mode + kModeStep * dx;
  if (next > kLargestMode) next = kSmallestMode;
  if (next < kSmallestMode) next = kLargestMode;
  return static_cast<int16_t>(next);
}

// C and B toggle the computer players and the music; a flag is used once per key-down.
void MenuOptionKeys(Game& g, bool cpuToo) {
  auto& st = g.st;
  if (st.cpuKeyPressed == 1 && !cpuToo) st.cpuKeyPressed = 0;
  if (st.cpuKeyPressed == 1) {
    st.cpuKeyPressed = 0;
    st.cpuOption = static_cast<int16_t>(1 - st.cpuOption);
    RedrawMenu(g);
  }
  if (st.musicKeyPressed == 1) {
    st.musicKeyPressed = 0;
    st.musicOn = static_cast<int16_t>(1 - st.musicOn);
    RedrawMenu(g);
  }
}

namespace {

// Every seat reads its pad on every tick. Seats 2 and 3 take their controls from it; on seats
// 0 and 1 it plays beside the keys. Its menu buttons come first: a pad that moves to another
// seat plays there from the next tick.
void ReadJoystick(Game& g, int s) {
  auto& st = g.st;
  const input::SeatPad pad = input::ReadSeatPad(g.joy, g.joyDevice, s);
  if (input::MenuPadButtons(g.joy, g.joyDevice, st, s, pad) >= 0) {
    g.SoundPlay(kSoundCursor);
    return;
  }
  if (s < input::kKeySeats) {
    std::vector<ControlOp> changes;
    input::PadKeyChanges(pad, s, changes);
    for (const ControlOp& op : changes) ApplyControl(st, op);
    return;
  }
  st.stickX[s] = pad.now.x;
  st.stickZ[s] = pad.now.y;
  st.actionButton[s] = static_cast<int16_t>(pad.now.buttons);
  // A centred stick ends the repeat delay, as releasing Left or Right does on the keyboard;
  // a held button keeps it, so the button joins and leaves every 10 ticks like a held key
  // instead of on every tick.
  if (st.stickX[s] == 0 && st.actionButton[s] == 0) st.pushTicks[s] = 0;
}

void Acted(Game& g, int s, int sound) {
  g.SoundPlay(sound);
  RedrawMenu(g);
  g.st.pushTicks[s] = kRepeatTicks;
}

// Seat 0's Left and Right on the display-mode row (80 -> 240 -> 400 -> 80) and the stage
// row (0..5 round), whether or not seat 0 has joined.
void SeatZeroRows(Game& g) {
  auto& st = g.st;
  const int16_t dx = st.stickX[0];
  if (st.menuCursor == kRowDisplayMode && dx != 0) {
    st.displayMode = NextDisplayMode(st.displayMode, dx);
    Acted(g, 0, kSoundCursor);
  }
  if (st.menuCursor == kRowStage && dx != 0) {
    st.stage = static_cast<int16_t>((st.stage + dx + kStages) % kStages);
    Acted(g, 0, kSoundCursor);
  }
}

// Seat 0's Up and Down move its cursor between the rows; the sound plays and the menu is
// redrawn even when the cursor is already at the end.
void SeatZeroCursor(Game& g) {
  auto& st = g.st;
  const int16_t dz = st.stickZ[0];
  if (dz == 0) return;
  int row = st.menuCursor + kRowStep * dz;
  if (row > kRowStage) row = kRowStage;
  if (row < kRowCharacter) row = kRowCharacter;
  st.menuCursor = static_cast<int16_t>(row);
  Acted(g, 0, kSoundCursor);
}

// Left and Right step the seat's character round the nine.
void ChangeCharacter(Game& g, int s) {
  auto& st = g.st;
  const int16_t dx = st.stickX[s];
  if (dx == 0) return;
  st.playerCharacter[s] = static_cast<int16_t>((st.playerCharacter[s] + dx + kCharacters) % kCharacters);
  Acted(g, s, kSoundCursor);
}

}  // namespace

void MenuSeatStep(Game& g, int s) {
  MenuOptionKeys(g, true);
  ReadJoystick(g, s);
  MenuSeatChoices(g, s);
}

void MenuSeatChoices(Game& g, int s) {
  auto& st = g.st;
  if (st.pushTicks[s] == 0) {
    const bool pressed = st.actionButton[s] == 1;
    if (pressed && st.playerCharacter[s] == -1) {
      // A new seat starts on its own number's character: 1P on 0, 2P on 1, ...
      st.playerCharacter[s] = static_cast<int16_t>(s);
      Acted(g, s, kSoundConfirm);
    } else {
      if (pressed) {
        st.playerCharacter[s] = -1;
        Acted(g, s, kSoundCancel);
      }
      if (s == 0) SeatZeroRows(g);
      if (st.playerCharacter[s] != -1) {
        if (s == 0) SeatZeroCursor(g);
        if (s != 0 || (st.menuCursor != kRowDisplayMode && st.menuCursor != kRowStage)) ChangeCharacter(g, s);
      }
    }
  }

  if (st.stickZ[s] == 0 && st.stickX[s] == 0 && st.actionButton[s] == 0) st.pushTicks[s] = 0;
  if (st.pushTicks[s] > 0) --st.pushTicks[s];
}

}  // namespace kelmora::frontend
