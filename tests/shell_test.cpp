// Start-up, the screen loop and the close request, on the headless backends.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "headless_run.h"
#include "platform/headless/script.h"
#include "shell/options.h"

namespace kelmora {
namespace {

using testing::HeadlessRun;

TEST(StartUp, EveryRunBeginsWithTheSameDefaults) {
  HeadlessRun run;
  ASSERT_TRUE(run.form.Form_Load());
  const auto& st = run.game.st;
  EXPECT_EQ(st.displayMode, 240);
  EXPECT_EQ(st.stage, 1);
  EXPECT_EQ(st.cpuOption, 0);
  EXPECT_EQ(st.musicOn, 1);
  EXPECT_EQ(st.playerCharacter, (Seat16{-1, -1, -1, -1}));
  EXPECT_EQ(run.game.screen.width(), 640);
}

TEST(Title, ExitEndsTheProgramWithoutAMessage) {
  // Down moves to Exit, Enter chooses it.
  HeadlessRun run("3 key-down 40 0\n4 key-up 40 0\n6 key-down 13 0\n");
  EXPECT_EQ(run.RunProgram(), 0);
  EXPECT_TRUE(run.window().messages().empty());
  EXPECT_EQ(run.game.matchesStarted, 0);
  EXPECT_FALSE(run.game.closing) << "Exit does not run the close request";
}

// The close request from each screen ends the program without returning to the loop it
// interrupted.
TEST(CloseRequest, EndsTheProgramFromTheTitle) {
  HeadlessRun run("5 close\n");
  EXPECT_EQ(run.RunProgram(), 0);
  EXPECT_TRUE(run.game.closing);
  EXPECT_EQ(run.game.matchesStarted, 0);
}

TEST(CloseRequest, EndsTheProgramFromTheMenu) {
  HeadlessRun run("2 key-down 13 0\n3 key-up 13 0\n10 close\n");
  EXPECT_EQ(run.RunProgram(), 0);
  EXPECT_TRUE(run.game.closing);
  EXPECT_EQ(run.game.matchesStarted, 0);
  EXPECT_EQ(run.game.st.menuCursor, 200) << "the menu had been entered";
}

TEST(CloseRequest, EndsTheProgramFromAMatchWithoutGoingBackToTheMenu) {
  // C gives the empty seats to computer players, so that Enter starts a match.
  HeadlessRun run("2 key-down 13 0\n3 key-up 13 0\n4 key-down 67 0\n5 key-up 67 0\n6 key-down 13 0\n7 key-up 13 0\n300 close\n");
  EXPECT_EQ(run.RunProgram(), 0);
  EXPECT_TRUE(run.game.closing);
  EXPECT_EQ(run.game.matchesStarted, 1);
  EXPECT_GT(run.game.matchTicks, 250);
  EXPECT_LT(run.game.matchTicks, 300);
  EXPECT_EQ(run.game.st.running, 0) << "the scene was released";
}

TEST(CloseRequest, ComesAfterTheScriptIsExhaustedPlusTheGrace) {
  HeadlessRun run("10 key-down 65 0\n");
  EXPECT_EQ(run.RunProgram(), 0);
  EXPECT_TRUE(run.game.closing);
  EXPECT_EQ(run.game.TickNow(), 10 + 2001);
}

// Title -> menu -> match -> menu -> title a thousand times: the hand-overs never nest, so
// every match runs at the same stack depth.
TEST(ScreenLoop, AThousandRoundTripsDoNotGrowTheStack) {
  std::string script;
  int t = 1;
#if defined(__SANITIZE_ADDRESS__)
  const int rounds = 100;  // the same property, in a tenth of the time, under the sanitizers
#else
  const int rounds = 1000;
#endif
  for (int i = 0; i < rounds; ++i) {
    script += std::to_string(t) + " key-down 13 0\n" + std::to_string(t + 1) + " key-up 13 0\n";  // title
    if (i == 0) script += std::to_string(t + 2) + " key-down 67 0\n";  // computer players on
    script += std::to_string(t + 3) + " key-down 13 0\n" + std::to_string(t + 4) + " key-up 13 0\n";  // menu
    script += std::to_string(t + 8) + " key-down 27 0\n";  // Esc in the match
    script += std::to_string(t + 12) + " key-down 27 0\n";  // Esc in the menu
    t += 16;
  }
  script += std::to_string(t + 5) + " close\n";
  HeadlessRun run(script);
  uintptr_t lowest = UINTPTR_MAX, highest = 0;
  run.game.afterTick = [&](Game&, int) {
    int here = 0;
    const auto p = reinterpret_cast<uintptr_t>(&here);
    lowest = std::min(lowest, p);
    highest = std::max(highest, p);
  };
  EXPECT_EQ(run.RunProgram(), 0);
  EXPECT_EQ(run.game.matchesStarted, rounds);
  EXPECT_EQ(highest, lowest) << "stack moved by " << (highest - lowest) << " bytes";
}

TEST(Options, ReadsAHeadlessMatchLine) {
  const Options o = ParseOptions({"--headless", "--match", "4:0,-1,8,3:0011", "--music", "0", "--mode", "80",
                                  "--dump", "d.jsonl", "--screenshot", "120:a.png"});
  EXPECT_TRUE(o.headless);
  ASSERT_TRUE(o.match);
  EXPECT_EQ(o.match->stage, 4);
  EXPECT_EQ(o.match->characters, (std::array<int16_t, 4>{0, -1, 8, 3}));
  EXPECT_EQ(o.match->cpu, (std::array<int16_t, 4>{0, 0, 1, 1}));
  EXPECT_EQ(*o.music, 0);
  EXPECT_EQ(*o.mode, 80);
  ASSERT_EQ(o.screenshots.size(), 1u);
  EXPECT_EQ(o.screenshots[0].tick, 120);
  EXPECT_EQ(o.screenshots[0].file, "a.png");
}

TEST(Options, RefusesWhatItCannotUse) {
  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"--frobnicate"},
           {"--headless", "--match", "6:0,1,2,3"},
           {"--headless", "--match", "1:0,1,2"},
           {"--headless", "--match", "1:0,1,2,9"},
           {"--headless", "--match", "1:0,1,2,3:012"},
           {"--headless", "--match", "1:0,1,2,3:0120"},
           {"--mode", "320"},
           {"--music"},
           {"--script", "x.txt"},
       }) {
    EXPECT_THROW(ParseOptions(bad), UsageError) << bad.back();
  }
}

