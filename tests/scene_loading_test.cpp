// Models and textures from files: materials, frame hierarchies, key poses, transparent
// colours, and files that cannot be loaded.
#include <unistd.h>
#include <gtest/gtest.h>

#include <SDL.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "test_dirs.h"
#include "scene_test_support.h"
#include "platform/asset_error.h"
#include "scene/scene.h"

namespace kelmora::scene {
namespace {

const double kHalfRoot = std::sqrt(0.5);

void ExpectAbout(glm::dvec3 got, glm::dvec3 want, double eps = 1e-5) {
  testing::ExpectNear(got, want, eps);
}

using Loaded = testing::SceneWithRoot;

// A 24-bit BMP of 2 x 2 texels: red, black / white, black (top row first).
std::string WriteCheckerBmp() {
  const auto path = (std::filesystem::temp_directory_path() / ("kelmora_scene_checker" + std::to_string(getpid()) + ".bmp")).string();
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 2, 2, 24, SDL_PIXELFORMAT_RGB24);
  auto* px = static_cast<uint8_t*>(s->pixels);
  const uint8_t rows[2][6] = {{255, 0, 0, 0, 0, 0}, {255, 255, 255, 0, 0, 0}};
  for (int y = 0; y < 2; ++y) std::copy(rows[y], rows[y] + 6, px + y * s->pitch);
  SDL_SaveBMP(s, path.c_str());
  SDL_FreeSurface(s);
  return path;
}

TEST(LoadMesh, ACubeComesWithItsMaterialAsOneGroup) {
  Loaded l;
  const MeshHandle m = l.sc.CreateMeshBuilder();
  l.sc.LoadMesh(m, kData + "/cube.x");
  const platform::MeshData* d = l.sc.Mesh(m);
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(d->groups.size(), 1u);
  EXPECT_EQ(d->indices.size(), 36u);
  // The reader gives each triangle its own corners; the two triangles of a side share theirs.
  EXPECT_EQ(d->vertices.size(), 24u);
  EXPECT_EQ(d->groups[0].diffuse, glm::vec4(1, 0, 0, 1));
  EXPECT_EQ(d->groups[0].texture, 0);
  EXPECT_NEAR(d->radius, std::sqrt(300.0), 1e-4);
  // Faces keep the file's clockwise winding: the normal of every triangle points outwards.
  for (size_t i = 0; i < d->indices.size(); i += 3) {
    const glm::vec3 a = d->vertices[d->indices[i]].position, b = d->vertices[d->indices[i + 1]].position,
                    c = d->vertices[d->indices[i + 2]].position;
    EXPECT_GT(glm::dot(glm::cross(b - a, c - a), a + b + c), 0) << "triangle " << i / 3;
  }
}

TEST(LoadMesh, AGridSharesEveryCornerOnceAndOnlyIdenticalOnes) {
  // A flat grid of 40 x 40 squares, two triangles each: the reader gives 9,600 corners; the
  // loader must keep exactly the 41 x 41 distinct points, each once. Half the grid's points
  // are written twice in the file, once with a different normal: those stay apart.
  constexpr int kN = 40, kP = kN + 1;
  std::ostringstream x;
  x << "xof 0303txt 0032\nFrame Grid {\n Mesh GridMesh {\n  " << kP * kP * 2 << ";\n";
  for (int copy = 0; copy < 2; ++copy) {
    for (int i = 0; i < kP * kP; ++i) {
      x << "  " << i % kP << ".0;0.0;" << i / kP << ".0;" << (copy == 1 && i == kP * kP - 1 ? ";\n" : ",\n");
    }
  }
  auto faces = [&](int offset, int rows) {
    for (int r = 0; r < rows; ++r) {
      for (int c = 0; c < kN; ++c) {
        const int a = offset + r * kP + c, b = a + 1, d = a + kP, e = d + 1;
        x << "  3;" << a << "," << d << "," << b << ";,\n  3;" << b << "," << d << "," << e << ";";
        x << (r == rows - 1 && c == kN - 1 && offset > 0 ? ";\n" : ",\n");
      }
    }
  };
  const int upperRows = kN / 2;
  x << "  " << (kN * kN + upperRows * kN) * 2 << ";\n";
  faces(0, kN);
  faces(kP * kP, upperRows);  // the second copy of the points, under the first half of the rows
  x << "  MeshNormals {\n   2;\n   0.0;1.0;0.0;,\n   0.0;-1.0;0.0;;\n   " << (kN * kN + upperRows * kN) * 2 << ";\n";
  for (int f = 0; f < (kN * kN + upperRows * kN) * 2; ++f) {
    const int n = f < kN * kN * 2 ? 0 : 1;
    x << "   3;" << n << "," << n << "," << n << ";" << (f == (kN * kN + upperRows * kN) * 2 - 1 ? ";\n" : ",\n");
  }
  x << "  }\n }\n}\n";
  const auto path = (std::filesystem::temp_directory_path() / ("kelmora_grid" + std::to_string(getpid()) + ".x")).string();
  std::ofstream(path) << x.str();

  Loaded l;
  const MeshHandle m = l.sc.CreateMeshBuilder();
  l.sc.LoadMesh(m, path);
  std::filesystem::remove(path);
  const platform::MeshData* d = l.sc.Mesh(m);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->indices.size(), size_t{(kN * kN + upperRows * kN) * 6});
  EXPECT_EQ(d->vertices.size(), size_t{kP * kP + (upperRows + 1) * kP});
  std::set<std::array<float, 6>> distinct;
  for (const platform::MeshVertex& v : d->vertices) {
    distinct.insert({v.position.x, v.position.y, v.position.z, v.normal.x, v.normal.y, v.normal.z});
  }
  EXPECT_EQ(distinct.size(), d->vertices.size());
  for (const uint32_t i : d->indices) ASSERT_LT(i, d->vertices.size());
}

