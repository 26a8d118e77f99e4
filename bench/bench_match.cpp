// A whole headless match of four computer players on the null scene: 1900 ticks.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include "match/game.h"
#include "match/run_match.h"
#include "match/seat_turn.h"
#include "resources/sprite_sheets.h"
#include "scene/scene.h"
#include "shell/backends.h"
#include "shell/main_window.h"
#include "shell/options.h"

namespace {

void BM_HeadlessComputerMatch(benchmark::State& state) {
  using namespace kelmora;
  Options options;
  options.headless = true;
  int64_t ticks = 0;
  for (auto _ : state) {
    state.PauseTiming();
    Backends b = MakeHeadlessBackends(options, {});
    Game g(*b.clock, *b.window, *b.screen, *b.scene, *b.snd, *b.music, *b.joysticks);
    g.programFolder = KELMORA_BUILD_DIR;
    MainWindow form(g);
    form.Form_Load();
    g.st.stage = static_cast<int16_t>(state.range(0));
    g.st.playerCharacter = {0, 1, 2, 3};
    g.st.isCpu = {1, 1, 1, 1};
    g.st.musicOn = 0;
    SetUpMatch(g);
    state.ResumeTiming();
    while (!MatchTick(g)) {
    }
    ticks += 1900;
    state.PauseTiming();
    EndMatch(g);
    state.ResumeTiming();
  }
  state.counters["ticks_per_s"] = benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_HeadlessComputerMatch)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

// Two human seats walking and shovelling, driven by a fixed pattern of controls (as a script
// would set them between ticks); seats 2 and 3 empty.
void BM_HeadlessHumanMatch(benchmark::State& state) {
  using namespace kelmora;
  Options options;
  options.headless = true;
  int64_t ticks = 0;
  for (auto _ : state) {
    state.PauseTiming();
    Backends b = MakeHeadlessBackends(options, {});
    Game g(*b.clock, *b.window, *b.screen, *b.scene, *b.snd, *b.music, *b.joysticks);
    g.programFolder = KELMORA_BUILD_DIR;
    MainWindow form(g);
    form.Form_Load();
    g.st.stage = 0;
    g.st.playerCharacter = {0, 1, -1, -1};
    g.st.isCpu = {0, 0, 0, 0};
    g.st.musicOn = 0;
    SetUpMatch(g);
    state.ResumeTiming();
    uint32_t pattern = 12345;
    for (int t = 0;; ++t) {
      for (int s = 0; s < 2; ++s) {
        pattern = pattern * 1103515245u + 12345u;
        if (t % 15 == 0) {
          g.st.stickX[s] = static_cast<int16_t>((pattern >> 16) % 3) - 1;
          g.st.stickZ[s] = static_cast<int16_t>((pattern >> 20) % 3) - 1;
        }
        if (t % 7 == 0) g.st.actionButton[s] = (pattern >> 24) % 2 ? 1 : 0;
      }
      if (MatchTick(g)) break;
    }
    ticks += 1900;
    state.PauseTiming();
    EndMatch(g);
    state.ResumeTiming();
  }
  state.counters["ticks_per_s"] = benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_HeadlessHumanMatch)->Unit(benchmark::kMillisecond);

// One computer player's decision in search mode on a full field: a target check, the nearby
// piles, the 31 scoop draws against the point ahead and the special draw.
void BM_DecideCpuSearchTick(benchmark::State& state) {
  using namespace kelmora;
  Options options;
  options.headless = true;
  Backends b = MakeHeadlessBackends(options, {});
  Game g(*b.clock, *b.window, *b.screen, *b.scene, *b.snd, *b.music, *b.joysticks);
  g.programFolder = KELMORA_BUILD_DIR;
  MainWindow form(g);
  form.Form_Load();
  g.st.playerCharacter = {0, 1, 2, 3};
  g.st.isCpu = {1, 1, 1, 1};
  g.st.musicOn = 0;
  SetUpMatch(g);
  for (auto _ : state) {
    for (int s = 0; s < kSeats; ++s) {
      g.st.seat = s;
      g.st.cpuSearchTicks[s] = 0;
      DecideCpu(g);
    }
    benchmark::DoNotOptimize(g.st.stickX);
  }
  state.SetItemsProcessed(state.iterations() * kSeats);
  EndMatch(g);
}
BENCHMARK(BM_DecideCpuSearchTick);

// The set-up of a four-computer match and its release, headless, after start-up: the stage,
// the characters and every waiting model placed in a new scene. The first match of a run
// parses the model files; this measures the matches after it.
void BM_HeadlessMatchSetUp(benchmark::State& state) {
  using namespace kelmora;
  Options options;
  options.headless = true;
  Backends b = MakeHeadlessBackends(options, {});
  Game g(*b.clock, *b.window, *b.screen, *b.scene, *b.snd, *b.music, *b.joysticks);
  g.programFolder = KELMORA_BUILD_DIR;
  MainWindow form(g);
  form.Form_Load();
  g.st.stage = static_cast<int16_t>(state.range(0));
  g.st.playerCharacter = {0, 1, 2, 3};
  g.st.isCpu = {1, 1, 1, 1};
  g.st.musicOn = 0;
  SetUpMatch(g);
  EndMatch(g);
  for (auto _ : state) {
    SetUpMatch(g);
    EndMatch(g);
  }
}
BENCHMARK(BM_HeadlessMatchSetUp)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

// The same set-up when it is the run's first: every model and texture file parsed.
void BM_HeadlessFirstMatchSetUp(benchmark::State& state) {
  using namespace kelmora;
  Options options;
  options.headless = true;
  Backends b = MakeHeadlessBackends(options, {});
  Game g(*b.clock, *b.window, *b.screen, *b.scene, *b.snd, *b.music, *b.joysticks);
  g.programFolder = KELMORA_BUILD_DIR;
  MainWindow form(g);
  form.Form_Load();
  g.st.stage = static_cast<int16_t>(state.range(0));
  g.st.playerCharacter = {0, 1, 2, 3};
  g.st.isCpu = {1, 1, 1, 1};
  g.st.musicOn = 0;
  for (auto _ : state) {
    scene::ForgetParsedFiles();
    SetUpMatch(g);
    state.PauseTiming();
    EndMatch(g);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_HeadlessFirstMatchSetUp)->Arg(0)->Arg(5)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
