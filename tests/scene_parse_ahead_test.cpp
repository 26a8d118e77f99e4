// The kept copies of parsed files are shared by loads on several threads and by the thread
// that parses ahead: each file is parsed once and every load sees the same bytes; a bad file
// is reported by the set-up as if nothing had been parsed ahead; forgetting the kept files
// stops the parse ahead first.
#include <SDL.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <latch>
#include <string>
#include <thread>
#include <vector>

#include "headless_run.h"
#include "scene/scene.h"
#include "match/view/stage_construction.h"
#include "scene_test_support.h"
#include "test_dirs.h"

namespace kelmora::scene {
namespace {

namespace fs = std::filesystem;

// Files of every kind, small ones and large ones.
std::vector<FileToParse> SomeFiles() {
  return {{FileKind::StaticModel, (kBuild / "model/stage1.x").string()},
          {FileKind::StaticModel, kData + "/cube.x"},
          {FileKind::Texture, (kBuild / "tex/hurry.bmp").string()},
          {FileKind::StaticModel, (kBuild / "model/snow.x").string()},
          {FileKind::AnimatedModel, (kBuild / "model/bear.x").string()},
          {FileKind::StaticModel, (kBuild / "model/block.x").string()}};
}

// What a new scene makes of each file, byte for byte: the mesh's vertices and indices, the
// texture's texels, the animated model's frame positions.
std::vector<std::string> LoadEach(const std::vector<FileToParse>& files) {
  testing::SceneWithRoot l;
  std::vector<std::string> out;
  auto bytes = [](const auto& v) {
    return std::string(reinterpret_cast<const char*>(v.data()), v.size() * sizeof v[0]);
  };
  for (const FileToParse& f : files) {
    if (f.kind == FileKind::StaticModel) {
      const MeshHandle m = l.sc.CreateMeshBuilder();
      l.sc.LoadMesh(m, f.path);
      out.push_back(bytes(l.sc.Mesh(m)->vertices) + bytes(l.sc.Mesh(m)->indices));
    } else if (f.kind == FileKind::Texture) {
      out.push_back(bytes(l.sc.Texture(l.sc.LoadTexture(f.path))->rgba));
    } else {
      const FrameHandle parent = l.sc.CreateFrame(l.root);
      l.sc.LoadAnimationSet(l.sc.CreateAnimationSet(), f.path, parent);
      std::vector<glm::dvec3> places;
      for (const FrameHandle c : l.sc.Children(parent)) places.push_back(l.sc.WorldPosition(c));
      out.push_back(std::to_string(l.sc.ObjectCount()) + bytes(places));
    }
  }
  return out;
}

TEST(ParseAhead, TwoThreadsLoadingTheSameFilesAtOnceParseEachOnceAndAgree) {
  ForgetParsedFiles();
  const std::vector<std::string> alone = LoadEach(SomeFiles());
  ForgetParsedFiles();
  const size_t before = FilesParsed();
  std::vector<std::string> seen[2];
  std::latch start(2);
  auto load = [&](int i) {
    start.arrive_and_wait();
    seen[i] = LoadEach(SomeFiles());
  };
  std::thread other([&] {
    load(1);
    SDL_TLSCleanup();  // SDL frees its per-thread error text only for threads it started
  });
  load(0);
  other.join();
  EXPECT_EQ(FilesParsed() - before, SomeFiles().size());
  EXPECT_TRUE(seen[0] == alone);
  EXPECT_TRUE(seen[1] == alone);
  ForgetParsedFiles();
}

TEST(ParseAhead, LoadsMeetTheFilesParsedAheadAndEachIsParsedOnce) {
  ForgetParsedFiles();
  const std::vector<std::string> alone = LoadEach(SomeFiles());
  for (const bool soon : {true, false}) {
    ForgetParsedFiles();
    const size_t before = FilesParsed();
    ParseAhead(SomeFiles(), soon);
    EXPECT_TRUE(LoadEach(SomeFiles()) == alone) << soon;
    EXPECT_EQ(FilesParsed() - before, SomeFiles().size()) << soon;
  }
  ForgetParsedFiles();
}

// A program folder of links to the built assets, some of them replaced by damaged files.
struct DamagedAssets {
  explicit DamagedAssets(const std::vector<std::string>& cut, const std::vector<std::string>& missing) {
    static int n = 0;
    root = fs::temp_directory_path() / ("kelmora-ahead-" + std::to_string(getpid()) + "-" + std::to_string(n++));
    for (const char* folder : {"model", "tex", "sound"}) {
      fs::create_directories(root / folder);
      for (const auto& e : fs::directory_iterator(kBuild / folder)) fs::create_symlink(e.path(), root / folder / e.path().filename());
    }
    for (const std::string& rel : cut) {
      fs::remove(root / rel);
      std::ofstream(root / rel, std::ios::binary) << "xof 0303txt 0032\nFrame cut {\n";
    }
    for (const std::string& rel : missing) fs::remove(root / rel);
  }
  ~DamagedAssets() {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  fs::path root;
};

TEST(ParseAhead, OfTwoBadFilesTheSetUpNamesTheOneItLoadsFirstWhateverWasParsedAhead) {
  struct Case {
    std::vector<std::string> cut, missing;
    std::string named, why;
  };
  // The set-up loads the second seat's fox early and the message board last; the other core
  // takes the set-up's files from the last.
  const Case cases[] = {{{"model/fox.x", "model/message.x"}, {}, "model/fox.x", "the file ends too soon"},
                        {{"model/message.x"}, {"model/stage1.x"}, "model/stage1.x", "no such file"},
                        {{}, {"tex/net.bmp", "model/message.x"}, "tex/net.bmp", "no such file"}};
  for (const Case& c : cases) {
    for (const bool startUp : {false, true}) {
      DamagedAssets assets(c.cut, c.missing);
      {
        kelmora::testing::HeadlessRun run;
        run.game.programFolder = assets.root.string();
        if (startUp) ParseAhead(EveryMatchFile(run.game.programFolder), false);
        EXPECT_EQ(run.RunMatch(0, {0, 1, -1, -1}), 1);
        ASSERT_EQ(run.window().messages().size(), 1u);
        EXPECT_EQ(run.window().messages()[0].text, "Cannot load " + (assets.root / c.named).string() + ": " + c.why)
            << startUp;
      }
      ForgetParsedFiles();
    }
  }
}

TEST(ParseAhead, ForgettingWhileParsingAheadStopsTheThreadAndTheNextLoadParsesAgain) {
  std::vector<FileToParse> all;
  for (int pass = 0; pass < 4; ++pass) {
    for (const auto& e : fs::directory_iterator(kBuild / "model")) all.push_back({FileKind::StaticModel, e.path().string()});
  }
  const std::vector<FileToParse> cube = {{FileKind::StaticModel, kData + "/cube.x"}};
  ForgetParsedFiles();
  LoadEach(cube);
  ParseAhead(all, false);
  ForgetParsedFiles();
  // Nothing kept from before, and nothing parsed behind the load's back any more.
  const size_t before = FilesParsed();
  LoadEach(cube);
  EXPECT_EQ(FilesParsed() - before, 1u);
  StopParsingAhead();  // with nothing waiting
  ForgetParsedFiles();
}

}  // namespace
}  // namespace kelmora::scene
