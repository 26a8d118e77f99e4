#pragma once
// The drawing side of the 3D scene. The scene graph keeps the models, frames and lights; a
// renderer keeps their GPU copies and draws one viewport per call. Backends: OpenGL
// (gl/gl_renderer) and a null one that draws nothing (null_renderer.h).
#include <glm/glm.hpp>

#include <cstdint>
#include <span>
#include <vector>

#include "platform/screen.h"

namespace kelmora::platform {

struct MeshVertex {
  glm::vec3 position;
  glm::vec3 normal;
  glm::vec2 uv;  // v = 0 is the top row of the texture
};

// A run of triangles with one material.
struct MeshGroup {
  uint32_t firstIndex = 0, indexCount = 0;
  glm::vec4 diffuse{1, 1, 1, 1};
  glm::vec3 emissive{0, 0, 0};
  int32_t texture = 0;  // texture id, 0 = untextured
};

// A model's triangles, wound clockwise seen from the front.
struct MeshData {
  std::vector<MeshVertex> vertices;
  std::vector<uint32_t> indices;
  std::vector<MeshGroup> groups;
  glm::vec3 centre{0, 0, 0};  // bounding sphere in the mesh's own coordinates
  float radius = 0;
};

// 8-bit RGBA rows, top row first; alpha 0 marks texels that are not drawn.
struct TextureImage {
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;
};

enum class LightKind { Point = 1, Spot = 2 };

struct LightItem {
  LightKind kind = LightKind::Point;
  glm::vec3 colour{1, 1, 1};
  glm::vec3 position{0, 0, 0};   // world
  glm::vec3 direction{0, 0, 1};  // world, spotlights only
  float cosUmbra = 1, cosPenumbra = 1;  // spotlights: full light inside the umbra, none outside the penumbra
};

// One mesh shown by one frame.
struct DrawItem {
  int32_t mesh = 0;
  const MeshData* data = nullptr;  // groups and their textures are read at each draw
  glm::mat4 world{1};
};

// What a viewport sees: its rectangle on the device, camera and lens.
struct ViewSetup {
  Rect rect;            // device pixels, y down
  glm::mat4 view{1};    // world -> camera (x right, y up, z ahead)
  glm::mat4 projection{1};
};

class Renderer {
 public:
  virtual ~Renderer() = default;
  // Keeps a GPU copy of the mesh's vertices and indices under id (uploaded once).
  virtual void UploadMesh(int32_t id, const MeshData& mesh) = 0;
  virtual void ReleaseMesh(int32_t id) = 0;
  // Keeps (or replaces) the texture under id.
  virtual void UploadTexture(int32_t id, const TextureImage& image) = 0;
  virtual void ReleaseTexture(int32_t id) = 0;
  // Clears the viewport's picture to the background colour and its depth.
  virtual void Clear(const ViewSetup& view, glm::vec3 background) = 0;
  // Draws the items lit by the lights (no ambient light).
  virtual void Draw(const ViewSetup& view, std::span<const DrawItem> items,
                    std::span<const LightItem> lights) = 0;
  // The rendered picture becomes the one shown.
  virtual void Update() = 0;
  // False while Clear, Draw and Update do nothing: the scene then skips gathering what to
  // draw.
  virtual bool Drawing() const { return true; }
};

// Draws nothing: fast headless runs and unit tests.
class NullRenderer final : public Renderer {
 public:
  void UploadMesh(int32_t, const MeshData&) override {}
  void ReleaseMesh(int32_t) override {}
  void UploadTexture(int32_t, const TextureImage&) override {}
  void ReleaseTexture(int32_t) override {}
  void Clear(const ViewSetup&, glm::vec3) override {}
  void Draw(const ViewSetup&, std::span<const DrawItem>, std::span<const LightItem>) override {}
  void Update() override {}
  bool Drawing() const override { return false; }
};

}  // namespace kelmora::platform
