#include "input/seat_pads.h"

#include "input/controls.h"
#include "match/match_state.h"
#include "match/reach.h"
#include "match/seat_controls.h"
#include "match/tick_events.h"

namespace kelmora::input {

namespace {

constexpr int kBumpSound = 12;
// A bump leaves the two players this close at the end of the tick: the bump's reach (45), and
// what the other player may still have walked in its own turn.
constexpr double kBumpedReach = 60;

// Sets the flag the C or B key sets, on the press of its pad button.
void PadKeyFlag(int16_t& flag, const SeatPad& pad, int32_t button) {
  if ((pad.now.buttons & button) && !(pad.before.buttons & button)) flag = 1;
}

// Lets go of everything the slot's pad held on a keyboard seat it leaves.
void LeaveKeyboardSeat(const Joysticks& joy, MatchState& st, int slot, int seat) {
  if (seat >= kKeySeats) return;
  std::vector<ControlOp> ops;
  PadKeyChanges({slot, joy.lastReading[slot], {}}, seat, ops);
  for (const ControlOp& op : ops) ApplyControl(st, op);
}

// The next seat from `seat` in `step`'s direction, round the four, that has not joined.
int FreeSeatFrom(const MatchState& st, int seat, int step) {
  for (int n = 1; n < kSeats; ++n) {
    const int t = (seat + step * n + kSeats) % kSeats;
    if (st.playerCharacter[t] == -1) return t;
  }
  return -1;
}

}  // namespace

int SlotOfSeat(const Joysticks& joy, int seat) {
  for (int slot = 0; slot < platform::kPadSlots; ++slot) {
    if (joy.seatOfSlot[slot] == seat) return slot;
  }
  return -1;
}

SeatPad ReadSeatPad(Joysticks& joy, platform::JoystickDevice& device, int seat) {
  SeatPad pad;
  pad.slot = SlotOfSeat(joy, seat);
  if (pad.slot < 0) return pad;
  joy.joyId = pad.slot;
  JoystickRead(joy, device);
  pad.before = joy.lastReading[pad.slot];
  pad.now = {joy.joyX, joy.joyY, joy.joyButtons};
  joy.lastReading[pad.slot] = pad.now;
  return pad;
}

void PadKeyChanges(const SeatPad& pad, int seat, std::vector<ControlOp>& out) {
  const auto s = static_cast<int8_t>(seat);
  auto axis = [&](int16_t before, int16_t now, ControlKind set, ControlKind letGo) {
    if (now != 0) {
      out.push_back({set, s, now});
    } else if (before != 0) {
      out.push_back({letGo, s, before});
    }
  };
  axis(pad.before.x, pad.now.x, ControlKind::StickX, ControlKind::LetGoX);
  axis(pad.before.y, pad.now.y, ControlKind::StickZ, ControlKind::LetGoZ);
  auto button = [&](int32_t bit, ControlKind press, ControlKind release) {
    if (pad.now.buttons & bit) {
      out.push_back({press, s});
    } else if (pad.before.buttons & bit) {
      out.push_back({release, s});
    }
  };
  button(1, ControlKind::PressAction, ControlKind::ReleaseAction);
  button(2, ControlKind::PressSpecial, ControlKind::ReleaseSpecial);
}

void MenuPadKeys(MatchState& st, const SeatPad& pad) {
  if (pad.slot < 0) return;
  PadKeyFlag(st.cpuKeyPressed, pad, kPadCpuButton);
  PadKeyFlag(st.musicKeyPressed, pad, kPadMusicButton);
}

int MenuPadButtons(Joysticks& joy, platform::JoystickDevice& device, MatchState& st, int seat, const SeatPad& pad) {
  if (pad.slot < 0) return -1;
  MenuPadKeys(st, pad);
  if (st.playerCharacter[seat] != -1) return -1;
  const int32_t pressed = pad.now.buttons & ~pad.before.buttons;
  const int step = (pressed & kPadSeatUp) ? 1 : (pressed & kPadSeatDown) ? -1 : 0;
  if (step == 0) return -1;
  const int to = FreeSeatFrom(st, seat, step);
  if (to < 0) return -1;
  // The two seats trade slots: a pad waiting on the other seat, if any, comes to this one.
  const int other = SlotOfSeat(joy, to);
  LeaveKeyboardSeat(joy, st, pad.slot, seat);
  LeaveKeyboardSeat(joy, st, other, to);
  joy.seatOfSlot[pad.slot] = to;
  joy.seatOfSlot[other] = seat;
  device.ShowSeat(pad.slot, to);
  device.ShowSeat(other, seat);
  return to;
}

void FeelTick(Joysticks& joy, platform::JoystickDevice& device, const MatchState& st, const TickEvents& events) {
  std::array<bool, kSeats> felt{};
  for (const TickEvent& e : events.list) {
    if (e.kind == TickEventKind::Panels) {
      // Scores only rise in a match; a lower one is the next match's start.
      for (int s = 0; s < kSeats; ++s) {
        if (e.score[s] > joy.feltScore[s]) felt[s] = true;
        joy.feltScore[s] = e.score[s];
      }
    }
    if (e.kind == TickEventKind::Sound && e.id == kBumpSound) {
      for (int p = 0; p < kSeats; ++p) {
        for (int q = 0; q < kSeats; ++q) {
          if (q == p || st.playerCharacter[p] == -1 || st.playerCharacter[q] == -1) continue;
          if (Reaches(st.posX[p], st.posZ[p], st.posX[q], st.posZ[q], kBumpedReach)) felt[p] = true;
        }
      }
    }
  }
  for (int s = 0; s < kSeats; ++s) {
    if (!felt[s] || st.playerCharacter[s] == -1 || st.isCpu[s] != 0) continue;
    if (const int slot = SlotOfSeat(joy, s); slot >= 0) device.Rumble(slot, kRumbleMs);
  }
}

}  // namespace kelmora::input
