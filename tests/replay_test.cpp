// Recordings (--record) and their playback: a recorded session, played again headlessly or in
// the window, takes the same events in the same ticks and gives the same match, tick by tick.
#include <unistd.h>
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>

#include "command_support.h"
#include "headless_run.h"
#include "platform/record/pacer.h"
#include "platform/record/paced_window.h"
#include "platform/record/recording_joysticks.h"
#include "platform/record/replay_window.h"
#include "platform/sdl/sdl_window.h"
#include "resources/sprite_sheets.h"
#include "shell/backends.h"
#include "shell/main_window.h"
#include "shell/recording.h"
#include "shell/state_dump.h"

namespace kelmora {
namespace {

namespace fs = std::filesystem;
using platform::ScriptEvent;
using testing::ReadFileText;

fs::path ScratchDir(const std::string& name) {
  const fs::path dir = fs::temp_directory_path() / ("kelmora-replay-" + std::to_string(getpid()) + "-" + name);
  fs::create_directories(dir);
  return dir;
}

TEST(Script, EveryEventWrittenAsALineReadsBackTheSame) {
  const ScriptEvent events[] = {
      {0, ScriptEvent::Kind::KeyDown, 17, 2},
      {3, ScriptEvent::Kind::KeyUp, 255, 7},
      {7, ScriptEvent::Kind::Joy, 3, -32768, 32767, static_cast<int32_t>(0x80010003u)},
      {8, ScriptEvent::Kind::JoyDown, 2, 13},
      {8, ScriptEvent::Kind::JoyUp, 0, 27},
      {9, ScriptEvent::Kind::Close},
  };
  std::string text;
  for (const ScriptEvent& e : events) text += platform::ScriptLine(e) + "\n";
  const auto back = platform::ParseScript(text, "r.txt");
  ASSERT_EQ(back.size(), std::size(events)) << text;
  for (size_t i = 0; i < back.size(); ++i) EXPECT_EQ(back[i], events[i]) << text;
}

// A clock that only the sleeps move, so that pacing is checked without waiting.
struct FakeRealClock : platform::Clock {
  uint32_t now = 1000;
  uint32_t GetTickCount() override { return now; }
};

TEST(Pacer, KeepsTheRealPaceAndMakesUpNoTicksAfterALateOne) {
  FakeRealClock real;
  platform::VirtualClock game;
  std::vector<uint32_t> sleeps;
  platform::Pacer pacer(game, &real, [&](uint32_t ms) {
    sleeps.push_back(ms);
    real.now += ms;
  });
  pacer.WaitUntil(20);
  pacer.WaitUntil(40);
  EXPECT_EQ(game.GetTickCount(), 40u);
  EXPECT_EQ(sleeps, (std::vector<uint32_t>{20, 20}));
  real.now += 5;  // a slow tick: made up within the next one
  pacer.WaitUntil(60);
  EXPECT_EQ(sleeps.back(), 15u);
  sleeps.clear();
  real.now += 700;  // a match loading: the game goes on from here instead of racing
  pacer.WaitUntil(80);
  pacer.WaitUntil(100);
  EXPECT_EQ(game.GetTickCount(), 100u);
  EXPECT_EQ(sleeps, (std::vector<uint32_t>{20}));
}

// A window whose key events come at chosen passes of DoEvents.
struct StubWindow final : platform::Window {
  std::map<int, std::function<void(platform::WindowEvents&)>> atPass;
  int pass = 0;
  void Show() override {}
  void WaitUntil(uint32_t) override {}
  void DoEvents(platform::WindowEvents& h) override {
    h.BeforeEvents();
    if (auto it = atPass.find(pass++); it != atPass.end()) it->second(h);
  }
  void MessageBox(std::string_view, std::string_view, platform::MessageIcon) override {}
  void Present(const platform::Screen&) override {}
  void Close() override {}
};

struct Taken final : platform::WindowEvents {
  std::vector<std::string> log;
  platform::VirtualClock* clock = nullptr;
  std::string At() { return std::to_string(clock->GetTickCount() / platform::kTickMs) + " "; }
  void Form_KeyDown(int16_t k, int16_t) override { log.push_back(At() + "down " + std::to_string(k)); }
  void Form_KeyUp(int16_t k, int16_t) override { log.push_back(At() + "up " + std::to_string(k)); }
  void Form_QueryUnload() override { log.push_back(At() + "close"); }
};

TEST(PacedWindow, HandsTheWindowsEventsOverOnlyInTheFirstPassOfATick) {
  auto stub = std::make_unique<StubWindow>();
  stub->atPass[0] = [](platform::WindowEvents& h) { h.Form_KeyDown(13, 0); };
  stub->atPass[1] = [](platform::WindowEvents& h) { h.Form_KeyUp(13, 0); };  // after tick 0 ran
  stub->atPass[3] = [](platform::WindowEvents& h) {
    h.Form_KeyDown(37, 0);
    h.Form_QueryUnload();
  };
  platform::VirtualClock clock;
  platform::PacedWindow window(std::move(stub), clock, nullptr);
  Taken taken;
  taken.clock = &clock;
  window.DoEvents(taken);  // tick 0, first pass
  window.DoEvents(taken);  // tick 0 again
  window.WaitUntil(20);
  window.DoEvents(taken);  // tick 1
  window.DoEvents(taken);
  window.WaitUntil(40);
  window.DoEvents(taken);
  window.DoEvents(taken);  // closed: nothing more
  EXPECT_EQ(taken.log, (std::vector<std::string>{"0 down 13", "1 up 13", "2 down 37", "2 close"}));
}

TEST(Recording, WritesEachChangeOfAJoystickReadingAsTheGameReadsIt) {
  const fs::path dir = ScratchDir("joy");
  auto record = std::make_unique<platform::RecordFile>((dir / "r.txt").string(), std::vector<std::string>{"x"});
  platform::VirtualClock clock;
  record->SetClock(clock);
  auto inner = std::make_unique<platform::HeadlessJoysticks>();
  platform::HeadlessJoysticks& sticks = *inner;
  platform::RecordingJoysticks joys(std::move(inner), *record);
  joys.SetButtonReading([](int, uint32_t raw) { return raw == 4 ? 1u : raw; });  // button 3 chosen as action
  platform::JoyPos pos;
  joys.GetPos(1, pos);  // never answered: stays out of the recording
  sticks.Plug(0);
  joys.GetPos(0, pos);  // first reading, idle
  joys.GetPos(0, pos);
  clock.AdvanceTo(60);
  sticks.Set(0, 20000, -5, 4);
  joys.GetPos(0, pos);
  joys.GetPos(0, pos);
  EXPECT_EQ(pos.buttons, 4u) << "the game still gets the raw reading";
  clock.AdvanceTo(100);
  sticks = platform::HeadlessJoysticks();  // unplugged: reads as idle
  joys.GetPos(0, pos);
  record.reset();
  EXPECT_EQ(ReadFileText(dir / "r.txt"), "# x\n0 joy 0 0 0 0\n3 joy 0 20000 -5 1\n5 joy 0 0 0 0\n");
  fs::remove_all(dir);
}

// kelmora --headless with the arguments; standard error discarded.
int Kelmora(const std::string& args) {
  return testing::RunCommand(std::string("SDL_AUDIODRIVER=dummy ") + KELMORA_BINARY + " --headless " + args +
                             " 2>/dev/null")
      .status;
}

// A session with what a recording must keep exactly: taps pressed and let go in one tick, a
// key let go while a match loads, joystick lines that change nothing, a button with the
// special key of 1P held, and Esc in the match.
constexpr const char* kSession =
    "3 key-down 13 0\n5 key-up 13 0\n"
    "10 key-down 17 2\n10 key-up 17 0\n14 key-down 70 0\n14 key-up 70 0\n"
    "16 joy 0 0 0 1\n18 joy 0 0 0 1\n20 joy 0 0 0 0\n24 joy 0 30000 0 0\n27 joy 0 0 0 0\n"
    "30 key-down 13 0\n31 key-up 13 0\n"
    "40 key-down 39 0\n41 joy 0 -30000 30000 1\n60 key-down 16 1\n61 key-down 68 0\n63 key-down 70 0\n"
    "64 key-up 70 0\n75 key-up 39 0\n80 joy 0 0 0 2\n90 key-up 16 0\n95 key-up 68 0\n"
    "130 key-down 27 0\n131 key-up 27 0\n140 close\n";

TEST(RecordCli, AScriptedSessionRecordedPlaysBackWithTheSameDump) {
  const fs::path dir = ScratchDir("cli");
  std::ofstream(dir / "session.txt") << kSession;
  auto p = [&dir](const char* name) { return (dir / name).string(); };
  // The whole program, then one match by its own ticks.
  ASSERT_EQ(Kelmora("--script " + p("session.txt") + " --record " + p("r.txt") + " --dump " + p("a.jsonl")), 0);
  ASSERT_EQ(Kelmora("--script " + p("r.txt") + " --dump " + p("b.jsonl")), 0);
  const std::string dump = ReadFileText(p("a.jsonl"));
  EXPECT_GT(std::count(dump.begin(), dump.end(), '\n'), 90);
  EXPECT_EQ(dump, ReadFileText(p("b.jsonl")));
  const std::string recording = ReadFileText(p("r.txt"));
  EXPECT_EQ(recording.rfind("# Kelmora ", 0), 0u) << recording;
  EXPECT_NE(recording.find("\n16 joy 0 0 0 1\n20 joy 0 0 0 0\n"), std::string::npos) << "only changes";

  const std::string match = "--match 2:0,1,2,-1 --mode 400 ";
  ASSERT_EQ(Kelmora(match + "--script " + p("session.txt") + " --record " + p("m.txt") + " --dump " + p("c.jsonl")), 0);
  ASSERT_EQ(Kelmora(match + "--script " + p("m.txt") + " --dump " + p("d.jsonl")), 0);
  EXPECT_EQ(ReadFileText(p("c.jsonl")), ReadFileText(p("d.jsonl")));
  EXPECT_NE(ReadFileText(p("m.txt")).find("\n# recorded with --match 2:0,1,2,-1 --mode 400;"), std::string::npos);

  EXPECT_EQ(Kelmora("--match 1:0,1,-1,-1 --record " + p("no/such/folder/r.txt")), 2);
  fs::remove_all(dir);
}

TEST(Options, RecordAndReplay) {
  const Options o = ParseOptions({"--record", "r.txt", "--dump", "d.jsonl", "--match", "1:0,1,-1,-1", "--music", "0"});
  EXPECT_EQ(o.record, "r.txt");
  EXPECT_EQ(o.playOptions, (std::vector<std::string>{"--match", "1:0,1,-1,-1", "--music", "0"}));
  EXPECT_EQ(ParseOptions({"--replay", "r.txt", "--events", "e.txt"}).replay, "r.txt");
  EXPECT_THROW(ParseOptions({"--headless", "--replay", "r.txt"}), UsageError) << "played headlessly with --script";
  EXPECT_THROW(ParseOptions({"--dump", "d.jsonl"}), UsageError) << "a window run without fixed ticks";
  const std::string help = UsageText();
  EXPECT_NE(help.find("--record FILE"), std::string::npos);
  EXPECT_NE(help.find("--replay FILE"), std::string::npos);
}

}  // namespace
}  // namespace kelmora

