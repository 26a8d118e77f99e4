// The character rig and the action cycle: 0..18 walk (0 standing), 20..29 shovel swing with
// the blade on the floor ahead at 25, 30..48 walk with a load of snow on the blade, 50..68
// pushing walk, leaning in with the blade low.
#include "characters.h"

#include <cmath>

namespace assetgen {

const char* const kCharacterNames[kCharacterCount] = {"bear", "fox", "pig", "zo", "spi", "fish",
                                                      "mogu", "momonga", "mouse"};

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr int kLastFrame = 69;

const Material kWood = Paint(150, 100, 55);
const Material kGrip = Paint(200, 40, 40);
const Material kSteel = Paint(150, 165, 185, 0.2f);
const Material kSnow = Paint(glm::vec3(0.96f, 0.98f, 1.0f), 0.45f);

// Shovel: +z runs along the handle from the grip to the blade; the hands hold it at 0.
constexpr float kBladeStart = 30.0f, kBladeTip = 42.0f;

Mesh ShovelMesh() {
  Mesh m;
  AddTube(m, {0, 0, -8}, {0, 0, kBladeStart + 1}, 1.1f, 1.1f, kWood, 6);
  AddBox(m, {0, 0, -8}, {7, 2, 2}, kGrip);
  AddBlock(m, {-7, -0.8f, kBladeStart}, {7, 0.6f, kBladeTip}, kSteel);
  AddBlock(m, {-7.5f, -0.8f, kBladeStart}, {-6.2f, 3.0f, kBladeTip - 2}, kSteel);
  AddBlock(m, {6.2f, -0.8f, kBladeStart}, {7.5f, 3.0f, kBladeTip - 2}, kSteel);
  AddBlock(m, {-7, -0.8f, kBladeStart - 1}, {7, 3.5f, kBladeStart + 0.5f}, kSteel);
  return m;
}

Mesh LoadMesh() {
  Mesh m;
  AddEllipsoid(m, {0, 3.0f, 0}, {6.5f, 4.5f, 5.5f}, kSnow, 10, 6);
  AddEllipsoid(m, {-3, 5.0f, 1}, {4.0f, 3.5f, 4.0f}, kSnow, 8, 5);
  AddEllipsoid(m, {3, 4.5f, -1.5f}, {4.0f, 3.0f, 3.5f}, kSnow, 8, 5);
  return m;
}

// The pose of the rig at one frame of the action cycle.
struct ActionPose {
  float bob = 0, lean = 0, arms = 45, shovel = 30;  // shovel: total pitch, degrees down
  float load = 0, nod = 0, wag = 0;
  bool solveTip = false;  // put the blade tip on the floor
};

ActionPose PoseForFrame(int f) {
  ActionPose p;
  auto walk = [&](int first) {
    const float ph = 2.0f * kPi * static_cast<float>(f - first) / 19.0f;
    p.bob = -1.2f * std::fabs(std::sin(ph));
    p.nod = 2.0f * std::sin(2.0f * ph);
    p.wag = std::sin(ph);
    return ph;
  };
  if (f <= 19) {
    const float ph = walk(0);
    p.arms = 45.0f + 4.0f * std::sin(2.0f * ph);
    p.shovel = 22.0f + 3.0f * std::sin(2.0f * ph);
  } else if (f < 30) {
    // wind up, strike the floor ahead at 25, lift the load to carrying height
    static const float arms[10] = {20, -10, -35, 0, 35, 55, 45, 35, 28, 22};
    static const float shovel[10] = {0, -25, -45, -10, 15, 0, 10, 5, 0, -4};
    static const float lean[10] = {2, -3, -6, 0, 8, 12, 8, 5, 3, 1};
    const int i = f - 20;
    p.arms = arms[i];
    p.shovel = shovel[i];
    p.lean = lean[i];
    p.solveTip = (f == 25);
    p.load = f >= 25 ? 1.0f : 0.0f;
  } else if (f < 50) {
    const float ph = walk(30);
    p.arms = 20.0f + 3.0f * std::sin(2.0f * ph);
    p.shovel = -5.0f;
    p.load = 1.0f;
  } else {
    const float ph = walk(50);
    p.lean = 20.0f;
    p.arms = 50.0f;
    p.solveTip = true;
    p.nod = -6.0f + 2.0f * std::sin(2.0f * ph);
  }
  return p;
}

struct Rig {
  const CharacterLook& look;
  glm::mat4 Shoulder(const ActionPose& a) const {
    return Translate({0, look.hipY + a.bob, 0}) * RotateX(a.lean) * Translate(look.shoulder) * RotateX(a.arms);
  }
  float TipHeight(const ActionPose& a, float shovelRel) const {
    const glm::mat4 m = Shoulder(a) * Translate({0, 0, look.armLength}) * RotateX(shovelRel);
    return (m * glm::vec4(0, -0.8f, kBladeTip, 1)).y;
  }
  // Relative shovel pitch that puts the blade tip at `height` (bisection: the tip sinks as
  // the pitch grows over the range searched).
  float SolveTip(const ActionPose& a, float height) const {
    float lo = -60.0f - a.arms, hi = 80.0f - a.arms - a.lean;
    for (int i = 0; i < 40; ++i) {
      const float mid = 0.5f * (lo + hi);
      (TipHeight(a, mid) > height ? lo : hi) = mid;
    }
    return 0.5f * (lo + hi);
  }
};

}  // namespace

