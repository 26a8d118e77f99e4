#include "model.h"

#include <glm/gtc/matrix_transform.hpp>

namespace assetgen {

glm::mat4 Pose::Matrix() const {
  return glm::translate(glm::mat4(1.0f), translation) * glm::mat4_cast(rotation) *
         glm::scale(glm::mat4(1.0f), scale);
}

Pose MakePose(glm::vec3 translation, float pitch, float yaw, float roll, glm::vec3 scale) {
  Pose p;
  p.translation = translation;
  p.rotation = glm::angleAxis(glm::radians(yaw), glm::vec3(0, 1, 0)) *
               glm::angleAxis(glm::radians(pitch), glm::vec3(1, 0, 0)) *
               glm::angleAxis(glm::radians(roll), glm::vec3(0, 0, 1));
  p.scale = scale;
  return p;
}

Frame& Frame::Add(std::string childName, Pose childRest) {
  children.push_back(Frame{std::move(childName), childRest, Mesh(), {}, {}});
  return children.back();
}

Frame* Frame::Find(const std::string& frameName) {
  if (name == frameName) return this;
  for (Frame& c : children)
    if (Frame* f = c.Find(frameName)) return f;
  return nullptr;
}

const Pose& PoseAt(const Model& model, const Frame& frame, int time) {
  if (frame.keys.empty()) return frame.rest;
  size_t best = 0;
  for (size_t i = 0; i < model.keyTimes.size() && i < frame.keys.size(); ++i)
    if (model.keyTimes[i] <= time) best = i;
  return frame.keys[best];
}

}  // namespace assetgen
