// A new player's whole journey, replayed from a script with keys held like a finger (80 ms):
// title, menu choices, a match with computer players, the menu again with the same choices,
// back to the title and Exit.
#include <unistd.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <stb/stb_image.h>

#include "input/get_controller.h"


namespace kelmora {
namespace {

// Key presses held 4 ticks, one every 10 ticks, from tick 5.
class Journey {
 public:
  Journey& Press(int vk, int mods = 0) {
    script_ += std::to_string(t_) + " key-down " + std::to_string(vk) + " " + std::to_string(mods) + "\n";
    script_ += std::to_string(t_ + 4) + " key-up " + std::to_string(vk) + " 0\n";
    t_ += 10;
    return *this;
  }
  Journey& Wait(int ticks) {
    t_ += ticks;
    return *this;
  }
  const std::string& script() const { return script_; }

 private:
  std::string script_;
  int t_ = 5;
};

using input::kVkC, input::kVkCtrl, input::kVkD, input::kVkDown, input::kVkEnter, input::kVkEscape,
    input::kVkF, input::kVkLeft, input::kVkRight;

// Game Start; 1P (Ctrl) and 2P (F) join; 1P goes two right to the pig, 2P three right to the
// spider; 1P takes 640x480 and the first stage; C turns computer players on; Enter plays a
// whole match; then Esc to the title, Down to Exit, Enter.
std::string JourneyScript() {
  Journey j;
  j.Press(kVkEnter).Press(kVkCtrl, 2).Press(kVkF);
  j.Press(kVkRight).Press(kVkRight).Press(kVkD).Press(kVkD).Press(kVkD);
  j.Press(kVkDown).Press(kVkRight).Press(kVkDown).Press(kVkLeft).Press(kVkC).Press(kVkEnter);
  j.Wait(1950).Press(kVkEscape).Press(kVkDown).Press(kVkEnter);
  return j.script();
}

TEST(Journey, PlaysTheChosenMatchAndComesBackToTheSameChoices) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("kelmora-journey-" + std::to_string(getpid()));
  fs::create_directories(dir);
  std::ofstream(dir / "journey.txt") << JourneyScript();
  const std::string cmd = std::string("SDL_AUDIODRIVER=dummy ") + KELMORA_BINARY + " --headless --script " +
                          (dir / "journey.txt").string() + " --dump " + (dir / "d.jsonl").string() +
                          " --screenshot @3:" + (dir / "title.png").string() +
                          " --screenshot @135:" + (dir / "loading.png").string() +
                          " --screenshot @2050:" + (dir / "after.png").string() + " >/dev/null 2>&1";
  const int status = std::system(cmd.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  std::ifstream dump(dir / "d.jsonl");
  std::string first, line;
  std::getline(dump, first);
  int lines = 1;
  while (std::getline(dump, line)) ++lines;
  // The front-end shots: the title at tick 3, and at the tick of Enter the loading screen,
  // drawn after that tick's menu.
  auto lit = [&dir](const char* file, int x, int y) {
    int w = 0, h = 0, n = 0;
    uint8_t* p = stbi_load((dir / file).string().c_str(), &w, &h, &n, 3);
    if (!p || w != 640 || h != 480) {
      stbi_image_free(p);
      return -1;
    }
    const uint8_t* c = p + (y * w + x) * 3;
    const int sum = c[0] + c[1] + c[2];
    stbi_image_free(p);
    return sum;
  };
  EXPECT_GT(lit("title.png", 320, 60), 0) << "the logo";
  EXPECT_EQ(lit("loading.png", 100, 120), 0) << "no trace of the menu (1P's portrait)";
  EXPECT_GT(lit("loading.png", 540, 390), 0) << "the loading picture";
  // Back in the menu after the match: 1P and 2P keep their portraits, the computer seats are
  // empty again, and the CPU option is still on.
  EXPECT_GT(lit("after.png", 80, 120), 0);
  EXPECT_GT(lit("after.png", 240, 120), 0);
  EXPECT_EQ(lit("after.png", 400, 120), 0);
  EXPECT_EQ(lit("after.png", 560, 120), 0);
  EXPECT_GT(lit("after.png", 590, 22), 0);
  fs::remove_all(dir);
  EXPECT_EQ(lines, 1900);
  // The value of one field of the dump line, as written.
  auto field = [&first](const std::string& name) {
    const auto at = first.find("\"" + name + "\":");
    if (at == std::string::npos) return std::string("(missing)");
    const auto from = at + name.size() + 3;
    return first.substr(from, first.find(",\"", from) - from);
  };
  EXPECT_EQ(field("isCpu"), "[0,0,1,1]");
  EXPECT_EQ(field("stage"), "0");
  EXPECT_EQ(field("displayMode"), "400");
  EXPECT_EQ(field("musicOn"), "1");
  EXPECT_EQ(field("cpuOption"), "1");
  EXPECT_EQ(field("playerCharacter").rfind("[2,4,", 0), 0u) << field("playerCharacter");
}

}  // namespace
}  // namespace kelmora
