// The generated models, textures and sprite sheets: present after the build, readable by the
// loader the game uses, animated over the action cycle, and made the same way on every run.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <SDL.h>
#include <unistd.h>
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "test_dirs.h"
#include "platform/screen.h"
#include "resources/sprite_sheets.h"

namespace {

namespace fs = std::filesystem;

const char* const kCharacters[] = {"bear", "fox", "pig", "zo", "spi", "fish", "mogu", "momonga", "mouse"};
const char* const kModels[] = {"bear",   "fox",    "pig",    "zo",     "spi",   "fish",  "mogu",
                               "momonga", "mouse", "fire",   "stage1", "stage2", "stage3", "stage4",
                               "stage5", "stage6", "block",  "back",   "bear2",  "cursor", "item",
                               "fish2",  "snow",   "net",    "message"};
const char* const kTextures[] = {"net", "hurry", "1pwin", "2pwin", "3pwin", "4pwin", "draw"};
const float kGoals[6][4] = {{-140, 220, 310, 250}, {-400, -160, 145, 140}, {370, -170, 150, 275},
                            {-130, -490, 260, 200}, {-130, 190, 260, 110}, {100, 150, 190, 100}};

const aiScene* Load(Assimp::Importer& imp, const std::string& name) {
  const fs::path path = kBuild / "model" / (name + ".x");
  const aiScene* s = imp.ReadFile(path.string(), aiProcess_Triangulate | aiProcess_JoinIdenticalVertices |
                                                     aiProcess_ConvertToLeftHanded);
  EXPECT_NE(s, nullptr) << path << ": " << imp.GetErrorString();
  return s;
}

const aiNodeAnim* Channel(const aiScene* s, const std::string& node) {
  for (unsigned c = 0; c < s->mAnimations[0]->mNumChannels; ++c)
    if (node == s->mAnimations[0]->mChannels[c]->mNodeName.C_Str()) return s->mAnimations[0]->mChannels[c];
  return nullptr;
}

// Calls fn(vertex, normal) for every vertex of every mesh, in the model's own coordinates.
template <typename Fn>
void ForEachVertex(const aiScene* s, const aiNode* n, aiMatrix4x4 parent, Fn&& fn) {
  const aiMatrix4x4 m = parent * n->mTransformation;
  for (unsigned i = 0; i < n->mNumMeshes; ++i) {
    const aiMesh* mesh = s->mMeshes[n->mMeshes[i]];
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) fn(mesh, mesh->mFaces[f], m);
  }
  for (unsigned c = 0; c < n->mNumChildren; ++c) ForEachVertex(s, n->mChildren[c], m, fn);
}

std::string Slurp(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(AssetFiles, EveryModelAndTextureIsBesideTheProgram) {
  for (const char* m : kModels) EXPECT_TRUE(fs::is_regular_file(kBuild / "model" / (std::string(m) + ".x"))) << m;
  for (const char* t : kTextures) EXPECT_TRUE(fs::is_regular_file(kBuild / "tex" / (std::string(t) + ".bmp"))) << t;
  for (const char* m : kModels) EXPECT_EQ(Slurp(kBuild / "model" / (std::string(m) + ".x")).rfind("xof 0303bin 0032", 0), 0u) << m;
}

TEST(AssetFiles, EveryModelLoadsWithItsMeshes) {
  for (const char* m : kModels) {
    Assimp::Importer imp;
    const aiScene* s = Load(imp, m);
    ASSERT_NE(s, nullptr);
    EXPECT_GT(s->mNumMeshes, 0u) << m;
  }
}

TEST(CharacterModels, AnimationCoversEveryFrameOfTheActionCycle) {
  for (const char* c : kCharacters) {
    Assimp::Importer imp;
    const aiScene* s = Load(imp, c);
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->mNumAnimations, 1u) << c;
    for (const char* part : {"hips", "body", "head", "arms", "shovel", "snowload"})
      EXPECT_NE(s->mRootNode->FindNode(part), nullptr) << c << " lacks " << part;
    const aiNodeAnim* arms = Channel(s, "arms");
    ASSERT_NE(arms, nullptr) << c;
    ASSERT_GE(arms->mNumRotationKeys, 69u) << c;
    EXPECT_EQ(arms->mRotationKeys[0].mTime, 0.0);
    EXPECT_GE(arms->mRotationKeys[arms->mNumRotationKeys - 1].mTime, 68.0);
    // the shovel moves through the swing: its pose at 22 (wound up) differs from 25 (contact)
    const aiQuaternion a = arms->mRotationKeys[22].mValue, b = arms->mRotationKeys[25].mValue;
    EXPECT_LT(std::fabs(a.w * b.w + a.x * b.x + a.y * b.y + a.z * b.z), 0.99f) << c;
  }
}

