#pragma once
// One seat's controls for one tick, as peers exchange them: the key map's changes to the seat
// in order, the pad reading of a pad seat, and whether a computer takes the seat over.
#include <array>
#include <cstdint>

#include "match/seat_controls.h"

namespace kelmora::net {

// More key changes than this in one tick (20 ms) are beyond any hand: the rest are dropped.
constexpr int kMaxOpsPerSeat = 24;

struct SeatInput {
  uint8_t count = 0;
  std::array<ControlOp, kMaxOpsPerSeat> ops{};
  bool hasPad = false;
  PadReading pad;
  bool computer = false;  // from this tick on a computer plays the seat

  bool Add(const ControlOp& op) {
    if (count >= kMaxOpsPerSeat) return false;
    ops[count++] = op;
    return true;
  }
  friend bool operator==(const SeatInput& a, const SeatInput& b) {
    if (a.count != b.count || a.hasPad != b.hasPad || a.computer != b.computer) return false;
    for (int i = 0; i < a.count; ++i) {
      if (a.ops[i].kind != b.ops[i].kind || a.ops[i].seat != b.ops[i].seat || a.ops[i].value != b.ops[i].value) {
        return false;
      }
    }
    return !a.hasPad || (a.pad.x == b.pad.x && a.pad.z == b.pad.z && a.pad.buttons == b.pad.buttons);
  }
};

using TickInput = std::array<SeatInput, kSeats>;

// The tick's controls from every seat's input, in seat order (changes to different seats
// do not depend on each other's order).
SeatControls ControlsOf(const TickInput& in);

}  // namespace kelmora::net
