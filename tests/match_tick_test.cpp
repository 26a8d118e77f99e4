// The pure tick: set up a state, run the rules on it with the seats' controls, look at the
// state and the events. No program, scene or clock is needed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "match/state_fields.h"
#include "match/tick.h"
#include "match/view/scene_pose.h"
#include "test_dirs.h"

namespace kelmora {
namespace {

MatchRules FourComputers(int16_t stage) {
  MatchRules m;
  m.st.stage = stage;
  m.st.playerCharacter = {0, 4, 2, 8};  // bear, spider, pig, mouse: walls, nets, shakes, fire
  m.st.isCpu = {1, 1, 1, 1};
  SetUpRules(m);
  return m;
}

std::vector<TickEventKind> Kinds(const TickEvents& e) {
  std::vector<TickEventKind> kinds;
  for (const TickEvent& ev : e.list) kinds.push_back(ev.kind);
  return kinds;
}

TEST(PureTick, KeyControlsReachTheSeatAtTheTicksStartWithTheLatchAndTheLetGo) {
  MatchRules m;
  m.st.playerCharacter = {0, 1, -1, -1};
  SetUpRules(m);
  m.st.pushTicks[0] = 3;
  SeatControls c;
  c.keys = {{ControlKind::StickX, 0, 1}, {ControlKind::PressAction, 0}, {ControlKind::StickZ, 1, -1}};
  TickEvents events;
  RunTick(m, c, events);
  EXPECT_EQ(m.st.posX[0], -299) << "the stick moved the seat in the same tick";
  EXPECT_EQ(m.st.animFrame[0], 20) << "the press started a swing";
  EXPECT_EQ(m.st.posZ[1], 201);
  // The first tick renders, then draws the strip once; the music polls every tick.
  EXPECT_EQ(Kinds(events), (std::vector<TickEventKind>{TickEventKind::MusicPoll, TickEventKind::Render,
                                                         TickEventKind::Panels}));
  // A used press stays used while the key repeats; letting go of a direction it does not hold
  // keeps the stick, letting go of the one it holds stops it and ends a push.
  m.st.actionButton[0] = 2;
  m.st.pushTicks[0] = 4;
  c.keys = {{ControlKind::PressAction, 0}, {ControlKind::LetGoX, 0, -1}};
  ApplyControl(m.st, c.keys[0]);
  ApplyControl(m.st, c.keys[1]);
  EXPECT_EQ(m.st.actionButton[0], 2);
  EXPECT_EQ(m.st.stickX[0], 1);
  EXPECT_EQ(m.st.pushTicks[0], 4);
  ApplyControl(m.st, {ControlKind::LetGoX, 0, 1});
  EXPECT_EQ(m.st.stickX[0], 0);
  EXPECT_EQ(m.st.pushTicks[0], 0);
}

// A whole match twice from copies of one state: the same states tick by tick, the same events,
// and every tick from a saved state again ends where it did (the rules keep nothing elsewhere).
TEST(PureTick, AMatchRunsAgainFromAnySavedStateToTheSameStatesEventsAndPose) {
  for (const int16_t stage : std::array<int16_t, 3>{2, 4, 5}) {
    MatchRules a = FourComputers(stage), b = a;
    const SeatControls none;
    TickEvents ea, eb;
    int ticks = 0;
    for (bool ended = false; !ended; ++ticks) {
      const MatchRules saved = a;
      ea.Clear();
      eb.Clear();
      ended = RunTick(a, none, ea);
      ASSERT_EQ(RunTick(b, none, eb), ended);
      ASSERT_EQ(FirstDifferentField(a.st, a.rnd, b.st, b.rnd), "") << "stage " << stage << " tick " << ticks + 1;
      ASSERT_EQ(StateHash(a.st, a.rnd), StateHash(b.st, b.rnd));
      ASSERT_EQ(ea.list.size(), eb.list.size());
      if (ticks % 97 == 0) {
        MatchRules again = saved;
        TickEvents silent;
        RunTick(again, none, silent);
        ASSERT_EQ(FirstDifferentField(a.st, a.rnd, again.st, again.rnd), "");
        ASSERT_EQ(FirstDifference(PoseOf(a.st), PoseOf(again.st)), nullptr);
      }
    }
    EXPECT_EQ(ticks, kMatchTicks);
  }
}

TEST(PureTick, TheDecisionStopsTheTuneThenCheersAndAShareOfTheTopIsADraw) {
  MatchRules m = FourComputers(0);
  m.st.matchCounter = kDecisionCounter + 1;
  m.st.score = {3, 5, 1, 0};
  TickEvents e;
  RunTick(m, {}, e);
  EXPECT_EQ(m.st.winner, 1);
  EXPECT_EQ(m.st.matchDrawn, 0);
  size_t stop = 0;
  while (stop < e.list.size() && e.list[stop].kind != TickEventKind::StopMusic) ++stop;
  ASSERT_LT(stop + 2, e.list.size());
  EXPECT_EQ(e.list[stop + 1].kind, TickEventKind::Sound);
  EXPECT_EQ(e.list[stop + 1].id, 18) << "the winner's fanfare";
  EXPECT_EQ(e.list[stop + 2].kind, TickEventKind::Render);
  EXPECT_EQ(PoseOf(m.st).presentation, Presentation::Decision);
  m = FourComputers(0);
  m.st.matchCounter = kDecisionCounter + 1;
  m.st.score = {5, 5, 1, 0};
  e.Clear();
  RunTick(m, {}, e);
  EXPECT_EQ(m.st.matchDrawn, 1);
  for (const TickEvent& ev : e.list) EXPECT_NE(ev.id, 18);
}

TEST(StateFields, TheFirstDifferenceIsNamedByFieldAndSlot) {
  MatchRules a = FourComputers(1), b = a;
  EXPECT_EQ(FirstDifferentField(a.st, a.rnd, b.st, b.rnd), "");
  b.st.posX[2] += 1e-9;
  b.st.pileZ[30] = 7;
  EXPECT_EQ(FirstDifferentField(a.st, a.rnd, b.st, b.rnd), "posX[2]");
  EXPECT_NE(StateHash(a.st, a.rnd), StateHash(b.st, b.rnd));
  b = a;
  b.st.gift.y = 1;
  EXPECT_EQ(FirstDifferentField(a.st, a.rnd, b.st, b.rnd), "gift.y");
  b = a;
  b.rnd.Rnd();
  EXPECT_EQ(FirstDifferentField(a.st, a.rnd, b.st, b.rnd), "the generator");
}

// The rules reach nothing above them: no file of the rules includes the scene, the platform,
// the sound, the shell, the front end, the input layer, the view or SDL, or takes the program's
// Game; the scene graph knows nothing of the game, and the view nothing of the program.
TEST(Layers, TheRulesTheViewAndTheSceneIncludeOnlyWhatLiesBelowThem) {
  namespace fs = std::filesystem;
  const fs::path src = fs::path(kData).parent_path().parent_path() / "src";
  const std::regex include(R"re(#include\s*[<"]([^>"]+)[>"])re");
  const std::regex game(R"(\bGame\b)");
  auto check = [&](const fs::path& dir, bool recursive, const std::vector<std::string>& banned, bool noGame) {
    int files = 0;
    auto visit = [&](const fs::directory_entry& e) {
      if (!e.is_regular_file()) return;
      if (!recursive && e.path().parent_path() != dir) return;
      ++files;
      std::ifstream in(e.path());
      const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      for (auto it = std::sregex_iterator(text.begin(), text.end(), include); it != std::sregex_iterator(); ++it) {
        const std::string header = (*it)[1];
        for (const std::string& b : banned) {
          EXPECT_NE(header.rfind(b, 0), 0u) << e.path() << " includes " << header;
        }
      }
      if (noGame) {
        EXPECT_FALSE(std::regex_search(text, game)) << e.path() << " names Game";
      }
    };
    for (const auto& e : fs::recursive_directory_iterator(dir)) visit(e);
    EXPECT_GT(files, 0) << dir;
  };
  const std::vector<std::string> aboveRules = {"scene/", "platform/", "audio/", "shell/", "frontend/",
                                               "input/", "match/view/", "match/play/", "SDL"};
  check(src / "match", false, aboveRules, true);
  check(src / "match" / "players", true, aboveRules, true);
  check(src / "match" / "snow", true, aboveRules, true);
  check(src / "match" / "view", true, {"shell/", "frontend/", "match/play/", "input/"}, true);
  check(src / "scene", true, {"match/", "shell/", "frontend/", "audio/", "input/"}, true);
}

}  // namespace
}  // namespace kelmora
