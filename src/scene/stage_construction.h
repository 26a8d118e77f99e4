#pragma once
// Loading the models and textures of a match and building the chosen stage.
#include <vector>

#include "scene/scene.h"
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

// The model and texture files the set-up of the match chosen loads, in the order it loads them.
std::vector<scene::FileToParse> MatchFiles(const Game& g);
// Every model and texture file a match can load: the characters, the piles and the models
// and textures every match shares, then the stages.
std::vector<scene::FileToParse> EveryMatchFile(const Game& g);

// Parks a frame out of sight at (-5000, 0, 0).
void Park(Game& g, scene::FrameHandle frame);

}  // namespace kelmora
