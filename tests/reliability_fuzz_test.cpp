// Seeded mutation of the inputs the game reads: thousands of damaged scripts, models and
// textures, each either taken or refused with the reader's own error, never a crash.
#include <unistd.h>
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "command_support.h"
#include "fuzz/fuzz_one_input.h"

namespace kelmora {
namespace {

namespace fs = std::filesystem;

// Values that readers of numbers and sizes tend to mishandle.
const char* const kWords[] = {"0", "-1", "255", "256", "65535", "2147483647", "-2147483648", "99999999999",
                              "1e308", "-1e308", "nan", "inf", "0.0000001", ";", ",", "{", "}", "\n", " "};
const uint32_t kSizes[] = {0, 1, 0x7F, 0x80, 0xFF, 0xFFFF, 0x10000, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFFu};

// One to four edits: a flipped bit, a byte set, bytes inserted, a stretch removed or
// repeated, a word or a 32-bit size written over, or the end cut off.
std::string Mutate(std::string s, std::mt19937& rng) {
  auto pick = [&](size_t n) { return n ? rng() % n : 0; };
  const int edits = 1 + static_cast<int>(rng() % 4);
  for (int k = 0; k < edits; ++k) {
    const size_t at = pick(s.size() + 1);
    switch (rng() % 7) {
      case 0:
        if (at < s.size()) s[at] = static_cast<char>(s[at] ^ (1 << (rng() % 8)));
        break;
      case 1:
        if (at < s.size()) s[at] = static_cast<char>(rng());
        break;
      case 2: s.insert(at, 1 + pick(4), static_cast<char>(rng())); break;
      case 3: s.erase(at, 1 + pick(64)); break;
      case 4:
        if (at < s.size()) s.insert(at, s.substr(at, 1 + pick(256)));
        break;
      case 5: s.replace(at, pick(6), kWords[pick(std::size(kWords))]); break;
      case 6:
        if (at + 4 <= s.size()) {
          const uint32_t v = kSizes[pick(std::size(kSizes))];
          for (int b = 0; b < 4; ++b) s[at + b] = static_cast<char>(v >> (8 * b));
        } else {
          s.resize(at);
        }
        break;
    }
  }
  return s;
}

// A file that is removed with the object.
struct ScratchFile {
  explicit ScratchFile(const std::string& ending)
      : path((fs::temp_directory_path() / ("kelmora-fuzz-" + std::to_string(getpid()) + ending)).string()) {}
  ~ScratchFile() {
    std::error_code ec;
    fs::remove(path, ec);
  }
  std::string path;
};

TEST(Fuzzing, ScriptsReadOrFailWithTheirLine) {
  const std::string seed =
      "# both keyboard seats, a joystick and the close\n"
      "0 key-down 37 0\n12 key-up 37 0\n5 key-down 17 2\n5 key-up 17 2\n"
      "7 joy 0 -32768 32767 3\n7 joy 1 0 0 0\n\n40 key-down 27 0 # Esc\n900 close\n";
  ASSERT_EQ(fuzzing::OneScript(seed), "");
  std::mt19937 rng(151);
  for (int i = 0; i < 6000; ++i) {
    const std::string text = Mutate(seed, rng);
    const std::string problem = fuzzing::OneScript(text);
    ASSERT_EQ(problem, "") << "input " << i << ":\n" << text;
  }
}

// Mutations of each seed file, loaded as the game loads that kind of file.
void FuzzFiles(const std::vector<std::pair<std::string, fuzzing::FileKind>>& seeds, const std::string& ending,
               int perSeed, uint32_t seed) {
  ScratchFile scratch(ending);
  std::mt19937 rng(seed);
  for (const auto& [file, kind] : seeds) {
    const std::string whole = testing::ReadFileText(file);
    ASSERT_FALSE(whole.empty()) << file;
    ASSERT_EQ(fuzzing::OneFile(scratch.path, whole, kind), "") << file << " itself";
    for (int i = 0; i < perSeed; ++i) {
      const std::string bytes = Mutate(whole, rng);
      const std::string problem = fuzzing::OneFile(scratch.path, bytes, kind);
      if (!problem.empty()) {
        const std::string kept = scratch.path + ".fault";
        fuzzing::WriteBytes(kept, bytes);
        FAIL() << file << " mutation " << i << ": " << problem << " (input kept in " << kept << ")";
      }
    }
  }
  scene::ForgetParsedFiles();
}

TEST(Fuzzing, ModelsLoadOrFailWithAnErrorNamingTheFile) {
  const std::string data = KELMORA_TEST_DATA_DIR;
  const std::string built = std::string(KELMORA_BUILD_DIR) + "/model/";
  FuzzFiles({{data + "/cube.x", fuzzing::FileKind::Mesh},
             {data + "/quad.x", fuzzing::FileKind::Mesh},
             {data + "/arm.x", fuzzing::FileKind::AnimatedModel},
             {built + "snow.x", fuzzing::FileKind::Mesh}},
            ".x", 500, 152);
}

// Small textures of the depths a BMP file can have: 24-bit with padded rows, 8-bit with a
// palette, 32-bit.
std::vector<std::string> WriteSeedTextures(const std::string& stem) {
  std::vector<std::string> out;
  const std::pair<int, uint32_t> looks[] = {{24, SDL_PIXELFORMAT_BGR24}, {8, SDL_PIXELFORMAT_INDEX8},
                                            {32, SDL_PIXELFORMAT_BGRA32}};
  for (const auto& [depth, format] : looks) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 5, 3, depth, format);
    auto* px = static_cast<uint8_t*>(s->pixels);
    for (int i = 0; i < s->h * s->pitch; ++i) px[i] = static_cast<uint8_t>(i * 37);
    if (s->format->palette) {
      SDL_Color colours[4] = {{0, 0, 0, 255}, {255, 0, 0, 255}, {0, 255, 0, 255}, {255, 255, 255, 255}};
      SDL_SetPaletteColors(s->format->palette, colours, 0, 4);
    }
    out.push_back(stem + std::to_string(depth) + ".bmp");
    SDL_SaveBMP(s, out.back().c_str());
    SDL_FreeSurface(s);
  }
  return out;
}