TEST(CharacterModels, KeysAtFrameZeroMatchTheFramesRestPose) {
  for (const char* c : kCharacters) {
    Assimp::Importer imp;
    const aiScene* s = Load(imp, c);
    ASSERT_NE(s, nullptr);
    const aiAnimation* anim = s->mAnimations[0];
    for (unsigned i = 0; i < anim->mNumChannels; ++i) {
      const aiNodeAnim* ch = anim->mChannels[i];
      const aiNode* node = s->mRootNode->FindNode(ch->mNodeName);
      ASSERT_NE(node, nullptr);
      const aiMatrix4x4 keyed(ch->mScalingKeys[0].mValue, ch->mRotationKeys[0].mValue, ch->mPositionKeys[0].mValue);
      for (int r = 0; r < 4; ++r)
        for (int k = 0; k < 4; ++k)
          EXPECT_NEAR(keyed[r][k], node->mTransformation[r][k], 2e-3) << c << " " << ch->mNodeName.C_Str();
    }
  }
}

TEST(CharacterModels, SnowLoadShowsOnlyFromTheScoopThroughTheCarryingWalk) {
  for (const char* c : kCharacters) {
    Assimp::Importer imp;
    const aiScene* s = Load(imp, c);
    ASSERT_NE(s, nullptr);
    const aiNodeAnim* load = Channel(s, "snowload");
    ASSERT_NE(load, nullptr) << c;
    for (unsigned k = 0; k < load->mNumScalingKeys; ++k) {
      const double t = load->mScalingKeys[k].mTime;
      const bool shown = t >= 25 && t < 50;  // 49 is never shown: the walk wraps to 30
      EXPECT_NEAR(load->mScalingKeys[k].mValue.x, shown ? 1.0f : 0.01f, 1e-3) << c << " at " << t;
    }
  }
}

namespace {
struct Box {
  aiVector3D lo{1e9f, 1e9f, 1e9f}, hi{-1e9f, -1e9f, -1e9f};
};
// The bounds of a model in its rest pose (frame 0 for the characters).
Box Bounds(const aiScene* s) {
  Box b;
  ForEachVertex(s, s->mRootNode, aiMatrix4x4(), [&](const aiMesh* mesh, const aiFace& f, const aiMatrix4x4& m) {
    for (unsigned i = 0; i < f.mNumIndices; ++i) {
      const aiVector3D v = m * mesh->mVertices[f.mIndices[i]];
      b.lo.x = std::min(b.lo.x, v.x), b.lo.y = std::min(b.lo.y, v.y), b.lo.z = std::min(b.lo.z, v.z);
      b.hi.x = std::max(b.hi.x, v.x), b.hi.y = std::max(b.hi.y, v.y), b.hi.z = std::max(b.hi.z, v.z);
    }
  });
  return b;
}
}  // namespace

TEST(CharacterModels, StandAboutFiftyTallOnTheFloorWithTheShovelReachingAheadAlongPlusZ) {
  for (const char* c : kCharacters) {
    Assimp::Importer imp;
    const aiScene* s = Load(imp, c);
    ASSERT_NE(s, nullptr);
    const Box b = Bounds(s);
    EXPECT_NEAR(b.lo.y, 0.0f, 1.5f) << c << " floats or sinks";
    EXPECT_GT(b.hi.y, 35.0f) << c;
    EXPECT_LT(b.hi.y, 62.0f) << c;
    EXPECT_GT(b.hi.z, 40.0f) << c << ": the shovel should reach one shovel length ahead";
    EXPECT_GT(b.lo.z, -30.0f) << c;
  }
}

TEST(PropModels, GiantBearCoversTheFloorOfItsWall) {
  Assimp::Importer imp;
  const aiScene* s = Load(imp, "bear2");
  ASSERT_NE(s, nullptr);
  const Box b = Bounds(s);
  // the wall is the rectangle (blockX, blockZ) 245 x 250 and the frame stands at its corner
  // plus (100, 100): the model spans x -100..145 and z -100..150 around its origin
  EXPECT_NEAR(b.lo.x, -100.0f, 12.0f);
  EXPECT_NEAR(b.hi.x, 145.0f, 12.0f);
  EXPECT_NEAR(b.lo.z, -100.0f, 12.0f);
  EXPECT_NEAR(b.hi.z, 150.0f, 12.0f);
  EXPECT_GT(b.hi.y, 200.0f);
}

