// Frames of the scene graph: placement, turning, looking, release, and where the camera puts
// things on the screen.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "scene_test_support.h"
#include "scene/id_table.h"
#include "scene/scene.h"

namespace kelmora::scene {
namespace {

constexpr double kEps = 1e-9;
const double kR = std::sqrt(0.5);

void ExpectNear(glm::dvec3 got, glm::dvec3 want, double eps = 1e-9) {
  testing::ExpectNear(got, want, eps);
}

using World = testing::SceneWithRoot;

TEST(Frames, ANewFrameStandsUnturnedAtItsParentsOrigin) {
  World w;
  const FrameHandle parent = w.sc.CreateFrame(w.root);
  w.sc.SetPosition(parent, {}, 10, 20, 30);
  const FrameHandle child = w.sc.CreateFrame(parent);
  ExpectNear(w.sc.WorldPosition(child), {10, 20, 30});
  ExpectNear(w.sc.Direction(child), {0, 0, 1});
  ExpectNear(w.sc.Up(child), {0, 1, 0});
  EXPECT_EQ(w.sc.Parent(child), parent);
  EXPECT_EQ(w.sc.Children(parent), std::vector<FrameHandle>{child});
}

TEST(Frames, PositionWithoutReferenceIsInTheParentsAxes) {
  World w;
  const FrameHandle parent = w.sc.CreateFrame(w.root);
  w.sc.SetPosition(parent, {}, 100, 0, 0);
  w.sc.SetOrientation(parent, {}, {1, 0, 0}, {0, 1, 0});  // parent's +z is the world's +x
  const FrameHandle child = w.sc.CreateFrame(parent);
  w.sc.SetPosition(child, {}, 0, 0, 10);
  ExpectNear(w.sc.Position(child), {0, 0, 10});
  ExpectNear(w.sc.WorldPosition(child), {110, 0, 0});
}

TEST(Frames, PositionRelativeToItselfMovesAlongItsOwnAxes) {
  World w;
  const FrameHandle f = w.sc.CreateFrame(w.root);
  w.sc.SetPosition(f, {}, 0, 500, -1000);
  w.sc.SetOrientation(f, {}, {1, 0, 0}, {0, 1, 0});
  w.sc.SetPosition(f, f, 0, 0, 10);  // ten ahead
  ExpectNear(w.sc.WorldPosition(f), {10, 500, -1000});
  w.sc.SetPosition(f, f, 5, 0, 0);  // five to its right: towards -z
  ExpectNear(w.sc.WorldPosition(f), {10, 500, -1005});
  ExpectNear(w.sc.Direction(f), {1, 0, 0});  // the move keeps the turn
}

TEST(Frames, PositionRelativeToAnotherFrameUsesThatFramesAxes) {
  World w;
  const FrameHandle a = w.sc.CreateFrame(w.root);
  w.sc.SetPosition(a, {}, 50, 0, 0);
  w.sc.SetOrientation(a, {}, {0, 0, -1}, {0, 1, 0});
  const FrameHandle b = w.sc.CreateFrame(w.root);
  w.sc.SetPosition(b, a, 0, 0, 20);
  ExpectNear(w.sc.WorldPosition(b), {50, 0, -20});
}

TEST(Frames, OrientationTurnsZToTheDirectionAndYToTheUp) {
  World w;
  const FrameHandle f = w.sc.CreateFrame(w.root);
  w.sc.SetOrientation(f, {}, {1, 0, -1}, {0, 1, 0});
  ExpectNear(w.sc.Direction(f), {kR, 0, -kR});
  ExpectNear(w.sc.Up(f), {0, 1, 0});
  // Left-handed: right = up x direction.
  ExpectNear(w.sc.Right(f), {-kR, 0, -kR});
}

TEST(Frames, AnUpThatIsNotSquareToTheDirectionIsMadeSquare) {
  World w;
  const FrameHandle f = w.sc.CreateFrame(w.root);
  w.sc.SetOrientation(f, {}, {0, 0, 5}, {0, 3, 3});
  ExpectNear(w.sc.Direction(f), {0, 0, 1});
  ExpectNear(w.sc.Up(f), {0, 1, 0});
}

TEST(Frames, AnUpAlongTheDirectionStillGivesAProperTurn) {
  World w;
  const FrameHandle f = w.sc.CreateFrame(w.root);
  w.sc.SetOrientation(f, {}, {0, -1, 0}, {0, 1, 0});
  ExpectNear(w.sc.Direction(f), {0, -1, 0});
  EXPECT_NEAR(glm::dot(w.sc.Up(f), w.sc.Direction(f)), 0, kEps);
}

TEST(LookAt, TurnsTowardsTheTargetWithoutRoll) {
  World w;
  const FrameHandle cam = w.sc.CreateFrame(w.root);
  const FrameHandle target = w.sc.CreateFrame(w.root);
  w.sc.SetPosition(cam, {}, 0, 500, -1000);
  w.sc.SetPosition(target, {}, 200, 0, 100);
  w.sc.LookAt(cam, target);
  ExpectNear(w.sc.Direction(cam), glm::normalize(glm::dvec3(200, -500, 1100)));
  EXPECT_NEAR(w.sc.Right(cam).y, 0, kEps);  // no roll: the right axis stays level
  EXPECT_GT(w.sc.Up(cam).y, 0);
}

TEST(LookAt, StraightDownTurnsAboutXOnly) {
  World w;
  const FrameHandle light = w.sc.CreateFrame(w.root);
  const FrameHandle stage = w.sc.CreateFrame(w.root);
  w.sc.SetPosition(light, {}, 0, 750, 0);
  w.sc.SetPosition(stage, {}, 0, -10, 0);
  w.sc.LookAt(light, stage);
  ExpectNear(w.sc.Direction(light), {0, -1, 0});
  ExpectNear(w.sc.Right(light), {1, 0, 0});
  ExpectNear(w.sc.Up(light), {0, 0, 1});
}

TEST(LookAt, KeepsTheTurnAfterTheFrameMoves) {
  World w;
  const FrameHandle cam = w.sc.CreateFrame(w.root);
  const FrameHandle target = w.sc.CreateFrame(w.root);
  w.sc.SetPosition(cam, {}, 0, 500, -1000);
  w.sc.LookAt(cam, target);
  const glm::dvec3 dir = w.sc.Direction(cam);
  w.sc.SetPosition(cam, {}, 0, 475, -1000);
  ExpectNear(w.sc.Direction(cam), dir);
}

TEST(Release, AFrameTakesTheFramesUnderItAlong) {
  World w;
  const FrameHandle a = w.sc.CreateFrame(w.root);
  const FrameHandle b = w.sc.CreateFrame(a);
  w.sc.Release(a);
  EXPECT_FALSE(w.sc.Exists(a));
  EXPECT_FALSE(w.sc.Exists(b));
  EXPECT_TRUE(w.sc.Children(w.root).empty());
}

TEST(Release, EmptyAndReleasedHandlesAreIgnored) {
  World w;
  const FrameHandle a = w.sc.CreateFrame(w.root);
  w.sc.Release(a);
  w.sc.Release(a);
  w.sc.Release(FrameHandle{});
  w.sc.Release(LightHandle{});
  w.sc.Release(ViewportHandle{});
  w.sc.SetPosition(a, {}, 1, 2, 3);  // nothing happens
  EXPECT_FALSE(w.sc.Exists(a));
  // A new frame never reuses a released handle.
  EXPECT_NE(w.sc.CreateFrame(w.root), a);
}

// A look-up made once answers every id as the table does: ids below the base, past the end,
// erased (and moved into the hole of an erased one) and present.
TEST(IdTable, ALookupAnswersAsTheTable) {
  IdTable<int> t;
  for (int32_t id = 1; id <= 6; ++id) t.emplace(id, 10 * id);
  t.clear();
  for (int32_t id = 7; id <= 20; id += 2) t.emplace(id, 10 * id);
  t.erase(9);
  t.erase(15);
  const auto look = t.lookup();
  for (int32_t id = -3; id <= 25; ++id) {
    EXPECT_EQ(look.get(id), t.get(id)) << "id " << id;
    if (int* v = look.get(id)) {
      EXPECT_EQ(*v, 10 * id);
    }
  }
  EXPECT_EQ(look.get(INT32_MIN), nullptr);
  EXPECT_EQ(look.get(INT32_MAX), nullptr);
}

TEST(Release, TheRetainedModeObjectTakesTheWholeSceneAlong) {
  World w;
  const FrameHandle f = w.sc.CreateFrame(w.root);
  const LightHandle l = w.sc.CreateLight(LightKind::Point, 1, 1, 1);
  w.sc.AddLight(f, l);
  w.sc.CreateMeshBuilder();
  w.sc.CreateViewport(w.sc.CreateDevice({}, 640, 480), f, 0, 0, 640, 430);
  w.sc.SetSceneBackground(0.5, 0.5, 1);
  w.sc.Release(w.rm);
  EXPECT_EQ(w.sc.ObjectCount(), 0u);
  EXPECT_EQ(w.sc.Background(), glm::dvec3(0, 0, 0));
}

// The match camera: seat 0's start at the upper left, seat 3's at the lower right, and the
// direction (1, 0, -1) pointing to the lower right of the screen.
TEST(MatchView, TheMatchCameraSeesTheArenaTheRightWayRound) {
  World w;
  const FrameHandle cam = w.sc.CreateFrame(w.root);
  const FrameHandle target = w.sc.CreateFrame(w.root);
  w.sc.SetPosition(cam, {}, 0, 500, -1000);
  w.sc.LookAt(cam, target);
  const ViewportHandle vp = w.sc.CreateViewport(w.sc.CreateDevice({}, 640, 480), cam, 0, 0, 640, 430);
  w.sc.SetBack(vp, 1600);
  const glm::dvec3 centre = w.sc.Project(vp, {0, 0, 0});
  EXPECT_NEAR(centre.x, 320, 1e-6);
  EXPECT_NEAR(centre.y, 215, 1e-6);
  const glm::dvec3 seat0 = w.sc.Project(vp, {-300, 0, 200});
  const glm::dvec3 seat3 = w.sc.Project(vp, {300, 0, -200});
  EXPECT_LT(seat0.x, 320);
  EXPECT_LT(seat0.y, 215);
  EXPECT_GT(seat3.x, 320);
  EXPECT_GT(seat3.y, 215);
  const glm::dvec3 ahead = w.sc.Project(vp, glm::dvec3(50, 0, -50));
  EXPECT_GT(ahead.x, centre.x);
  EXPECT_GT(ahead.y, centre.y);
  // The whole arena width fits on the screen.
  EXPECT_GT(w.sc.Project(vp, {-370, 0, 350}).x, 0);
  EXPECT_LT(w.sc.Project(vp, {370, 0, 350}).x, 640);
}

}  // namespace
}  // namespace kelmora::scene
