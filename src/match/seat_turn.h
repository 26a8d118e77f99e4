#pragma once
// The stages of one seat's turn in a tick, in the order they run; `seat` holds the seat.
namespace kelmora {
struct Rules;

// Computer player decision (computer seats only).
void DecideCpu(Rules& r);
// Acceleration, sliding and collision of the seat.
void MovePlayer(Rules& r);
// Bumps of the seat against the other seats.
void BumpPlayers(Rules& r);
// The shovel's action cycle and the special power; ends by posing the seat's model.
void ActionStep(Rules& r);

}  // namespace kelmora