namespace {
// The model posed at an animation time the way the game poses it: each animated frame takes
// its key at that time, the others keep their matrix. Calls fn(nodeName, worldVertex).
template <typename Fn>
void ForEachPosedVertex(const aiScene* s, const aiNode* n, aiMatrix4x4 parent, double time, Fn&& fn) {
  aiMatrix4x4 local = n->mTransformation;
  if (s->mNumAnimations) {
    for (unsigned c = 0; c < s->mAnimations[0]->mNumChannels; ++c) {
      const aiNodeAnim* ch = s->mAnimations[0]->mChannels[c];
      if (ch->mNodeName != n->mName) continue;
      unsigned k = 0;
      while (k + 1 < ch->mNumRotationKeys && ch->mRotationKeys[k + 1].mTime <= time) ++k;
      local = aiMatrix4x4(ch->mScalingKeys[std::min(k, ch->mNumScalingKeys - 1)].mValue, ch->mRotationKeys[k].mValue,
                          ch->mPositionKeys[std::min(k, ch->mNumPositionKeys - 1)].mValue);
    }
  }
  const aiMatrix4x4 m = parent * local;
  for (unsigned i = 0; i < n->mNumMeshes; ++i) {
    const aiMesh* mesh = s->mMeshes[n->mMeshes[i]];
    for (unsigned v = 0; v < mesh->mNumVertices; ++v) fn(std::string(n->mName.C_Str()), m * mesh->mVertices[v]);
  }
  for (unsigned c = 0; c < n->mNumChildren; ++c) ForEachPosedVertex(s, n->mChildren[c], m, time, fn);
}

Box PartBounds(const aiScene* s, const std::string& part, double time) {
  Box b;
  ForEachPosedVertex(s, s->mRootNode, aiMatrix4x4(), time, [&](const std::string& name, const aiVector3D& v) {
    if (name != part) return;
    b.lo.x = std::min(b.lo.x, v.x), b.lo.y = std::min(b.lo.y, v.y), b.lo.z = std::min(b.lo.z, v.z);
    b.hi.x = std::max(b.hi.x, v.x), b.hi.y = std::max(b.hi.y, v.y), b.hi.z = std::max(b.hi.z, v.z);
  });
  return b;
}
}  // namespace

TEST(CharacterModels, ShovelStrikesTheFloorAheadAtContactAndIsRaisedBeforeIt) {
  for (const char* c : kCharacters) {
    Assimp::Importer imp;
    const aiScene* s = Load(imp, c);
    ASSERT_NE(s, nullptr);
    const Box contact = PartBounds(s, "shovel", 25);
    EXPECT_LT(contact.lo.y, 2.0f) << c << ": the blade should reach the floor at 25";
    EXPECT_GT(contact.lo.y, -1.0f) << c << ": the blade should not sink into the floor at 25";
    EXPECT_GT(contact.hi.z, 40.0f) << c << ": contact lies about a shovel length ahead";
    EXPECT_GT(PartBounds(s, "shovel", 22).hi.y, 45.0f) << c << ": the swing winds up high";
    for (int t : {0, 5, 10, 33, 44, 55, 64}) EXPECT_GT(PartBounds(s, "shovel", t).lo.y, -1.0f) << c << " at " << t;
  }
}

TEST(CharacterModels, SnowLoadRidesOnTheBladeWhileCarrying) {
  for (const char* c : kCharacters) {
    Assimp::Importer imp;
    const aiScene* s = Load(imp, c);
    ASSERT_NE(s, nullptr);
    for (int t : {30, 39, 48}) {
      const Box load = PartBounds(s, "snowload", t), blade = PartBounds(s, "shovel", t);
      EXPECT_GT(load.hi.x - load.lo.x, 8.0f) << c << " at " << t << ": the load is visible";
      EXPECT_GT(load.lo.z, 25.0f) << c << " at " << t << ": the load sits out on the blade";
      EXPECT_LT(load.hi.z, blade.hi.z + 1.0f) << c << " at " << t;
      EXPECT_GT(load.hi.y, blade.hi.y - 1.0f) << c << " at " << t << ": the load lies on top";
    }
    const Box hidden = PartBounds(s, "snowload", 5);
    EXPECT_LT(hidden.hi.x - hidden.lo.x, 0.5f) << c;
  }
}

