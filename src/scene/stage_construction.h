#pragma once
// Loading the models and textures of a match and building the chosen stage.
#include "scene/scene_handles.h"

namespace kelmora {
struct Game;

// The four seats' frames and character models, the fire, and the stage frame.
void BuildSeatsFireAndStageFrame(Game& g);
// Music reset, then the stage's background, music, goal, obstacles, model and moving parts.
void BuildStageBranch(Game& g);
// The waiting models, the snow piles (random places), decoys, nets, the textures and the
// message board.
void BuildFieldObjects(Game& g);

// Parks a frame out of sight at (-5000, 0, 0).
void Park(Game& g, scene::FrameHandle frame);

}  // namespace kelmora