TEST(LoadMesh, AStaticModelPlacesEveryPartByItsFrames) {
  Loaded l;
  const MeshHandle m = l.sc.CreateMeshBuilder();
  l.sc.LoadMesh(m, kData + "/arm.x");
  const platform::MeshData* d = l.sc.Mesh(m);
  ASSERT_NE(d, nullptr);
  // The arm box (half-size 1 around x = 3 in its frame) sits at (5, 10, -3): its frame is
  // turned a quarter about y (its +x along the world's -z) and lifted with the body.
  glm::vec3 lo(1e9), hi(-1e9);
  for (const auto& v : d->vertices) {
    if (v.position.x > 3) {  // the body box ends at x = 2
      lo = glm::min(lo, v.position);
      hi = glm::max(hi, v.position);
    }
  }
  ExpectAbout((lo + hi) * 0.5f, {5, 10, -3});
}

TEST(LoadMesh, TwoFramesShareOneMesh) {
  Loaded l;
  const MeshHandle m = l.sc.CreateMeshBuilder();
  l.sc.LoadMesh(m, kData + "/cube.x");
  const FrameHandle a = l.sc.CreateFrame(l.root), b = l.sc.CreateFrame(l.root);
  l.sc.AddVisual(a, m);
  l.sc.AddVisual(b, m);
  EXPECT_EQ(l.sc.Visuals(a), l.sc.Visuals(b));
}

TEST(LoadFailure, AMissingFileNamesTheFile) {
  Loaded l;
  const MeshHandle m = l.sc.CreateMeshBuilder();
  const std::string path = kData + "/no_such_model.x";
  try {
    l.sc.LoadMesh(m, path);
    FAIL() << "no error";
  } catch (const platform::AssetError& e) {
    EXPECT_EQ(e.file, path);
    EXPECT_NE(std::string(e.what()).find(path), std::string::npos);
  }
  EXPECT_THROW(l.sc.LoadAnimationSet(l.sc.CreateAnimationSet(), path, l.root), platform::AssetError);
  EXPECT_THROW(l.sc.LoadTexture(kData + "/no_such_texture.bmp"), platform::AssetError);
}

TEST(LoadFailure, AnUnreadableFileNamesTheFile) {
  const auto path = (std::filesystem::temp_directory_path() / ("kelmora_scene_broken" + std::to_string(getpid()) + ".x")).string();
  std::ofstream(path) << "xof 0303txt 0032\nFrame Broken { Mesh { 3; 1.0;\n";
  Loaded l;
  try {
    l.sc.LoadMesh(l.sc.CreateMeshBuilder(), path);
    FAIL() << "no error";
  } catch (const platform::AssetError& e) {
    EXPECT_EQ(e.file, path);
  }
  EXPECT_THROW(l.sc.LoadTexture(path), platform::AssetError);
}

struct Arm : Loaded {
  Arm() { sc.LoadAnimationSet(set, kData + "/arm.x", parent); }
  FrameHandle parent = sc.CreateFrame(root);
  AnimationSetHandle set = sc.CreateAnimationSet();
  FrameHandle body() const { return sc.FindFrame(set, "Body"); }
  FrameHandle arm() const { return sc.FindFrame(set, "Arm"); }
};