TEST(CharacterModels, LegsAlternateWhileWalkingAndStandStillAtRest) {
  for (const char* c : kCharacters) {
    Assimp::Importer imp;
    const aiScene* s = Load(imp, c);
    ASSERT_NE(s, nullptr);
    const std::string left = std::string(c) == "spi" ? "legL1" : "legL";
    const std::string right = std::string(c) == "spi" ? "legR1" : "legR";
    const Box l0 = PartBounds(s, left, 0), l5 = PartBounds(s, left, 5), r5 = PartBounds(s, right, 5);
    const float leftStep = (l5.lo.z + l5.hi.z) - (l0.lo.z + l0.hi.z);
    const float rightStep = (r5.lo.z + r5.hi.z) - (PartBounds(s, right, 0).lo.z + PartBounds(s, right, 0).hi.z);
    EXPECT_GT(std::fabs(leftStep), 2.0f) << c << ": the legs move while walking";
    if (std::string(c) != "spi") {
      EXPECT_LT(leftStep * rightStep, 0.0f) << c << ": one leg forward, the other back";
    }
  }
}

TEST(CharacterModels, PushingLeansTheBodyForward) {
  for (const char* c : kCharacters) {
    Assimp::Importer imp;
    const aiScene* s = Load(imp, c);
    ASSERT_NE(s, nullptr);
    EXPECT_GT(PartBounds(s, "head", 55).hi.z, PartBounds(s, "head", 0).hi.z + 3.0f) << c;
  }
}

TEST(FireModel, FlamesAreAnimatedOverTwentyFrames) {
  Assimp::Importer imp;
  const aiScene* s = Load(imp, "fire");
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(s->mNumAnimations, 1u);
  EXPECT_GE(s->mAnimations[0]->mNumChannels, 8u);
  EXPECT_EQ(s->mAnimations[0]->mChannels[0]->mNumScalingKeys, 20u);
}

TEST(StageModels, FloorTopCoversTheArenaAtTenWithTheGoalCutOut) {
  for (int k = 0; k < 6; ++k) {
    Assimp::Importer imp;
    const aiScene* s = Load(imp, "stage" + std::to_string(k + 1));
    ASSERT_NE(s, nullptr);
    const float gx0 = kGoals[k][0], gz0 = kGoals[k][1], gx1 = gx0 + kGoals[k][2], gz1 = gz0 + kGoals[k][3];
    float minX = 1e9f, maxX = -1e9f, minZ = 1e9f, maxZ = -1e9f;
    int floorFacesInGoal = 0;
    ForEachVertex(s, s->mRootNode, aiMatrix4x4(), [&](const aiMesh* mesh, const aiFace& f, const aiMatrix4x4& m) {
      aiVector3D p[3];
      for (int i = 0; i < 3; ++i) p[i] = m * mesh->mVertices[f.mIndices[i]];
      if (std::fabs(p[0].y - 10) > 1e-3f || std::fabs(p[1].y - 10) > 1e-3f || std::fabs(p[2].y - 10) > 1e-3f) return;
      for (const aiVector3D& v : p)
        minX = std::min(minX, v.x), maxX = std::max(maxX, v.x), minZ = std::min(minZ, v.z), maxZ = std::max(maxZ, v.z);
      const aiVector3D c = (p[0] + p[1] + p[2]) / 3.0f;
      if (c.x > gx0 && c.x < gx1 && c.z > gz0 && c.z < gz1) ++floorFacesInGoal;
    });
    EXPECT_LE(minX, -400.0f) << k;
    EXPECT_GE(maxX, 400.0f) << k;
    EXPECT_LE(minZ, -400.0f) << k;
    EXPECT_GE(maxZ, 400.0f) << k;
    EXPECT_EQ(floorFacesInGoal, 0) << "stage " << k + 1 << " has floor inside its goal";
  }
}

