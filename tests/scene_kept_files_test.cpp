// Model and texture files are parsed once per run and kept: a file changed or removed on disk
// is noticed, seats loaded from one file pose alike, a posed frame moved by hand is posed
// again, and a pose left for the frames to take when read stands as if taken at once. Handles
// of a released scene find nothing in the next one.
#include <unistd.h>
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "test_dirs.h"
#include "platform/asset_error.h"
#include "scene/scene.h"
#include "scene_test_support.h"
#include "watching_renderer.h"

namespace kelmora::scene {
namespace {

namespace fs = std::filesystem;
using KeptScene = testing::SceneWithRoot;

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
  KeptScene l;
  const std::string path = TempCopy(kData + "/cube.x", "model.x");
  EXPECT_EQ(IndicesOf(l.sc, path), 36u);
  EXPECT_EQ(IndicesOf(l.sc, path), 36u);
  fs::copy_file(kData + "/arm.x", path, fs::copy_options::overwrite_existing);  // two boxes
  EXPECT_EQ(IndicesOf(l.sc, path), 72u);
  fs::remove(path);
}

TEST(KeptFiles, AFileRemovedAfterItsFirstLoadFailsByName) {
  KeptScene l;
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
  KeptScene l;
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

// Keeps the world matrix of every mesh of the last drawing.
class DrawnMatrices final : public kelmora::testing::WatchingRenderer {
 public:
  void Draw(const platform::ViewSetup&, std::span<const platform::DrawItem> items,
            std::span<const platform::LightItem>) override {
    drawn.clear();
    for (const platform::DrawItem& item : items) drawn[item.mesh] = item.world;
  }
  std::map<int32_t, glm::mat4> drawn;
};

// The frames under `top`, depth first.
void FramesUnder(const Scene& sc, FrameHandle top, std::vector<FrameHandle>& out) {
  for (const FrameHandle c : sc.Children(top)) {
    out.push_back(c);
    FramesUnder(sc, c, out);
  }
}

// One seated character in a scene that keeps what it draws.
struct SeatedBear {
  SeatedBear() {
    auto r = std::make_unique<DrawnMatrices>();
    drawing = r.get();
    sc = std::make_unique<Scene>(std::move(r));
    sc->CreateRetainedMode();
    root = sc->CreateFrame({});
    const FrameHandle camera = sc->CreateFrame(root);
    sc->SetPosition(camera, {}, 0, 100, -500);
    view = sc->CreateViewport(sc->CreateDevice(sc->CreateClipper(), 64, 48), camera, 0, 0, 64, 48);
    const FrameHandle seat = sc->CreateFrame(root);
    set = sc->CreateAnimationSet();
    sc->LoadAnimationSet(set, (kBuild / "model" / "bear.x").string(), seat);
    FramesUnder(*sc, seat, frames);
  }
  // Where each frame stands and how it is turned, in the world.
  std::vector<std::array<glm::dvec3, 4>> Standing() const {
    std::vector<std::array<glm::dvec3, 4>> out;
    for (const FrameHandle f : frames) out.push_back({sc->WorldPosition(f), sc->Direction(f), sc->Up(f), sc->Right(f)});
    return out;
  }
  // The matrix each frame's meshes were last drawn with, frame by frame.
  std::vector<glm::mat4> Drawn() const {
    std::vector<glm::mat4> out;
    for (const FrameHandle f : frames) {
      for (const MeshHandle m : sc->Visuals(f)) {
        out.push_back(drawing->drawn.contains(m.id) ? drawing->drawn.at(m.id) : glm::mat4(0));
      }
    }
    return out;
  }
  DrawnMatrices* drawing = nullptr;
  std::unique_ptr<Scene> sc;
  FrameHandle root;
  ViewportHandle view;
  AnimationSetHandle set;
  std::vector<FrameHandle> frames;
};

// A pose at a whole key time reaches the frames only when one of them is read, moved or
// drawn. A seat posed many times over without being looked at must then stand, bit for bit,
// as a fresh seat posed once.
TEST(KeptFiles, APoseLeftUnreadIsWhatTheNextReadMoveOrDrawingSees) {
  auto posedOnce = [](double t) {
    SeatedBear fresh;
    fresh.sc->SetTime(fresh.set, t);
    return fresh.Standing();
  };
  const auto rest = SeatedBear().Standing();
  ASSERT_GT(rest.size(), 5u);
  ASSERT_NE(posedOnce(12), rest);
  ASSERT_NE(posedOnce(12), posedOnce(9));

  SeatedBear bear;
  Scene& sc = *bear.sc;
  for (const double t : {3.0, 7.0, 2.5, 9.0, 9.0, 12.0}) sc.SetTime(bear.set, t);  // 2.5 is posed at once
  EXPECT_EQ(bear.Standing(), posedOnce(12));

  // Any frame moved by hand while its pose waits takes the pose, then the move; the same time
  // again poses it again (a frame the model does not animate keeps the move).
  for (size_t k = 0; k < bear.frames.size(); ++k) {
    SeatedBear readFirst, unread;
    readFirst.sc->SetTime(readFirst.set, 4);
    readFirst.Standing();
    readFirst.sc->SetPosition(readFirst.frames[k], {}, 1, 2, 3);
    unread.sc->SetTime(unread.set, 7);
    unread.sc->SetTime(unread.set, 4);
    unread.sc->SetPosition(unread.frames[k], {}, 1, 2, 3);
    EXPECT_EQ(unread.Standing(), readFirst.Standing()) << "frame " << k;
    readFirst.sc->SetTime(readFirst.set, 4);
    readFirst.Standing();
    unread.sc->SetTime(unread.set, 4);
    EXPECT_EQ(unread.Standing(), readFirst.Standing()) << "frame " << k;
  }

  // A drawing gives the waiting pose to every frame before it gathers them.
  SeatedBear drawnOnce;
  drawnOnce.sc->SetTime(drawnOnce.set, 6);
  drawnOnce.sc->Render(drawnOnce.view, drawnOnce.root);
  sc.SetTime(bear.set, 5);
  sc.SetTime(bear.set, 6);
  sc.Render(bear.view, bear.root);
  ASSERT_FALSE(drawnOnce.Drawn().empty());
  EXPECT_EQ(bear.Drawn(), drawnOnce.Drawn());
  EXPECT_EQ(bear.Standing(), posedOnce(6));
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
