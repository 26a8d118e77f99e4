#include "net/seat_input.h"

namespace kelmora::net {

SeatControls ControlsOf(const TickInput& in) {
  SeatControls c;
  for (int s = 0; s < kSeats; ++s) {
    const SeatInput& seat = in[s];
    for (int i = 0; i < seat.count; ++i) c.keys.push_back(seat.ops[i]);
    if (seat.computer) c.keys.push_back({ControlKind::ComputerPlays, static_cast<int8_t>(s), 0});
    if (seat.hasPad) {
      c.pads[s] = seat.pad;
      c.pads[s].read = true;
    }
  }
  return c;
}

}  // namespace kelmora::net