TEST(StageModels, HedgesOfTheSecondStageStandOnTheObstacleSlots) {
  Assimp::Importer imp;
  const aiScene* s = Load(imp, "stage2");
  ASSERT_NE(s, nullptr);
  // every part that rises above knee height inside the arena belongs to a hedge
  const float slots[2][4] = {{-210, 115, 180, 300}, {60, 115, 180, 300}};
  int tallInsideSlots = 0, tallElsewhere = 0;
  ForEachVertex(s, s->mRootNode, aiMatrix4x4(), [&](const aiMesh* mesh, const aiFace& f, const aiMatrix4x4& m) {
    for (unsigned i = 0; i < f.mNumIndices; ++i) {
      const aiVector3D v = m * mesh->mVertices[f.mIndices[i]];
      if (v.y < 30 || std::fabs(v.x) >= 370 || std::fabs(v.z) >= 350) continue;
      bool inSlot = false;
      for (const auto& b : slots)
        inSlot |= v.x >= b[0] - 1 && v.x <= b[0] + b[2] + 1 && v.z >= b[1] - 1 && v.z <= b[1] + b[3] + 1;
      (inSlot ? tallInsideSlots : tallElsewhere)++;
    }
  });
  EXPECT_GT(tallInsideSlots, 100);
  EXPECT_EQ(tallElsewhere, 0);
}

TEST(StageModels, FloorsAreDarkerThanSnow) {
  auto brightness = [](const aiMaterial* m) {
    aiColor3D d, e;
    m->Get(AI_MATKEY_COLOR_DIFFUSE, d);
    m->Get(AI_MATKEY_COLOR_EMISSIVE, e);
    return std::min(1.0f, d.r + e.r) + std::min(1.0f, d.g + e.g) + std::min(1.0f, d.b + e.b);
  };
  Assimp::Importer snowImp;
  const aiScene* snow = Load(snowImp, "snow");
  ASSERT_NE(snow, nullptr);
  float dimmestSnow = 3.0f;
  for (unsigned i = 0; i < snow->mNumMaterials; ++i) dimmestSnow = std::min(dimmestSnow, brightness(snow->mMaterials[i]));
  EXPECT_GT(dimmestSnow, 2.7f);
  for (int k = 1; k <= 6; ++k) {
    Assimp::Importer imp;
    const aiScene* s = Load(imp, "stage" + std::to_string(k));
    ASSERT_NE(s, nullptr);
    // the floor is the material of the face under the arena centre's neighbourhood
    ForEachVertex(s, s->mRootNode, aiMatrix4x4(), [&](const aiMesh* mesh, const aiFace& f, const aiMatrix4x4& m) {
      const aiVector3D a = m * mesh->mVertices[f.mIndices[0]];
      if (std::fabs(a.y - 10) > 1e-3f || std::fabs(a.x) > 60 || std::fabs(a.z + 100) > 60) return;
      EXPECT_LT(brightness(s->mMaterials[mesh->mMaterialIndex]), 0.8f * dimmestSnow) << "stage " << k;
    });
  }
}

TEST(PropModels, BackdropPiecesReachPastTheirFiveHundredSoFourTileWithoutGaps) {
  Assimp::Importer imp;
  const aiScene* s = Load(imp, "back");
  ASSERT_NE(s, nullptr);
  const Box b = Bounds(s);
  EXPECT_NEAR(b.lo.x, -780.0f, 4.0f) << "a mast light may stand out a little";
  EXPECT_NEAR(b.hi.x, 780.0f, 4.0f);
  EXPECT_GT(b.hi.y, 300.0f) << "the skyline rises above the platform";
}

TEST(PropModels, SizesMatchTheirRolesInTheArena) {
  struct Expect { const char* name; float across, tolerance; };
  for (const Expect& e : {Expect{"snow", 60, 10}, Expect{"fish2", 150, 15}, Expect{"net", 100, 1}, Expect{"fire", 110, 20},
                          Expect{"item", 42, 8}, Expect{"cursor", 55, 10}}) {
    Assimp::Importer imp;
    const aiScene* s = Load(imp, e.name);
    ASSERT_NE(s, nullptr);
    const Box b = Bounds(s);
    EXPECT_NEAR(std::max(b.hi.x - b.lo.x, b.hi.z - b.lo.z), e.across, e.tolerance) << e.name;
    EXPECT_GT(b.hi.y, 0.5f) << e.name << " shows above the floor";
  }
  Assimp::Importer imp;
  const aiScene* item = Load(imp, "item");
  ASSERT_NE(item, nullptr);
  EXPECT_NEAR(Bounds(item).lo.y, 0.0f, 1.0f) << "the gift lands standing on the floor";
}

