#pragma once
// Handles to objects of the retained-mode scene. A handle is a plain number: 0 is empty,
// so a zeroed match state holds no objects, and a handle whose object was released
// simply finds nothing.
#include <cstdint>

namespace kelmora::scene {

template <class Tag>
struct Handle {
  int32_t id = 0;
  explicit operator bool() const { return id != 0; }
  friend bool operator==(Handle, Handle) = default;
};

using ObjectHandle = Handle<struct ObjectTag>;          // root, display, clipper, device objects
using FrameHandle = Handle<struct FrameTag>;
using MeshHandle = Handle<struct MeshTag>;              // a mesh builder
using AnimationSetHandle = Handle<struct AnimationSetTag>;
using TextureHandle = Handle<struct TextureTag>;
using LightHandle = Handle<struct LightTag>;
using ViewportHandle = Handle<struct ViewportTag>;

// A frame and the place to put it at in its parent's axes (Scene::SetPositions).
struct FramePlacement {
  FrameHandle frame;
  double x = 0, y = 0, z = 0;
};

}  // namespace kelmora::scene
