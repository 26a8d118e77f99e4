#include "scene/scene.h"

namespace kelmora::scene {

struct Scene::Impl {};

Scene::Scene(std::unique_ptr<platform::Renderer> renderer)
    : renderer_(renderer ? std::move(renderer) : std::make_unique<platform::NullRenderer>()),
      impl_(std::make_unique<Impl>()) {}

Scene::~Scene() = default;

}  // namespace kelmora::scene