TEST(PropModels, NetAndMessageBoardCarryTextureCoordinatesAndTheBoardFacesTheCamera) {
  for (const char* name : {"net", "message"}) {
    Assimp::Importer imp;
    const aiScene* s = Load(imp, name);
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->mMeshes[0]->HasTextureCoords(0)) << name;
  }
  Assimp::Importer imp;
  const aiScene* s = Load(imp, "message");
  ASSERT_NE(s, nullptr);
  const aiVector3D n = s->mMeshes[0]->mNormals[0];
  aiVector3D toCamera = aiVector3D(0, 475, -1000) - aiVector3D(0, 150, -250);
  toCamera.Normalize();
  EXPECT_GT(n * toCamera, 0.95f);
}

TEST(Textures, MessagesAreWordsOnTransparentBlackAndTheNetIsOnTransparentWhite) {
  auto pixel = [](SDL_Surface* s, int x, int y) {
    Uint8 r, g, b;
    const Uint8* p = static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
    Uint32 v = 0;
    std::memcpy(&v, p, s->format->BytesPerPixel);
    SDL_GetRGB(v, s->format, &r, &g, &b);
    return std::array<int, 3>{r, g, b};
  };
  for (const char* t : {"hurry", "1pwin", "2pwin", "3pwin", "4pwin", "draw"}) {
    SDL_Surface* s = SDL_LoadBMP((kBuild / "tex" / (std::string(t) + ".bmp")).string().c_str());
    ASSERT_NE(s, nullptr) << t;
    EXPECT_EQ(s->format->BitsPerPixel, 24);
    EXPECT_EQ(pixel(s, 0, 0), (std::array<int, 3>{0, 0, 0})) << t;
    int lit = 0;
    for (int y = 0; y < s->h; ++y)
      for (int x = 0; x < s->w; ++x) lit += pixel(s, x, y) != std::array<int, 3>{0, 0, 0};
    EXPECT_GT(lit, s->w * s->h / 5) << t << ": the words are too small";
    SDL_FreeSurface(s);
  }
  SDL_Surface* net = SDL_LoadBMP((kBuild / "tex" / "net.bmp").string().c_str());
  ASSERT_NE(net, nullptr);
  EXPECT_EQ(pixel(net, 0, 0), (std::array<int, 3>{255, 255, 255}));
  EXPECT_NE(pixel(net, net->w / 2, net->h / 2), (std::array<int, 3>{255, 255, 255}));
  SDL_FreeSurface(net);
}

namespace {
// Share of pixels in a rectangle of a sheet that are not black.
double LitShare(SDL_Surface* s, int x0, int y0, int w, int h) {
  int lit = 0;
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) {
      const Uint8* p = static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
      lit += (p[0] | p[1] | p[2]) != 0;
    }
  return static_cast<double>(lit) / (w * h);
}
}  // namespace

TEST(SpriteSheets, MenuSheetCellsHoldTheirPictures) {
  SDL_Surface* s = kelmora::resources::LoadMenuSheet();
  ASSERT_EQ(s->w, 345);
  ASSERT_EQ(s->h, 490);
  // Kept in the screen's format (blue, green, red, unused in memory), so drawing copies.
  ASSERT_EQ(s->format->format, kelmora::platform::kScreenPixelFormat);
  const int cells[][4] = {{0, 0, 320, 50},    {0, 50, 320, 50},   {0, 100, 320, 50}, {0, 150, 160, 50},
                          {160, 150, 160, 50}, {0, 200, 160, 50},  {160, 200, 100, 25}, {160, 225, 100, 25},
                          {320, 100, 25, 15},  {320, 115, 25, 15}, {320, 130, 25, 15}, {320, 145, 25, 15}};
  for (const auto& c : cells) EXPECT_GT(LitShare(s, c[0], c[1], c[2], c[3]), 0.08) << c[0] << "," << c[1];
  EXPECT_GT(LitShare(s, 0, 250, 320, 240), 0.95) << "title art";
  EXPECT_EQ(LitShare(s, 320, 0, 2, 15), 1.0) << "bar columns";
  // the score bar is white in the middle and dark blue at the ends
  const Uint8* mid = static_cast<const Uint8*>(s->pixels) + 7 * s->pitch + 320 * 4;
  const Uint8* end = static_cast<const Uint8*>(s->pixels) + 0 * s->pitch + 320 * 4;
  EXPECT_GT(mid[0] + mid[1] + mid[2], 700);
  EXPECT_GT(end[0], end[2] * 3);  // BGR: blue dominates
  SDL_FreeSurface(s);
}

