// The program as a command: headless runs, their output, and bad command lines.
#include <unistd.h>
#include <gtest/gtest.h>

#include "command_support.h"

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using CliResult = kelmora::testing::CommandResult;
using kelmora::testing::ReadFileText;

// Runs the program with arguments; captures standard output, discards standard error.
CliResult RunKelmora(const std::string& args) {
  return kelmora::testing::RunCommand(std::string("SDL_AUDIODRIVER=dummy ") + KELMORA_BINARY + " " + args +
                                      " 2>/dev/null");
}

class HeadlessCli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("kelmora-cli-" + std::to_string(getpid()) + "-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  std::filesystem::path dir_;
};

TEST_F(HeadlessCli, AMatchPrintsItsResultAndTheSameDumpEveryRun) {
  const std::string args = "--headless --match 0:0,1,2,3:0011 --music 0 --dump ";
  const CliResult a = RunKelmora(args + Path("a.jsonl"));
  const CliResult b = RunKelmora(args + Path("b.jsonl"));
  ASSERT_EQ(a.status, 0);
  EXPECT_NE(a.out.find("\"ticks\":1900"), std::string::npos) << a.out;
  EXPECT_EQ(a.out, b.out);
  const std::string dumpA = ReadFileText(Path("a.jsonl"));
  EXPECT_EQ(dumpA, ReadFileText(Path("b.jsonl")));
  std::istringstream lines(dumpA);
  std::string first, line, last;
  std::getline(lines, first);
  int count = 1;
  while (std::getline(lines, line)) {
    ++count;
    last = line;
  }
  EXPECT_EQ(count, 1900);
  EXPECT_EQ(first.rfind("{\"match\":1,\"tick\":1,", 0), 0u) << first.substr(0, 80);
  EXPECT_NE(first.find("\"pileX\":["), std::string::npos);
  EXPECT_NE(last.find("\"tick\":1900,"), std::string::npos);
}

TEST_F(HeadlessCli, AScriptDrivesTheMatchByItsOwnTicks) {
  std::ofstream(Path("esc.txt")) << "# Esc before the match's tick 50\n50 key-down 27 0\n";
  const CliResult r = RunKelmora("--headless --match 1:0,1,-1,-1 --script " + Path("esc.txt"));
  ASSERT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("\"result\":\"stopped\""), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"ticks\":49"), std::string::npos) << r.out;
}

TEST_F(HeadlessCli, BadInputIsAOneLineErrorAndStatusTwo) {
  std::ofstream(Path("bad.txt")) << "1 key-down 13 0\n2 key-sideways 13 0\n";
  for (const std::string& args : {std::string("--bogus"), "--headless --script " + Path("missing.txt"),
                                  "--headless --script " + Path("bad.txt"), std::string("--headless --match 9:0")}) {
    const CliResult r = RunKelmora(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_TRUE(r.out.empty()) << "nothing started for " << args;
  }
  const std::string cmd = std::string(KELMORA_BINARY) + " --headless --script " + Path("bad.txt") + " 2>&1";
  FILE* p = popen(cmd.c_str(), "r");
  char buf[512] = {};
  ASSERT_NE(fgets(buf, sizeof buf, p), nullptr);
  pclose(p);
  EXPECT_NE(std::string(buf).find("bad.txt:2:"), std::string::npos) << buf;
}

TEST_F(HeadlessCli, AMissingModelIsReportedByNameAndEndsTheRunCleanly) {
  namespace fs = std::filesystem;
  const fs::path data = dir_ / "data";
  fs::create_directories(data);
  for (const char* folder : {"model", "tex", "sound"}) {
    fs::copy(fs::path(KELMORA_BUILD_DIR) / folder, data / folder, fs::copy_options::recursive);
  }
  fs::remove(data / "model" / "fire.x");
  const std::string cmd = std::string("SDL_AUDIODRIVER=dummy ") + KELMORA_BINARY + " --headless --data " +
                          data.string() + " --match 0:0,1,-1,-1 2>&1 >/dev/null";
  const CliResult r = kelmora::testing::RunCommand(cmd);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("fire.x"), std::string::npos) << r.out;
}

// --version, and --write-controls making the player's controls file where none was.
TEST_F(HeadlessCli, VersionAndWriteControlsOnAFreshConfigFolder) {
  const CliResult version = RunKelmora("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("Kelmora 0.", 0), 0u) << version.out;

  const std::string cfg = Path("cfg"), file = cfg + "/kelmora/controls.ini";
  const std::string write = "XDG_CONFIG_HOME=" + cfg + " HOME=" + Path("home") + " " + KELMORA_BINARY + " --write-controls";
  auto run = [](const std::string& cmd) { return kelmora::testing::RunCommand(cmd + " 2>&1"); };
  const CliResult first = run(write);
  EXPECT_EQ(first.status, 0);
  EXPECT_NE(first.out.find(file), std::string::npos) << first.out;
  EXPECT_EQ(ReadFileText(file), RunKelmora("--headless --print-controls").out) << "the built-in controls";

  std::ofstream(file) << "# mine\n";
  const CliResult again = run(write);
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.out.find(file + " already exists"), std::string::npos) << again.out;
  EXPECT_EQ(ReadFileText(file), "# mine\n");
  EXPECT_EQ(run(write + " --force").status, 0);
  EXPECT_EQ(ReadFileText(file + ".bak"), "# mine\n");
  EXPECT_EQ(ReadFileText(file), RunKelmora("--headless --print-controls").out);

  std::ofstream(Path("plain")) << "a file, not a folder\n";
  const CliResult blocked = run("XDG_CONFIG_HOME=" + Path("plain") + " " + KELMORA_BINARY + " --write-controls");
  EXPECT_EQ(blocked.status, 1);
  EXPECT_NE(blocked.out.find(Path("plain") + "/kelmora: cannot make the folder"), std::string::npos) << blocked.out;
}

// A stage or character out of range names the numbers there are, as --help does.
TEST_F(HeadlessCli, AMatchOutOfRangeListsTheStagesOrTheCharacters) {
  const std::string bin = std::string(KELMORA_BINARY);
  const CliResult stage = kelmora::testing::RunCommand(bin + " --headless --match 6:0,1,2,3 2>&1");
  EXPECT_EQ(stage.status, 2);
  EXPECT_NE(stage.out.find("the stages are 0 meadow, 1 night courtyard, 2 dark hall, 3 harbour, 4 raft, 5 rooftop"),
            std::string::npos) << stage.out;
  const CliResult animal = kelmora::testing::RunCommand(bin + " --headless --match 1:0,1,9,-1 2>&1");
  EXPECT_EQ(animal.status, 2);
  EXPECT_NE(animal.out.find("bad character '9'; the characters are 0 bear,"), std::string::npos) << animal.out;
  EXPECT_NE(animal.out.find("7 flying squirrel, 8 mouse, -1 an empty seat"), std::string::npos) << animal.out;
  const std::string help = RunKelmora("--help").out;
  for (const char* name : {"5 rooftop", "7 flying squirrel", "--write-controls", "--version", "80 = a 320x240"}) {
    EXPECT_NE(help.find(name), std::string::npos) << name;
  }
}

}  // namespace
