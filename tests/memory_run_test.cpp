// Five hundred whole matches in one process, each reached through the title and the menu as a
// player would: the resident size must stay flat. The whole measurement is `make memory` (it
// runs only when disabled tests are asked for); the suite plays sixty.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

#include "headless_run.h"

namespace kelmora {
namespace {

using testing::HeadlessRun;

// Resident size of this process in kB.
long ResidentKb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

// Title: Enter. Menu: computer players on once, then Enter; each match plays all its 1900
// ticks and hands back to the menu, where the next Enter starts another.
std::string MatchesScript(int matches) {
  std::string s = "2 key-down 13 0\n3 key-up 13 0\n6 key-down 67 0\n7 key-up 67 0\n";
  int t = 10;
  for (int i = 0; i < matches; ++i) {
    s += std::to_string(t) + " key-down 13 0\n" + std::to_string(t + 1) + " key-up 13 0\n";
    t += 1920;
  }
  return s + std::to_string(t) + " close\n";
}

// Plays `matches` + 1 matches (the last one is ended by the close) and returns the resident size
// in kB at the start of each, by the number of matches played before it.
std::map<long, long> ResidentSizes(long matches) {
  // As the program runs: the silent devices keep no record of what would have sounded.
  HeadlessRun run(MatchesScript(static_cast<int>(matches + 1)), {}, false);
  std::map<long, long> after;  // matches played -> resident kB at the first tick of the next
  run.game.afterTick = [&](Game& g, int tick) {
    if (tick == 1) after[g.matchesStarted - 1] = ResidentKb();
  };
  EXPECT_EQ(run.RunProgram(), 0);
  EXPECT_EQ(run.game.matchesStarted, matches + 1) << "every match started from the menu";
  return after;
}

TEST(Memory, DISABLED_FiveHundredMatchesThroughTheFrontEndKeepTheResidentSizeFlat) {
  const long matches = std::getenv("KELMORA_MEMORY_MATCHES") ? std::atol(std::getenv("KELMORA_MEMORY_MATCHES")) : 500;
  std::map<long, long> after = ResidentSizes(matches);
  for (int n : {1, 10, 50, 100, 250, 500}) {
    if (after.count(n)) std::printf("resident size after %3d matches: %ld kB\n", n, after[n]);
  }
  const long growth = after[matches] - after[10];
  std::printf("growth from match 10 to match %ld: %ld kB\n", matches, growth);
  EXPECT_LT(growth, 2048) << "the resident size grows with every match";
}

// The short version in the suite (release build only: the sanitizers hold freed memory back).
TEST(Memory, SixtyMatchesInARowDoNotGrowTheResidentSize) {
  std::map<long, long> after = ResidentSizes(60);
  EXPECT_LT(after[60] - after[10], 1024) << "after 10: " << after[10] << " kB, after 60: " << after[60] << " kB";
}

}  // namespace
}  // namespace kelmora