TEST(SpriteSheets, CharacterSheetCellsHoldTheirPictures) {
  SDL_Surface* s = kelmora::resources::LoadCharacterSheet();
  ASSERT_EQ(s->w, 900);
  ASSERT_EQ(s->h, 325);
  ASSERT_EQ(s->format->format, kelmora::platform::kScreenPixelFormat);
  for (int n = 0; n < 9; ++n) {
    EXPECT_GT(LitShare(s, 100 * n, 0, 100, 100), 0.9) << "portrait " << n;
    EXPECT_GT(LitShare(s, 50 * n, 100, 50, 50), 0.9) << "face " << n;
  }
  for (int k = 0; k < 6; ++k) EXPECT_GT(LitShare(s, 100 * k, 150, 100, 100), 0.5) << "stage " << k;
  for (int i = 0; i < 3; ++i) EXPECT_GT(LitShare(s, 600 + 100 * i, 150, 100, 100), 0.7) << "loading " << i;
  EXPECT_GT(LitShare(s, 0, 250, 500, 75), 0.2) << "logo";
  EXPECT_EQ(LitShare(s, 450, 100, 450, 50), 0.0) << "unused strip stays black";
  SDL_FreeSurface(s);
}

namespace {

// Everything the game takes from a model, compared bit for bit; the first difference found.
std::string SceneDifference(const aiScene* a, const aiScene* b) {
  const auto same = [](const void* x, const void* y, size_t n) { return n == 0 || std::memcmp(x, y, n) == 0; };
  if (a->mNumMeshes != b->mNumMeshes || a->mNumMaterials != b->mNumMaterials || a->mNumAnimations != b->mNumAnimations)
    return "counts";
  for (unsigned i = 0; i < a->mNumMeshes; ++i) {
    const aiMesh *x = a->mMeshes[i], *y = b->mMeshes[i];
    const unsigned n = x->mNumVertices;
    if (n != y->mNumVertices || x->mNumFaces != y->mNumFaces || x->mMaterialIndex != y->mMaterialIndex)
      return "mesh " + std::to_string(i) + " sizes";
    if (!same(x->mVertices, y->mVertices, n * sizeof(aiVector3D)) || !same(x->mNormals, y->mNormals, n * sizeof(aiVector3D)))
      return "mesh " + std::to_string(i) + " vertices or normals";
    if (!x->mTextureCoords[0] != !y->mTextureCoords[0] ||
        (x->mTextureCoords[0] && !same(x->mTextureCoords[0], y->mTextureCoords[0], n * sizeof(aiVector3D))))
      return "mesh " + std::to_string(i) + " texture coordinates";
    for (unsigned f = 0; f < x->mNumFaces; ++f) {
      if (x->mFaces[f].mNumIndices != y->mFaces[f].mNumIndices ||
          !same(x->mFaces[f].mIndices, y->mFaces[f].mIndices, x->mFaces[f].mNumIndices * sizeof(unsigned)))
        return "mesh " + std::to_string(i) + " face " + std::to_string(f);
    }
  }
  for (unsigned i = 0; i < a->mNumMaterials; ++i) {
    aiColor4D d1, d2;
    aiColor3D e1, e2;
    a->mMaterials[i]->Get(AI_MATKEY_COLOR_DIFFUSE, d1), b->mMaterials[i]->Get(AI_MATKEY_COLOR_DIFFUSE, d2);
    a->mMaterials[i]->Get(AI_MATKEY_COLOR_EMISSIVE, e1), b->mMaterials[i]->Get(AI_MATKEY_COLOR_EMISSIVE, e2);
    if (!same(&d1, &d2, sizeof d1) || !same(&e1, &e2, sizeof e1)) return "material " + std::to_string(i);
  }
  std::string found;
  const std::function<void(const aiNode*, const aiNode*)> nodes = [&](const aiNode* x, const aiNode* y) {
    if (!found.empty()) return;
    if (std::string(x->mName.C_Str()) != y->mName.C_Str() || x->mNumChildren != y->mNumChildren ||
        x->mNumMeshes != y->mNumMeshes || !same(&x->mTransformation, &y->mTransformation, sizeof(aiMatrix4x4)) ||
        !same(x->mMeshes, y->mMeshes, x->mNumMeshes * sizeof(unsigned))) {
      found = std::string("frame ") + x->mName.C_Str();
      return;
    }
    for (unsigned c = 0; c < x->mNumChildren; ++c) nodes(x->mChildren[c], y->mChildren[c]);
  };
  nodes(a->mRootNode, b->mRootNode);
  if (!found.empty()) return found;
  for (unsigned i = 0; i < a->mNumAnimations; ++i) {
    const aiAnimation *x = a->mAnimations[i], *y = b->mAnimations[i];
    if (x->mNumChannels != y->mNumChannels || x->mDuration != y->mDuration) return "animation";
    for (unsigned c = 0; c < x->mNumChannels; ++c) {
      const aiNodeAnim *p = x->mChannels[c], *q = y->mChannels[c];
      const std::string at = std::string("channel ") + p->mNodeName.C_Str();
      if (at != std::string("channel ") + q->mNodeName.C_Str() || p->mNumPositionKeys != q->mNumPositionKeys ||
          p->mNumRotationKeys != q->mNumRotationKeys || p->mNumScalingKeys != q->mNumScalingKeys)
        return at;
      // Key by key: a vector key has padding after its value.
      const auto sameKeys = [&](const auto* u, const auto* v, unsigned n) {
        for (unsigned k = 0; k < n; ++k) {
          if (!same(&u[k].mTime, &v[k].mTime, sizeof u[k].mTime) || !same(&u[k].mValue, &v[k].mValue, sizeof u[k].mValue))
            return false;
        }
        return true;
      };
      if (!sameKeys(p->mPositionKeys, q->mPositionKeys, p->mNumPositionKeys) ||
          !sameKeys(p->mRotationKeys, q->mRotationKeys, p->mNumRotationKeys) ||
          !sameKeys(p->mScalingKeys, q->mScalingKeys, p->mNumScalingKeys))
        return at + " keys";
    }
  }
  return "";
}

}  // namespace