TEST(Fuzzing, TexturesLoadOrFailWithAnErrorNamingTheFile) {
  const std::string stem = (fs::temp_directory_path() / ("kelmora-fuzz-seed-" + std::to_string(getpid()) + "-")).string();
  std::vector<std::pair<std::string, fuzzing::FileKind>> seeds;
  for (const std::string& f : WriteSeedTextures(stem)) seeds.push_back({f, fuzzing::FileKind::Texture});
  FuzzFiles(seeds, ".bmp", 1000, 153);
  for (const auto& [f, kind] : seeds) fs::remove(f);
}

}  // namespace
}  // namespace kelmora

namespace kelmora {
namespace {

// What the fuzzing found, each kept as a case: damaged files that crashed the model reader
// or made the picture reader ask for terabytes, now refused with a reason.
struct DamagedFile {
  std::string Load(const std::string& ending, const std::string& bytes) {
    ScratchFile file(ending);
    fuzzing::WriteBytes(file.path, bytes);
    scene::ForgetParsedFiles();
    scene::Scene sc;
    sc.CreateRetainedMode();
    const scene::FrameHandle root = sc.CreateFrame({});
    try {
      if (ending == ".bmp") {
        sc.LoadTexture(file.path);
      } else {
        sc.LoadAnimationSet(sc.CreateAnimationSet(), file.path, root);
      }
    } catch (const platform::AssetError& e) {
      EXPECT_EQ(e.file, file.path);
      return e.what();
    }
    return "loaded";
  }
};

const char* const kCubeList = "  MeshMaterialList {\n   1;\n   12;\n   0,0,0,0,0,0,0,0,0,0,0,0;\n   {Red}\n  }\n";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(FuzzFinds, ModelsThatWouldCrashOrExhaustTheReaderAreRefused) {
  const std::string cube = testing::ReadFileText(std::string(KELMORA_TEST_DATA_DIR) + "/cube.x");
  const std::string arm = testing::ReadFileText(std::string(KELMORA_TEST_DATA_DIR) + "/arm.x");
  DamagedFile d;
  ASSERT_EQ(d.Load(".x", cube), "loaded");
  std::string deepFrames = "xof 0303txt 0032\n";
  for (int k = 0; k < 100000; ++k) deepFrames += "Frame a {\n";
  const std::pair<std::string, std::string> cases[] = {
      {Replaced(cube, "3;8,9,10;,", "3;8,99,10;,"), "line 45: face index 99 past the mesh's 24 vertices"},
      {Replaced(cube, "  24;\n", "  4000000000;\n"), "line 15: a bad vertex count"},
      {Replaced(cube, "  24;\n", "  -24;\n"), "line 15: a bad vertex count"},
      {Replaced(cube, "   12;\n   3;0,1,2;,", "   11;\n   3;0,1,2;,"), "normals for 11 faces of 12"},
      {Replaced(cube, "   3;0,1,2;,", "   2;0,1;,"), "a face whose normals do not match its corners"},
      {Replaced(cube, "   3;0,1,2;,", "   3;0,1,99;,"), "face index 99 past the mesh's 24 normals"},
      {Replaced(cube, "xof 0303txt", "xof 0303tzip"), "a compressed .x file"},
      {Replaced(cube, "   {Red}", " x {Red}"), "line 57: something other than a material in a material list"},
      {Replaced(cube, "   {Red}", ""), "a face of material 0 in a list of 0 materials"},
      {Replaced(arm, "   0;\n   2;\n", "   0;\n   4294967295;\n"), "a bad key count (4294967295, more than the file holds)"},
      // The reader follows an unknown word to the next opening brace and past the brace that
      // closes it: here past the mesh's end, so that a list whose material it does not know
      // (it skips that too) becomes the mesh's, and a face looks up a material never given.
      {Replaced(Replaced(cube, kCubeList, ""), " }\n}\n",
                "  stray\n }\n}\nSkipped {\n}\nMeshMaterialList {\n 1;\n 12;\n 0,0,0,0,0,0,0,0,0,0,0,0;\n Mater {ial}\n}\n }\n}\n"),
       "line 102: something other than a material in a material list"},
      // The faces of a second list go after those of the first, past the mesh's faces.
      {Replaced(cube, kCubeList, std::string(kCubeList) + kCubeList), "line 59: a second material list in a mesh"},
      // The triangulation trips over a face without corners; the reader follows frames by
      // recursion, as deep as they go.
      {Replaced(Replaced(cube, "  12;\n  3;0,1,2;,", "  13;\n  3;0,1,2;,"), "  3;20,22,23;;\n", "  3;20,22,23;,\n  0;;\n"),
       "line 53: a face without corners"},
      {deepFrames, "line 202: frames nested more than 200 deep"},
      // The reader gives a mesh outside the frames to the root frame and loses (and leaks)
      // the list of the root's own meshes.
      {cube + "Mesh Loose {\n 3;\n 0;0;0;,\n 1;0;0;,\n 0;1;0;;\n 1;\n 3;0,1,2;;\n}\n",
       "line 101: a mesh outside the frames of a model that has frames"},
  };
  for (const auto& [bytes, why] : cases) {
    const std::string what = d.Load(".x", bytes);
    EXPECT_NE(what.find(why), std::string::npos) << what;
  }
}

// The model check walks a file as the reader does: what the reader reads past, the check
// reads past; what it reads differently from the braces, the check reads its way. Each case
// either loads (check and reader agree) or is refused with the check's reason.
TEST(ModelCheck, ReadsAFileTheWayTheModelReaderDoes) {
  const std::string quad = testing::ReadFileText(std::string(KELMORA_TEST_DATA_DIR) + "/quad.x");
  DamagedFile d;
  ASSERT_EQ(d.Load(".x", quad), "loaded");
  const std::string broken = " stray\n Mesh Broken {\n  3;\n  0;0;0;,\n  1;0;0;,\n  0;1;0;;\n  1;\n  3;0,1,99;;\n }\n";
  const std::pair<std::string, std::string> cases[] = {
      // A comma between digits is a decimal point: one number, not two.
      {Replaced(quad, "  -10.000000;-10.000000;0.000000;,", "  -10,5;-10,000000;0,0;,"), "loaded"},
      // The rest of the header's line is not read; comments hide braces.
      {Replaced(quad, "xof 0303txt 0032\n", "xof 0303txt 0032 } Mesh {\n"), "loaded"},
      {Replaced(quad, "  MeshMaterialList {", "  # }\n  // } {\n  MeshMaterialList {"), "loaded"},
      // An unknown word takes the next braced block with it, here a mesh the reader never reads.
      {Replaced(quad, " Mesh QuadMesh {", broken + " Mesh QuadMesh {"), "loaded"},
      {Replaced(quad, " Mesh QuadMesh {", Replaced(broken, " stray\n", "") + " Mesh QuadMesh {"),
       "line 20: face index 99 past the mesh's 3 vertices"},
      // What the reader would give up on, and leak what it had read.
      {quad.substr(0, quad.find("  -10.000000;10.000000")), "the file ends too soon"},
      {Replaced(quad, "  2;\n  3;0,1,2;,", "  2\n  3;0,1,2;,"), "line 21: a number without the separator after it"},
      {Replaced(quad, "xof 0303txt 0032", "xof 0303txt 0016"), "numbers neither 32 nor 64 bits"},
  };
  for (const auto& [bytes, why] : cases) {
    const std::string what = d.Load(".x", bytes);
    EXPECT_NE(what.find(why), std::string::npos) << what;
  }
}

// A binary .x file put together token by token: a triangle in a frame, or anything else.
struct BinaryModel {
  explicit BinaryModel(bool wide = false) : doubles(wide), bytes(wide ? "xof 0303bin 0064" : "xof 0303bin 0032") {}
  BinaryModel& Word(uint16_t w) {
    bytes += static_cast<char>(w & 0xff), bytes += static_cast<char>(w >> 8);
    return *this;
  }
  BinaryModel& Dword(uint32_t d) {
    for (int k = 0; k < 4; ++k) bytes += static_cast<char>(d >> (8 * k));
    return *this;
  }
  BinaryModel& Name(const std::string& n) {
    Word(1).Dword(static_cast<uint32_t>(n.size()));
    bytes += n;
    return *this;
  }
  BinaryModel& Open(const std::string& keyword, const std::string& name = "") {
    Name(keyword);
    if (!name.empty()) Name(name);
    return Word(0x0a);
  }
  BinaryModel& Close() { return Word(0x0b); }
  BinaryModel& Ints(std::initializer_list<uint32_t> v) {
    Word(6).Dword(static_cast<uint32_t>(v.size()));
    for (uint32_t x : v) Dword(x);
    return *this;
  }
  BinaryModel& Floats(std::initializer_list<float> v) {
    Word(7).Dword(static_cast<uint32_t>(v.size()));
    for (float f : v) {
      if (doubles) {
        const double d = f;
        bytes.append(reinterpret_cast<const char*>(&d), 8);
      } else {
        bytes.append(reinterpret_cast<const char*>(&f), 4);
      }
    }
    return *this;
  }
  // A triangle with its normals and one material; `faceIndex` is its last corner.
  BinaryModel& Triangle(uint32_t vertices = 3, uint32_t faceIndex = 2) {
    Open("Frame", "tri").Open("FrameTransformMatrix").Floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}).Close();
    Open("Mesh", "triMesh").Ints({vertices}).Floats({0, 0, 0, 1, 0, 0, 0, 1, 0}).Ints({1, 3, 0, 1, faceIndex});
    Open("MeshNormals").Ints({3}).Floats({0, 0, 1, 0, 0, 1, 0, 0, 1}).Ints({1, 3, 0, 1, 2}).Close();
    Open("MeshMaterialList").Ints({1, 1, 0}).Open("Material").Floats({1, 0, 0, 1, 8, 0, 0, 0, 0, 0, 0}).Close();
    return Close().Close().Close();
  }
  bool doubles;
  std::string bytes;
};

