#pragma once
// What the scene suites share: a scene with its Retained Mode object and one root frame, and
// a component-wise comparison of vectors.
#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include "scene/scene.h"

namespace kelmora::scene::testing {

inline void ExpectNear(glm::dvec3 got, glm::dvec3 want, double eps) {
  EXPECT_NEAR(got.x, want.x, eps);
  EXPECT_NEAR(got.y, want.y, eps);
  EXPECT_NEAR(got.z, want.z, eps);
}

struct SceneWithRoot {
  Scene sc;
  ObjectHandle rm = sc.CreateRetainedMode();
  FrameHandle root = sc.CreateFrame({});
};

}  // namespace kelmora::scene::testing