TEST(Script, ReadsEventsInTickOrder) {
  const auto events = platform::ParseScript(
      "# a comment\n\n5 key-up 37 0  # trailing comment\n2 key-down 37 2\n5 joy 1 -32768 32767 3\n9 close\n",
      "s.txt");
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].tick, 2);
  EXPECT_EQ(events[0].kind, platform::ScriptEvent::Kind::KeyDown);
  EXPECT_EQ(events[0].b, 2);
  EXPECT_EQ(events[1].kind, platform::ScriptEvent::Kind::KeyUp) << "same tick keeps file order";
  EXPECT_EQ(events[2].kind, platform::ScriptEvent::Kind::Joy);
  EXPECT_EQ(events[2].b, -32768);
  EXPECT_EQ(events[2].d, 3);
  EXPECT_EQ(events[3].kind, platform::ScriptEvent::Kind::Close);
}

TEST(Script, MalformedLinesNameTheFileAndLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"1 key-down 13 0\nx close\n", "s.txt:2:"},
      {"1 key-down 13\n", "s.txt:1:"},
      {"1 key-down 300 0\n", "s.txt:1:"},
      {"1 joy 4 0 0 0\n", "s.txt:1:"},
      {"1 joy-down 0 select\n", "s.txt:1:"},
      {"1 joy-up 4 start\n", "s.txt:1:"},
      {"1 joy 0 40000 0 0\n", "s.txt:1:"},
      {"\n\n-4 close\n", "s.txt:3:"},
      {"1 close now\n", "s.txt:1:"},
      {"1 jump\n", "s.txt:1:"},
  };
  for (const auto& [text, where] : cases) {
    try {
      platform::ParseScript(text, "s.txt");
      ADD_FAILURE() << "accepted: " << text;
    } catch (const platform::ScriptError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(where, 0), 0u) << e.what();
    }
  }
  EXPECT_THROW(platform::LoadScript("/nonexistent/script.txt"), platform::ScriptError);
}

}  // namespace
}  // namespace kelmora
