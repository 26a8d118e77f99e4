#pragma once
// The objects behind the scene's handles. Private to the scene layer.
#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

#include <limits>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/renderer.h"
#include "scene/id_table.h"
#include "scene/scene.h"

namespace kelmora::scene {

struct FrameObj {
  int32_t parent = 0;
  int32_t animatedBy = 0;  // the animation set that poses this frame, 0 when none
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

// The poses of one model file at whole key times 0..kBookTimes-1, made when first asked:
// one local matrix per channel, shared by every set loaded from that file.
struct PoseBook {
  static constexpr int kBookTimes = 256;
  std::vector<std::vector<glm::dmat4>> byTime = std::vector<std::vector<glm::dmat4>>(kBookTimes);
};

struct AnimationSetObj {
  std::vector<int32_t> frames;  // made by the load, top first
  std::vector<int32_t> meshes;
  std::vector<Channel> channels;
  std::unordered_map<std::string, int32_t> frameByName;
  std::shared_ptr<PoseBook> poses;  // none when the set holds more than one file
  // A pose of the book that the frames stand at but have not been given yet: posing at a
  // whole key time only notes the page, and the first read of any of the set's frames (or a
  // render) copies it into them all. No page is waiting while pendingBook is null.
  std::shared_ptr<PoseBook> pendingBook;
  size_t pendingTime = 0;
  // The key time the frames stand at; NaN when unknown (never posed, or a posed frame moved).
  double posedAt = std::numeric_limits<double>::quiet_NaN();
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
  IdTable<int> objects;  // device objects: 1 for the Retained Mode object
  IdTable<FrameObj> frames;
  IdTable<MeshObj> meshes;
  IdTable<AnimationSetObj> sets;
  IdTable<TextureObj> textures;
  IdTable<LightObj> lights;
  IdTable<ViewportObj> viewports;

  // Reused by every render (no allocation once warm).
  std::vector<platform::DrawItem> drawItems;
  std::vector<platform::LightItem> lightItems;
  std::vector<std::pair<int32_t, glm::dmat4>> stack;

  // The frame, standing in its set's waiting pose, if any; null for a missing frame.
  FrameObj* Frame(FrameHandle h) {
    FrameObj* f = frames.get(h.id);
    if (f && f->animatedBy != 0) Settle(f->animatedBy);
    return f;
  }
  const FrameObj* Frame(FrameHandle h) const {
    const FrameObj* f = frames.get(h.id);
    if (f && f->animatedBy != 0) Settle(f->animatedBy);
    return f;
  }
  // Gives set `id`'s frames the pose waiting for them, if any. The frames only take a pose
  // they already stand for, so the const queries settle too.
  void Settle(int32_t id);
  void Settle(int32_t id) const { const_cast<Impl*>(this)->Settle(id); }
  void SettleAll();
  // A frame that an animation set poses was moved by hand: the set must pose it again.
  void Unposed(const FrameObj& f) {
    if (f.animatedBy == 0) return;
    if (auto it = sets.find(f.animatedBy); it != sets.end()) {
      it->second.posedAt = std::numeric_limits<double>::quiet_NaN();
    }
  }
  // The inverse LookAt made last, and the matrix it was made from.
  struct LookAtKept {
    bool inverseValid = false;
    glm::dmat4 parentWorld{1}, parentInverse{1};
  } lookAt;

  // world <- frame; identity for a missing frame.
  glm::dmat4 World(int32_t id) const;
  // Where the frame's origin stands in the world: World(id)[3], bit for bit.
  glm::dvec4 WorldOrigin(int32_t id) const;
  void DropFrame(int32_t id, platform::Renderer& r);
  void DropMesh(int32_t id, platform::Renderer& r);
  void DropTexture(int32_t id, platform::Renderer& r);
};

// Camera lens of a viewport: left-handed perspective, front plane kFront.
glm::dmat4 Projection(const platform::Rect& rect, double back);

}  // namespace kelmora::scene
