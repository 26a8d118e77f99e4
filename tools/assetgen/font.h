#pragma once
// Text from a real font (DejaVu Sans Bold, from the fonts-dejavu-core package), rendered with
// stb_truetype, filled and outlined onto our images.
#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "bmp.h"

namespace assetgen {

struct TextStyle {
  float height = 32.0f;             // pixel height of the font
  glm::vec3 fillTop{1.0f};          // fill colour at the top of the letters ...
  glm::vec3 fillBottom{1.0f};       // ... and at the bottom
  glm::vec3 outline{0.0f};
  float outlineWidth = 0.0f;        // 0: no outline
  glm::vec3 outerOutline{0.0f};     // a second, wider outline under the first
  float outerWidth = 0.0f;
};

// Draws `text` (UTF-8) centred in the rectangle (x, y, w, h), shrunk to fit its width.
void DrawText(Image& image, const std::string& text, int x, int y, int w, int h, TextStyle style);

// Fills a rectangle with one colour (0..1 components).
void FillRect(Image& image, int x, int y, int w, int h, glm::vec3 colour);

}  // namespace assetgen
