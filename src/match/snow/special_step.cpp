#include "match/game.h"
#include "match/snow/special_powers.h"

namespace kelmora {

void SpecialStep(Game&) {}

void PigLift(Game&) {}

}  // namespace kelmora
