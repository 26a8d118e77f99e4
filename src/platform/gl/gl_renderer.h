#pragma once
// The OpenGL 3.3 core renderer: per-vertex (Gouraud) lighting without ambient light, solid
// fill, depth buffer, texels with alpha 0 discarded. The viewport is drawn into an offscreen
// picture that the window's compositor places in the 3D view window (or a screenshot reads).
#include <SDL.h>
#include <epoxy/gl.h>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/renderer.h"

namespace kelmora::platform {

class GlRenderer final : public Renderer {
 public:
  // Uses the OpenGL context current on this thread.
  GlRenderer();
  // Makes its own hidden window and context (SDL video must be up, e.g. with the offscreen
  // driver). Throws std::runtime_error naming what failed.
  static std::unique_ptr<GlRenderer> CreateOffscreen();
  ~GlRenderer() override;
  GlRenderer(const GlRenderer&) = delete;
  GlRenderer& operator=(const GlRenderer&) = delete;

  void UploadMesh(int32_t id, const MeshData& mesh) override;
  void ReleaseMesh(int32_t id) override;
  void UploadTexture(int32_t id, const TextureImage& image) override;
  void ReleaseTexture(int32_t id) override;
  void Clear(const ViewSetup& view, glm::vec3 background) override;
  void Draw(const ViewSetup& view, std::span<const DrawItem> items,
            std::span<const LightItem> lights) override;
  void Update() override;
  bool Drawing() const override { return drawing_; }

  // Real pixels per device pixel of the picture (the window's zoom); 1 for screenshots.
  void SetPixelScale(float scale);
  // With drawing off, Clear, Draw and Update do nothing (headless runs draw only the ticks
  // that are photographed).
  void SetDrawing(bool on) { drawing_ = on; }

  // The last shown picture: texture (rows bottom-up), its size, and the viewport rectangle in
  // device pixels. texture 0 when nothing was shown yet.
  struct Picture {
    GLuint texture = 0;
    int width = 0, height = 0;
    Rect rect;
  };
  Picture shown() const { return shown_; }
  // Reads the shown picture as RGB rows, top row first.
  std::vector<uint8_t> ReadShown() const;

  int drawCalls() const { return drawCalls_; }
  // Most copies of one mesh drawn by one call.
  static constexpr int kBatch = 32;

 private:
  struct GpuMesh {
    GLuint vao = 0, vbo = 0, ibo = 0;
  };
  void Target(const ViewSetup& view);
  void MakeCurrent() const;

  SDL_Window* ownWindow_ = nullptr;
  SDL_GLContext ownContext_ = nullptr;

  // Two programs: plain colour, and textured with its transparent texels dropped. A program
  // that may drop pixels is tested against the depth only after shading, so untextured
  // groups (nearly all) are drawn with the plain one and keep the early depth test.
  struct Program {
    GLuint id = 0;
    GLint world = -1, normal = -1, viewProj = -1, lightCount = -1, lightPos = -1, lightColour = -1,
          lightDir = -1, lightCone = -1, texture = -1;
  };
  static Program MakeProgram(const char* fragment, const char* name);
  Program plain_, textured_;
  void UseProgram(const Program& p, const glm::mat4& viewProj, std::span<const LightItem> lights);
  std::unordered_map<int32_t, GpuMesh> meshes_;
  std::unordered_map<int32_t, GLuint> textures_;

  // The picture of the viewport.
  GLuint fbo_ = 0, colour_ = 0, depth_ = 0;
  int width_ = 0, height_ = 0;
  Rect rect_;
  float scale_ = 1;
  Picture shown_;
  int drawCalls_ = 0;
  bool drawing_ = true;
  // Visible items nearest first, and the same gathered into batches of one mesh each
  // (reused: no allocation once warm).
  std::vector<std::pair<float, const DrawItem*>> order_;
  struct Batch {
    int32_t mesh = 0;
    const MeshData* data = nullptr;
    GLuint vao = 0;
    int first = 0, count = 0;  // its items in batchItems_
  };
  void GatherBatches();
  std::vector<Batch> batches_;
  std::vector<int> batchOf_;
  std::vector<const DrawItem*> batchItems_;
};

}  // namespace kelmora::platform
