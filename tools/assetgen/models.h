#pragma once
// Every model of the game, by file name, and the stage facts the models are drawn from.
#include <string>
#include <vector>

#include "model.h"

namespace assetgen {

// A stage as the game sets it up: background colour and goal rectangle.
struct StageFacts {
  glm::vec3 background;
  float goalX, goalZ, goalWidth, goalDepth;
};
inline constexpr int kStageCount = 6;
extern const StageFacts kStages[kStageCount];

// The floor top of a stage model lies at this height, so that with the stage frame at
// y = -10 the players stand on y = 0.
inline constexpr float kFloorTop = 10.0f;

Model BuildStage(int index);    // stage1 .. stage6
Model BuildSeaBlock();          // block: the sea swelling around the raft of the fifth stage
Model BuildBackdrop();          // back: one 500-wide piece of the night skyline
Model BuildFire();              // fire, animated over 0..19
Model BuildCursor();            // the mole's dirt mound
Model BuildItem();              // the falling gift box
Model BuildBigFish();           // fish2
Model BuildSnowPile();          // snow
Model BuildNet();               // net, textured square
Model BuildMessageBoard();      // message, textured board facing the camera

// All model files, name without ".x", in a fixed order.
std::vector<std::pair<std::string, Model>> AllModels();

}  // namespace assetgen
