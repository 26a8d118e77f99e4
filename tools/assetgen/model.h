#pragma once
// A model: a tree of named frames, each with a rest placement, an optional mesh and, for
// animated models, one pose per key time.
#include <string>
#include <vector>

#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

#include "geometry.h"

namespace assetgen {

struct Pose {
  glm::vec3 translation{0.0f};
  glm::quat rotation{1.0f, 0.0f, 0.0f, 0.0f};
  glm::vec3 scale{1.0f};
  glm::mat4 Matrix() const;
};

// A pose from a translation and rotations in degrees: roll about z first, then pitch about x
// (positive tips +z downwards), then yaw about y (positive turns +z towards +x).
Pose MakePose(glm::vec3 translation, float pitch = 0.0f, float yaw = 0.0f, float roll = 0.0f,
              glm::vec3 scale = glm::vec3(1.0f));

struct Frame {
  std::string name;
  Pose rest;
  Mesh mesh;
  std::vector<Pose> keys;  // empty for a static frame; else one per Model::keyTimes entry
  std::vector<Frame> children;

  Frame& Add(std::string childName, Pose childRest = Pose());
  Frame* Find(const std::string& frameName);
};

struct Model {
  std::string name;
  Frame root;
  std::vector<int> keyTimes;  // animation times of the keys, ascending; empty when static
};

// The pose of a frame at an animation time: the key at or before the time, else the rest.
const Pose& PoseAt(const Model& model, const Frame& frame, int time);

// Calls fn(frame, worldMatrix) for every frame with a mesh, posed at `time`.
template <typename Fn>
void ForEachPosedMesh(const Model& model, int time, const glm::mat4& parent, const Frame& frame, Fn&& fn) {
  const glm::mat4 world = parent * PoseAt(model, frame, time).Matrix();
  if (!frame.mesh.Empty()) fn(frame, world);
  for (const Frame& child : frame.children) ForEachPosedMesh(model, time, world, child, fn);
}
template <typename Fn>
void ForEachPosedMesh(const Model& model, int time, const glm::mat4& place, Fn&& fn) {
  ForEachPosedMesh(model, time, place, model.root, fn);
}

}  // namespace assetgen
