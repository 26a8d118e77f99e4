// The match's results do not depend on how the scene is kept or drawn: the per-tick state dump
// of a set of matches matches the recorded digests, whether the scene draws or not and
// whether its models are parsed afresh or reused.
//
// The digests are FNV-1a (64 bits) of the whole dump, as `--dump` writes it. A change of the
// rules changes them on purpose: record the new ones with
//   kelmora --headless --match S:0,1,2,3:1111 --dump d.jsonl   (and the scripted match below)
// and a 64-bit FNV-1a of each file.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "headless_run.h"
#include "shell/backends.h"
#include "shell/state_dump.h"
#include "watching_renderer.h"

namespace kelmora {
namespace {

// Counts what reaches the drawing side; says it draws, so the scene gathers every frame.
class CountingRenderer final : public testing::WatchingRenderer {
 public:
  void Draw(const platform::ViewSetup&, std::span<const platform::DrawItem> items,
            std::span<const platform::LightItem>) override {
    items_ += items.size();
  }
  size_t* counter = nullptr;
  ~CountingRenderer() override {
    if (counter) *counter = items_;
  }

 private:
  size_t items_ = 0;
};

struct Dump {
  uint64_t digest = 1469598103934665603ull;
  int lines = 0;
  void Add(const std::string& line) {
    for (unsigned char c : line + '\n') {
      digest ^= c;
      digest *= 1099511628211ull;
    }
    ++lines;
  }
};

// A headless run whose scene draws with the given renderer (the null one when none).
struct Run {
  Run(const std::string& script, std::unique_ptr<platform::Renderer> renderer)
      : backends(MakeHeadlessBackends(options, platform::ParseScript(script, "test-script"))),
        scene(std::move(renderer)),
        game(*backends.clock, *backends.window, *backends.screen, scene, *backends.snd,
             *backends.music, *backends.joysticks),
        form(game) {
    game.programFolder = KELMORA_BUILD_DIR;
    game.view.menuSheet = sheets.menu;
    game.view.characterSheet = sheets.character;
  }
  resources::SpriteSheets sheets;
  Options options;
  Backends backends;
  scene::Scene scene;
  Game game;
  MainWindow form;
};

// The dump of one headless match with these choices (as `--match` runs it).
Dump RunDumped(int16_t stage, std::array<int16_t, 4> characters, std::array<int16_t, 4> cpu,
               const std::string& script = "", std::unique_ptr<platform::Renderer> renderer = nullptr) {
  Run run(script, std::move(renderer));
  Dump dump;
  run.game.afterTick = [&dump](Game& g, int tick) { dump.Add(MatchStateJson(g.st, g.matchesStarted, tick)); };
  EXPECT_TRUE(run.form.Form_Load());
  run.game.st.stage = stage;
  run.game.st.playerCharacter = characters;
  run.game.st.isCpu = cpu;
  run.backends.headlessWindow->SetTickOrigin(run.game.TickNow());
  run.backends.headlessWindow->SetGrace(false);
  EXPECT_EQ(run.form.RunScreens(NextScreen::Match, true), 0);
  return dump;
}

// Bear and fox on the keyboard: a scoop, a carry and a throw into the goal, then a walk.
constexpr const char* kHumanScript = R"(
1 key-down 39 0
8 key-up 39 0
20 key-down 40 0
26 key-up 40 0
35 key-down 17 2
37 key-up 17 0
50 key-down 39 0
70 key-up 39 0
80 key-down 38 0
84 key-up 38 0
92 key-down 17 2
94 key-up 17 0
)";

TEST(DumpIdentity, FourComputerMatchesOnEveryStageGiveTheRecordedDumps) {
  const uint64_t recorded[6] = {0xb5c85f60df6f17e2ull, 0xc2bdd0cacd20d17cull, 0x7b77102ff179261bull,
                                0x6ae11dc56705bc40ull, 0xd343131205e7f49cull, 0x7c38e533f8a8f2f2ull};
  for (int16_t stage = 0; stage < 6; ++stage) {
    const Dump d = RunDumped(stage, {0, 1, 2, 3}, {1, 1, 1, 1});
    EXPECT_EQ(d.lines, 1900) << "stage " << stage;
    EXPECT_EQ(d.digest, recorded[stage]) << "stage " << stage;
  }
}

TEST(DumpIdentity, AScriptedHumanMatchGivesTheRecordedDump) {
  const Dump d = RunDumped(0, {0, 1, -1, -1}, {0, 0, 0, 0}, kHumanScript);
  EXPECT_EQ(d.lines, 1900);
  EXPECT_EQ(d.digest, 0xcf106fd1b5631701ull);
}

TEST(DumpIdentity, DrawingTheSceneAndReusingParsedModelsChangeNothing) {
  // Stage 5: the swaying stage with its scrolling backdrop; the mouse's fire is animated too.
  const Dump quiet = RunDumped(5, {8, 2, 6, 3}, {1, 1, 1, 1});
  size_t items = 0;
  auto counting = std::make_unique<CountingRenderer>();
  counting->counter = &items;
  const Dump drawn = RunDumped(5, {8, 2, 6, 3}, {1, 1, 1, 1}, "", std::move(counting));
  const Dump again = RunDumped(5, {8, 2, 6, 3}, {1, 1, 1, 1});
  EXPECT_GT(items, 1900u * 40);  // every tick handed over the piles, characters and stage
  EXPECT_EQ(quiet.digest, drawn.digest);
  EXPECT_EQ(quiet.digest, again.digest);
}

}  // namespace
}  // namespace kelmora
