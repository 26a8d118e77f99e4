// The six arenas: a floor over x -400..400 and z -400..400 whose top lies at y = 10 (the
// game lowers the stage by 10, so players stand on y = 0), walls around it, the goal sunk
// into the floor where the stage puts it, and a theme of its own.
#include <algorithm>
#include <cmath>

#include "models.h"

namespace assetgen {

const StageFacts kStages[kStageCount] = {
    {{0.5f, 0.5f, 1.0f}, -140, 220, 310, 250},  {{0.0f, 0.0f, 0.3f}, -400, -160, 145, 140},
    {{0.0f, 0.0f, 0.0f}, 370, -170, 150, 275},  {{0.0f, 0.0f, 0.0f}, -130, -490, 260, 200},
    {{0.4f, 0.4f, 0.5f}, -130, 190, 260, 110},  {{0.0f, 0.0f, 0.0f}, 100, 150, 190, 100},
};

namespace {

constexpr float kEdge = 400.0f;
constexpr float kTop = kFloorTop;
constexpr float kPitBottom = -50.0f;

struct Rect {
  float x0, x1, z0, z1;
};

struct Theme {
  Material floor, floorAlt, slab, pitWall, pitBottom;
  float cell = 50;
};

Rect GoalRect(int k) {
  const StageFacts& s = kStages[k];
  return {s.goalX, s.goalX + s.goalWidth, s.goalZ, s.goalZ + s.goalDepth};
}

// The floor with the goal cut out, the slab's sides, and the pit under the goal.
void AddArenaFloor(Mesh& m, const Rect& goal, const Theme& t) {
  const Rect h{std::max(goal.x0, -kEdge), std::min(goal.x1, kEdge), std::max(goal.z0, -kEdge), std::min(goal.z1, kEdge)};
  const Material* alt = &t.floorAlt;
  AddFloor(m, -kEdge, h.x0, -kEdge, kEdge, kTop, t.cell, t.floor, alt);
  AddFloor(m, h.x1, kEdge, -kEdge, kEdge, kTop, t.cell, t.floor, alt);
  AddFloor(m, h.x0, h.x1, -kEdge, h.z0, kTop, t.cell, t.floor, alt);
  AddFloor(m, h.x0, h.x1, h.z1, kEdge, kTop, t.cell, t.floor, alt);
  // slab sides, seen where the floor ends
  AddQuad(m, {-kEdge, kTop, -kEdge}, {kEdge, kTop, -kEdge}, {kEdge, -40, -kEdge}, {-kEdge, -40, -kEdge}, {0, 0, -1}, t.slab);
  AddQuad(m, {-kEdge, kTop, kEdge}, {-kEdge, kTop, -kEdge}, {-kEdge, -40, -kEdge}, {-kEdge, -40, kEdge}, {-1, 0, 0}, t.slab);
  AddQuad(m, {kEdge, kTop, -kEdge}, {kEdge, kTop, kEdge}, {kEdge, -40, kEdge}, {kEdge, -40, -kEdge}, {1, 0, 0}, t.slab);
  // the pit: bottom and four inner walls facing inwards
  AddFloor(m, goal.x0, goal.x1, goal.z0, goal.z1, kPitBottom, 50, t.pitBottom);
  const float y0 = kPitBottom, y1 = kTop;
  AddQuad(m, {goal.x0, y1, goal.z0}, {goal.x1, y1, goal.z0}, {goal.x1, y0, goal.z0}, {goal.x0, y0, goal.z0}, {0, 0, 1}, t.pitWall);
  AddQuad(m, {goal.x0, y1, goal.z1}, {goal.x1, y1, goal.z1}, {goal.x1, y0, goal.z1}, {goal.x0, y0, goal.z1}, {0, 0, -1}, t.pitWall);
  AddQuad(m, {goal.x0, y1, goal.z0}, {goal.x0, y1, goal.z1}, {goal.x0, y0, goal.z1}, {goal.x0, y0, goal.z0}, {1, 0, 0}, t.pitWall);
  AddQuad(m, {goal.x1, y1, goal.z0}, {goal.x1, y1, goal.z1}, {goal.x1, y0, goal.z1}, {goal.x1, y0, goal.z0}, {-1, 0, 0}, t.pitWall);
  m.uvs.clear();
}

// Yellow and black hazard stripes along the goal's edges that lie on the floor; `frontOnly`
// keeps the stripes off the edges that something else already covers.
void AddGoalRim(Mesh& m, const Rect& goal, float glow = 0.3f, bool frontOnly = false) {
  const Material yellow = Paint(glm::vec3(1.0f, 0.82f, 0.1f), glow), black = Paint(30, 30, 30, 0.0f);
  auto edgeX = [&](float z, float dz) {
    if (z <= -kEdge || z >= kEdge) return;
    int i = 0;
    for (float x = std::max(goal.x0, -kEdge); x < std::min(goal.x1, kEdge) - 1; x += 15, ++i)
      AddBlock(m, {x, kTop, std::min(z, z + dz)}, {std::min(x + 15, std::min(goal.x1, kEdge)), kTop + 2, std::max(z, z + dz)},
               i % 2 ? black : yellow);
  };
  auto edgeZ = [&](float x, float dx) {
    if (x <= -kEdge || x >= kEdge) return;
    int i = 0;
    for (float z = std::max(goal.z0, -kEdge); z < std::min(goal.z1, kEdge) - 1; z += 15, ++i)
      AddBlock(m, {std::min(x, x + dx), kTop, z}, {std::max(x, x + dx), kTop + 2, std::min(z + 15, std::min(goal.z1, kEdge))},
               i % 2 ? black : yellow);
  };
  edgeX(goal.z0, -8);
  if (frontOnly) return;
  edgeX(goal.z1, 8);
  edgeZ(goal.x0, -8);
  edgeZ(goal.x1, 8);
}

// A flat arrow on the floor at `at`, pointing along (dx, dz).
void AddArrow(Mesh& m, glm::vec2 at, glm::vec2 dir, const Material& mat) {
  const glm::vec2 d = glm::normalize(dir), s(-d.y, d.x);
  auto P = [&](float along, float side) {
    const glm::vec2 p = at + d * along + s * side;
    return glm::vec3(p.x, kTop + 0.8f, p.y);
  };
  AddPolygon(m, {P(-20, -8), P(-20, 8), P(5, 8), P(5, -8)}, {0, 1, 0}, mat);
  AddPolygon(m, {P(5, -18), P(5, 18), P(25, 0)}, {0, 1, 0}, mat);
}

// A wall along x at z (from x0 to x1), leaving out the gaps.
void AddWallAlongX(Mesh& m, float z, float x0, float x1, float height, float thick, const Material& mat,
                   std::vector<std::pair<float, float>> gaps = {}) {
  std::sort(gaps.begin(), gaps.end());
  float x = x0;
  for (auto [g0, g1] : gaps) {
    if (g0 > x) AddBlock(m, {x, kTop, z}, {std::min(g0, x1), kTop + height, z + thick}, mat);
    x = std::max(x, g1);
  }
  if (x < x1) AddBlock(m, {x, kTop, z}, {x1, kTop + height, z + thick}, mat);
}

void AddWallAlongZ(Mesh& m, float x, float z0, float z1, float height, float thick, const Material& mat,
                   std::vector<std::pair<float, float>> gaps = {}) {
  std::sort(gaps.begin(), gaps.end());
  float z = z0;
  for (auto [g0, g1] : gaps) {
    if (g0 > z) AddBlock(m, {x, kTop, z}, {x + thick, kTop + height, std::min(g0, z1)}, mat);
    z = std::max(z, g1);
  }
  if (z < z1) AddBlock(m, {x, kTop, z}, {x + thick, kTop + height, z1}, mat);
}

void AddTree(Mesh& m, glm::vec3 at, float size) {
  AddTube(m, at, at + glm::vec3(0, size * 0.5f, 0), size * 0.08f, size * 0.06f, Paint(110, 70, 40), 6);
  AddEllipsoid(m, at + glm::vec3(0, size * 0.7f, 0), glm::vec3(size * 0.32f, size * 0.3f, size * 0.32f), Paint(60, 140, 60), 9, 6);
  AddEllipsoid(m, at + glm::vec3(size * 0.12f, size * 0.95f, -size * 0.05f), glm::vec3(size * 0.22f), Paint(80, 165, 70), 8, 5);
}

void AddLamp(Mesh& m, glm::vec3 at, float height, glm::vec3 glowColour) {
  AddTube(m, at, at + glm::vec3(0, height, 0), 3, 2, Paint(60, 60, 70, 0.2f), 6);
  AddEllipsoid(m, at + glm::vec3(0, height + 7, 0), glm::vec3(8), Paint(glowColour, 1.0f), 8, 6);
}

void AddPitGlow(Mesh& m, const Rect& goal, const Material& mat) {
  AddFloor(m, goal.x0 + 5, goal.x1 - 5, goal.z0 + 5, goal.z1 - 5, kPitBottom + 1, 50, mat);
}

Model Finish(int k, Mesh mesh) {
  Model model;
  model.name = "stage" + std::to_string(k + 1);
  mesh.uvs.clear();
  model.root = Frame{model.name, Pose(), std::move(mesh), {}, {}};
  return model;
}

Model SunnyYard() {
  const Rect g = GoalRect(0);
  Theme t{Paint(95, 165, 70, 0.2f), Paint(84, 150, 62, 0.2f), Paint(110, 80, 50), Paint(70, 90, 140), Paint(50, 60, 110)};
  Mesh m;
  AddArenaFloor(m, g, t);
  AddGoalRim(m, g);
  const Material wood = Paint(185, 135, 85, 0.2f), post = Paint(150, 105, 60, 0.2f);
  auto fenceX = [&](float z, float x0, float x1, float h, std::vector<std::pair<float, float>> gaps) {
    AddWallAlongX(m, z + 2, x0, x1, h * 0.35f, 3, wood, gaps);
    for (float x = x0; x <= x1; x += 50) {
      bool inGap = false;
      for (auto [a, b] : gaps) inGap |= (x > a - 5 && x < b + 5);
      if (!inGap) AddBlock(m, {x - 4, kTop, z}, {x + 4, kTop + h, z + 8}, post);
    }
    std::vector<std::pair<float, float>> railGaps = gaps;
    for (float y : {0.55f, 0.85f}) {
      float x = x0;
      for (auto [a, b] : railGaps) {
        if (a > x) AddBlock(m, {x, kTop + h * y - 3, z + 1}, {a, kTop + h * y + 3, z + 7}, wood);
        x = b;
      }
      if (x < x1) AddBlock(m, {x, kTop + h * y - 3, z + 1}, {x1, kTop + h * y + 3, z + 7}, wood);
    }
  };
  fenceX(400, -410, 410, 45, {{g.x0 - 12, g.x1 + 12}});
  fenceX(-410, -410, 410, 18, {});
  for (float s : {-1.0f, 1.0f}) {
    AddWallAlongZ(m, s < 0 ? -410 : 402, -400, 400, 16, 8, wood);
    // posts a little thinner than the rails beside them, so their faces never meet in a plane
    for (float z = -400; z <= 400; z += 50) AddBlock(m, {s * 405 - 3.5f, kTop, z - 4}, {s * 405 + 3.5f, kTop + 45, z + 4}, post);
    AddWallAlongZ(m, s < 0 ? -409 : 403, -400, 400, 6, 6, wood);
    AddBlock(m, {s < 0 ? -409.0f : 403.0f, kTop + 30, -400}, {s < 0 ? -403.0f : 409.0f, kTop + 36, 400}, wood);
  }
  for (float x : {-360.0f, -250.0f, 280.0f, 370.0f}) AddTree(m, {x, kTop, 470 + (x > 0 ? 20 : 0)}, 150);
  AddTree(m, {-460, kTop, 250}, 120);
  AddTree(m, {470, kTop, 150}, 120);
  // a snow truck backed up to the yard: the bed is the goal. Its walls stand a unit inside the
  // pit, in front of the pit's own walls, so that no two faces share a plane and flicker.
  const Material orange = Paint(240, 140, 30, 0.2f), cab = Paint(60, 110, 200, 0.2f), tyre = Paint(30, 30, 35, 0.0f);
  AddBlock(m, {g.x0 - 10, kPitBottom, 400}, {g.x0 + 1, kTop + 30, g.z1 + 10}, orange);
  AddBlock(m, {g.x1 - 1, kPitBottom, 400}, {g.x1 + 10, kTop + 30, g.z1 + 10}, orange);
  AddBlock(m, {g.x0 - 10, kPitBottom, g.z1 - 1}, {g.x1 + 10, kTop + 30, g.z1 + 10}, orange);
  AddBlock(m, {-90, kPitBottom, g.z1 + 10}, {120, kTop + 80, g.z1 + 90}, cab);
  AddBlock(m, {-70, kTop + 45, g.z1 + 9}, {100, kTop + 75, g.z1 + 11}, Paint(170, 210, 240, 0.4f));
  for (float x : {g.x0 - 14, g.x1 + 4})
    for (float z : {440.0f, 520.0f}) AddTube(m, {x, -20, z}, {x + 10, -20, z}, 22, 22, tyre, 12);
  AddArrow(m, {15, 170}, {0, 1}, Paint(glm::vec3(1, 0.9f, 0.2f), 0.4f));
  AddArrow(m, {-90, 170}, {0, 1}, Paint(glm::vec3(1, 0.9f, 0.2f), 0.4f));
  AddArrow(m, {120, 170}, {0, 1}, Paint(glm::vec3(1, 0.9f, 0.2f), 0.4f));
  return Finish(0, std::move(m));
}

Model NightCourtyard() {
  const Rect g = GoalRect(1);
  Theme t{Paint(118, 108, 98, 0.2f), Paint(102, 94, 86, 0.2f), Paint(70, 60, 55), Paint(60, 60, 70), Paint(25, 35, 45)};
  Mesh m;
  AddArenaFloor(m, g, t);
  AddGoalRim(m, g, 0.45f);
  const Material brick = Paint(135, 62, 50, 0.25f), cap = Paint(170, 160, 150, 0.25f);
  AddWallAlongX(m, 400, -420, 420, 55, 20, brick);
  AddBlock(m, {-422, kTop + 55, 398}, {422, kTop + 60, 422}, cap);
  AddWallAlongX(m, -420, -420, 420, 14, 20, brick);
  AddWallAlongZ(m, -420, -420, 420, 55, 20, brick);
  AddWallAlongZ(m, 400, -420, 420, 55, 20, brick);
  // the two hedges stand exactly on the obstacle slots
  const Material hedge = Paint(45, 110, 55, 0.25f), hedgeTop = Paint(70, 140, 70, 0.25f);
  for (float x0 : {-210.0f, 60.0f}) {
    AddBlock(m, {x0, kTop, 115}, {x0 + 180, kTop + 40, 415}, hedge);
    for (float z = 135; z < 415; z += 40)
      for (float x = x0 + 25; x < x0 + 180; x += 45) AddEllipsoid(m, {x, kTop + 40, z}, {20, 10, 20}, hedgeTop, 8, 4);
  }
  // the drain: a grate over the pit
  const Material iron = Paint(80, 85, 95, 0.2f);
  for (float z = g.z0 + 15; z < g.z1; z += 22) AddBlock(m, {g.x0 + 1, kTop - 6, z - 3}, {g.x1 - 1, kTop - 2, z + 3}, iron);
  AddPitGlow(m, g, Paint(glm::vec3(0.15f, 0.35f, 0.6f), 0.6f));
  AddArrow(m, {-200, -90}, {-1, 0}, Paint(glm::vec3(1, 0.85f, 0.2f), 0.6f));
  for (glm::vec3 at : {glm::vec3(-380, kTop, 380), glm::vec3(380, kTop, 380), glm::vec3(380, kTop, -380)})
    AddLamp(m, at, 80, {1.0f, 0.9f, 0.55f});
  return Finish(1, std::move(m));
}

Model DarkHall() {
  const Rect g = GoalRect(2);
  Theme t{Paint(130, 92, 62, 0.0f), Paint(114, 80, 54, 0.0f), Paint(60, 50, 45, 0.0f), Paint(70, 70, 80, 0.0f), Paint(30, 30, 40, 0.0f)};
  t.cell = 25;
  Mesh m;
  AddArenaFloor(m, g, t);
  AddGoalRim(m, g, 0.6f);
  const Material stone = Paint(95, 95, 108, 0.0f);
  AddWallAlongX(m, 400, -420, 420, 90, 20, stone);
  AddWallAlongX(m, -420, -420, 420, 14, 20, stone);
  AddWallAlongZ(m, -420, -420, 420, 90, 20, stone);
  AddWallAlongZ(m, 400, -420, 420, 90, 20, stone, {{g.z0, g.z1}});
  for (float x : {-300.0f, -100.0f, 100.0f, 300.0f}) AddBlock(m, {x - 15, kTop, 385}, {x + 15, kTop + 110, 405}, stone);
  // the chute through the right wall, framed in glowing hazard paint
  const Material hazard = Paint(glm::vec3(1.0f, 0.78f, 0.1f), 0.6f), steel = Paint(110, 115, 125, 0.15f);
  // the frame stands half a unit into the opening, in front of the wall's ends and the stripes
  AddBlock(m, {398, kTop, g.z0 - 14}, {424, kTop + 100, g.z0 + 0.5f}, hazard);
  AddBlock(m, {398, kTop, g.z1 - 0.5f}, {424, kTop + 100, g.z1 + 14}, hazard);
  AddBlock(m, {398, kTop + 90, g.z0 - 14}, {424, kTop + 104, g.z1 + 14}, hazard);
  AddPitGlow(m, g, Paint(glm::vec3(0.9f, 0.45f, 0.1f), 0.5f));
  AddBlock(m, {400, kPitBottom - 10, g.z0}, {g.x1 + 40, kPitBottom - 1, g.z1}, steel);
  AddArrow(m, {320, (g.z0 + g.z1) / 2}, {1, 0}, Paint(glm::vec3(1, 0.8f, 0.15f), 0.6f));
  return Finish(2, std::move(m));
}

Model Harbour() {
  const Rect g = GoalRect(3);
  Theme t{Paint(150, 112, 75, 0.12f), Paint(134, 98, 64, 0.12f), Paint(90, 65, 45, 0.1f), Paint(80, 60, 45, 0.1f), Paint(25, 55, 105, 0.4f)};
  Mesh m;
  AddArenaFloor(m, g, t);
  AddGoalRim(m, g, 0.45f);
  // the water in front of the quay and under the goal
  const Material water = Paint(30, 65, 120, 0.45f), foam = Paint(190, 215, 235, 0.4f);
  AddFloor(m, -1300, 1300, -1100, -400, -30, 100, water);
  for (float x = -1200; x < 1200; x += 160) AddEllipsoid(m, {x + 40, -29, -470 - std::fmod(x * 7 + 2000, 300.0f)}, {35, 1.5f, 5}, foam, 6, 3);
  // a rowing boat waiting in the goal
  const Material hull = Paint(200, 55, 45, 0.3f), hullIn = Paint(230, 210, 170, 0.3f);
  AddBlock(m, {-95, -32, -475}, {95, -22, -425}, hullIn);
  AddBlock(m, {-100, -32, -480}, {100, -5, -475}, hull);
  AddBlock(m, {-100, -32, -425}, {100, -5, -420}, hull);
  AddBlock(m, {-105, -32, -480}, {-95, -5, -420}, hull);
  AddBlock(m, {95, -32, -480}, {105, -5, -420}, hull);
  // the warehouse at the back, crates, bollards and lamps
  const Material shed = Paint(55, 95, 105, 0.2f), crate = Paint(170, 120, 60, 0.2f), bollard = Paint(40, 40, 45, 0.15f);
  AddWallAlongX(m, 400, -420, 420, 120, 30, shed);
  for (float x = -380; x < 400; x += 95) AddBlock(m, {x, kTop + 100, 398}, {x + 60, kTop + 112, 400}, Paint(glm::vec3(1, 0.85f, 0.45f), 0.8f));
  AddWallAlongZ(m, -420, -400, 400, 14, 20, Paint(100, 100, 110, 0.15f));
  AddWallAlongZ(m, 400, -400, 400, 14, 20, Paint(100, 100, 110, 0.15f));
  for (glm::vec3 c : {glm::vec3(-370, kTop, 320), glm::vec3(-330, kTop, 360), glm::vec3(340, kTop, 350)})
    AddBlock(m, c - glm::vec3(22, 0, 22), c + glm::vec3(22, 44, 22), crate);
  for (float x : {-350.0f, -200.0f, 200.0f, 350.0f}) {
    AddTube(m, {x, kTop, -385}, {x, kTop + 16, -385}, 7, 7, bollard, 8);
    AddEllipsoid(m, {x, kTop + 16, -385}, {9, 4, 9}, bollard, 8, 4);
  }
  for (glm::vec3 at : {glm::vec3(-390, kTop, -390), glm::vec3(390, kTop, -390), glm::vec3(-390, kTop, 200), glm::vec3(390, kTop, 200)})
    AddLamp(m, at, 90, {1.0f, 0.85f, 0.45f});
  AddArrow(m, {0, -250}, {0, -1}, Paint(glm::vec3(1, 0.85f, 0.2f), 0.5f));
  return Finish(3, std::move(m));
}

Model Raft() {
  const Rect g = GoalRect(4);
  Theme t{Paint(180, 140, 90, 0.2f), Paint(162, 125, 80, 0.2f), Paint(120, 90, 55), Paint(90, 65, 40), Paint(35, 28, 22)};
  Mesh m;
  AddArenaFloor(m, g, t);
  const Material log = Paint(125, 85, 50, 0.2f), dark = Paint(95, 65, 38, 0.2f);
  for (float s : {-1.0f, 1.0f}) {
    AddTube(m, {-410, kTop + 6, s * 408}, {410, kTop + 6, s * 408}, 9, 9, log, 8);
    AddTube(m, {s * 408, kTop + 6, -410}, {s * 408, kTop + 6, 410}, 9, 9, log, 8);
  }
  for (float x = -400; x <= 400; x += 100) AddTube(m, {x, kTop - 40, -400}, {x, kTop - 0.5f, -400}, 10, 10, dark, 6);
  // the hatch: a raised frame round the goal and its lid standing open at the back
  AddBlock(m, {g.x0 - 8, kTop, g.z0 - 8}, {g.x1 + 8, kTop + 5, g.z0}, dark);
  AddBlock(m, {g.x0 - 8, kTop, g.z1}, {g.x1 + 8, kTop + 5, g.z1 + 8}, dark);
  AddBlock(m, {g.x0 - 8, kTop, g.z0}, {g.x0, kTop + 5, g.z1}, dark);
  AddBlock(m, {g.x1, kTop, g.z0}, {g.x1 + 8, kTop + 5, g.z1}, dark);
  AddBlock(m, {g.x0, kTop, g.z1 + 8}, {g.x1, kTop + 100, g.z1 + 16}, log);
  for (float x = g.x0 + 30; x < g.x1; x += 50) AddBlock(m, {x, kTop, g.z1 + 6}, {x + 8, kTop + 102, g.z1 + 18}, dark);
  // stripes in front of the hatch only: the frame covers the other edges
  AddGoalRim(m, {g.x0, g.x1, g.z0 - 8, g.z1}, 0.35f, true);
  AddPitGlow(m, g, Paint(glm::vec3(0.95f, 0.7f, 0.25f), 0.45f));
  // a mast with a furled sail in the back corner, coils of rope, a barrel
  AddTube(m, {-340, kTop, 340}, {-340, kTop + 260, 340}, 7, 5, log, 8);
  AddTube(m, {-420, kTop + 190, 340}, {-260, kTop + 190, 340}, 3, 3, log, 6);
  AddEllipsoid(m, {-340, kTop + 192, 340}, {75, 8, 8}, Paint(235, 225, 200, 0.3f), 10, 5);
  AddEllipsoid(m, {330, kTop + 3, -330}, {18, 4, 18}, Paint(200, 170, 110), 10, 3);
  AddTube(m, {330, kTop, 330}, {330, kTop + 36, 330}, 16, 16, Paint(140, 90, 45), 10);
  AddArrow(m, {0, 140}, {0, 1}, Paint(glm::vec3(1, 0.85f, 0.2f), 0.4f));
  return Finish(4, std::move(m));
}

Model SkylinePlatform() {
  const Rect g = GoalRect(5);
  Theme t{Paint(100, 106, 122, 0.2f), Paint(90, 96, 110, 0.2f), Paint(60, 62, 72, 0.2f), Paint(150, 40, 35, 0.3f), Paint(110, 30, 25, 0.3f)};
  Mesh m;
  AddArenaFloor(m, g, t);
  const Material yellow = Paint(glm::vec3(1.0f, 0.8f, 0.1f), 0.5f), rail = Paint(170, 175, 185, 0.25f);
  AddBlock(m, {-400, kTop, -400}, {400, kTop + 1, -390}, yellow);
  AddBlock(m, {-400, kTop, 390}, {400, kTop + 1, 400}, yellow);
  for (float s : {-1.0f, 1.0f}) {
    const float x = s * 395;
    for (float z = -380; z <= 380; z += 95) AddTube(m, {x, kTop, z}, {x, kTop + 45, z}, 2.5f, 2.5f, rail, 6);
    AddTube(m, {x, kTop + 45, -380}, {x, kTop + 45, 380}, 2.5f, 2.5f, rail, 6);
    AddTube(m, {x, kTop + 25, -380}, {x, kTop + 25, 380}, 1.8f, 1.8f, rail, 6);
  }
  for (float x = -380; x <= 380; x += 95) AddTube(m, {x, kTop, 395}, {x, kTop + 45, 395}, 2.5f, 2.5f, rail, 6);
  AddTube(m, {-380, kTop + 45, 395}, {380, kTop + 45, 395}, 2.5f, 2.5f, rail, 6);
  // the cart: a red tub sunk into the platform, its rim just above the floor, wheels beside it
  const Material red = Paint(200, 50, 40, 0.3f), wheel = Paint(40, 40, 45, 0.1f);
  AddBlock(m, {g.x0 - 10, kTop, g.z0 - 10}, {g.x1 + 10, kTop + 4, g.z0}, red);
  AddBlock(m, {g.x0 - 10, kTop, g.z1}, {g.x1 + 10, kTop + 4, g.z1 + 10}, red);
  AddBlock(m, {g.x0 - 10, kTop, g.z0}, {g.x0, kTop + 4, g.z1}, red);
  AddBlock(m, {g.x1, kTop, g.z0}, {g.x1 + 10, kTop + 4, g.z1}, red);
  for (float x : {g.x0 + 30, g.x1 - 30})
    for (float z : {g.z0 - 15, g.z1 + 11}) AddTube(m, {x, kTop + 6, z}, {x, kTop + 6, z + 4}, 14, 14, wheel, 10);
  AddGoalRim(m, {g.x0 - 10, g.x1 + 10, g.z0 - 10, g.z1 + 10}, 0.5f);
  AddPitGlow(m, g, Paint(glm::vec3(0.9f, 0.3f, 0.2f), 0.5f));
  // the platform's underframe and wheels, seen below the front edge
  AddBlock(m, {-380, -70, -380}, {380, -40, 380}, Paint(45, 45, 55, 0.1f));
  for (float x : {-300.0f, 300.0f}) AddTube(m, {x, -70, -390}, {x, -70, -370}, 30, 30, wheel, 12);
  AddArrow(m, {195, 80}, {0, 1}, yellow);
  return Finish(5, std::move(m));
}

}  // namespace

Model BuildStage(int index) {
  switch (index) {
    case 0: return SunnyYard();
    case 1: return NightCourtyard();
    case 2: return DarkHall();
    case 3: return Harbour();
    case 4: return Raft();
    default: return SkylinePlatform();
  }
}

}  // namespace assetgen