TEST(ModelCheck, ReadsABinaryFileTheWayTheModelReaderDoes) {
  DamagedFile d;
  ASSERT_EQ(d.Load(".x", BinaryModel().Triangle().bytes), "loaded");
  ASSERT_EQ(d.Load(".x", BinaryModel(true).Triangle().bytes), "loaded");
  const std::string tri = BinaryModel().Triangle().bytes;
  const std::pair<std::string, std::string> cases[] = {
      // Numbers standing where a word is looked for are words like any other (here a
      // template's), and one byte at the end is not read.
      {BinaryModel().Open("template", "Stuff").Ints({1, 2}).Floats({3}).Close().Triangle().bytes, "loaded"},
      {tri + '\x01', "loaded"},
      {BinaryModel().Triangle(4000000000u).bytes, "byte 169: a bad vertex count (4000000000, more than the rest of the file holds)"},
      {BinaryModel().Triangle(3, 99).bytes, "face index 99 past the mesh's 3 vertices"},
      // What would take the reader past the end of the file.
      {BinaryModel().Word(1).Dword(0xFFFFFFF0u).bytes + tri.substr(16), "byte 16: a name of 4294967280 bytes"},
      {tri + BinaryModel().Open("Extra").Word(7).Dword(0x40000000).Close().bytes.substr(16),
       "a list of numbers longer than the rest of the file"},
      {tri + BinaryModel().Word(2).Dword(5).bytes.substr(16) + "abcd", "a string of 5 bytes"},
      {tri.substr(0, tri.size() - 1), "the file ends too soon"},
      {tri.substr(0, 100), "the file ends too soon"},
      // A brace too many closes the frame early: the mesh is then outside it.
      {Replaced(tri, std::string("\x0b\x00\x01\x00\x04\x00\x00\x00Mesh", 12),
                std::string("\x0b\x00\x0b\x00\x01\x00\x04\x00\x00\x00Mesh", 14)),
       "a mesh outside the frames of a model that has frames"},
      {BinaryModel().Word(0x99).bytes + tri.substr(16), "byte 16: a token of unknown kind 153"},
      {BinaryModel().Name("").bytes + tri.substr(16), "byte 16: an empty name"},
      {Replaced(tri, "xof 0303bin", "xof 0303bzip"), "a compressed .x file"},
  };
  for (const auto& [bytes, why] : cases) {
    const std::string what = d.Load(".x", bytes);
    EXPECT_NE(what.find(why), std::string::npos) << what;
  }
}

