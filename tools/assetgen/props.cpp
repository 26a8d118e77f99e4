// The single models: fire, the mole's mound, the power-up gift, the big fish, the snow pile,
// the net, the message board, the sea around the raft and the skyline backdrop.
#include <algorithm>
#include <cmath>
#include <vector>

#include "models.h"

namespace assetgen {

namespace {
constexpr float kPi = 3.14159265358979f;

Model Static(const std::string& name, Mesh mesh) {
  Model m;
  m.name = name;
  m.root = Frame{name, Pose(), std::move(mesh), {}, {}};
  return m;
}

// A small fixed pseudo-random sequence for scattering details the same way on every run.
struct Scatter {
  uint32_t state;
  float Next() {
    state = state * 1664525u + 1013904223u;
    return static_cast<float>(state >> 8) / 16777216.0f;
  }
  float Range(float lo, float hi) { return lo + (hi - lo) * Next(); }
};
}  // namespace

Model BuildFire() {
  const Material outer = Paint(glm::vec3(1.0f, 0.42f, 0.08f), 0.85f);
  const Material inner = Paint(glm::vec3(1.0f, 0.85f, 0.25f), 0.95f);
  const Material ember = Paint(glm::vec3(0.8f, 0.2f, 0.05f), 0.8f);
  Model m;
  m.name = "fire";
  for (int t = 0; t < 20; ++t) m.keyTimes.push_back(t);
  m.root = Frame{"fire", Pose(), Mesh(), {}, {}};
  AddEllipsoid(m.root.mesh, {0, 0, 0}, {50, 2, 50}, ember, 14, 3);
  const int tongues = 9;
  for (int i = 0; i < tongues; ++i) {
    const bool centre = i == tongues - 1;
    const float a = 2.0f * kPi * static_cast<float>(i) / (tongues - 1);
    const glm::vec3 at = centre ? glm::vec3(0) : glm::vec3(38 * std::sin(a), 0, 38 * std::cos(a));
    Frame f{"flame" + std::to_string(i), MakePose(at), Mesh(), {}, {}};
    const float h = centre ? 60.0f : 40.0f;
    AddTube(f.mesh, {0, 0, 0}, {0, h, 0}, 12, 0, outer, 7);
    AddTube(f.mesh, {0, 0, 2}, {0, h * 0.65f, 2}, 7, 0, inner, 6);
    AddTube(f.mesh, {0, 0, -2}, {0, h * 0.65f, -2}, 7, 0, inner, 6);
    for (int t = 0; t < 20; ++t) {
      const float ph = 2.0f * kPi * static_cast<float>(t) / 20.0f * (i % 2 ? 2.0f : 3.0f) + static_cast<float>(i) * 1.7f;
      const float sy = 0.65f + 0.45f * (0.5f + 0.5f * std::sin(ph));
      const float sxz = 1.0f - 0.2f * (0.5f + 0.5f * std::sin(ph));
      f.keys.push_back(MakePose(at, 8 * std::sin(ph * 0.5f), static_cast<float>(t) * 9.0f + static_cast<float>(i * 40), 8 * std::cos(ph),
                                glm::vec3(sxz, sy, sxz)));
    }
    f.rest = f.keys[0];
    m.root.children.push_back(std::move(f));
  }
  return m;
}

Model BuildCursor() {
  const Material dirt = Paint(120, 80, 45), dark = Paint(85, 55, 30);
  Mesh mesh;
  AddEllipsoid(mesh, {0, 0, 0}, {24, 11, 24}, dirt, 12, 8);
  Scatter s{7};
  for (int i = 0; i < 9; ++i) {
    const float a = s.Range(0, 2 * kPi), r = s.Range(14, 28);
    AddEllipsoid(mesh, {r * std::sin(a), 2, r * std::cos(a)}, glm::vec3(s.Range(2.5f, 4.5f)), i % 2 ? dark : dirt, 6, 4);
  }
  AddEllipsoid(mesh, {0, 10, 0}, {8, 3, 8}, dark, 8, 4);
  return Static("cursor", std::move(mesh));
}

Model BuildItem() {
  const Material box = Paint(230, 40, 60, 0.35f), ribbon = Paint(255, 215, 40, 0.45f);
  Mesh mesh;
  AddBlock(mesh, {-18, 0, -18}, {18, 32, 18}, box);
  AddBlock(mesh, {-4, -0.5f, -18.5f}, {4, 32.5f, 18.5f}, ribbon);
  AddBlock(mesh, {-18.5f, -0.5f, -4}, {18.5f, 32.5f, 4}, ribbon);
  AddBlock(mesh, {-20, 32, -20}, {20, 37, 20}, box);
  AddBlock(mesh, {-4, 31.5f, -20.5f}, {4, 37.5f, 20.5f}, ribbon);
  AddBlock(mesh, {-20.5f, 31.5f, -4}, {20.5f, 37.5f, 4}, ribbon);
  AddEllipsoid(mesh, {-7, 41, 0}, {8, 4.5f, 4}, ribbon, 8, 5, Translate({-7, 41, 0}) * RotateZ(25) * Translate({7, -41, 0}));
  AddEllipsoid(mesh, {7, 41, 0}, {8, 4.5f, 4}, ribbon, 8, 5, Translate({7, 41, 0}) * RotateZ(-25) * Translate({-7, -41, 0}));
  AddEllipsoid(mesh, {0, 39.5f, 0}, glm::vec3(3.5f), ribbon, 6, 4);
  return Static("item", std::move(mesh));
}

Model BuildBigFish() {
  const Material blue = Paint(40, 100, 210, 0.2f), fin = Paint(30, 170, 190), belly = Paint(200, 230, 240);
  Mesh mesh;
  AddEllipsoid(mesh, {5, 16, 0}, {62, 16, 34}, blue, 16, 8);
  AddEllipsoid(mesh, {10, 15, -12}, {48, 14, 20}, belly, 14, 6);
  AddEllipsoid(mesh, {-70, 12, 0}, {18, 4, 26}, fin, 10, 5);
  AddEllipsoid(mesh, {0, 20, 30}, {34, 4, 11}, fin, 10, 5);
  AddEllipsoid(mesh, {15, 30, -8}, {12, 3, 8}, fin, 8, 4);
  AddEllipsoid(mesh, {45, 27, 8}, {8, 4, 8}, Paint(255, 255, 255, 0.5f), 10, 5);
  AddEllipsoid(mesh, {47, 30, 9}, {4, 2, 4}, Paint(20, 20, 30, 0.0f), 8, 4);
  AddEllipsoid(mesh, {66, 14, -2}, {3, 3, 9}, Paint(170, 40, 60), 8, 4);
  for (int i = 0; i < 4; ++i)
    AddEllipsoid(mesh, {-10.0f + static_cast<float>(i * 16), 31, 10}, {5, 1.2f, 9}, Paint(60, 130, 230), 6, 3);
  return Static("fish2", std::move(mesh));
}

Model BuildSnowPile() {
  // Low-poly lumps: 31 piles are on screen at once. Snow glows no more than the characters do
  // (white at a tenth is about as bright as their colours at 0.15), so outside the dark
  // stage's spotlight the piles are as hard to see as the players.
  const Material snow = Paint(glm::vec3(1.0f, 1.0f, 1.0f), kSnowGlow);
  const Material shade = Paint(glm::vec3(0.9f, 0.95f, 1.0f), kSnowGlow);
  // Only what can be seen is kept: the mound ends at its ring 5 units under the floor (a
  // swaying floor rises at most that far above a pile's foot), and the three lumps on it lose
  // their bottom caps, which lie wholly inside the mound.
  Mesh mesh;
  AddEllipsoidTop(mesh, {0, 0, 0}, {28, 17, 26}, snow, 10, 5, 3);
  AddEllipsoidTop(mesh, {-10, 10, -6}, {13, 11, 12}, shade, 7, 3, 2);
  AddEllipsoidTop(mesh, {9, 11, 5}, {12, 10, 12}, snow, 7, 3, 2);
  AddEllipsoidTop(mesh, {2, 18, -2}, {9, 7, 9}, snow, 6, 3, 2);
  return Static("snow", std::move(mesh));
}

Model BuildNet() {
  Mesh mesh;
  AddQuad(mesh, {-50, 1, 50}, {50, 1, 50}, {50, 1, -50}, {-50, 1, -50}, {0, 1, 0},
          Material{glm::vec3(1.0f), glm::vec3(0.4f), 1.0f});
  return Static("net", std::move(mesh));
}

Model BuildMessageBoard() {
  // Leans back so it faces a camera that looks along +z from above.
  const float tilt = glm::radians(28.0f);
  const glm::vec3 right(1, 0, 0), up(0, std::cos(tilt), std::sin(tilt)), normal(0, std::sin(tilt), -std::cos(tilt));
  // Sized so that the whole board fits the view of the winner's camera, 300 units away.
  const float hw = 130, hh = 32.5f;
  Mesh mesh;
  AddQuad(mesh, -right * hw + up * hh, right * hw + up * hh, right * hw - up * hh, -right * hw - up * hh, normal,
          Material{glm::vec3(1.0f), glm::vec3(0.7f), 1.0f});
  return Static("message", std::move(mesh));
}

Model BuildSeaBlock() {
  const Material sea = Paint(70, 98, 125, 0.25f), foam = Paint(220, 232, 240, 0.4f);
  Mesh mesh;
  // Rolling swell around the raft, out to the horizon the camera sees.
  const float cell = 100;
  const int nx = 30, nz = 24;
  auto height = [](float x, float z) { return -18.0f + 5.0f * std::sin(x * 0.012f + z * 0.004f) + 3.0f * std::sin(z * 0.02f); };
  for (int i = 0; i < nx; ++i) {
    for (int j = 0; j < nz; ++j) {
      const float x0 = -1500 + static_cast<float>(i) * cell, z0 = -700 + static_cast<float>(j) * cell;
      if (x0 >= -400 && x0 + cell <= 400 && z0 >= -400 && z0 + cell <= 400) continue;  // under the raft
      glm::vec3 p[4] = {{x0, 0, z0}, {x0 + cell, 0, z0}, {x0 + cell, 0, z0 + cell}, {x0, 0, z0 + cell}};
      uint32_t idx[4];
      const int mi = mesh.MaterialIndex(sea);
      for (int k = 0; k < 4; ++k) {
        p[k].y = height(p[k].x, p[k].z);
        const float dx = height(p[k].x + 1, p[k].z) - p[k].y, dz = height(p[k].x, p[k].z + 1) - p[k].y;
        idx[k] = mesh.AddVertex(p[k], {-dx, 1, -dz});
      }
      mesh.AddTriangle(idx[0], idx[1], idx[2], mi, {0, 1, 0});
      mesh.AddTriangle(idx[0], idx[2], idx[3], mi, {0, 1, 0});
    }
  }
  Scatter s{99};
  for (int i = 0; i < 40; ++i) {
    float x = s.Range(-1400, 1400), z = s.Range(-650, 1600);
    if (std::fabs(x) < 470 && z > -470 && z < 470) x += x < 0 ? -500 : 500;
    AddEllipsoid(mesh, {x, height(x, z) + 1, z}, {s.Range(25, 60), 2.5f, s.Range(6, 10)}, foam, 8, 3);
  }
  for (const glm::vec3 b : {glm::vec3(-620, 0, 150), glm::vec3(650, 0, 520)}) {
    AddTube(mesh, b + glm::vec3(0, -20, 0), b + glm::vec3(0, 10, 0), 16, 12, Paint(220, 50, 40, 0.3f), 10);
    AddTube(mesh, b + glm::vec3(0, 10, 0), b + glm::vec3(0, 30, 0), 12, 6, Paint(240, 240, 240, 0.3f), 10);
    AddEllipsoid(mesh, b + glm::vec3(0, 34, 0), glm::vec3(5), Paint(glm::vec3(1, 0.9f, 0.3f), 0.9f), 6, 4);
  }
  return Static("block", std::move(mesh));
}

Model BuildBackdrop() {
  const Material ground = Paint(30, 30, 40, 0.3f);
  const Material window = Paint(glm::vec3(1.0f, 0.85f, 0.45f), 0.9f);
  const Material light = Paint(glm::vec3(1, 0.2f, 0.2f), 0.9f);
  struct Tower {
    float x, w, h, d, z0;
    Material wall;
    std::vector<glm::vec2> windows;  // lower left corners
    bool mast;
  };
  // One 500-wide stretch of towers, laid out once...
  std::vector<Tower> towers;
  Scatter s{2024};
  const float half = kBackdropRepeat / 2;
  float x = -half;
  while (x < half - 5) {
    const float w = std::min(s.Range(55, 95), half - x);
    if (w < 30) break;
    Tower t{x, w, s.Range(120, 430), s.Range(30, 60), 0, Paint(30, 30, 40), {}, false};
    const float shade = s.Range(0.7f, 1.0f);
    t.wall = Paint(glm::vec3(0.16f, 0.18f, 0.3f) * shade, 0.35f);
    t.z0 = towers.size() % 2 ? 25.0f : 0.0f;
    for (float wy = 20; wy + 12 < t.h - 10; wy += 26) {
      for (float wx = x + 10; wx + 9 < x + w - 8; wx += 17) {
        if (s.Next() < 0.45f) continue;
        t.windows.push_back({wx, wy});
      }
    }
    t.mast = s.Next() < 0.4f;
    towers.push_back(std::move(t));
    x += w;
  }
  // ...and repeated across the whole piece, cut at its ends.
  Mesh mesh;
  const float edge = kBackdropHalfWidth;
  AddBlock(mesh, {1 - edge, -10, -20}, {edge - 1, 12, 40}, ground);
  for (float shift = -kBackdropRepeat * 2; shift <= kBackdropRepeat * 2; shift += kBackdropRepeat) {
    for (const Tower& t : towers) {
      const float x0 = std::max(t.x + shift + 2, -edge), x1 = std::min(t.x + shift + t.w - 2, edge);
      if (x1 - x0 < 1) continue;
      AddBlock(mesh, {x0, 0, t.z0}, {x1, t.h, t.z0 + t.d}, t.wall);
      for (glm::vec2 c : t.windows) {
        const float wx = c.x + shift, wy = c.y, z = t.z0 - 0.5f;
        if (wx < x0 || wx + 9 > x1) continue;
        AddQuad(mesh, {wx, wy + 12, z}, {wx + 9, wy + 12, z}, {wx + 9, wy, z}, {wx, wy, z}, {0, 0, -1}, window);
      }
      const float mid = t.x + shift + t.w * 0.5f;
      if (t.mast && mid > x0 && mid < x1) {
        const float zm = t.z0 + t.d * 0.5f;
        AddTube(mesh, {mid, t.h, zm}, {mid, t.h + 45, zm}, 1.5f, 0.8f, t.wall, 5);
        AddEllipsoid(mesh, {mid, t.h + 46, zm}, glm::vec3(3), light, 6, 4);
      }
    }
  }
  mesh.uvs.clear();
  return Static("back", std::move(mesh));
}

}  // namespace assetgen
