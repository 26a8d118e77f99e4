// One frame of a full match scene (a stage, four animated characters, 31 snow piles, the
// waiting models) at 640 x 480 on the OpenGL renderer, offscreen (Mesa's software rasterizer
// on machines without a GPU). The figure to watch is median_ms (wall time of a frame, 2 ms or
// less); cpu_ms is the CPU time of all threads per frame.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/gl/gl_renderer.h"
#include "scene/scene.h"

namespace {

using namespace kelmora;
namespace fs = std::filesystem;

// The generated models beside the benchmark's build folder.
fs::path ModelFolder() {
  char* base = SDL_GetBasePath();
  fs::path p = base ? fs::path(base) : fs::current_path();
  SDL_free(base);
  for (int up = 0; up < 3; ++up, p = p.parent_path()) {
    if (fs::exists(p / "model" / "stage1.x")) return p / "model";
  }
  return {};
}

struct MatchScene {
  std::unique_ptr<scene::Scene> sc;
  platform::GlRenderer* gl = nullptr;
  scene::FrameHandle root;
  scene::ViewportHandle viewport;
  std::vector<scene::AnimationSetHandle> seats;
  int triangles = 0;
};

scene::MeshHandle Mesh(scene::Scene& sc, const fs::path& dir, const char* name) {
  const scene::MeshHandle m = sc.CreateMeshBuilder();
  sc.LoadMesh(m, (dir / name).string());
  return m;
}

MatchScene Build(const fs::path& dir, int width, int height) {
  MatchScene s;
  auto r = platform::GlRenderer::CreateOffscreen();
  s.gl = r.get();
  s.sc = std::make_unique<scene::Scene>(std::move(r));
  auto& sc = *s.sc;
  sc.CreateRetainedMode();
  s.root = sc.CreateFrame({});
  const scene::FrameHandle camera = sc.CreateFrame(s.root);
  const scene::FrameHandle target = sc.CreateFrame(s.root);
  sc.SetPosition(camera, {}, 0, 500, -1000);
  sc.LookAt(camera, target);
  sc.SetPosition(camera, {}, 0, 475, -1000);
  s.viewport = sc.CreateViewport({}, camera, 0, 0, width, height);
  sc.SetBack(s.viewport, 1600);
  sc.SetSceneBackground(0.5, 0.5, 1);

  const char* characters[] = {"bear.x", "fox.x", "pig.x", "zo.x"};
  const double startX[] = {-300, 300, -300, 300}, startZ[] = {200, 200, -200, -200};
  for (int p = 0; p < 4; ++p) {
    const scene::FrameHandle f = sc.CreateFrame(s.root);
    const scene::AnimationSetHandle a = sc.CreateAnimationSet();
    sc.LoadAnimationSet(a, (dir / characters[p]).string(), f);
    sc.SetOrientation(f, {}, {startX[p] < 0 ? 1 : -1, 0, startZ[p] < 0 ? 1 : -1}, {0, 1, 0});
    sc.SetPosition(f, {}, startX[p], 0, startZ[p]);
    s.seats.push_back(a);
  }
  const scene::FrameHandle stage = sc.CreateFrame(s.root);
  sc.AddVisual(stage, Mesh(sc, dir, "stage1.x"));
  sc.SetPosition(stage, {}, 0, -10, 0);
  const scene::FrameHandle light = sc.CreateFrame(s.root);
  sc.AddLight(light, sc.CreateLight(scene::LightKind::Point, 1, 1, 1));
  sc.SetPosition(light, {}, 0, 500, -600);
  for (const char* parked : {"bear2.x", "cursor.x", "item.x", "fish2.x", "message.x"}) {
    const scene::FrameHandle f = sc.CreateFrame(s.root);
    sc.AddVisual(f, Mesh(sc, dir, parked));
    sc.SetPosition(f, {}, -5000, 0, 0);
  }
  const scene::MeshHandle snow = Mesh(sc, dir, "snow.x");
  for (int i = 0; i < 31; ++i) {
    const scene::FrameHandle f = sc.CreateFrame(s.root);
    sc.AddVisual(f, snow);
    sc.SetPosition(f, {}, (i * 157) % 500 - 250, 0, (i * 263) % 400 - 300);
  }
  return s;
}

int Triangles(const scene::Scene& sc, scene::FrameHandle f) {
  int n = 0;
  if (sc.WorldPosition(f).x > -4000) {
    for (auto m : sc.Visuals(f)) n += static_cast<int>(sc.Mesh(m)->indices.size() / 3);
  }
  for (auto c : sc.Children(f)) n += Triangles(sc, c);
  return n;
}

void RenderFullScene(benchmark::State& state) {
  const fs::path dir = ModelFolder();
  if (dir.empty()) {
    state.SkipWithError("no generated models: build the kelmora_assets target first");
    return;
  }
  if (!std::getenv("SDL_VIDEODRIVER")) setenv("SDL_VIDEODRIVER", "offscreen", 1);
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    state.SkipWithError("no video");
    return;
  }
  MatchScene s = Build(dir, static_cast<int>(state.range(0)), static_cast<int>(state.range(0) * 3 / 4));
  std::vector<double> ms;
  ms.reserve(100000);
  int frame = 0;
  // The CPU time of every thread (the rasterizer's too): on a busy machine the wall time also
  // counts the waits for a free core, this does not.
  timespec cpu0{}, cpu1{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu0);
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    for (auto a : s.seats) s.sc->SetTime(a, frame % 70);
    s.sc->Clear(s.viewport);
    s.sc->Render(s.viewport, s.root);
    s.sc->Update();
    glFinish();  // the rasterizer works in the background until here
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    ++frame;
  }
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu1);
  const double cpuMs =
      static_cast<double>(cpu1.tv_sec - cpu0.tv_sec) * 1e3 + static_cast<double>(cpu1.tv_nsec - cpu0.tv_nsec) / 1e6;
  state.counters["cpu_ms"] = frame > 0 ? cpuMs / frame : 0;
  std::sort(ms.begin(), ms.end());
  state.counters["median_ms"] = ms.empty() ? 0 : ms[ms.size() / 2];
  state.counters["triangles"] = Triangles(*s.sc, s.root);
  state.counters["draw_calls"] = s.gl->drawCalls();
  s.sc.reset();
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
// 640 x 480 is the figure; 160 x 120 shows how much of it is vertex work.
BENCHMARK(RenderFullScene)->Arg(640)->Arg(160)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();