TEST(AnimationSet, TheModelsFramesHangUnderTheParentFrame) {
  Arm a;
  ASSERT_TRUE(a.sc.Exists(a.body()));
  ASSERT_TRUE(a.sc.Exists(a.arm()));
  EXPECT_EQ(a.sc.Parent(a.arm()), a.body());
  // Moving the parent frame carries the whole model.
  a.sc.SetPosition(a.parent, {}, 100, 0, 0);
  ExpectAbout(a.sc.WorldPosition(a.arm()), {105, 10, 0});
  EXPECT_FALSE(a.sc.Visuals(a.arm()).empty());
}

TEST(AnimationSet, AKeyEqualToTheRestPoseGivesTheFrameMatrixBack) {
  Arm a;
  // At rest (the file's frame matrix): a quarter turn about y, +x along -z.
  ExpectAbout(a.sc.Right(a.arm()), {0, 0, -1});
  a.sc.SetTime(a.set, 10);  // the key holds the same quarter turn (conjugated in the file)
  ExpectAbout(a.sc.Right(a.arm()), {0, 0, -1});
  ExpectAbout(a.sc.Direction(a.arm()), {1, 0, 0});
  ExpectAbout(a.sc.WorldPosition(a.arm()), {5, 20, 0});
  a.sc.SetTime(a.set, 0);
  ExpectAbout(a.sc.Right(a.arm()), {1, 0, 0});
  ExpectAbout(a.sc.WorldPosition(a.arm()), {5, 10, 0});
}

TEST(AnimationSet, BetweenKeysThePoseIsInterpolated) {
  Arm a;
  a.sc.SetTime(a.set, 5);
  ExpectAbout(a.sc.Right(a.arm()), {kHalfRoot, 0, -kHalfRoot});
  ExpectAbout(a.sc.WorldPosition(a.arm()), {5, 15, 0});
  a.sc.SetTime(a.set, 2.5);
  ExpectAbout(a.sc.WorldPosition(a.arm()), {5, 12.5, 0});
}

TEST(AnimationSet, TimesOutsideTheKeysHoldTheEndPoses) {
  Arm a;
  a.sc.SetTime(a.set, 69);
  ExpectAbout(a.sc.Right(a.arm()), {0, 0, -1});
  ExpectAbout(a.sc.WorldPosition(a.arm()), {5, 20, 0});
  a.sc.SetTime(a.set, -3);
  ExpectAbout(a.sc.Right(a.arm()), {1, 0, 0});
  // A frame without keys keeps its place.
  ExpectAbout(a.sc.WorldPosition(a.body()), {0, 10, 0});
}

TEST(AnimationSet, ReleasingTheSetRemovesItsFramesFromTheParent) {
  Arm a;
  const FrameHandle body = a.body();
  a.sc.Release(a.set);
  EXPECT_FALSE(a.sc.Exists(body));
  EXPECT_TRUE(a.sc.Children(a.parent).empty());
  a.sc.SetTime(a.set, 5);  // a released set is ignored
}

TEST(Texture, OnlyTexelsOfTheTransparentColourAreMarked) {
  Loaded l;
  const TextureHandle t = l.sc.LoadTexture(WriteCheckerBmp());
  const platform::TextureImage* img = l.sc.Texture(t);
  ASSERT_NE(img, nullptr);
  ASSERT_EQ(img->width, 2);
  auto alpha = [&](int x, int y) { return l.sc.Texture(t)->rgba[(y * 2 + x) * 4 + 3]; };
  EXPECT_EQ(img->rgba[0], 255);  // red, top left
  EXPECT_EQ(img->rgba[1], 0);
  EXPECT_EQ(alpha(1, 0), 255);   // transparency still off
  l.sc.SetDecalTransparentColor(t, 0, 0, 0);
  l.sc.SetDecalTransparency(t, true);
  EXPECT_EQ(alpha(0, 0), 255);
  EXPECT_EQ(alpha(1, 0), 0);
  EXPECT_EQ(alpha(1, 1), 0);
  l.sc.SetDecalTransparentColor(t, 255, 255, 255);  // the net's white
  EXPECT_EQ(alpha(0, 1), 0);
  EXPECT_EQ(alpha(1, 1), 255);
}

