// Model and texture files are parsed once per run and kept: a file changed or removed on disk
// is noticed, seats loaded from one file pose alike, and a posed frame moved by hand is posed
// again. Handles of a released scene find nothing in the next one.
#include <unistd.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "test_dirs.h"
#include "platform/asset_error.h"
#include "scene/scene.h"
#include "scene_test_support.h"

namespace kelmora::scene {
namespace {

namespace fs = std::filesystem;
using Loaded = testing::SceneWithRoot;

std::string TempCopy(const std::string& from, const std::string& name) {
  const fs::path to = fs::temp_directory_path() / ("kelmora_kept_" + std::to_string(getpid()) + "_" + name);
  fs::copy_file(from, to, fs::copy_options::overwrite_existing);
  return to.string();
}

size_t IndicesOf(Scene& sc, const std::string& path) {
  const MeshHandle m = sc.CreateMeshBuilder();
  sc.LoadMesh(m, path);
  return sc.Mesh(m)->indices.size();
}

TEST(KeptFiles, AModelRewrittenOnDiskIsReadAgain) {
  Loaded l;
  const std::string path = TempCopy(kData + "/cube.x", "model.x");
  EXPECT_EQ(IndicesOf(l.sc, path), 36u);
  EXPECT_EQ(IndicesOf(l.sc, path), 36u);
  fs::copy_file(kData + "/arm.x", path, fs::copy_options::overwrite_existing);  // two boxes
  EXPECT_EQ(IndicesOf(l.sc, path), 72u);
  fs::remove(path);
}

TEST(KeptFiles, AFileRemovedAfterItsFirstLoadFailsByName) {
  Loaded l;
  const std::string model = TempCopy(kData + "/cube.x", "gone.x");
  const std::string animated = TempCopy(kData + "/arm.x", "gone_arm.x");
  IndicesOf(l.sc, model);
  l.sc.LoadAnimationSet(l.sc.CreateAnimationSet(), animated, l.root);
  fs::remove(model);
  fs::remove(animated);
  try {
    IndicesOf(l.sc, model);
    FAIL() << "no error";
  } catch (const platform::AssetError& e) {
    EXPECT_EQ(e.file, model);
  }
  EXPECT_THROW(l.sc.LoadAnimationSet(l.sc.CreateAnimationSet(), animated, l.root), platform::AssetError);
}

TEST(KeptFiles, TwoSetsOfOneFilePoseAlikeAndAFrameMovedByHandIsPosedAgain) {
  Loaded l;
  FrameHandle arms[2];
  AnimationSetHandle sets[2];
  for (int i = 0; i < 2; ++i) {
    const FrameHandle parent = l.sc.CreateFrame(l.root);
    sets[i] = l.sc.CreateAnimationSet();
    l.sc.LoadAnimationSet(sets[i], kData + "/arm.x", parent);
    arms[i] = l.sc.FindFrame(sets[i], "Arm");
    ASSERT_TRUE(arms[i]);
  }
  for (const double t : {5.0, 10.0, 5.0}) {
    l.sc.SetTime(sets[0], t);
    l.sc.SetTime(sets[1], t);
    testing::ExpectNear(l.sc.WorldPosition(arms[0]), {5, 10 + t, 0}, 1e-9);
    testing::ExpectNear(l.sc.WorldPosition(arms[1]), {5, 10 + t, 0}, 1e-9);
  }
  l.sc.SetPosition(arms[0], {}, 0, 0, 0);
  l.sc.SetTime(sets[0], 5);  // the same time as before, but the frame has moved
  testing::ExpectNear(l.sc.WorldPosition(arms[0]), {5, 15, 0}, 1e-9);
}

TEST(KeptFiles, HandlesOfAReleasedSceneFindNothingInTheNext) {
  Scene sc;
  const ObjectHandle rm = sc.CreateRetainedMode();
  const FrameHandle old = sc.CreateFrame(sc.CreateFrame({}));
  sc.Release(rm);
  sc.CreateRetainedMode();
  const FrameHandle root = sc.CreateFrame({});
  const FrameHandle fresh = sc.CreateFrame(root);
  EXPECT_FALSE(sc.Exists(old));
  EXPECT_TRUE(sc.Exists(fresh));
  EXPECT_EQ(sc.Parent(fresh), root);
  EXPECT_EQ(sc.ObjectCount(), 3u);
  sc.Release(root);
  EXPECT_FALSE(sc.Exists(fresh));
  EXPECT_EQ(sc.ObjectCount(), 1u);
}

}  // namespace
}  // namespace kelmora::scene
