// Placeholder bodies until the world of the tick lands.
#include "match/world_steps.h"

#include "match/game.h"

namespace kelmora {

void StageMotionStep(Game&) {}
void SpotlightStep(Game&) {}
void PowerUpStep(Game&) {}
void CameraStep(Game&) {}

}  // namespace kelmora