namespace kelmora {
namespace {

// A whole program on given backends, as the shell runs it, with the match dumped tick by tick
// and `atTick` told of every tick of the run (front end and match).
struct ProgramRun {
  explicit ProgramRun(Backends b)
      : backends(std::move(b)),
        game(*backends.clock, *backends.window, *backends.screen, *backends.scene, *backends.snd,
             *backends.music, *backends.joysticks),
        form(game) {
    game.programFolder = KELMORA_BUILD_DIR;
    game.view.menuSheet = sheets.menu;
    game.view.characterSheet = sheets.character;
    game.onFrontShown = [this](Game& g) {
      if (atTick) atTick(g.TickNow());
    };
    game.afterTick = [this](Game& g, int tick) {
      dump += MatchStateJson(g.st, g.matchesStarted, tick) + "\n";
      if (atTick) atTick(g.TickNow());
    };
  }
  int Run() { return form.Form_Load() ? form.RunScreens(NextScreen::Title, false) : 1; }

  resources::SpriteSheets sheets;
  Backends backends;
  Game game;
  MainWindow form;
  std::string dump;
  std::function<void(int)> atTick;
};

// Things done at chosen ticks of a run, each once, when the run reaches its tick.
class Schedule {
 public:
  void At(int tick, std::function<void()> f) { todo_.emplace(tick, std::move(f)); }
  void operator()(int now) {
    while (!todo_.empty() && todo_.begin()->first <= now) {
      auto f = std::move(todo_.begin()->second);
      todo_.erase(todo_.begin());
      f();
    }
  }

