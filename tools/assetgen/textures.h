#pragma once
// The texture pictures, shared by the texture files and the sprite sheets.
#include <string>

#include <glm/glm.hpp>

#include "bmp.h"

namespace assetgen {

// Seat colours: 1P red, 2P blue, 3P green, 4P yellow.
extern const glm::vec3 kSeatColours[4];

// Big outlined words on black (black is the transparent colour).
Image MessageTexture(const std::string& words, glm::vec3 top, glm::vec3 bottom);
// A spider's web on white (white is the transparent colour).
Image NetTexture();

}  // namespace assetgen
