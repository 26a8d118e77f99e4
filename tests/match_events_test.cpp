// The headless event log: every sound and every redraw of the status strip, tick by tick.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <sys/wait.h>

#include "platform/window.h"

#include "command_support.h"
#include "headless_run.h"
#include "input/get_controller.h"
#include "match/play/run_match.h"
#include "shell/event_log.h"

namespace kelmora {
namespace {


std::filesystem::path TempFile(const std::string& name) {
  return std::filesystem::temp_directory_path() /
         ("kelmora-events-" + std::to_string(::getpid()) + "-" + name);
}

constexpr int16_t kVkCtrl = 17, kVkRight = 39, kVkW = 87;
constexpr int16_t kCtrlMask = 2;

// A match of the bear (1P) and the fox (2P) on the first stage, arranged so that the bear
// scoops and throws into the goal, the fox shoves a pile in, and the bear runs into the fox.
TEST(EventLog, AScriptedMatchLogsItsSoundsAndRedrawsInOrder) {
  const auto path = TempFile("match.txt");
  {
    testing::HeadlessRun run;
    ASSERT_TRUE(run.form.Form_Load());
    EventLog log;
    ASSERT_TRUE(log.Open(path.string()));
    log.Attach(run.game, false);
    auto& g = run.game;
    auto& st = g.st;
    g.st.stage = 0;
    g.st.playerCharacter = {0, 1, -1, -1};
    SetUpMatch(g);
    for (auto& x : st.pileX) x = kAbsent;
    st.pileX[0] = 0, st.pileZ[0] = 200;    // before the bear
    st.pileX[1] = 100, st.pileZ[1] = 193;  // before the fox, 2 short of the goal's low edge
    st.posX[0] = 0, st.posZ[0] = 150, st.faceX[0] = 0, st.faceZ[0] = -1;
    st.posX[1] = 100, st.posZ[1] = 135;
    auto tick = [&g](int n) {
      for (int i = 0; i < n; ++i) MatchTick(g);
    };
    tick(1);                                 // 1: the first redraw of the strip
    input::Form_KeyDown(st, kVkCtrl, kCtrlMask);
    tick(6);                                 // 2..7: the swing; 7: the scoop
    input::Form_KeyUp(st, kVkCtrl, 0);
    tick(5);                                 // 8..12: the follow-through, then the loaded walk
    st.posZ[0] = 180;                        // the point ahead now lies in the goal
    input::Form_KeyDown(st, kVkCtrl, kCtrlMask);
    tick(1);                                 // 13: the throw scores
    input::Form_KeyUp(st, kVkCtrl, 0);
    tick(5);                                 // 14..18: the follow-through
    input::Form_KeyDown(st, kVkW, 0);
    st.velZ[1] = 9;
    tick(1);                                 // 19: the fox runs into its pile and shoves it in
    input::Form_KeyUp(st, kVkW, 0);
    st.posX[0] = -200, st.posZ[0] = 0, st.velX[0] = 10;
    st.posX[1] = -170, st.posZ[1] = 0;
    input::Form_KeyDown(st, kVkRight, 0);
    tick(1);                                 // 20: the bear bumps the fox
    input::Form_KeyUp(st, kVkRight, 0);
    tick(1);
  }
  EXPECT_EQ(testing::ReadFileText(path),
            "1 panels 0/100 0/100 0/100 0/100\n"
            "7 sound 5\n"
            "13 panels 1/100 0/100 0/100 0/100\n"
            "13 sound 3\n"
            "19 sound 9\n"
            "19 panels 1/100 1/100 0/100 0/100\n"
            "20 sound 12\n");
  std::filesystem::remove(path);
}

std::string RunToFile(const std::string& args, const std::filesystem::path& out) {
  const std::string cmd = std::string("SDL_AUDIODRIVER=dummy ") + KELMORA_BINARY + " --headless " + args +
                          " --events " + out.string() + " > /dev/null 2>&1";
  EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
  return testing::ReadFileText(out);
}

TEST(EventLog, TheSameCommandLineWritesTheSameFile) {
  const auto script = TempFile("script.txt");
  {
    std::ofstream s(script);
    s << "5 key-down 13 0\n6 key-up 13 0\n20 key-down 17 2\n21 key-up 17 0\n"
         "30 key-down 13 0\n31 key-up 13 0\n60 key-down 39 0\n90 key-up 39 0\n"
         "600 key-down 27 0\n601 key-up 27 0\n700 close\n";
  }
  const auto a = TempFile("a.txt"), b = TempFile("b.txt");
  const std::string match = RunToFile("--match 0:0,1,2,3:0011", a);
  EXPECT_EQ(match, RunToFile("--match 0:0,1,2,3:0011", b));
  EXPECT_EQ(match.rfind("1 panels 0/100 0/100 0/100 0/100\n", 0), 0u) << match.substr(0, 200);
  EXPECT_NE(match.find("900 sound 17\n"), std::string::npos) << "the hurry sound";
  EXPECT_EQ(match.find("match "), std::string::npos) << "a single match needs no match lines";

  const std::string program = RunToFile("--script " + script.string(), a);
  EXPECT_FALSE(program.empty());
  EXPECT_EQ(program, RunToFile("--script " + script.string(), b));
  for (const auto& p : {script, a, b}) std::filesystem::remove(p);
}

TEST(EventLog, AWholeProgramStampsTheFrontEndWithItsOwnTicksAndNamesEachMatch) {
  const auto path = TempFile("program.txt");
  {
    testing::HeadlessRun run;
    ASSERT_TRUE(run.form.Form_Load());
    EventLog log;
    ASSERT_TRUE(log.Open(path.string()));
    log.Attach(run.game, true);
    auto& g = run.game;
    g.st.playerCharacter = {0, -1, -1, -1};
    for (int m = 0; m < 2; ++m) {
      g.window.WaitUntil(static_cast<uint32_t>(g.TickNow() + 7) * 20);
      g.SoundPlay(1);  // a menu sound
      SetUpMatch(g);
      MatchTick(g);
      EndMatch(g);
    }
    g.SoundPlay(2);
  }
  const std::string text = testing::ReadFileText(path);
  std::istringstream lines(text);
  std::string l1, l2, l3, l4, l5, l6, l7;
  std::getline(lines, l1), std::getline(lines, l2), std::getline(lines, l3), std::getline(lines, l4);
  std::getline(lines, l5), std::getline(lines, l6), std::getline(lines, l7);
  EXPECT_EQ(l1.substr(l1.find(' ')), " sound 1");
  EXPECT_GE(std::stoi(l1), 7) << text;
  EXPECT_EQ(l2, "match 1");
  EXPECT_EQ(l3, "1 panels 0/100 0/100 0/100 0/100");
  EXPECT_EQ(l4.substr(l4.find(' ')), " sound 1");
  EXPECT_GT(std::stoi(l4), std::stoi(l1)) << "the program's clock went on";
  EXPECT_EQ(l5, "match 2");
  EXPECT_EQ(l6, "1 panels 0/100 0/100 0/100 0/100");
  EXPECT_EQ(l7.substr(l7.find(' ')), " sound 2");
  std::filesystem::remove(path);
}

TEST(EventLog, AnUnwritableFileIsNamedAndTheRunStops) {
  const std::string cmd = std::string("SDL_AUDIODRIVER=dummy ") + KELMORA_BINARY +
                          " --headless --match 0:0,1,-1,-1 --events /nonexistent/dir/e.txt 2>&1";
  const testing::CommandResult r = testing::RunCommand(cmd);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("/nonexistent/dir/e.txt"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace kelmora
