// The skyline of the sixth stage: its four scrolling pieces fill the view from edge to edge
// at every step of the scroll, wherever the game can put the camera.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "headless_run.h"
#include "match/view/match_view.h"
#include "match/play/run_match.h"
#include "match/world_steps.h"
#include "scene/scene.h"
#include "match/stage_table.h"

namespace kelmora {
namespace {

struct Extent {
  float lo = 1e9f, hi = -1e9f;
};

// The x extent of the backdrop model, and whether its skyline repeats every 500 units.
Extent BackdropExtent(bool& repeats) {
  Assimp::Importer imp;
  const std::string path = std::string(KELMORA_BUILD_DIR) + "/model/back.x";
  const aiScene* s = imp.ReadFile(path, aiProcess_Triangulate | aiProcess_ConvertToLeftHanded);
  Extent e;
  repeats = false;
  if (!s) return e;
  std::vector<aiVector3D> points;
  std::vector<const aiNode*> todo{s->mRootNode};
  while (!todo.empty()) {
    const aiNode* n = todo.back();
    todo.pop_back();
    for (unsigned i = 0; i < n->mNumMeshes; ++i) {
      const aiMesh* m = s->mMeshes[n->mMeshes[i]];
      for (unsigned v = 0; v < m->mNumVertices; ++v) points.push_back(m->mVertices[v]);
    }
    for (unsigned c = 0; c < n->mNumChildren; ++c) todo.push_back(n->mChildren[c]);
  }
  for (const aiVector3D& p : points) e.lo = std::min(e.lo, p.x), e.hi = std::max(e.hi, p.x);
  // Every corner of the middle stretch is found again 500 further right.
  repeats = true;
  for (const aiVector3D& p : points) {
    if (p.x < -240 || p.x > 0) continue;
    const bool found = std::any_of(points.begin(), points.end(), [&p](const aiVector3D& q) {
      return std::abs(q.x - p.x - 500) < 0.01f && std::abs(q.y - p.y) < 0.01f && std::abs(q.z - p.z) < 0.01f;
    });
    repeats = repeats && found;
  }
  return e;
}

TEST(Backdrop, PiecesOverlapTheirNeighboursWhereTheyLookAlike) {
  bool repeats = false;
  const Extent e = BackdropExtent(repeats);
  EXPECT_GT(e.hi - e.lo, 500.0f) << "pieces set 500 apart must overlap";
  EXPECT_TRUE(repeats) << "an overlap would show two different skylines in one place";
}

TEST(Backdrop, TheSkylineFillsTheViewAtEveryStepOfTheScrollForEveryCamera) {
  bool repeats = false;
  const Extent e = BackdropExtent(repeats);
  ASSERT_LT(e.lo, e.hi);
  testing::HeadlessRun run;
  ASSERT_TRUE(run.form.Form_Load());
  Game& g = run.game;
  auto& st = g.st;
  st.stage = kRailStage;
  st.playerCharacter = {0, 1, 2, 3};
  st.displayMode = 400;
  SetUpMatch(g);
  const platform::Rect view = g.scene.ViewportRect(g.view.objects.viewport);

  // Every camera the game places: aimed at half the seats' mean (each seat within x and z
  // of +-370 and +-350), shaken by a stomp up to 25 along its own axes, or over the winner.
  struct Pose { double x, z; int shake; bool winner; };
  std::vector<Pose> poses;
  for (double x : {-370.0, 0.0, 370.0})
    for (double z : {-350.0, 0.0, 350.0})
      for (int shake = 0; shake < 9; ++shake) poses.push_back({x, z, shake, false});
  for (double x : {-370.0, 0.0, 370.0})
    for (double z : {-350.0, 0.0, 350.0}) poses.push_back({x, z, 0, true});

  int checked = 0;
  for (int step = 0; step < 20; ++step) {  // the scroll repeats every 20 ticks
    StageMotionStep(g.rules);
    int16_t left = st.backX[0], right = st.backX[0];
    for (int16_t x : st.backX) left = std::min(left, x), right = std::max(right, x);
    for (const Pose& p : poses) {
      for (int s = 0; s < kSeats; ++s) st.posX[s] = p.x, st.posZ[s] = p.z;
      // The view poses the camera from the state: over the seats, or over the winner once
      // the match is decided.
      st.winner = 0;
      st.matchDrawn = 0;
      st.matchCounter = p.winner ? kDecisionCounter - 1 : kMatchTicks;
      PoseScene(g.view, st);
      if (!p.winner) {
        if (p.shake > 0) {
          const double dx = p.shake % 3 == 1 ? -25 : p.shake % 3 == 2 ? 24 : 0;
          const double dy = p.shake / 3 == 1 ? -25 : p.shake / 3 == 2 ? 24 : 0;
          g.scene.SetPosition(g.view.objects.cameraFrame, g.view.objects.cameraFrame, dx, dy, -25);
        }
      }
      for (double y : {-90.0, 20.0, 150.0}) {
        const glm::dvec3 l = g.scene.Project(g.view.objects.viewport, {left + e.lo, y, 450});
        const glm::dvec3 r = g.scene.Project(g.view.objects.viewport, {right + e.hi, y, 450});
        EXPECT_LE(l.x, view.x) << "step " << step << " camera at " << p.x << ", " << p.z << " height " << y;
        EXPECT_GE(r.x, view.x + view.w) << "step " << step << " camera at " << p.x << ", " << p.z << " height " << y;
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 1000);
}

}  // namespace
}  // namespace kelmora