 private:
  std::multimap<int, std::function<void()>> todo_;
};

void PushKey(SDL_Scancode key, bool down, uint16_t mod = KMOD_NONE) {
  SDL_Event e{};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.scancode = key;
  e.key.keysym.sym = SDL_GetKeyFromScancode(key);
  e.key.keysym.mod = mod;
  SDL_PushEvent(&e);
}

void PushClose() {
  SDL_Event e{};
  e.type = SDL_QUIT;
  SDL_PushEvent(&e);
}

class WindowRecording : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("SDL_VIDEODRIVER")) setenv("SDL_VIDEODRIVER", "offscreen", 1);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0) GTEST_SKIP() << SDL_GetError();
    dir_ = ScratchDir("window");
  }
  void TearDown() override {
    SDL_Quit();
    fs::remove_all(dir_);
  }
  // Backends of the real window whose waits do not sleep; none when no window can be made.
  std::unique_ptr<ProgramRun> Window(const Options& o, std::vector<ScriptEvent> events = {}) {
    try {
      Backends b = MakeRealBackends(o, std::move(events), false);
      // The 3D view plays no part in what a run takes: the scene draws nothing, for speed.
      b.sdlWindow->SetView(nullptr);
      b.scene = std::make_unique<scene::Scene>();
      if (!o.record.empty()) AttachRecorder(b, OpenRecording(o));
      return std::make_unique<ProgramRun>(std::move(b));
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what();
      return nullptr;
    }
  }
  fs::path dir_;
};

