// The nine animals: rounded low-poly toys, each read at a glance by its silhouette and colours.
#include <cmath>

#include "characters.h"

namespace assetgen {

namespace {

constexpr float kPi = 3.14159265358979f;
const Material kBlack = Paint(25, 22, 28, 0.0f);
const Material kPink = Paint(245, 140, 165);

void TwoLegs(CharacterLook& l, float spread, float radius, const Material& fur, const Material& foot) {
  l.legs.push_back(Leg("legL", {-spread, 0, 0}, l.hipY, radius, fur, foot, 0.0f));
  l.legs.push_back(Leg("legR", {spread, 0, 0}, l.hipY, radius, fur, foot, kPi));
}

void TwoArms(CharacterLook& l, const Material& fur, const Material& paw, float radius = 2.6f) {
  l.armL = ArmPair(true, fur, paw, radius, l.armLength);
  l.armR = ArmPair(false, fur, paw, radius, l.armLength);
}

// A tube bent through the given points.
void AddChain(Mesh& m, const std::vector<glm::vec3>& pts, float r0, float r1, const Material& mat) {
  for (size_t i = 0; i + 1 < pts.size(); ++i) {
    const float last = static_cast<float>(pts.size() - 1);
    const float a = r0 + (r1 - r0) * static_cast<float>(i) / last, b = r0 + (r1 - r0) * static_cast<float>(i + 1) / last;
    AddTube(m, pts[i], pts[i + 1], a, b, mat, 6);
    if (i + 2 < pts.size()) AddEllipsoid(m, pts[i + 1], glm::vec3(b), mat, 6, 4);
  }
}

CharacterLook Bear() {
  const Material fur = Paint(140, 85, 45), tan = Paint(220, 180, 125);
  CharacterLook l;
  l.hipY = 11;
  AddEllipsoid(l.body, {0, 10, 0}, {12.5f, 13, 10.5f}, fur, 12, 8);
  AddEllipsoid(l.body, {0, 8, 4.5f}, {9, 9.5f, 7}, tan, 10, 6);
  l.headPivot = {0, 26, 2};
  AddEllipsoid(l.head, {0, 5, 0}, {9.5f, 9, 9}, fur, 12, 8);
  AddEllipsoid(l.head, {0, 3, 8}, {4.8f, 3.6f, 3.6f}, tan, 10, 6);
  AddEllipsoid(l.head, {0, 4.6f, 11.2f}, {1.8f, 1.3f, 1.1f}, kBlack, 8, 5);
  for (float s : {-1.0f, 1.0f}) {
    AddEllipsoid(l.head, {s * 7, 12.5f, -1}, {3.4f, 3.4f, 2.4f}, fur, 8, 5);
    AddEllipsoid(l.head, {s * 7, 12.5f, 0.6f}, {2, 2, 1.2f}, tan, 8, 5);
  }
  AddEyes(l.head, {0, 7.2f, 7.4f}, 3.6f, 1.3f);
  TwoLegs(l, 5.5f, 3.8f, fur, tan);
  TwoArms(l, fur, tan, 3.0f);
  l.tailPivot = {0, 5, -10};
  AddEllipsoid(l.tail, {0, 0, -0.5f}, glm::vec3(2.8f), fur, 8, 5);
  l.tailWag = 10;
  return l;
}

CharacterLook Fox() {
  const Material fur = Paint(240, 125, 30), white = Paint(250, 245, 235, 0.25f), sock = Paint(60, 35, 25);
  CharacterLook l;
  l.hipY = 12;
  l.shoulder = {0, 17, 3.5f};
  AddEllipsoid(l.body, {0, 9, 0}, {9.5f, 12, 8.5f}, fur, 12, 8);
  AddEllipsoid(l.body, {0, 10, 4.2f}, {6, 9, 5}, white, 10, 6);
  l.headPivot = {0, 22, 2};
  AddEllipsoid(l.head, {0, 4, 0}, {7.8f, 7, 7}, fur, 12, 8);
  AddTube(l.head, {0, 3, 4}, {0, 2, 14}, 4.2f, 0.9f, fur, 8);
  AddEllipsoid(l.head, {0, 1.4f, 7}, {4.2f, 2.4f, 5}, white, 8, 5);
  AddEllipsoid(l.head, {0, 2.2f, 13.8f}, glm::vec3(1.3f), kBlack, 6, 4);
  for (float s : {-1.0f, 1.0f}) {
    AddTube(l.head, {s * 4.5f, 8.5f, 0}, {s * 6.5f, 19, -1}, 3.4f, 0.2f, fur, 6);
    AddTube(l.head, {s * 5.9f, 15.5f, -0.7f}, {s * 6.5f, 19.2f, -1}, 1.3f, 0.1f, sock, 6);
  }
  AddEyes(l.head, {0, 6.2f, 5.6f}, 3.0f, 1.1f);
  TwoLegs(l, 4.5f, 3.0f, sock, sock);
  TwoArms(l, fur, sock, 2.4f);
  l.tailPivot = {0, 4, -7};
  AddEllipsoid(l.tail, {0, 4, -9}, {5.5f, 5.5f, 11}, fur, 10, 7, RotateX(-28) );
  AddEllipsoid(l.tail, {0, 11.5f, -17.5f}, {4.2f, 4.2f, 4.8f}, white, 8, 5);
  l.tailWag = 18;
  return l;
}

CharacterLook Pig() {
  const Material skin = Paint(250, 170, 185), snout = Paint(232, 125, 150), hoof = Paint(130, 70, 80);
  CharacterLook l;
  l.hipY = 9;
  l.shoulder = {0, 18, 4};
  AddEllipsoid(l.body, {0, 11, 0}, {13.5f, 13, 11.5f}, skin, 12, 8);
  l.headPivot = {0, 24, 3};
  AddEllipsoid(l.head, {0, 5, 1}, {9.8f, 9.2f, 9.2f}, skin, 12, 8);
  AddTube(l.head, {0, 3.5f, 8.5f}, {0, 3.5f, 12.8f}, 4.4f, 4.2f, snout, 10);
  for (float s : {-1.0f, 1.0f}) {
    AddEllipsoid(l.head, {s * 1.6f, 3.5f, 12.8f}, {0.8f, 1.3f, 0.4f}, hoof, 6, 4);
    AddTube(l.head, {s * 5.5f, 11.5f, 0}, {s * 8.5f, 16, 3.5f}, 3.2f, 0.2f, skin, 4);
  }
  AddEyes(l.head, {0, 8, 8.2f}, 3.8f, 1.1f);
  TwoLegs(l, 6, 3.6f, skin, hoof);
  TwoArms(l, skin, hoof, 3.0f);
  l.tailPivot = {0, 8, -11.5f};
  std::vector<glm::vec3> curl;
  for (int i = 0; i <= 10; ++i) {
    const float fi = static_cast<float>(i);
    const float a = fi * 0.75f;
    const float r = 2.6f - fi * 0.12f;
    curl.push_back({r * std::cos(a) - 2.6f, r * std::sin(a), -fi * 0.45f});
  }
  AddChain(l.tail, curl, 0.8f, 0.6f, skin);
  l.tailWag = 25;
  return l;
}

CharacterLook Elephant() {
  const Material skin = Paint(140, 152, 178), inner = Paint(215, 170, 185), ivory = Paint(250, 245, 225, 0.3f);
  CharacterLook l;
  l.hipY = 11;
  AddEllipsoid(l.body, {0, 11, 0}, {13.5f, 13.5f, 12}, skin, 12, 8);
  l.headPivot = {0, 26, 3};
  AddEllipsoid(l.head, {0, 4, 1}, {9.5f, 9.5f, 9}, skin, 12, 8);
  for (float s : {-1.0f, 1.0f}) {
    AddEllipsoid(l.head, {s * 10.5f, 5, -1}, {1.6f, 9, 7.5f}, skin, 10, 7, RotateY(s * -25) * Translate({0, 0, 0}));
    AddEllipsoid(l.head, {s * 9.6f, 5, 1.2f}, {0.9f, 6.5f, 5}, inner, 10, 6, RotateY(s * -25));
    AddTube(l.head, {s * 3.5f, -1, 8}, {s * 4.5f, -4, 13}, 1.3f, 0.3f, ivory, 6);
  }
  AddChain(l.head, {{0, 1.5f, 8}, {0, -3.5f, 12}, {0, -9, 13.5f}, {0, -12.5f, 16}, {0, -13, 18.5f}}, 3.4f, 1.9f, skin);
  AddEyes(l.head, {0, 7, 8.0f}, 4.6f, 1.2f);
  TwoLegs(l, 6.5f, 4.6f, skin, ivory);
  TwoArms(l, skin, skin, 3.3f);
  l.tailPivot = {0, 6, -11.5f};
  AddTube(l.tail, {0, 0, 0}, {0, -7, -3}, 0.9f, 0.7f, skin, 5);
  AddEllipsoid(l.tail, {0, -7.5f, -3.2f}, {1.4f, 2, 1.4f}, Paint(60, 60, 70), 6, 4);
  return l;
}

CharacterLook Spider() {
  const Material shell = Paint(70, 40, 95), dark = Paint(40, 25, 55), red = Paint(225, 40, 45, 0.25f);
  CharacterLook l;
  l.hipY = 18;
  l.shoulder = {0, 6, 8};
  l.armLength = 14;
  AddEllipsoid(l.body, {0, 9, -8}, {12, 11, 13}, shell, 12, 8);
  AddEllipsoid(l.body, {0, 18.5f, -8}, {4, 1.6f, 7}, red, 8, 5);
  AddEllipsoid(l.body, {-6.5f, 15, -9}, {1.6f, 3, 5}, red, 6, 4, RotateZ(-35));
  AddEllipsoid(l.body, {6.5f, 15, -9}, {1.6f, 3, 5}, red, 6, 4, RotateZ(35));
  AddEllipsoid(l.body, {0, 5, 5}, {8, 7, 8}, dark, 10, 7);
  l.headPivot = {0, 10, 9};
  AddEllipsoid(l.head, {0, 2, 2}, {7, 6.5f, 6.5f}, shell, 10, 7);
  AddEyes(l.head, {0, 4, 7.6f}, 2.4f, 1.4f);
  for (float s : {-1.0f, 1.0f}) {
    AddEllipsoid(l.head, {s * 4.6f, 6, 6}, glm::vec3(0.9f), red, 6, 4);
    AddEllipsoid(l.head, {s * 1.4f, 7.4f, 6}, glm::vec3(0.8f), red, 6, 4);
    AddTube(l.head, {s * 1.5f, -1.5f, 7}, {s * 1.2f, -4, 8}, 1, 0.2f, red, 5);
  }
  const float zs[4] = {9, 4, -2, -8};
  const float yaws[4] = {40, 12, -12, -40};
  int n = 0;
  for (int i = 0; i < 4; ++i) {
    for (float s : {-1.0f, 1.0f}) {
      Limb leg{std::string(s < 0 ? "legL" : "legR") + std::to_string(i + 1), {s * 7, 4, zs[i]}, Mesh(),
               static_cast<float>((i + (s > 0 ? 1 : 0)) % 2) * kPi, true};
      const glm::mat4 turn = RotateY(s * yaws[i]);
      const glm::vec3 knee(s * 15, 9, 0), foot(s * 27, -21.5f, 0);
      AddTube(leg.mesh, {0, 0, 0}, knee, 1.8f, 1.5f, shell, 6, turn);
      AddEllipsoid(leg.mesh, knee, glm::vec3(1.9f), red, 6, 4, turn);
      AddTube(leg.mesh, knee, foot, 1.5f, 0.6f, dark, 6, turn);
      l.legs.push_back(std::move(leg));
      ++n;
    }
  }
  TwoArms(l, shell, red, 2.0f);
  return l;
}

CharacterLook Fish() {
  const Material blue = Paint(50, 115, 215), teal = Paint(30, 185, 185), belly = Paint(190, 235, 235, 0.2f);
  const Material white = Paint(255, 255, 255, 0.4f), mouth = Paint(170, 40, 60);
  CharacterLook l;
  l.hipY = 9;
  l.shoulder = {0, 16, 5};
  AddEllipsoid(l.body, {0, 17, 0}, {10.5f, 19, 11}, blue, 12, 9);
  AddEllipsoid(l.body, {0, 13, 4.5f}, {7.5f, 14, 7}, belly, 10, 7);
  for (int i = 0; i < 3; ++i)
    AddEllipsoid(l.body, {0, 8.0f + static_cast<float>(i * 6), -9.6f}, {6, 1.2f, 2.2f}, teal, 8, 4);
  l.headPivot = {0, 29, 1};
  AddEllipsoid(l.head, {0, 2, 0}, {9, 8, 9.5f}, blue, 12, 8);
  AddEllipsoid(l.head, {0, 9, -4}, {1.2f, 8, 8}, teal, 8, 6, RotateX(-20));
  for (float s : {-1.0f, 1.0f}) {
    AddEllipsoid(l.head, {s * 5, 4, 6.5f}, glm::vec3(3.2f), white, 8, 6);
    AddEllipsoid(l.head, {s * 5.4f, 4.2f, 9.3f}, {1.6f, 1.9f, 0.9f}, kBlack, 6, 4);
  }
  AddEllipsoid(l.head, {0, -2.5f, 9.3f}, {3.2f, 1.4f, 1.2f}, mouth, 8, 4);
  TwoLegs(l, 5, 2.6f, teal, teal);
  TwoArms(l, teal, teal, 2.4f);
  l.tailPivot = {0, 6, -10};
  AddEllipsoid(l.tail, {0, 4, -6}, {1.2f, 6.5f, 6}, teal, 8, 5, RotateX(-35));
  AddEllipsoid(l.tail, {0, -4, -6}, {1.2f, 6.5f, 6}, teal, 8, 5, RotateX(35));
  l.tailWag = 25;
  return l;
}

CharacterLook Mole() {
  const Material fur = Paint(72, 70, 82), snout = Paint(110, 100, 110), claw = Paint(250, 245, 230, 0.3f);
  CharacterLook l;
  l.hipY = 8;
  l.shoulder = {0, 18, 4.5f};
  AddEllipsoid(l.body, {0, 12, 0}, {13, 14.5f, 11.5f}, fur, 12, 8);
  AddEllipsoid(l.body, {0, 10, 5}, {9, 10, 7}, Paint(100, 98, 112), 10, 6);
  l.headPivot = {0, 26, 4};
  AddEllipsoid(l.head, {0, 3, 0}, {8.5f, 8, 8.5f}, fur, 12, 8);
  AddTube(l.head, {0, 1.5f, 6}, {0, 0.5f, 16}, 4.2f, 1.8f, snout, 8);
  AddEllipsoid(l.head, {0, 0.8f, 16.6f}, {2.6f, 2.2f, 2}, kPink, 8, 5);
  AddEyes(l.head, {0, 5.5f, 7.0f}, 3.4f, 0.8f);
  TwoLegs(l, 5.5f, 3.2f, fur, kPink);
  TwoArms(l, fur, kPink, 2.8f);
  for (Mesh* arm : {&l.armL, &l.armR}) {
    const float hx = arm == &l.armL ? -2.5f : 2.5f;
    AddEllipsoid(*arm, {hx, 0, l.armLength + 1}, {4.2f, 1.8f, 3.5f}, kPink, 8, 5);
    for (float c = -1; c <= 1; ++c)
      AddTube(*arm, {hx + c * 2.2f, 0, l.armLength + 3.5f}, {hx + c * 2.8f, -0.8f, l.armLength + 7.5f}, 0.9f,
              0.1f, claw, 5);
  }
  l.tailPivot = {0, 4, -11};
  AddTube(l.tail, {0, 0, 0}, {0, 1, -5}, 1.3f, 0.5f, kPink, 5);
  return l;
}

CharacterLook FlyingSquirrel() {
  const Material fur = Paint(195, 150, 95), cream = Paint(248, 232, 200, 0.25f), flap = Paint(165, 120, 75);
  CharacterLook l;
  l.hipY = 11;
  l.shoulder = {0, 18, 3.5f};
  AddEllipsoid(l.body, {0, 11, 0}, {10.5f, 13, 9}, fur, 12, 8);
  AddEllipsoid(l.body, {0, 10, 4}, {7.5f, 10, 6}, cream, 10, 6);
  l.headPivot = {0, 24, 2};
  AddEllipsoid(l.head, {0, 5, 0}, {9.2f, 8.5f, 8.5f}, fur, 12, 8);
  AddEllipsoid(l.head, {0, 2.5f, 5.5f}, {6, 4, 4}, cream, 10, 6);
  AddEllipsoid(l.head, {0, 4.2f, 9.3f}, {1.3f, 1, 0.9f}, kPink, 6, 4);
  for (float s : {-1.0f, 1.0f}) {
    AddEllipsoid(l.head, {s * 6, 12, -1}, {2.6f, 3.4f, 1.6f}, fur, 8, 5);
    AddEllipsoid(l.head, {s * 5.6f, 5.5f, 7}, {2.6f, 3, 1.6f}, kBlack, 8, 5);
    AddEllipsoid(l.head, {s * 5.0f, 6.7f, 8.4f}, glm::vec3(0.8f), Paint(255, 255, 255, 0.6f), 5, 3);
  }
  TwoLegs(l, 5, 3.0f, fur, cream);
  TwoArms(l, fur, cream, 2.4f);
  for (float s : {-1.0f, 1.0f}) {
    Mesh m;
    const std::vector<glm::vec3> corners = {
        {s * 8.5f, 19, 2}, {s * 17, 15, 5}, {s * 18, 2, 2}, {s * 11, -9, 0}, {s * 8, 2, 0}};
    std::vector<glm::vec3> back(corners.rbegin(), corners.rend());
    for (glm::vec3& c : back) c.z -= 0.4f;
    AddPolygon(m, corners, {0, 0, 1}, flap);
    AddPolygon(m, back, {0, 0, -1}, flap);
    AddChain(m, {corners[1], corners[2], corners[3]}, 0.9f, 0.9f, cream);
    l.extras.emplace_back(s < 0 ? "membraneL" : "membraneR", std::move(m));
  }
  l.tailPivot = {0, 5, -9};
  AddEllipsoid(l.tail, {0, 8, -5}, {6.5f, 13, 1.8f}, fur, 10, 6, RotateX(-25));
  AddEllipsoid(l.tail, {0, 8, -4.4f}, {3.2f, 10, 1.2f}, flap, 8, 5, RotateX(-25));
  return l;
}

CharacterLook Mouse() {
  const Material fur = Paint(188, 188, 198), light = Paint(230, 230, 236, 0.2f);
  CharacterLook l;
  l.hipY = 10;
  l.shoulder = {0, 17, 3.5f};
  AddEllipsoid(l.body, {0, 10, 0}, {10, 12.5f, 9}, fur, 12, 8);
  AddEllipsoid(l.body, {0, 9, 4}, {7, 9, 5.5f}, light, 10, 6);
  l.headPivot = {0, 22, 2};
  AddEllipsoid(l.head, {0, 4, 1}, {8, 7.5f, 8}, fur, 12, 8);
  AddEllipsoid(l.head, {0, 2, 8}, {4, 3.4f, 4}, light, 10, 6);
  AddEllipsoid(l.head, {0, 2.8f, 11.8f}, glm::vec3(1.5f), kPink, 6, 4);
  for (float s : {-1.0f, 1.0f}) {
    AddEllipsoid(l.head, {s * 8.5f, 13, -1}, {7.2f, 7.2f, 1.5f}, fur, 12, 6, RotateY(s * -15));
    AddEllipsoid(l.head, {s * 8.3f, 13, 0.3f}, {5.2f, 5.2f, 1.1f}, kPink, 12, 6, RotateY(s * -15));
    for (float w : {-1.0f, 1.0f})
      AddTube(l.head, {s * 2.5f, 2.2f, 10.5f}, {s * 9, 2.2f + w * 1.6f, 10}, 0.25f, 0.15f, Paint(90, 90, 100), 4);
  }
  AddEyes(l.head, {0, 6, 7.2f}, 3.2f, 1.3f);
  TwoLegs(l, 4.5f, 2.8f, fur, kPink);
  TwoArms(l, fur, kPink, 2.3f);
  l.tailPivot = {0, 3, -8};
  AddChain(l.tail, {{0, 0, 0}, {0, -3, -8}, {0, -1, -16}, {0, 5, -21}, {0, 12, -21}, {0, 15, -18}}, 1.1f, 0.6f,
           kPink);
  return l;
}

}  // namespace

CharacterLook LookOf(int id) {
  switch (id) {
    case 0: return Bear();
    case 1: return Fox();
    case 2: return Pig();
    case 3: return Elephant();
    case 4: return Spider();
    case 5: return Fish();
    case 6: return Mole();
    case 7: return FlyingSquirrel();
    default: return Mouse();
  }
}

}  // namespace assetgen
