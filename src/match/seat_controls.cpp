#include "match/seat_controls.h"

namespace kelmora {

namespace {

// Sets a press flag only from 0, so that key repeat never turns a used press back into a new one.
void Press(int16_t& flag) {
  if (flag == 0) flag = 1;
}

// Only the direction stored is let go: with both keys of an axis held the later one won.
void LetGo(MatchState& st, Seat16& axis, int seat, int16_t value) {
  if (axis[seat] != value) return;
  axis[seat] = 0;
  st.pushTicks[seat] = 0;
}

}  // namespace

void ApplyControl(MatchState& st, const ControlOp& op) {
  const int s = op.seat;
  if (s < 0 || s >= kSeats) return;
  switch (op.kind) {
    case ControlKind::StickX: st.stickX[s] = op.value; break;
    case ControlKind::StickZ: st.stickZ[s] = op.value; break;
    case ControlKind::LetGoX: LetGo(st, st.stickX, s, op.value); break;
    case ControlKind::LetGoZ: LetGo(st, st.stickZ, s, op.value); break;
    case ControlKind::PressAction: Press(st.actionButton[s]); break;
    case ControlKind::ReleaseAction: st.actionButton[s] = 0; break;
    case ControlKind::PressSpecial: Press(st.specialButton[s]); break;
    case ControlKind::ReleaseSpecial: st.specialButton[s] = 0; break;
    case ControlKind::ComputerPlays:
      st.isCpu[s] = 1;
      st.stickX[s] = st.stickZ[s] = st.actionButton[s] = st.specialButton[s] = 0;
      break;
  }
}

void ApplyPad(MatchState& st, int seat, const PadReading& pad) {
  st.stickX[seat] = pad.x;
  st.stickZ[seat] = pad.z;
  st.actionButton[seat] = static_cast<int16_t>(pad.buttons);
  st.specialButton[seat] = pad.buttons == 2 ? 1 : 0;
}

}  // namespace kelmora
