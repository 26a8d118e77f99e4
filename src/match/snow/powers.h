#pragma once
// The special powers bought from the gauge, and the objects some of them leave in the arena.
// Every function works on the seat whose turn runs (`seat`), after its timer was counted down.
namespace kelmora {
struct Rules;

// Purchase, mole hold, timer and the running power of seat `seat` (the seat's turn).
void SpecialStep(Rules& r);
// How high a stomping pig's model stands above the floor this tick.
void PigLift(Rules& r);
// Ages every net; runs in every seat's turn.
void UpdateNets(Rules& r);

// --- Powers that act on the seat itself or its surroundings.
// A pig's landing: every other carrier loses its load.
void PigLanding(Rules& r);
// The elephant draws piles lying on the line ahead of it towards itself.
void ElephantSuction(Rules& r);
// The mole is out of sight, its marker shows where it burrows.
void MoleBurrow(Rules& r);
// The flying squirrel glides forward at 20 units per tick.
void SquirrelGlide(Rules& r);
// The mouse's fire burns around it and blows the other seats away.
void MouseFire(Rules& r);

// --- Powers that leave an object in the arena.
// The giant bear: the shared wall in obstacle slot 9, raised, blinking and taken away.
void BearWallStep(Rules& r);
// A decoy pile at the fox's point ahead, in the lowest free decoy slot.
void PlaceDecoy(Rules& r);
// A net at the spider's own spot, in the lowest free net slot.
void PlaceNet(Rules& r);
// The shared big fish, laid down, blinking and taken away.
void BigFishStep(Rules& r);

}  // namespace kelmora