Mesh ArmPair(bool left, const Material& fur, const Material& paw, float radius, float length) {
  Mesh m;
  const float x = left ? -6.0f : 6.0f;
  const float hx = left ? -2.5f : 2.5f;
  AddTube(m, {x, 0, 0}, {hx, 0, length}, radius, radius * 0.85f, fur, 7);
  AddEllipsoid(m, {x, 0, 0}, glm::vec3(radius * 1.15f), fur, 7, 5);
  AddEllipsoid(m, {hx, 0, length}, glm::vec3(radius * 1.05f), paw, 7, 5);
  return m;
}

Limb Leg(const std::string& name, glm::vec3 pivot, float length, float radius, const Material& fur,
         const Material& foot, float phase) {
  Limb l{name, pivot, Mesh(), phase, false};
  AddTube(l.mesh, {0, 0, 0}, {0, -length + 2.0f, 0}, radius, radius * 0.9f, fur, 7);
  AddEllipsoid(l.mesh, {0, -length + 2.0f, 1.5f}, {radius * 1.1f, 2.2f, radius * 1.5f}, foot, 8, 5);
  return l;
}

void AddEyes(Mesh& head, glm::vec3 c, float spacing, float size, float forward) {
  const Material black = Paint(20, 20, 25, 0.0f);
  const Material shine = Paint(255, 255, 255, 0.6f);
  for (float s : {-1.0f, 1.0f}) {
    const glm::vec3 e = c + glm::vec3(s * spacing, 0, forward);
    AddEllipsoid(head, e, {size, size * 1.25f, size * 0.7f}, black, 8, 5);
    AddEllipsoid(head, e + glm::vec3(s * size * 0.3f, size * 0.45f, size * 0.55f), glm::vec3(size * 0.3f),
                 shine, 5, 3);
  }
}

