// Whatever players do with the keys (mashing, holding every key at once, opposite directions),
// a whole match runs to its end and snow is neither made nor lost.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The game keys of 1P and 2P: arrows, Ctrl and Shift; W A S D, F and G.
constexpr int kKeys[] = {37, 38, 39, 40, 17, 16, 87, 65, 83, 68, 70, 71};

// Ints of one array field of a dump line ("name":[a,b,...]).
std::vector<int> Field(const std::string& line, const std::string& name) {
  std::vector<int> out;
  const auto at = line.find("\"" + name + "\":[");
  if (at == std::string::npos) return out;
  std::istringstream in(line.substr(at + name.size() + 4));
  int v;
  char sep = ',';
  while (sep == ',' && in >> v) {
    out.push_back(v);
    in >> sep;
  }
  return out;
}

std::string MashScript(unsigned seed, bool holdAll) {
  std::mt19937 dice(seed);
  std::ostringstream s;
  if (holdAll) {
    for (int k : kKeys) s << 1 << " key-down " << k << ' ' << (k == 17 ? 2 : k == 16 ? 1 : 0) << '\n';
  }
  for (int t = 2; t < 1700; t += 1 + static_cast<int>(dice() % 4)) {
    const int key = kKeys[dice() % 12];
    const int mods = key == 17 ? 2 : key == 16 ? 1 : static_cast<int>(dice() % 4);
    s << t << (dice() % 2 ? " key-down " : " key-up ") << key << ' ' << mods << '\n';
  }
  return s.str();
}

TEST(BadInput, MashingAndHoldingEveryKeyNeverMakesOrLosesSnow) {
  const auto dir = std::filesystem::temp_directory_path() / ("kelmora-mash-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  for (unsigned seed = 1; seed <= 4; ++seed) {
    const auto script = dir / "script.txt";
    const auto dump = dir / "dump.jsonl";
    std::ofstream(script) << MashScript(seed, seed % 2 == 0);
    // Characters whose powers move snow but never destroy it; two seats are computers.
    const std::string stage = std::to_string(seed % 6);
    const std::string cmd = std::string("SDL_AUDIODRIVER=dummy ") + KELMORA_BINARY + " --headless --match " +
                            stage + ":0,3,2,4:0011 --script " + script.string() + " --dump " + dump.string() +
                            " > /dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    std::ifstream in(dump);
    std::string line;
    int ticks = 0;
    while (std::getline(in, line)) {
      ++ticks;
      const auto piles = Field(line, "pileX");
      const auto carrying = Field(line, "carrying");
      const auto frames = Field(line, "animFrame");
      const auto scores = Field(line, "score");
      ASSERT_EQ(piles.size(), 31u);
      int total = 0;
      for (int x : piles) total += x != -5000 ? 1 : 0;
      for (int s = 0; s < 4; ++s) total += (carrying[s] == 1 && frames[s] >= 25 ? 1 : 0) + scores[s];
      ASSERT_EQ(total, 31) << "seed " << seed << " tick " << ticks;
    }
    EXPECT_EQ(ticks, 1900) << "seed " << seed;
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
