// Headless matches on the null scene: whole 1900-tick matches, one computer decision, and the
// set-up of a match.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <chrono>
#include <thread>

#include "match/play/game.h"
#include "match/play/run_match.h"
#include "match/tick.h"
#include "match/seat_turn.h"
#include "resources/sprite_sheets.h"
#include "scene/scene.h"
#include "match/view/stage_construction.h"
#include "shell/backends.h"
#include "shell/main_window.h"
#include "shell/options.h"

namespace {

using namespace kelmora;

Options HeadlessOptions() {
  Options o;
  o.headless = true;
  return o;
}

// A started-up program on the headless backends with a match chosen, music off.
struct HeadlessGame {
  HeadlessGame(int16_t stage, Seat16 characters, Seat16 cpu)
      : options(HeadlessOptions()),
        b(MakeHeadlessBackends(options, {}, false)),
        g(*b.clock, *b.window, *b.screen, *b.scene, *b.snd, *b.music, *b.joysticks),
        form(g) {
    g.programFolder = KELMORA_BUILD_DIR;
    form.Form_Load();
    g.st.stage = stage;
    g.st.playerCharacter = characters;
    g.st.isCpu = cpu;
    g.st.musicOn = 0;
    g.view.menuSheet = sheets.menu;
    g.view.characterSheet = sheets.character;
  }
  resources::SpriteSheets sheets;
  Options options;
  Backends b;
  Game g;
  MainWindow form;
};

constexpr Seat16 kFourSeats{0, 1, 2, 3};
constexpr Seat16 kAllComputers{1, 1, 1, 1};

// Whole matches, each from a fresh program; `controls` sets the human seats' controls of tick t.
// As the program plays them: the status strip drawn from the sprite sheets whenever a score or
// gauge changes, and the stage's tune polled every tick (on the silent music device).
template <typename Controls>
void WholeMatches(benchmark::State& state, int16_t stage, Seat16 characters, Seat16 cpu, Controls controls) {
  int64_t ticks = 0;
  for (auto _ : state) {
    state.PauseTiming();
    HeadlessGame h(stage, characters, cpu);
    h.g.st.musicOn = 1;
    SetUpMatch(h.g);
    state.ResumeTiming();
    for (int t = 0;; ++t) {
      controls(h.g.st, t);
      if (MatchTick(h.g)) break;
    }
    ticks += 1900;
    state.PauseTiming();
    EndMatch(h.g);
    state.ResumeTiming();
  }
  state.counters["ticks_per_s"] = benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
}

// Four computer players.
void BM_HeadlessComputerMatch(benchmark::State& state) {
  WholeMatches(state, static_cast<int16_t>(state.range(0)), kFourSeats, kAllComputers, [](MatchState&, int) {});
}
BENCHMARK(BM_HeadlessComputerMatch)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

// Two human seats walking and shovelling, driven by a fixed pattern of controls (as a script
// would set them between ticks); seats 2 and 3 empty.
void BM_HeadlessHumanMatch(benchmark::State& state) {
  uint32_t pattern = 12345;
  WholeMatches(state, 0, {0, 1, -1, -1}, {0, 0, 0, 0}, [&pattern](MatchState& st, int t) {
    if (t == 0) pattern = 12345;
    for (int s = 0; s < 2; ++s) {
      pattern = pattern * 1103515245u + 12345u;
      if (t % 15 == 0) {
        st.stickX[s] = static_cast<int16_t>((pattern >> 16) % 3) - 1;
        st.stickZ[s] = static_cast<int16_t>((pattern >> 20) % 3) - 1;
      }
      if (t % 7 == 0) st.actionButton[s] = (pattern >> 24) % 2 ? 1 : 0;
    }
  });
}
BENCHMARK(BM_HeadlessHumanMatch)->Unit(benchmark::kMillisecond);

// One computer player's decision in search mode on a full field: a target check, the nearby
// piles, the 31 scoop draws against the point ahead and the special draw.
void BM_DecideCpuSearchTick(benchmark::State& state) {
  HeadlessGame h(1, kFourSeats, kAllComputers);
  SetUpMatch(h.g);
  for (auto _ : state) {
    for (int s = 0; s < kSeats; ++s) {
      h.g.st.seat = s;
      h.g.st.cpuSearchTicks[s] = 0;
      DecideCpu(h.g.rules);
    }
    benchmark::DoNotOptimize(h.g.st.stickX);
  }
  state.SetItemsProcessed(state.iterations() * kSeats);
  EndMatch(h.g);
}
BENCHMARK(BM_DecideCpuSearchTick);

// The rules alone: a whole four-computer match of pure ticks on the rules' state, no scene,
// strip or sound.
void BM_PureTickComputerMatch(benchmark::State& state) {
  MatchRules start;
  start.st.stage = static_cast<int16_t>(state.range(0));
  start.st.playerCharacter = kFourSeats;
  start.st.isCpu = kAllComputers;
  SetUpRules(start);
  const SeatControls none;
  TickEvents events;
  for (auto _ : state) {
    MatchRules m = start;
    for (bool ended = false; !ended;) {
      events.Clear();
      ended = RunTick(m, none, events);
    }
    benchmark::DoNotOptimize(m.st.score);
  }
  state.SetItemsProcessed(state.iterations() * kMatchTicks);
}
BENCHMARK(BM_PureTickComputerMatch)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

// A rollback as online play makes it: the state of 8 ticks ago restored and the 8 ticks run
// again silently, at every tick of a four-computer match (the figure is per rollback).
void BM_Resimulate8Ticks(benchmark::State& state) {
  MatchRules start;
  start.st.stage = 3;
  start.st.playerCharacter = kFourSeats;
  start.st.isCpu = kAllComputers;
  SetUpRules(start);
  const SeatControls none;
  TickEvents events;
  std::vector<MatchRules> saved;
  for (int t = 0; t < 1800; ++t) {
    saved.push_back(start);
    events.Clear();
    RunTick(start, none, events);
  }
  size_t at = 0;
  for (auto _ : state) {
    MatchRules m = saved[at];
    for (int t = 0; t < 8; ++t) {
      events.Clear();
      RunTick(m, none, events);
    }
    benchmark::DoNotOptimize(m.st.score);
    at = (at + 1) % (saved.size() - 8);
  }
}
BENCHMARK(BM_Resimulate8Ticks)->Unit(benchmark::kMicrosecond);

// The set-up of a four-computer match and its release, headless, after start-up: the stage,
// the characters and every waiting model placed in a new scene. The first match of a run
// parses the model files; this measures the matches after it.
void BM_HeadlessMatchSetUp(benchmark::State& state) {
  HeadlessGame h(static_cast<int16_t>(state.range(0)), kFourSeats, kAllComputers);
  SetUpMatch(h.g);
  EndMatch(h.g);
  for (auto _ : state) {
    SetUpMatch(h.g);
    EndMatch(h.g);
  }
}
BENCHMARK(BM_HeadlessMatchSetUp)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

// The same set-up when it is the run's first: every model and texture file parsed, on the
// set-up's thread and the one that parses ahead. Wall time, with the CPU time of both.
void BM_HeadlessFirstMatchSetUp(benchmark::State& state) {
  HeadlessGame h(static_cast<int16_t>(state.range(0)), kFourSeats, kAllComputers);
  for (auto _ : state) {
    scene::ForgetParsedFiles();
    SetUpMatch(h.g);
    state.PauseTiming();
    EndMatch(h.g);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_HeadlessFirstMatchSetUp)->Arg(0)->Arg(5)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

// The run's first set-up as the program makes it: after start-up the program parses every
// file a match can load on the other core while the title and the menus show. A pause of
// 300 ms stands for the title here (the parse of all of them takes 60-100 ms of CPU on this
// machine when the other core is free); the set-up waits only for files not parsed by then.
void BM_HeadlessStartUpThenFirstMatchSetUp(benchmark::State& state) {
  HeadlessGame h(static_cast<int16_t>(state.range(0)), kFourSeats, kAllComputers);
  size_t parsedBySetUp = 0;  // files the parse ahead had not reached
  for (auto _ : state) {
    state.PauseTiming();
    scene::ForgetParsedFiles();
    scene::ParseAhead(EveryMatchFile(h.g.programFolder), false);  // as the program does after start-up
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const size_t before = scene::FilesParsed();
    state.ResumeTiming();
    SetUpMatch(h.g);
    state.PauseTiming();
    parsedBySetUp += scene::FilesParsed() - before;
    EndMatch(h.g);
    state.ResumeTiming();
  }
  scene::ForgetParsedFiles();
  state.counters["files_left"] = benchmark::Counter(static_cast<double>(parsedBySetUp), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_HeadlessStartUpThenFirstMatchSetUp)->Arg(0)->Arg(5)->Iterations(10)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
