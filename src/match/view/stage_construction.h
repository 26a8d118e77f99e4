#pragma once
// Loading the models and textures of a match and building the chosen stage.
#include <string>
#include <vector>

#include "match/match_state.h"
#include "scene/scene.h"
#include "scene/scene_handles.h"

namespace kelmora {
struct MatchView;

// The four seats' frames and character models, the fire, and the stage frame.
void BuildSeatsFireAndStageFrame(MatchView& v, const MatchState& st);
// Music reset, then the stage's background, music, model and moving parts.
void BuildStageBranch(MatchView& v, const MatchState& st);
// The waiting models, the snow piles at their places, decoys, nets, the textures and the
// message board.
void BuildFieldObjects(MatchView& v, const MatchState& st);
// What the decision shows, ready and out of sight: the dark stage's winner light (not yet
// lit) and the winner's board (not yet shown), with the draw's texture for a shared top score.
void BuildDecisionObjects(MatchView& v);

// The model and texture files the set-up of the match chosen loads, in the order it loads them.
std::vector<scene::FileToParse> MatchFiles(const std::string& programFolder, const MatchState& st);
// Every model and texture file a match can load: the characters, the piles and the models
// and textures every match shares, then the stages.
std::vector<scene::FileToParse> EveryMatchFile(const std::string& programFolder);

// Parks a frame out of sight at (-5000, 0, 0).
void Park(MatchView& v, scene::FrameHandle frame);

}  // namespace kelmora