// The game's models are binary; the text form the generator can write instead is read as the
// same numbers, so a model looks and moves the same whichever form it was loaded from.
TEST(AssetGenerator, BinaryAndTextModelsLoadTheSame) {
  const fs::path tool = kBuild / "tools" / "assetgen" / "assetgen";
  const fs::path base = fs::temp_directory_path() / ("kelmora-text-models-" + std::to_string(::getpid()));
  const std::string cmd = tool.string() + " --out " + base.string() + " --only model --text-models";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
  const unsigned flags = aiProcess_ConvertToLeftHanded | aiProcess_Triangulate | aiProcess_GenSmoothNormals |
                         aiProcess_SortByPType;
  for (const char* m : kModels) {
    const fs::path text = base / "model" / (std::string(m) + ".x");
    ASSERT_EQ(Slurp(text).rfind("xof 0303txt 0032", 0), 0u) << m;
    Assimp::Importer fromText, fromBinary;
    const aiScene* a = fromText.ReadFile(text.string(), flags);
    const aiScene* b = fromBinary.ReadFile((kBuild / "model" / (std::string(m) + ".x")).string(), flags);
    ASSERT_TRUE(a && b) << m << ": " << fromText.GetErrorString() << fromBinary.GetErrorString();
    EXPECT_EQ(SceneDifference(a, b), "") << m;
    EXPECT_LT(fs::file_size(kBuild / "model" / (std::string(m) + ".x")), fs::file_size(text)) << m;
  }
  fs::remove_all(base);
}

TEST(AssetGenerator, TwoRunsWriteTheSameBytes) {
  const fs::path tool = kBuild / "tools" / "assetgen" / "assetgen";
  const fs::path base = fs::temp_directory_path() / ("kelmora-assets-" + std::to_string(::getpid()));
  for (const char* run : {"a", "b"}) {
    const std::string cmd = tool.string() + " --out " + (base / run).string() + " --embed " +
                            (base / run / "sheets.cpp").string();
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
  }
  int files = 0;
  for (const auto& e : fs::recursive_directory_iterator(base / "a")) {
    if (!e.is_regular_file()) continue;
    const fs::path rel = fs::relative(e.path(), base / "a");
    EXPECT_EQ(Slurp(e.path()), Slurp(base / "b" / rel)) << rel;
    ++files;
  }
  EXPECT_GE(files, 32);
  fs::remove_all(base);
}
