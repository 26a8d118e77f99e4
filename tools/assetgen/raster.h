#pragma once
// A small software renderer of our own models: z-buffered triangles with per-vertex lighting
// from one white point light plus a little ambient, rendered oversampled and filtered down.
// The portraits, faces, thumbnails and title pictures are drawn with it, so the 2D pictures
// show the same models as the game.
#include <functional>
#include <vector>

#include <glm/glm.hpp>

#include "bmp.h"
#include "model.h"

namespace assetgen {

struct View {
  glm::vec3 eye{0, 475, -1000};
  glm::vec3 target{0, 0, 0};
  float fovY = 40.0f;  // degrees
};

class Raster {
 public:
  Raster(int width, int height, int oversample = 3);
  // Fills the picture from top (t = 0) to bottom (t = 1) with a colour per row.
  void Background(const std::function<glm::vec3(float t)>& colourAt);
  void SetView(const View& view);
  void SetLight(glm::vec3 position, float ambient = 0.25f);
  void DrawMesh(const Mesh& mesh, const glm::mat4& world);
  void DrawModel(const Model& model, int time, const glm::mat4& place);
  // The picture, filtered down to its final size.
  Image Resolve() const;

 private:
  int w_, h_, ss_;
  std::vector<glm::vec3> colour_;
  std::vector<float> depth_;
  glm::mat4 viewProj_{1.0f};
  glm::vec3 light_{0, 500, -600};
  float ambient_ = 0.25f;
};

// Draws an image onto another at (x, y), skipping pure black pixels.
void Blit(Image& dst, const Image& src, int x, int y, bool blackTransparent = false);

}  // namespace assetgen
