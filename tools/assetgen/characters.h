#pragma once
// The nine animal characters: their looks (character_looks.cpp) and the shared rig that
// animates them over the action cycle (characters.cpp).
#include <string>
#include <utility>
#include <vector>

#include "model.h"

namespace assetgen {

inline constexpr int kCharacterCount = 9;
// File names of the characters, in CharacterId order.
extern const char* const kCharacterNames[kCharacterCount];

// A leg: its pivot on the hips, its mesh hanging from the pivot, and how it swings.
struct Limb {
  std::string name;
  glm::vec3 pivot;
  Mesh mesh;
  float phase = 0.0f;      // radians into the walk cycle
  bool scuttle = false;    // spider legs: swing sideways about y instead of about x
};

// What an animal looks like, in the rig's frames: the body and legs hang from the hips,
// the head, tail and extras from the body, the arms from the shoulder (arms along +z).
struct CharacterLook {
  float hipY = 11.0f;                       // hip height above the floor
  glm::vec3 shoulder{0.0f, 19.0f, 4.0f};    // shoulder pivot, relative to the hips
  float armLength = 14.0f;                  // shoulder to hands
  Mesh body;
  glm::vec3 headPivot{0.0f, 28.0f, 2.0f};
  Mesh head;
  std::vector<Limb> legs;
  Mesh armL, armR;
  glm::vec3 tailPivot{0.0f, 6.0f, -10.0f};
  Mesh tail;
  float tailWag = 15.0f;                    // degrees of sideways wag while walking
  std::vector<std::pair<std::string, Mesh>> extras;
};

CharacterLook LookOf(int id);
// The animated character model, keys at every frame 0..69 of the action cycle.
Model BuildCharacter(int id);
// The giant bear of the bear's power: the bear, scaled up, arms spread, facing the camera.
Model BuildGiantBear();

// Shared pieces of the looks.
Mesh ArmPair(bool left, const Material& fur, const Material& paw, float radius = 2.6f,
             float length = 14.0f);
Limb Leg(const std::string& name, glm::vec3 pivot, float length, float radius, const Material& fur,
         const Material& foot, float phase);
void AddEyes(Mesh& head, glm::vec3 centre, float spacing, float size, float forward = 0.0f);

}  // namespace assetgen
