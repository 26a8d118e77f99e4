#pragma once
// The objects behind the scene's handles. Private to the scene layer.
#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/renderer.h"
#include "scene/scene.h"

namespace kelmora::scene {

struct FrameObj {
  int32_t parent = 0;
  std::vector<int32_t> children;
  glm::dmat4 local{1};  // parent <- frame
  std::vector<int32_t> visuals;
  std::vector<int32_t> lights;
};

struct MeshObj {
  platform::MeshData data;
  std::vector<int32_t> ownTextures;  // textures named by the model file
};

// Keys of one animated frame, times ascending.
struct Channel {
  int32_t frame = 0;
  std::vector<std::pair<double, glm::dvec3>> positions, scales;
  std::vector<std::pair<double, glm::dquat>> rotations;
  glm::dvec3 restPosition{0}, restScale{1};
  glm::dquat restRotation{1, 0, 0, 0};
};

struct AnimationSetObj {
  std::vector<int32_t> frames;  // made by the load, top first
  std::vector<int32_t> meshes;
  std::vector<Channel> channels;
  std::unordered_map<std::string, int32_t> frameByName;
};

struct TextureObj {
  platform::TextureImage source;  // alpha 255 everywhere
  platform::TextureImage shown;   // alpha 0 on transparent texels
  glm::ivec3 transparentColour{0, 0, 0};
  bool transparent = false;
};

struct LightObj {
  LightKind kind = LightKind::Point;
  glm::dvec3 colour{1, 1, 1};
};

struct ViewportObj {
  int32_t camera = 0;
  platform::Rect rect;
  double back = 100;
};

struct Scene::Impl {
  int32_t nextId = 1;
  std::unordered_map<int32_t, int> objects;  // device objects; value unused
  std::unordered_map<int32_t, FrameObj> frames;
  std::unordered_map<int32_t, MeshObj> meshes;
  std::unordered_map<int32_t, AnimationSetObj> sets;
  std::unordered_map<int32_t, TextureObj> textures;
  std::unordered_map<int32_t, LightObj> lights;
  std::unordered_map<int32_t, ViewportObj> viewports;

  // Reused by every render (no allocation once warm).
  std::vector<platform::DrawItem> drawItems;
  std::vector<platform::LightItem> lightItems;
  std::vector<std::pair<int32_t, glm::dmat4>> stack;

  FrameObj* Frame(FrameHandle h) {
    auto it = frames.find(h.id);
    return it == frames.end() ? nullptr : &it->second;
  }
  const FrameObj* Frame(FrameHandle h) const {
    auto it = frames.find(h.id);
    return it == frames.end() ? nullptr : &it->second;
  }
  // world <- frame; identity for a missing frame.
  glm::dmat4 World(int32_t id) const;
  void DropFrame(int32_t id, platform::Renderer& r);
  void DropMesh(int32_t id, platform::Renderer& r);
  void DropTexture(int32_t id, platform::Renderer& r);
};

// Camera lens of a viewport: left-handed perspective, front plane kFront.
glm::dmat4 Projection(const platform::Rect& rect, double back);

}  // namespace kelmora::scene
