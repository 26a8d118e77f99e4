// Faces of the generated stages: no two faces of different materials lie in one plane over
// the same area, where the depth test would let them flicker into stripes as the camera turns.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/glm.hpp>

namespace {

namespace fs = std::filesystem;

struct Triangle {
  glm::dvec3 p[3];
  unsigned material;
};

void Collect(const aiScene* s, const aiNode* n, aiMatrix4x4 parent, std::vector<Triangle>& out) {
  const aiMatrix4x4 m = parent * n->mTransformation;
  for (unsigned i = 0; i < n->mNumMeshes; ++i) {
    const aiMesh* mesh = s->mMeshes[n->mMeshes[i]];
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
      if (mesh->mFaces[f].mNumIndices != 3) continue;
      Triangle t;
      for (int k = 0; k < 3; ++k) {
        const aiVector3D v = m * mesh->mVertices[mesh->mFaces[f].mIndices[k]];
        t.p[k] = {v.x, v.y, v.z};
      }
      t.material = mesh->mMaterialIndex;
      out.push_back(t);
    }
  }
  for (unsigned c = 0; c < n->mNumChildren; ++c) Collect(s, n->mChildren[c], m, out);
}

// Whether two triangles of one plane share an area wider than a hair; `drop` is the axis left
// out when they are laid flat. Separating-axis test over the six edge normals.
bool OverlapInPlane(const Triangle& a, const Triangle& b, int drop) {
  auto flat = [drop](const glm::dvec3& p) {
    return drop == 0 ? glm::dvec2(p.y, p.z) : drop == 1 ? glm::dvec2(p.x, p.z) : glm::dvec2(p.x, p.y);
  };
  glm::dvec2 A[3], B[3];
  for (int k = 0; k < 3; ++k) A[k] = flat(a.p[k]), B[k] = flat(b.p[k]);
  constexpr double kHair = 0.05;
  for (const glm::dvec2* poly : {A, B}) {
    for (int k = 0; k < 3; ++k) {
      const glm::dvec2 e = poly[(k + 1) % 3] - poly[k];
      const double len = glm::length(e);
      if (len < 1e-9) return false;
      const glm::dvec2 axis(-e.y / len, e.x / len);
      double aLo = 1e30, aHi = -1e30, bLo = 1e30, bHi = -1e30;
      for (int j = 0; j < 3; ++j) {
        aLo = std::min(aLo, glm::dot(axis, A[j])), aHi = std::max(aHi, glm::dot(axis, A[j]));
        bLo = std::min(bLo, glm::dot(axis, B[j])), bHi = std::max(bHi, glm::dot(axis, B[j]));
      }
      if (std::min(aHi, bHi) - std::max(aLo, bLo) <= kHair) return false;
    }
  }
  return true;
}

// Pairs of faces with different materials that face the same way in the same plane and
// overlap; described for the failure message.
std::vector<std::string> CoplanarOverlaps(const std::string& model) {
  Assimp::Importer imp;
  const fs::path path = fs::path(KELMORA_BUILD_DIR) / "model" / (model + ".x");
  const aiScene* s = imp.ReadFile(path.string(), aiProcess_Triangulate | aiProcess_ConvertToLeftHanded);
  if (!s) return {model + ": cannot be read"};
  std::vector<Triangle> tris;
  Collect(s, s->mRootNode, aiMatrix4x4(), tris);

  // Planes by rounded normal and distance from the origin.
  std::map<std::tuple<long, long, long, long>, std::vector<size_t>> planes;
  std::vector<int> dropAxis(tris.size());
  for (size_t i = 0; i < tris.size(); ++i) {
    const Triangle& t = tris[i];
    const glm::dvec3 c = glm::cross(t.p[1] - t.p[0], t.p[2] - t.p[0]);
    if (glm::length(c) < 1e-6) continue;
    const glm::dvec3 n = glm::normalize(c);
    // The camera always looks down from above the stage, so faces turned downwards are
    // culled as back faces and never drawn.
    if (n.y < -0.5) continue;
    const glm::dvec3 an = glm::abs(n);
    dropAxis[i] = an.x >= an.y && an.x >= an.z ? 0 : an.y >= an.z ? 1 : 2;
    planes[{std::lround(n.x * 1000), std::lround(n.y * 1000), std::lround(n.z * 1000),
            std::lround(glm::dot(n, t.p[0]) * 20)}]
        .push_back(i);
  }
  std::vector<std::string> found;
  for (const auto& [key, members] : planes) {
    for (size_t x = 0; x < members.size(); ++x) {
      for (size_t y = x + 1; y < members.size(); ++y) {
        const Triangle &a = tris[members[x]], &b = tris[members[y]];
        if (a.material == b.material) continue;
        if (!OverlapInPlane(a, b, dropAxis[members[x]])) continue;
        const glm::dvec3 ca = (a.p[0] + a.p[1] + a.p[2]) / 3.0;
        found.push_back(model + ": materials " + std::to_string(a.material) + " and " +
                        std::to_string(b.material) + " share a plane near (" + std::to_string(int(ca.x)) +
                        ", " + std::to_string(int(ca.y)) + ", " + std::to_string(int(ca.z)) + ")");
      }
    }
  }
  return found;
}

// The distinct places of the overlaps, a few of them.
std::string Places(const std::vector<std::string>& found) {
  std::vector<std::string> distinct;
  for (const std::string& f : found) {
    if (std::find(distinct.begin(), distinct.end(), f) == distinct.end()) distinct.push_back(f);
  }
  std::string out = std::to_string(found.size()) + " overlapping pairs:";
  for (size_t i = 0; i < distinct.size() && i < 60; ++i) out += "\n  " + distinct[i];
  return out;
}

TEST(StageModels, NoTwoPartsShareAFacePlaneOverTheSameArea) {
  for (int k = 1; k <= 6; ++k) {
    const std::vector<std::string> found = CoplanarOverlaps("stage" + std::to_string(k));
    EXPECT_TRUE(found.empty()) << Places(found);
  }
  for (const char* prop : {"block", "back"}) {
    const std::vector<std::string> found = CoplanarOverlaps(prop);
    EXPECT_TRUE(found.empty()) << Places(found);
  }
}

TEST(StageModels, TheOverlapCheckFindsTwoPaintsInOnePlane) {
  // Two quads of different paint laid over each other, as the truck's walls lay on the pit's.
  Triangle a{{{0, 0, 0}, {10, 0, 0}, {0, 10, 0}}, 0};
  Triangle b{{{2, 2, 0}, {12, 2, 0}, {2, 12, 0}}, 1};
  Triangle touching{{{10, 0, 0}, {20, 0, 0}, {10, 10, 0}}, 1};
  EXPECT_TRUE(OverlapInPlane(a, b, 2));
  EXPECT_FALSE(OverlapInPlane(a, touching, 2)) << "faces that only meet at an edge do not flicker";
}

}  // namespace
