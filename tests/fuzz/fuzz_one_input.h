#pragma once
// One input of a fuzzing run, fed to the game's own readers: a headless script, a model file
// (as a mesh or with its animation) or a texture file. The reader either takes the input or
// refuses it with its own error; anything else (another exception, a crash, a mesh whose
// indices point past its vertices) is a fault, returned as its description. Shared by the
// seeded mutation tests and the libFuzzer targets.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/asset_error.h"
#include "platform/headless/script.h"
#include "platform/renderer.h"
#include "scene/scene.h"

namespace kelmora::fuzzing {

// What is wrong with a script reading, or "" when it is as the reader promises.
inline std::string OneScript(const std::string& text) {
  std::vector<platform::ScriptEvent> events;
  try {
    events = platform::ParseScript(text, "fuzz");
  } catch (const platform::ScriptError& e) {
    const std::string what = e.what();
    // "fuzz:LINE: problem", the line counted from 1.
    if (what.rfind("fuzz:", 0) != 0 || what.size() < 7 || what[5] < '1' || what[5] > '9') {
      return "error without its line: " + what;
    }
    return "";
  }
  using Kind = platform::ScriptEvent::Kind;
  for (size_t i = 0; i < events.size(); ++i) {
    const auto& e = events[i];
    if (e.tick < 0 || (i > 0 && e.tick < events[i - 1].tick)) return "ticks out of order";
    const bool key = e.kind == Kind::KeyDown || e.kind == Kind::KeyUp;
    if (key && (e.a < 0 || e.a > 255 || e.b < 0 || e.b > 7)) return "key event out of range";
    if (e.kind == Kind::Joy && (e.a < 0 || e.a > 3 || e.b < -32768 || e.b > 32767 || e.c < -32768 || e.c > 32767)) {
      return "joystick event out of range";
    }
    const bool pad = e.kind == Kind::JoyDown || e.kind == Kind::JoyUp;
    if (pad && (e.a < 0 || e.a > 3 || (e.b != 13 && e.b != 27))) return "pad button out of range";
  }
  return "";
}

// Keeps what the scene hands to the renderer, to check it.
class CheckingRenderer final : public platform::Renderer {
 public:
  void UploadMesh(int32_t, const platform::MeshData& d) override {
    for (uint32_t i : d.indices) {
      if (i >= d.vertices.size()) problem = "a mesh index past its vertices";
    }
    for (const auto& g : d.groups) {
      if (uint64_t{g.firstIndex} + g.indexCount > d.indices.size()) problem = "a mesh group past its indices";
    }
  }
  void ReleaseMesh(int32_t) override {}
  void UploadTexture(int32_t, const platform::TextureImage& t) override {
    if (t.width <= 0 || t.height <= 0 || t.rgba.size() != size_t(t.width) * size_t(t.height) * 4) {
      problem = "a texture whose size and texels disagree";
    }
  }
  void ReleaseTexture(int32_t) override {}
  void Clear(const platform::ViewSetup&, glm::vec3) override {}
  void Draw(const platform::ViewSetup&, std::span<const platform::DrawItem>, std::span<const platform::LightItem>) override {}
  void Update() override {}
  bool Drawing() const override { return false; }
  std::string problem;
};

// A new file each time: rewriting one in place makes the file system flush it to the disk.
inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

enum class FileKind { Mesh, AnimatedModel, Texture };

// Writes the bytes to `path` (its ending tells the reader the format) and loads them.
inline std::string OneFile(const std::string& path, const std::string& bytes, FileKind kind) {
  WriteBytes(path, bytes);
  scene::ForgetParsedFiles();
  auto owned = std::make_unique<CheckingRenderer>();
  CheckingRenderer& checks = *owned;
  scene::Scene sc(std::move(owned));
  sc.CreateRetainedMode();
  const scene::FrameHandle root = sc.CreateFrame({});
  try {
    switch (kind) {
      case FileKind::Mesh: sc.LoadMesh(sc.CreateMeshBuilder(), path); break;
      case FileKind::AnimatedModel: {
        const scene::AnimationSetHandle set = sc.CreateAnimationSet();
        sc.LoadAnimationSet(set, path, root);
        // Poses at whole key times, between them and past the last one.
        for (double t : {0.0, 25.0, 32.5, 69.0, 1000.0}) sc.SetTime(set, t);
        break;
      }
      case FileKind::Texture: {
        const scene::TextureHandle t = sc.LoadTexture(path);
        sc.SetDecalTransparentColor(t, 255, 255, 255);
        sc.SetDecalTransparency(t, true);
        break;
      }
    }
  } catch (const platform::AssetError& e) {
    // A model may name a texture that is missing: the error names that file.
    if (e.file.empty() || (kind == FileKind::Texture && e.file != path)) {
      return "an error naming another file: " + std::string(e.what());
    }
    return "";
  }
  return checks.problem;
}

}  // namespace kelmora::fuzzing