// A binary model damaged every way at every place: cut short, a byte changed, a list's length
// or a name's made huge, a brace taken out or doubled. Each either loads or is refused naming
// the file.
TEST(Fuzzing, DamagedBinaryModelsLoadOrFailWithAnErrorNamingTheFile) {
  const std::string tri = BinaryModel().Triangle().bytes;
  const std::string cursor = testing::ReadFileText(std::string(KELMORA_BUILD_DIR) + "/model/cursor.x");
  ASSERT_EQ(cursor.rfind("xof 0303bin", 0), 0u);
  ScratchFile scratch(".x");
  int refused = 0, checked = 0;
  const auto check = [&](const std::string& bytes, const char* how, size_t at) {
    const std::string problem = fuzzing::OneFile(scratch.path, bytes, fuzzing::FileKind::AnimatedModel);
    ++checked;
    if (!problem.empty()) {
      fuzzing::WriteBytes(scratch.path + ".fault", bytes);
      ADD_FAILURE() << how << " at " << at << ": " << problem << " (input kept in " << scratch.path << ".fault)";
      return false;
    }
    return true;
  };
  for (const std::string& whole : {tri, cursor}) {
    const size_t step = std::max<size_t>(1, whole.size() / 400);
    for (size_t at = 16; at < whole.size(); at += step) {
      if (!check(whole.substr(0, at), "cut", at)) return;
      std::string s = whole;
      s[at] = static_cast<char>(s[at] ^ 0xff);
      if (!check(s, "byte flipped", at)) return;
      for (uint32_t huge : {0xFFFFFFFFu, 0x80000000u, 0x3FFFFFFFu}) {
        if (at + 4 > whole.size()) break;
        s = whole;
        for (int b = 0; b < 4; ++b) s[at + b] = static_cast<char>(huge >> (8 * b));
        if (!check(s, "huge length", at)) return;
      }
      const char brace = whole[at];
      if ((brace == 0x0a || brace == 0x0b) && whole[at + 1] == 0) {
        if (!check(whole.substr(0, at) + whole.substr(at + 2), "brace removed", at)) return;
        if (!check(whole.substr(0, at + 2) + whole.substr(at), "brace doubled", at)) return;
      }
    }
  }
  for (size_t cut = 16; cut < tri.size(); ++cut) refused += DamagedFile().Load(".x", tri.substr(0, cut)) != "loaded";
  EXPECT_GT(checked, 2000);
  // Cut anywhere but after the last brace, the triangle is incomplete.
  EXPECT_EQ(refused, static_cast<int>(tri.size() - 16));
  scene::ForgetParsedFiles();
}

TEST(FuzzFinds, PicturesThatAskForMoreTexelsThanTheyHoldAreRefused) {
  const std::string stem = (fs::temp_directory_path() / ("kelmora-finds-" + std::to_string(getpid()) + "-")).string();
  const std::string rgb = testing::ReadFileText(WriteSeedTextures(stem)[0]);
  for (int depth : {8, 24, 32}) fs::remove(stem + std::to_string(depth) + ".bmp");
  DamagedFile d;
  ASSERT_EQ(d.Load(".bmp", rgb), "loaded");
  std::string huge = rgb;
  for (int at : {18, 22}) huge.replace(at, 4, std::string("\x00\x00\x80\x00", 4));  // 8388608 each way
  EXPECT_NE(d.Load(".bmp", huge).find("8388608 x 8388608 texels, more than a texture may have"), std::string::npos);
  EXPECT_NE(d.Load(".bmp", rgb.substr(0, rgb.size() - 5)).find("cut short"), std::string::npos);
  EXPECT_NE(d.Load(".bmp", huge.substr(0, 29)).find("cut short in its header"), std::string::npos);
}

}  // namespace
}  // namespace kelmora