// Two players on the keyboard and one on a joystick (SDL's virtual one): title, menu, a match
// ended with Esc, the menu again, and the window closed. Keys come between ticks, some of them
// pressed and let go at once.
TEST_F(WindowRecording, KeysAndAJoystickThroughTheWindowPlayBackExactly) {
  const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 4, 1);
  ASSERT_GE(index, 0) << SDL_GetError();
  SDL_Joystick* stick = SDL_JoystickOpen(index);
  ASSERT_NE(stick, nullptr);
  auto axis = [stick](int a, int16_t v) { return [=] { SDL_JoystickSetVirtualAxis(stick, a, v); }; };
  auto button = [stick](int b, bool down) { return [=] { SDL_JoystickSetVirtualButton(stick, b, down); }; };
  auto key = [](SDL_Scancode k, bool down, uint16_t mod = KMOD_NONE) { return [=] { PushKey(k, down, mod); }; };
  auto tap = [](SDL_Scancode k) { return [=] { PushKey(k, true), PushKey(k, false); }; };

  Schedule s;
  s.At(3, key(SDL_SCANCODE_RETURN, true));
  s.At(5, key(SDL_SCANCODE_RETURN, false));
  s.At(10, key(SDL_SCANCODE_LCTRL, true, KMOD_LCTRL));
  s.At(13, key(SDL_SCANCODE_LCTRL, false));
  s.At(15, tap(SDL_SCANCODE_F));
  s.At(18, button(0, true));
  s.At(22, button(0, false));
  s.At(25, axis(0, 32767));
  s.At(27, axis(0, 0));
  s.At(32, tap(SDL_SCANCODE_RETURN));
  s.At(40, key(SDL_SCANCODE_RIGHT, true));
  s.At(45, key(SDL_SCANCODE_W, true));
  s.At(50, axis(1, 32767));
  s.At(50, button(0, true));
  s.At(55, key(SDL_SCANCODE_RIGHT, false));
  s.At(58, axis(1, 0));
  s.At(60, key(SDL_SCANCODE_W, false));
  s.At(62, key(SDL_SCANCODE_LSHIFT, true, KMOD_LSHIFT));
  s.At(66, key(SDL_SCANCODE_LSHIFT, false));
  s.At(70, tap(SDL_SCANCODE_F));
  s.At(75, button(0, false));
  s.At(90, key(SDL_SCANCODE_ESCAPE, true));
  s.At(91, key(SDL_SCANCODE_ESCAPE, false));
  s.At(96, PushClose);

  Options o;
  o.record = (dir_ / "r.txt").string();
  auto recorded = Window(o);
  ASSERT_TRUE(recorded);
  recorded->atTick = std::ref(s);
  EXPECT_EQ(recorded->Run(), 0);
  EXPECT_TRUE(recorded->game.closing);
  const std::string dump = recorded->dump;
  recorded.reset();
  SDL_JoystickClose(stick);
  SDL_JoystickDetachVirtual(index);

  const std::string recording = ReadFileText(dir_ / "r.txt");
  EXPECT_NE(recording.find(" joy 0 "), std::string::npos) << recording;
  EXPECT_NE(recording.find(" close\n"), std::string::npos) << recording;
  testing::HeadlessRun headless(recording);
  std::string again;
  headless.game.afterTick = [&again](Game& g, int tick) { again += MatchStateJson(g.st, g.matchesStarted, tick) + "\n"; };
  EXPECT_EQ(headless.RunProgram(), 0);

  Options r;
  r.replay = o.record;
  auto shown = Window(r, platform::LoadScript(r.replay));
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->Run(), 0);
  EXPECT_GT(std::count(dump.begin(), dump.end(), '\n'), 40);
  EXPECT_EQ(dump, again) << "played back headlessly";
  EXPECT_EQ(dump, shown->dump) << "played back in the window";
  EXPECT_TRUE(shown->game.closing);
}

TEST_F(WindowRecording, EscEndsAPlaybackAndTheViewersOtherKeysDoNotPlay) {
  const std::string path = (dir_ / "r.txt").string();
  std::ofstream(path) << "3 key-down 13 0\n5 key-up 13 0\n10 key-down 17 2\n12 key-up 17 0\n500 close\n";
  Options r;
  r.replay = path;
  auto shown = Window(r, platform::LoadScript(path));
  ASSERT_TRUE(shown);
  Schedule s;
  s.At(6, [] { PushKey(SDL_SCANCODE_F, true); });
  s.At(20, [] { PushKey(SDL_SCANCODE_ESCAPE, true); });
  int last = 0;
  shown->atTick = [&](int now) {
    last = now;
    s(now);
  };
  EXPECT_EQ(shown->Run(), 0);
  EXPECT_TRUE(shown->game.closing);
  EXPECT_LT(last, 30);
  EXPECT_EQ(shown->game.st.playerCharacter, (std::array<int16_t, 4>{0, -1, -1, -1})) << "1P joined, 2P did not";
}

}  // namespace
}  // namespace kelmora
