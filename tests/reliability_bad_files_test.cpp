// Every file the game loads, missing, empty, cut short or replaced by random bytes: the loader
// refuses it with one line that names the file and says what is wrong, and the program ends
// with status 1, at start-up and at a match set-up alike.
#include <unistd.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "audio/dx7_snd_support.h"
#include "audio/tune_file.h"
#include "command_support.h"
#include "headless_run.h"
#include "platform/asset_error.h"
#include "platform/clock.h"
#include "platform/headless/headless_window.h"
#include "platform/headless/recording_audio.h"
#include "scene/scene.h"
#include "match/stage_table.h"

namespace kelmora {
namespace {

namespace fs = std::filesystem;
const fs::path kAssets = KELMORA_BUILD_DIR;
const char* const kFolders[] = {"model", "tex", "sound"};

// A folder that stands for the program folder: every asset a link to the built one, so that
// one of them can be damaged without copying the rest.
struct ScratchAssets {
  ScratchAssets() {
    static int n = 0;
    root = fs::temp_directory_path() / ("kelmora-bad-" + std::to_string(getpid()) + "-" + std::to_string(n++));
    for (const char* folder : kFolders) {
      fs::create_directories(root / folder);
      for (const auto& e : fs::directory_iterator(kAssets / folder)) {
        fs::create_symlink(e.path(), root / folder / e.path().filename());
      }
    }
  }
  ~ScratchAssets() {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  // Replaces the link `rel` (e.g. "model/bear.x") by a file of these bytes, or by nothing.
  fs::path Put(const std::string& rel, const std::string* bytes) {
    const fs::path p = root / rel;
    fs::remove(p);
    if (bytes) std::ofstream(p, std::ios::binary).write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
    return p;
  }
  fs::path root;
};

std::string RandomBytes(size_t n, std::mt19937_64& rng) {
  std::string out(n, '\0');
  for (size_t i = 0; i < n; i += 8) {
    const uint64_t r = rng();
    std::memcpy(out.data() + i, &r, std::min<size_t>(8, n - i));
  }
  return out;
}

// The damages tried on every file, each with its name: gone, empty, cut in its first bytes,
// anywhere, or in its last twentieth, and the same number of random bytes.
std::vector<std::pair<std::string, std::optional<std::string>>> Damages(const std::string& whole, std::mt19937_64& rng) {
  const size_t n = whole.size();
  auto cut = [&](size_t lo, size_t hi) {
    hi = std::clamp<size_t>(hi, 1, n - 1);
    lo = std::min(lo, hi);
    const size_t at = lo + rng() % (hi - lo + 1);
    return std::pair{"cut at " + std::to_string(at) + " of " + std::to_string(n), std::optional(whole.substr(0, at))};
  };
  return {{"missing", std::nullopt},
          {"empty", std::string()},
          cut(1, 64),
          cut(1, n - 1),
          cut(n - n / 20, n - 1),
          {"random bytes", RandomBytes(n, rng)}};
}

// The files of one folder with this ending.
std::vector<std::string> AssetsOf(const char* folder, const std::string& ending) {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(kAssets / folder)) {
    const std::string name = e.path().filename().string();
    if (name.size() > ending.size() && name.ends_with(ending)) out.push_back(std::string(folder) + "/" + name);
  }
  std::sort(out.begin(), out.end());
  return out;
}

// Damages each file in turn and expects `load` of it to fail with an error naming `blamed`
// (the file itself when empty) and saying what is wrong.
void ExpectEveryDamageRefused(const std::vector<std::string>& files,
                              const std::function<void(const fs::path&)>& load, uint64_t seed,
                              const std::string& blamed = "") {
  ASSERT_FALSE(files.empty());
  std::mt19937_64 rng(seed);
  ScratchAssets scratch;
  for (const std::string& rel : files) {
    const std::string whole = testing::ReadFileText(kAssets / rel);
    ASSERT_GT(whole.size(), 1u) << rel;
    for (const auto& [damage, bytes] : Damages(whole, rng)) {
      const fs::path path = scratch.Put(rel, bytes ? &*bytes : nullptr);
      const std::string expectedFile = blamed.empty() ? path.string() : (scratch.root / blamed).string();
      try {
        load(path);
        ADD_FAILURE() << rel << " " << damage << ": loaded without an error";
      } catch (const platform::AssetError& e) {
        const std::string what = e.what();
        EXPECT_EQ(e.file, expectedFile) << rel << " " << damage;
        EXPECT_EQ(what.rfind("Cannot load " + expectedFile + ": ", 0), 0u) << rel << " " << damage << ": " << what;
        EXPECT_GT(what.size(), ("Cannot load " + expectedFile + ": ").size()) << rel << " " << damage << ": no reason";
        EXPECT_EQ(what.find('\n'), std::string::npos) << what;
      }
      fs::remove(path);
      fs::create_symlink(kAssets / rel, path);
    }
  }
}

TEST(BadFiles, EveryFileOfTheAssetFoldersIsOfAKindTheGameLoads) {
  for (const char* folder : kFolders) {
    for (const auto& e : fs::directory_iterator(kAssets / folder)) {
      const std::string ext = e.path().extension().string();
      const bool known = (std::string(folder) == "model" && ext == ".x") || (std::string(folder) == "tex" && ext == ".bmp") ||
                         (std::string(folder) == "sound" && (ext == ".wav" || ext == ".mid" ||
                                                             e.path().filename() == "music-lengths.txt"));
      EXPECT_TRUE(known) << e.path() << ": a file of a new kind needs its bad-file cases here";
    }
  }
}

TEST(BadFiles, EveryModelIsRefused) {
  scene::Scene sc;
  sc.CreateRetainedMode();
  const scene::FrameHandle root = sc.CreateFrame({});
  const std::vector<std::string> models = AssetsOf("model", ".x");
  EXPECT_GE(models.size(), 25u);
  ExpectEveryDamageRefused(models, [&](const fs::path& p) {
    scene::ForgetParsedFiles();
    // The characters and the fire are loaded with their animation, the rest as meshes.
    const bool animated = p.filename() == "fire.x" ||
                          std::any_of(kCharacterModels.begin(), kCharacterModels.end(),
                                      [&](const char* c) { return std::string(c).ends_with("\\" + p.filename().string()); });
    if (animated) {
      sc.LoadAnimationSet(sc.CreateAnimationSet(), p.string(), root);
    } else {
      sc.LoadMesh(sc.CreateMeshBuilder(), p.string());
    }
  }, 15);
  scene::ForgetParsedFiles();
}

TEST(BadFiles, EveryTextureIsRefused) {
  scene::Scene sc;
  sc.CreateRetainedMode();
  const std::vector<std::string> textures = AssetsOf("tex", ".bmp");
  EXPECT_EQ(textures.size(), 7u);
  ExpectEveryDamageRefused(textures, [&](const fs::path& p) {
    scene::ForgetParsedFiles();
    sc.LoadTexture(p.string());
  }, 16);
  scene::ForgetParsedFiles();
}

TEST(BadFiles, EverySoundIsRefused) {
  platform::VirtualClock clock;
  platform::HeadlessJoysticks joysticks;
  platform::HeadlessSoundDevice device(clock);
  platform::HeadlessWindow window(clock, joysticks, {});
  audio::Dx7DSndSupport snd(device, window);
  ASSERT_TRUE(snd.SoundInit(1));
  const std::vector<std::string> waves = AssetsOf("sound", ".wav");
  EXPECT_EQ(waves.size(), 20u);
  ExpectEveryDamageRefused(waves, [&](const fs::path& p) { snd.SoundLoad(p.string(), 4); }, 17);
  EXPECT_EQ(device.liveVoices(), 0);
  snd.SoundShutdown();
}

TEST(BadFiles, EveryTuneAndTheListOfTheirLengthsIsRefused) {
  const std::vector<std::string> tunes = AssetsOf("sound", ".mid");
  EXPECT_EQ(tunes.size(), 5u);
  ExpectEveryDamageRefused(tunes, [](const fs::path& p) { audio::CheckTuneFile(p.string()); }, 18);
  // The list is read for the tune opened; the last tune listed is the one a cut list loses.
  const std::string lastListed = "sound/bgm5.mid";
  ExpectEveryDamageRefused({"sound/music-lengths.txt"}, [&](const fs::path& p) {
    audio::CheckTuneFile((p.parent_path() / fs::path(lastListed).filename()).string());
  }, 19, "sound/music-lengths.txt");
}

TEST(BadFiles, AFileDamagedBetweenTwoMatchesStopsTheSecondSetUp) {
  ScratchAssets scratch;
  testing::HeadlessRun run("2 key-down 27 0\n");
  run.game.programFolder = scratch.root.string();
  ASSERT_EQ(run.RunMatch(0, {0, -1, -1, -1}), 0);
  ASSERT_TRUE(run.window().messages().empty());
  // The first match read the bear; the second finds it cut short.
  const std::string whole = testing::ReadFileText(kAssets / "model/bear.x");
  const std::string cut = whole.substr(0, whole.size() / 2);
  const fs::path bear = scratch.Put("model/bear.x", &cut);
  EXPECT_EQ(run.form.RunScreens(NextScreen::Match, true), 1);
  ASSERT_EQ(run.window().messages().size(), 1u);
  EXPECT_EQ(run.window().messages()[0].text.rfind("Cannot load " + bear.string() + ": ", 0), 0u)
      << run.window().messages()[0].text;
  EXPECT_TRUE(run.game.closing) << "everything released, as at a close request";
  scene::ForgetParsedFiles();
}

// The program as a command: status 1 and exactly one line on its error output, naming the file.
void ExpectOneLineAndStatusOne(const std::string& rel, const std::string& bytes, const std::string& args) {
  ScratchAssets scratch;
  const fs::path bad = scratch.Put(rel, &bytes);
  const fs::path err = scratch.root / "stderr.txt";
  const testing::CommandResult r = testing::RunCommand(std::string("SDL_AUDIODRIVER=dummy ") + KELMORA_BINARY +
                                                       " --headless --data " + scratch.root.string() + " " + args +
                                                       " 2>" + err.string());
  const std::string text = testing::ReadFileText(err);
  EXPECT_EQ(r.status, 1) << rel;
  EXPECT_EQ(r.out, "") << rel;  // no result line for a match that never started
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
  EXPECT_NE(text.find("Cannot load " + bad.string() + ": "), std::string::npos) << text;
}

TEST(BadFiles, TheProgramEndsWithOneLineAndStatusOneAtStartUpAndAtTheMatchSetUp) {
  std::mt19937_64 rng(20);
  const std::string wave = testing::ReadFileText(kAssets / "sound/cur.wav");
  ExpectOneLineAndStatusOne("sound/cur.wav", RandomBytes(wave.size(), rng), "--match 0:0,1,-1,-1");
  const std::string tune = testing::ReadFileText(kAssets / "sound/bgm.mid");
  ExpectOneLineAndStatusOne("sound/bgm.mid", tune.substr(0, tune.size() - 10), "--match 0:0,1,-1,-1");
  const std::string stage = testing::ReadFileText(kAssets / "model/stage2.x");
  ExpectOneLineAndStatusOne("model/stage2.x", stage.substr(0, stage.size() * 2 / 3), "--match 1:0,-1,-1,-1");
  // The stage-six music is read only when that stage is set up, but checked at start-up.
  const std::string music = testing::ReadFileText(kAssets / "sound/bgm6.wav");
  ExpectOneLineAndStatusOne("sound/bgm6.wav", music.substr(0, music.size() / 2), "--match 0:0,1,-1,-1");
}

// A valid model whose first frame has a name of `length` bytes, or with a string of that
// length: in the text form (the test quad, its material's texture) or the binary one (the
// game's snow, in a block of its own in the first frame).
std::string LongNamed(bool binary, size_t length, bool string = false) {
  const std::string name(length, 'n');
  if (!binary) {
    std::string quad = testing::ReadFileText(fs::path(KELMORA_TEST_DATA_DIR) / "quad.x");
    if (string) return quad.insert(quad.find("}\n\nFrame Quad"), " TextureFilename {\"" + name + "\";}\n");
    return quad.replace(quad.find("Frame Quad {"), 10, "Frame " + name);
  }
  std::string snow = testing::ReadFileText(kAssets / "model/snow.x");
  const std::string token("\x01\x00\x04\x00\x00\x00snow", 10);  // a name: kind 1, its length, its bytes
  const size_t at = snow.find(token);
  std::string sized(1, string ? '\x02' : '\x01');
  sized += '\0';
  for (int b = 0; b < 4; ++b) sized += static_cast<char>(length >> (8 * b));
  if (!string) return snow.replace(at, token.size(), sized + name);
  // A string: kind 2, and two bytes of its own end.
  const std::string note = std::string("\x01\x00\x04\x00\x00\x00Note\x0a\x00", 12) + sized + name +
                           std::string("\0\0\x0b\x00", 4);
  return snow.insert(at + token.size() + 2, note);
}

// The reader copies a frame's name into a fixed string of 1,024 bytes without measuring it:
// a longer one overran it, and the program ended in the reader with a buffer overflow.
TEST(BadFiles, AModelNameOrStringLongerThanTheReaderHoldsIsRefused) {
  ScratchAssets scratch;
  scene::Scene sc;
  sc.CreateRetainedMode();
  const auto load = [&](const std::string& bytes) {
    const fs::path p = scratch.Put("model/snow.x", &bytes);
    scene::ForgetParsedFiles();
    try {
      sc.LoadMesh(sc.CreateMeshBuilder(), p.string());
    } catch (const platform::AssetError& e) {
      EXPECT_EQ(e.file, p.string());
      return std::string(e.what());
    }
    return std::string("loaded");
  };
  for (bool binary : {false, true}) {
    EXPECT_EQ(load(LongNamed(binary, 1023)), "loaded") << binary;
    EXPECT_NE(load(LongNamed(binary, 1024)).find(binary ? "byte 27: a name of 1024 bytes, longer than the 1023"
                                                        : "line 10: a name of 1024 bytes, longer than the 1023"),
              std::string::npos)
        << binary;
    EXPECT_NE(load(LongNamed(binary, 1024, true)).find("a string of 1024 bytes"), std::string::npos) << binary;
    ExpectOneLineAndStatusOne("model/snow.x", LongNamed(binary, 3000), "--match 0:0,1,2,3:1111");
  }
  scene::ForgetParsedFiles();
}

}  // namespace
}  // namespace kelmora
