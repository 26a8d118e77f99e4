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

// The sixth stage scrolls four backdrop pieces set 500 apart. Each piece is wider than that
// and repeats its skyline every 500 units, so neighbours overlap exactly where they look alike
// and the skyline fills the view at every step of the scroll.
inline constexpr float kBackdropRepeat = 500.0f;
inline constexpr float kBackdropHalfWidth = 780.0f;

// The glow of snow, as a part of its own colour.
inline constexpr float kSnowGlow = 0.1f;

Model BuildStage(int index);    // stage1 .. stage6
Model BuildSeaBlock();          // block: the sea swelling around the raft of the fifth stage
Model BuildBackdrop();          // back: one piece of the night skyline (see below)
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
