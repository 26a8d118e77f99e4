#pragma once
// Pictures of our models for the sprite sheets and the docs: characters, stages and props,
// drawn by the software renderer.
#include "bmp.h"
#include "raster.h"

namespace assetgen {

// A character alone on a plain background, seen from the front and a little to the side.
// `zoom` > 1 frames the head only.
Image PictureOfCharacter(int id, int width, int height, int time, glm::vec3 background, float zoom = 1.0f,
                         float yaw = 20.0f);
// A stage through the game's camera, with a few snow piles and (optionally) characters.
Image PictureOfStage(int index, int width, int height, bool withPlayers);
// Draws the stage (and its extra models) into a raster already set up with a view.
void DrawStageScene(Raster& r, int index, bool withPlayers);

}  // namespace assetgen
