#pragma once
// The seats' controls of one tick: what the players did with keys and pads since the tick
// before, handed to the tick, which applies them at its start. The key map turns each key
// event into the changes it makes to a seat (a direction set or let go, a button pressed or
// let go); the pads are read once, as the seat's turn would read them.
#include <array>
#include <cstdint>
#include <vector>

#include "match/match_state.h"

namespace kelmora {

enum class ControlKind : uint8_t {
  StickX,          // the stick's x becomes `value`
  StickZ,          // the stick's z becomes `value`
  LetGoX,          // the x direction `value` is let go: the stick's x goes to 0 if it held it
  LetGoZ,          // the same for z
  PressAction,     // the action button goes down (a press that is still unused stays one)
  ReleaseAction,   // the action button comes up
  PressSpecial,
  ReleaseSpecial,
  ComputerPlays,   // from this tick on a computer plays the seat (its player left the session)
};

struct ControlOp {
  ControlKind kind;
  int8_t seat;
  int16_t value = 0;
};

// A pad's reading for a seat that plays with one: the stick (-1, 0, 1 on each axis) and the
// button mask as the controls read it.
struct PadReading {
  bool read = false;
  int16_t x = 0, z = 0;
  int32_t buttons = 0;
};

struct SeatControls {
  std::vector<ControlOp> keys;          // in the order the keys came
  std::array<PadReading, kSeats> pads;  // the seats that read a pad in this tick
  void Clear() {
    keys.clear();
    pads = {};
  }
};

// Applies one key change to its seat as the key map defines it.
void ApplyControl(MatchState& st, const ControlOp& op);
// A pad seat's reading, taken at the start of the seat's turn.
void ApplyPad(MatchState& st, int seat, const PadReading& pad);

}  // namespace kelmora
