#pragma once
// The retained-mode scene graph (placeholder until the scene layer lands).
namespace kelmora::scene {

class Scene {
 public:
  virtual ~Scene() = default;
};

}  // namespace kelmora::scene
