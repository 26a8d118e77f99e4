#pragma once
// Snow on the shovel and on the floor: the action cycle's helpers shared with the movement,
// bump and special-power rules.
namespace kelmora {
struct Rules;

// A carrier in its carrying walk (frames 30..50) loses its load: it lands as a pile at the
// seat's point ahead in the lowest empty slot, and the seat is empty-handed at frame 0.
void DropPile(Rules& r, int seat);
// The seat has walked into pile `pile` (its blocked coordinate already put back): shoves the
// pile, delivers every pile lying in the goal to the seat, and watches for a cleared field.
void PushPile(Rules& r, int seat, int pile);

}  // namespace kelmora
