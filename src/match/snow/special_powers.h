#pragma once
// The special powers bought from the gauge, and the objects some of them leave in the arena.
namespace kelmora {
struct Game;

// Purchase, mole hold, timer and the running power of seat `seat` (the seat's turn).
void SpecialStep(Game& g);
// Lifts a stomping pig's model after it was placed on the floor this tick.
void PigLift(Game& g);
// Ages every net and places its frame; runs in every seat's turn.
void UpdateNets(Game& g);

}  // namespace kelmora