Model BuildCharacter(int id) {
  const CharacterLook look = LookOf(id);
  Model model;
  model.name = kCharacterNames[id];
  for (int t = 0; t <= kLastFrame; ++t) model.keyTimes.push_back(t);
  const Rig rig{look};

  std::vector<ActionPose> poses;
  std::vector<float> shovelRel;
  for (int t = 0; t <= kLastFrame; ++t) {
    ActionPose a = PoseForFrame(t);
    poses.push_back(a);
    // the blade touches the floor at contact and while pushing, and never dips below it
    shovelRel.push_back(a.solveTip ? rig.SolveTip(a, 0.5f) : std::min(a.shovel - a.arms, rig.SolveTip(a, 3.0f)));
  }
  auto keyed = [&](Frame& f, auto&& poseOf) {
    for (int t = 0; t <= kLastFrame; ++t) f.keys.push_back(poseOf(poses[t], t));
    f.rest = f.keys[0];
  };

  Frame shovel{"shovel", {}, ShovelMesh(), {}, {}};
  keyed(shovel, [&](const ActionPose&, int t) { return MakePose({0, 0, look.armLength}, shovelRel[t]); });
  Frame load{"snowload", {}, LoadMesh(), {}, {}};
  keyed(load, [&](const ActionPose& a, int) {
    return MakePose({0, 0.2f, (kBladeStart + kBladeTip) * 0.5f}, 0, 0, 0, glm::vec3(a.load > 0 ? 1.0f : 0.01f));
  });
  shovel.children.push_back(std::move(load));

  Frame arms{"arms", {}, Mesh(), {}, {}};
  keyed(arms, [&](const ActionPose& a, int) { return MakePose(look.shoulder, a.arms); });
  arms.children.push_back(Frame{"armL", {}, look.armL, {}, {}});
  arms.children.push_back(Frame{"armR", {}, look.armR, {}, {}});
  arms.children.push_back(std::move(shovel));

  Frame head{"head", {}, look.head, {}, {}};
  keyed(head, [&](const ActionPose& a, int) { return MakePose(look.headPivot, a.nod); });

  Frame body{"body", {}, look.body, {}, {}};
  keyed(body, [&](const ActionPose& a, int) { return MakePose({0, 0, 0}, a.lean); });
  body.children.push_back(std::move(head));
  if (!look.tail.Empty()) {
    Frame tail{"tail", {}, look.tail, {}, {}};
    keyed(tail, [&](const ActionPose& a, int) { return MakePose(look.tailPivot, 0, look.tailWag * a.wag); });
    body.children.push_back(std::move(tail));
  }
  for (const auto& [name, mesh] : look.extras) body.children.push_back(Frame{name, {}, mesh, {}, {}});
  body.children.push_back(std::move(arms));

  Frame hips{"hips", {}, Mesh(), {}, {}};
  keyed(hips, [&](const ActionPose& a, int) { return MakePose({0, look.hipY + a.bob, 0}); });
  for (const Limb& limb : look.legs) {
    Frame leg{limb.name, {}, limb.mesh, {}, {}};
    keyed(leg, [&](const ActionPose&, int t) {
      float swing = 0.0f;
      if (t <= 19 || t >= 30) {
        const int first = t <= 19 ? 0 : (t < 50 ? 30 : 50);
        const float amp = t <= 19 ? 26.0f : (t < 50 ? 22.0f : 30.0f);
        swing = t == first ? 0.0f : amp * std::sin(2.0f * kPi * static_cast<float>(t - first) / 19.0f + limb.phase);
      }
      if (limb.scuttle) return MakePose(limb.pivot, 0, swing * 0.5f, std::fabs(swing) * 0.15f);
      return MakePose(limb.pivot, -swing);
    });
    hips.children.push_back(std::move(leg));
  }
  hips.children.push_back(std::move(body));

  model.root = Frame{model.name, {}, Mesh(), {}, {}};
  model.root.children.push_back(std::move(hips));
  return model;
}

Model BuildGiantBear() {
  // The bear's own parts, posed arms-wide, scaled 4.6x and turned to face the camera, on an
  // icy plinth that marks the floor the wall blocks (245 x 250, its middle 22 right and 25
  // back of the frame origin).
  const CharacterLook look = LookOf(0);
  Model model;
  model.name = "bear2";
  model.root = Frame{"bear2", MakePose({22.5f, 0, 25}), Mesh(), {}, {}};
  AddEllipsoid(model.root.mesh, {0, 0, 0}, {122, 9, 125}, Paint(150, 190, 225, 0.3f), 16, 6);
  Frame giant{"giant", MakePose({0, 0, 0}, 0, 180, 0, glm::vec3(4.6f)), Mesh(), {}, {}};
  Frame hips{"hips", MakePose({0, look.hipY, 0}), Mesh(), {}, {}};
  for (const Limb& l : look.legs) hips.children.push_back(Frame{l.name, MakePose(l.pivot), l.mesh, {}, {}});
  Frame body{"body", Pose(), look.body, {}, {}};
  body.children.push_back(Frame{"head", MakePose(look.headPivot, -8), look.head, {}, {}});
  body.children.push_back(Frame{"tail", MakePose(look.tailPivot), look.tail, {}, {}});
  body.children.push_back(
      Frame{"armL", MakePose(look.shoulder + glm::vec3(-2, 0, 0), -40, -70, 0), look.armL, {}, {}});
  body.children.push_back(
      Frame{"armR", MakePose(look.shoulder + glm::vec3(2, 0, 0), -40, 70, 0), look.armR, {}, {}});
  hips.children.push_back(std::move(body));
  giant.children.push_back(std::move(hips));
  model.root.children.push_back(std::move(giant));
  return model;
}

}  // namespace assetgen
