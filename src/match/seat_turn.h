#pragma once
// The stages of one seat's turn in a tick, in the order they run; `seat` holds the seat.
namespace kelmora {
struct Game;

// Computer player decision (computer seats only).
void DecideCpu(Game& g);
// Acceleration, sliding and collision of the seat.
void MovePlayer(Game& g);
// Bumps of the seat against the other seats.
void BumpPlayers(Game& g);
// The shovel's action cycle and the special power; ends by posing the seat's model.
void ActionStep(Game& g);

}  // namespace kelmora