TEST(Texture, APictureReadsTheSameAtEveryDepthAFileCanHave) {
  // Five texels a row (24-bit rows padded in the file): red, green, blue, grey, white, twice.
  const uint8_t colours[5][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {90, 60, 30}, {255, 255, 255}};
  std::vector<platform::TextureImage> read;
  for (const uint32_t format : {SDL_PIXELFORMAT_BGR24, SDL_PIXELFORMAT_RGB24, SDL_PIXELFORMAT_XRGB8888,
                                SDL_PIXELFORMAT_INDEX8}) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 5, 2, SDL_BITSPERPIXEL(format), format);
    ASSERT_NE(s, nullptr) << SDL_GetError();
    if (format == SDL_PIXELFORMAT_INDEX8) {
      SDL_Color palette[5];
      for (int i = 0; i < 5; ++i) palette[i] = {colours[i][0], colours[i][1], colours[i][2], 255};
      SDL_SetPaletteColors(s->format->palette, palette, 0, 5);
    }
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < 5; ++x) {
        const SDL_Rect texel{x, y, 1, 1};
        SDL_FillRect(s, &texel, format == SDL_PIXELFORMAT_INDEX8
                                    ? static_cast<uint32_t>(x)
                                    : SDL_MapRGB(s->format, colours[x][0], colours[x][1], colours[x][2]));
      }
    }
    const auto path = (std::filesystem::temp_directory_path() /
                       ("kelmora_depth" + std::to_string(getpid()) + "_" + std::to_string(format) + ".bmp")).string();
    ASSERT_EQ(SDL_SaveBMP(s, path.c_str()), 0) << SDL_GetError();
    SDL_FreeSurface(s);
    Loaded l;
    read.push_back(*l.sc.Texture(l.sc.LoadTexture(path)));
    std::filesystem::remove(path);
  }
  for (const platform::TextureImage& image : read) {
    ASSERT_EQ(image.width, 5);
    ASSERT_EQ(image.height, 2);
    for (int i = 0; i < 10; ++i) {
      const uint8_t* c = colours[i % 5];
      EXPECT_EQ(std::vector<uint8_t>(image.rgba.begin() + i * 4, image.rgba.begin() + i * 4 + 4),
                (std::vector<uint8_t>{c[0], c[1], c[2], 255}))
          << "texel " << i;
    }
  }
}

TEST(Texture, EveryTexelOfTheKeyAndNoNearMissLosesItsAlpha) {
  // 37 texels a row (rows padded in the file), every colour one step from the key in some
  // channel, and the key itself now and then.
  const auto path = (std::filesystem::temp_directory_path() /
                     ("kelmora_scene_near_misses" + std::to_string(getpid()) + ".bmp")).string();
  constexpr int kW = 37, kH = 9;
  const uint8_t key[3] = {200, 16, 90};
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, kW, kH, 24, SDL_PIXELFORMAT_RGB24);
  auto* px = static_cast<uint8_t*>(s->pixels);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      uint8_t* p = px + y * s->pitch + x * 3;
      std::copy(key, key + 3, p);
      const int n = (x * 7 + y * 3) % 8;  // 0-5: one channel one step off; 6, 7: the key
      if (n < 6) p[n / 2] = static_cast<uint8_t>(p[n / 2] + (n % 2 ? 1 : -1));
    }
  }
  SDL_SaveBMP(s, path.c_str());
  SDL_FreeSurface(s);

  Loaded l;
  const TextureHandle t = l.sc.LoadTexture(path);
  std::filesystem::remove(path);
  l.sc.SetDecalTransparency(t, true);
  for (const glm::ivec3 c : {glm::ivec3(key[0], key[1], key[2]), glm::ivec3(key[0] + 256, key[1], key[2]),
                             glm::ivec3(key[0], key[1] - 256, key[2])}) {
    l.sc.SetDecalTransparentColor(t, c.r, c.g, c.b);
    const auto& rgba = l.sc.Texture(t)->rgba;
    ASSERT_EQ(rgba.size(), size_t{kW * kH * 4});
    int cleared = 0;
    for (size_t i = 0; i < rgba.size(); i += 4) {
      const bool isKey = rgba[i] == c.r && rgba[i + 1] == c.g && rgba[i + 2] == c.b;
      EXPECT_EQ(rgba[i + 3], isKey ? 0 : 255) << "texel " << i / 4 << ", key " << c.r << "," << c.g << "," << c.b;
      cleared += isKey;
    }
    // A colour outside 0-255 is never a texel's, whatever its low bits are.
    EXPECT_EQ(cleared, c.r == key[0] && c.g == key[1] ? 84 : 0);
  }
}

TEST(Texture, AMeshDrawnWithATextureUsesItOnEveryGroup) {
  Loaded l;
  const MeshHandle m = l.sc.CreateMeshBuilder();
  l.sc.LoadMesh(m, kData + "/quad.x");
  const TextureHandle t = l.sc.LoadTexture(WriteCheckerBmp());
  l.sc.SetTexture(m, t);
  for (const auto& g : l.sc.Mesh(m)->groups) EXPECT_EQ(g.texture, t.id);
  l.sc.Release(t);
  for (const auto& g : l.sc.Mesh(m)->groups) EXPECT_EQ(g.texture, 0);
}

}  // namespace
}  // namespace kelmora::scene
