// A close request at any moment of a run (title, menu, loading screen, match set-up, play, the
// winner's presentation, the menu after a match, the title again) ends the program with
// status 0, with the sound device shut, no voice alive, no tune sounding and the scene empty.
// The program itself is closed at a few of those moments too, so that the sanitizer build's
// leak check sees the whole process.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>

#include "command_support.h"
#include "headless_run.h"
#include "platform/headless/recording_audio.h"
#include "scene/scene.h"

namespace kelmora {
namespace {

using testing::HeadlessRun;

// Title: Game Start. Menu: 1P joins and takes the next character, computers for the empty
// seats, Enter. The match plays to its end; back in the menu, Esc goes to the title.
constexpr const char* kJourney =
    "1 key-down 13 0\n2 key-up 13 0\n"
    "4 key-down 17 2\n5 key-up 17 0\n"
    "7 key-down 39 0\n8 key-up 39 0\n"
    "10 key-down 67 0\n11 key-up 67 0\n"
    "13 key-down 13 0\n14 key-up 13 0\n"
    "1950 key-down 27 0\n1951 key-up 27 0\n";
constexpr int kMatchFirstTick = 15;  // program tick of the match's first tick, about
constexpr int kJourneyEnd = 1960;

struct Closed {
  int status = -1;
  int matches = 0;
  std::string why;  // what was left open, empty when nothing
};

Closed CloseAt(int tick) {
  HeadlessRun run(std::string(kJourney) + std::to_string(tick) + " close\n");
  Closed c;
  c.status = run.RunProgram();
  c.matches = run.game.matchesStarted;
  auto& sound = dynamic_cast<platform::HeadlessSoundDevice&>(*run.backends.soundDevice);
  auto& music = dynamic_cast<platform::HeadlessMusicDevice&>(*run.backends.musicDevice);
  if (!run.game.closing) c.why += " the close request did not run;";
  if (run.game.st.running != 0) c.why += " a loop was left running;";
  if (sound.isOpen()) c.why += " the sound device is open;";
  if (sound.liveVoices() != 0) c.why += " " + std::to_string(sound.liveVoices()) + " voices alive;";
  if (!music.sounding().empty()) c.why += " " + music.sounding() + " still sounds;";
  if (run.game.scene.ObjectCount() != 0) c.why += " " + std::to_string(run.game.scene.ObjectCount()) + " scene objects;";
  return c;
}

TEST(CloseAnywhere, EveryTickOfTheFrontEndAndTheMatchSetUp) {
  std::set<int> matchesSeen;
  for (int tick = 0; tick <= kMatchFirstTick + 3; ++tick) {
    const Closed c = CloseAt(tick);
    EXPECT_EQ(c.status, 0) << "closed at tick " << tick;
    EXPECT_EQ(c.why, "") << "closed at tick " << tick;
    matchesSeen.insert(c.matches);
  }
  EXPECT_EQ(matchesSeen, (std::set<int>{0, 1})) << "closes before the match and in it";
}

TEST(CloseAnywhere, RandomTicksOfPlayThePresentationAndTheScreensAfter) {
  std::mt19937 dice(15);
  std::vector<int> ticks{kMatchFirstTick + 1700, kMatchFirstTick + 1800, kJourneyEnd - 20, kJourneyEnd + 5};
  for (int i = 0; i < 6; ++i) ticks.push_back(kMatchFirstTick + 4 + static_cast<int>(dice() % 1690));
  for (int tick : ticks) {
    const Closed c = CloseAt(tick);
    EXPECT_EQ(c.status, 0) << "closed at tick " << tick;
    EXPECT_EQ(c.why, "") << "closed at tick " << tick;
    EXPECT_EQ(c.matches, 1) << "closed at tick " << tick;
  }
}

// The whole program, closed in the menu, in the set-up of a match, in play and after it:
// status 0, and under the sanitizers nothing leaked (a leak would change the status).
TEST(CloseAnywhere, TheProgramEndsWithStatusZero) {
  const auto dir = std::filesystem::temp_directory_path() / ("kelmora-close-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  for (int tick : {6, kMatchFirstTick - 1, kMatchFirstTick + 400, kJourneyEnd + 5}) {
    const auto script = dir / "close.txt";
    std::ofstream(script) << kJourney << tick << " close\n";
    const auto r = testing::RunCommand(std::string(KELMORA_BINARY) + " --headless --script " + script.string() + " 2>&1");
    EXPECT_EQ(r.status, 0) << "closed at tick " << tick << "\n" << r.out;
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace kelmora
