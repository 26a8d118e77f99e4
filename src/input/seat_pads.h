#pragma once
// The pads of the four seats. Slot 0 plays 3P and slot 1 4P as they always have; slots 2 and 3
// bring pads to the keyboard seats, 2P and then 1P, where a pad plays beside the seat's keys:
// whichever of the two moved last steers, as with two keys of one axis, and a pad that is idle
// or absent leaves the keys exactly as they are. In the menu a pad also has the program's
// choices (computer players, music) and can take another seat before it joins.
#include <cstdint>
#include <vector>

#include "input/get_controller.h"

namespace kelmora {
struct MatchState;
struct ControlOp;
struct TickEvents;
}  // namespace kelmora

namespace kelmora::input {

// A pad's buttons as read (button 1 is bit 0) that the menu gives a meaning of their own: the
// left face button toggles the computer players (the C key), the top one the music (B), and
// the shoulders move a pad that has not joined to the previous or next seat.
constexpr int32_t kPadCpuButton = 1 << 2, kPadMusicButton = 1 << 3;
constexpr int32_t kPadSeatDown = 1 << 4, kPadSeatUp = 1 << 5;
// How long a bump or a delivery rumbles, in milliseconds.
constexpr int kRumbleMs = 100;

// The slot whose pad plays `seat`.
int SlotOfSeat(const Joysticks& joy, int seat);

// A seat's pad read for this tick: what it reads now, and what the seat took from it before.
struct SeatPad {
  int slot = 0;
  PadSample before, now;
};
SeatPad ReadSeatPad(Joysticks& joy, platform::JoystickDevice& device, int seat);

// What a pad does to a keyboard seat (1P, 2P) beside its keys, as key-map changes: a held
// direction is set on every tick (as a held key repeats), a direction let go is let go; a held
// button 1 presses the action and button 2 the special (each set only from 0, as keys do), and
// letting go releases them.
void PadKeyChanges(const SeatPad& pad, int seat, std::vector<ControlOp>& out);

// A pad's buttons for the computer players and the music: they set the flags the C and B keys
// set, once per press.
void MenuPadKeys(MatchState& st, const SeatPad& pad);

// The menu's own pad buttons for `seat`'s pad (computer players, music; kPad* above): sets the
// key flags the C and B keys set, once per press. Returns the seat the pad moved to when a
// shoulder moved it (a pad that has not joined trades places with the next seat in that
// direction that has not joined either), else -1.
int MenuPadButtons(Joysticks& joy, platform::JoystickDevice& device, MatchState& st, int seat, const SeatPad& pad);

// After a tick of a match: the pads of the seats played by hand that bumped into another
// player (the bump sound) or delivered a pile (a score that rose) rumble briefly.
void FeelTick(Joysticks& joy, platform::JoystickDevice& device, const MatchState& st, const TickEvents& events);

}  // namespace kelmora::input
