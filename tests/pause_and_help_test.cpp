// The pause of a match and the help page: a paused match is the same match, the pads' Start
// and Back in a match, the music held and let go, and F1 over the title and the menu.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/help_page.h"
#include "headless_run.h"
#include "input/controls.h"
#include "platform/clock.h"
#include "platform/headless/recording_audio.h"
#include "platform/music_interpreter.h"
#include "platform/screen.h"
#include "shell/state_dump.h"

namespace kelmora {
namespace {

namespace pause_test {

// Script lines pressing a key for 2 ticks at `tick` (with the modifier state it makes).
std::string Tap(int tick, int vk, int mods = 0) {
  return std::to_string(tick) + " key-down " + std::to_string(vk) + " " + std::to_string(mods) + "\n" +
         std::to_string(tick + 2) + " key-up " + std::to_string(vk) + " 0\n";
}

struct Played {
  std::vector<std::string> dump;
  int ticks = 0;
  uint32_t clockTicks = 0;
  std::vector<std::string> music;  // the music commands sent
};

// 1P (the fox) against a computer bear on the swaying stage, every tick dumped.
Played Play(const std::string& script) {
  testing::HeadlessRun run(script);
  Played p;
  run.game.afterTick = [&p](Game& g, int tick) { p.dump.push_back(MatchStateJson(g.st, g.matchesStarted, tick)); };
  EXPECT_EQ(run.RunMatch(4, {1, 0, -1, -1}, {0, 1, 0, 0}), 0);
  p.ticks = run.game.matchTicks;
  p.clockTicks = run.game.clock.GetTickCount() / platform::kTickMs;
  for (const auto& c : static_cast<platform::HeadlessMusicDevice&>(*run.backends.musicDevice).commands()) {
    if (c.text.rfind("pause", 0) == 0 || c.text.rfind("resume", 0) == 0) p.music.push_back(c.text);
  }
  return p;
}

}  // namespace pause_test

// 1P walks, swings and uses its power; the same match is paused by P (30 ticks), a pad's Start
// (5 ticks) and the Pause key in the presentation (12 ticks), each event after a pause coming
// as much later on the clock.
TEST(Pause, APausedMatchIsTheSameMatchTickForTick) {
  using pause_test::Tap;
  const std::string plain = Tap(20, 39) + Tap(60, 17, 2) + Tap(150, 40) + Tap(210, 16, 1) + Tap(400, 37);
  const std::string paused = Tap(20, 39) + Tap(60, 17, 2) + Tap(100, 80) + Tap(130, 80) + Tap(180, 40) +
                             Tap(240, 16, 1) +
                             "300 joy-down 0 start\n301 joy-up 0 start\n305 joy-down 0 start\n306 joy-up 0 start\n" +
                             Tap(435, 37) + Tap(1785, 19) + Tap(1797, 19);
  const pause_test::Played a = pause_test::Play(plain), b = pause_test::Play(paused);
  ASSERT_EQ(a.ticks, 1900);
  EXPECT_EQ(b.ticks, 1900);
  ASSERT_EQ(a.dump.size(), b.dump.size());
  for (size_t i = 0; i < a.dump.size(); ++i) ASSERT_EQ(a.dump[i], b.dump[i]) << "tick " << i + 1;
  EXPECT_EQ(b.clockTicks - a.clockTicks, 30u + 5 + 12) << "the clock ran on through the pauses";
  EXPECT_TRUE(a.music.empty());
  // The stage's music is held at each pause before the decision and let go after it.
  EXPECT_EQ(b.music, (std::vector<std::string>{"pause audiofileBGM", "resume audiofileBGM", "pause audiofileBGM",
                                               "resume audiofileBGM", "pause audiofileBGM", "resume audiofileBGM"}));
}

// A knocked Back does nothing in a match; Start pauses, and Back then ends it, as Esc does at
// any time. An online match (not pausable) takes no pause.
TEST(Pause, APadsBackEndsAMatchOnlyWhilePausedAndEscAlways) {
  testing::HeadlessRun back("100 joy-down 0 back\n101 joy-up 0 back\n200 joy-down 0 start\n201 joy-up 0 start\n"
                            "250 joy-down 0 back\n251 joy-up 0 back\n");
  ASSERT_EQ(back.RunMatch(0, {0, 1, -1, -1}, {0, 1, 0, 0}), 0);
  EXPECT_EQ(back.game.matchTicks, 199) << "paused before tick 200, ended while paused";
  EXPECT_FALSE(back.game.screen.overlayShown()) << "the pause overlay goes with the match";

  testing::HeadlessRun esc(pause_test::Tap(300, 80) + pause_test::Tap(320, 27));
  ASSERT_EQ(esc.RunMatch(0, {0, 1, -1, -1}, {0, 1, 0, 0}), 0);
  EXPECT_EQ(esc.game.matchTicks, 299);
  EXPECT_FALSE(esc.game.pauseAsked);
}

TEST(Pause, AHeldTuneGoesOnWhereItStoodAndEndsAsMuchLater) {
  const std::string dir = KELMORA_BUILD_DIR;
  platform::VirtualClock clock;
  platform::HeadlessMusicDevice music(clock);
  std::string mode;
  ASSERT_EQ(music.SendString("open " + dir + "/sound/bgm.mid alias t", nullptr), 0);
  const double seconds = platform::MusicInterpreter::ListedLength(dir + "/sound/bgm.mid");
  ASSERT_GT(seconds, 1.0);
  const auto length = static_cast<uint32_t>(seconds * 1000);
  music.SendString("play t from 0", nullptr);
  clock.AdvanceTo(1000);
  music.SendString("pause t", nullptr);
  music.SendString("status t mode", &mode);
  EXPECT_EQ(mode, "paused");
  clock.AdvanceTo(1000 + 60000);
  music.SendString("resume t", nullptr);
  clock.AdvanceTo(60000 + length - 10);
  music.SendString("status t mode", &mode);
  EXPECT_EQ(mode, "playing") << "the minute held does not count";
  clock.AdvanceTo(60000 + length + 10);
  music.SendString("status t mode", &mode);
  EXPECT_EQ(mode, "stopped");
  // A tune that does not sound is not held, and a resume without a pause changes nothing.
  EXPECT_EQ(music.SendString("resume t", nullptr), 0);
  music.SendString("pause t", nullptr);
  music.SendString("status t mode", &mode);
  EXPECT_EQ(mode, "stopped");
}

// F1 on the title lays the help page over it; Esc takes it away, and the title took neither
// key. In the menu the help page holds the seats: 1P's action does not join until F1 closes it.
TEST(Help, F1LaysTheHelpPageOverTheTitleAndTheMenuWhichWaitUnderIt) {
  using pause_test::Tap;
  const std::string script = Tap(5, 112) + Tap(15, 40) + Tap(25, 27) + Tap(35, 13) + Tap(60, 112) + Tap(70, 17, 2) +
                             Tap(80, 112) + Tap(90, 17, 2) + "120 close\n";
  testing::HeadlessRun run(script);
  std::vector<int> shownAt, joinedAt;
  int16_t cursorAfterHelp = 0;
  run.game.onFrontShown = [&](Game& g) {
    const int t = g.TickNow();
    if (g.screen.overlayShown() && (shownAt.empty() || shownAt.back() != t)) shownAt.push_back(t);
    if (g.st.playerCharacter[0] != -1 && joinedAt.empty()) joinedAt.push_back(t);
    if (t == 30) cursorAfterHelp = g.st.menuCursor;
  };
  ASSERT_EQ(run.RunProgram(), 0);
  ASSERT_FALSE(shownAt.empty());
  EXPECT_EQ(shownAt.front(), 5);
  EXPECT_EQ(cursorAfterHelp, 360) << "Down under the help page did not move the title's cursor";
  for (int t : shownAt) EXPECT_TRUE((t >= 5 && t < 25) || (t >= 60 && t < 80)) << "help shown at " << t;
  ASSERT_EQ(joinedAt.size(), 1u);
  EXPECT_GE(joinedAt[0], 90) << "1P joined only after the help page closed";
}

TEST(Help, NamesTheControlsInForceAndDrawsTheSamePageEveryTime) {
  input::Controls controls = input::BuiltInControls();
  controls.keys[0][input::kAction] = {SDL_SCANCODE_SPACE};
  controls.buttons[1] = {3, 1};
  EXPECT_EQ(frontend::SeatControls(controls, 0).action, "Space");
  EXPECT_EQ(frontend::SeatControls(controls, 0).special, "Left Shift or Right Shift");
  EXPECT_EQ(frontend::SeatControls(controls, 1).move, "W, S, A, D");
  EXPECT_EQ(frontend::SeatControls(controls, 3).action, "button 3 (left face)");
  EXPECT_EQ(frontend::SeatControls(controls, 3).special, "button 1 (bottom face)");

  platform::Screen screen;
  auto page = [&] {
    frontend::DrawHelpPage(screen, {}, controls);
    const SDL_Surface* o = screen.overlayMade();
    const auto* px = static_cast<const uint32_t*>(o->pixels);
    return std::vector<uint32_t>(px, px + o->h * o->pitch / 4);
  };
  const std::vector<uint32_t> first = page();
  int ink = 0;
  for (uint32_t p : first) ink += (p & 0xFF) > 0xA0 ? 1 : 0;
  EXPECT_GT(ink, 5000) << "the page has text";
  EXPECT_EQ(page(), first);
}

}  // namespace
}  // namespace kelmora
