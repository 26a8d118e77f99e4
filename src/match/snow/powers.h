#pragma once
// The special powers bought from the gauge, and the objects some of them leave in the arena.
// Every function works on the seat whose turn runs (`seat`), after its timer was counted down.
namespace kelmora {
struct Game;

// Purchase, mole hold, timer and the running power of seat `seat` (the seat's turn).
void SpecialStep(Game& g);
// Lifts a stomping pig's model after it was placed on the floor this tick.
void PigLift(Game& g);
// Ages every net and places its frame; runs in every seat's turn.
void UpdateNets(Game& g);

// --- Powers that act on the seat itself or its surroundings.
// A pig's landing: every other carrier loses its load.
void PigLanding(Game& g);
// The elephant draws piles lying on the line ahead of it towards itself.
void ElephantSuction(Game& g);
// The mole is out of sight, its marker shows where it burrows.
void MoleBurrow(Game& g);
// The flying squirrel glides forward at 20 units per tick.
void SquirrelGlide(Game& g);
// The mouse's fire burns around it and blows the other seats away.
void MouseFire(Game& g);

// --- Powers that leave an object in the arena.
// The giant bear: the shared wall in obstacle slot 9, raised, blinking and taken away.
void BearWallStep(Game& g);
// A decoy pile at the fox's point ahead, in the lowest free decoy slot.
void PlaceDecoy(Game& g);
// A net at the spider's own spot, in the lowest free net slot.
void PlaceNet(Game& g);
// The shared big fish, laid down, blinking and taken away.
void BigFishStep(Game& g);

}  // namespace kelmora
