// A renderer for tests that watch what the scene hands over: it keeps nothing and draws
// nothing; a test overrides what it watches (most often Draw).
#pragma once

#include <span>

#include "platform/renderer.h"

namespace kelmora::testing {

class WatchingRenderer : public platform::Renderer {
 public:
  void UploadMesh(int32_t, const platform::MeshData&) override {}
  void ReleaseMesh(int32_t) override {}
  void UploadTexture(int32_t, const platform::TextureImage&) override {}
  void ReleaseTexture(int32_t) override {}
  void Clear(const platform::ViewSetup&, glm::vec3) override {}
  void Draw(const platform::ViewSetup&, std::span<const platform::DrawItem>,
            std::span<const platform::LightItem>) override {}
  void Update() override {}
};

}  // namespace kelmora::testing
