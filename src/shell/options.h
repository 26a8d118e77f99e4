#pragma once
// The command line. With no arguments the program is the game; the switches serve headless
// runs (tests and demonstrations) and skipping the front end.
#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kelmora {

struct MatchChoice {
  int16_t stage = 1;
  std::array<int16_t, 4> characters{-1, -1, -1, -1};
  std::array<int16_t, 4> cpu{0, 0, 0, 0};
};

struct Screenshot {
  int32_t tick = 0;  // the match's own tick (1 = first), or the run's tick without --match
  std::string file;
  bool frontEnd = false;  // '@TICK': the title, menu or loading screen shown at the run's tick
};

struct Options {
  bool headless = false;
  std::string script;                // --script FILE
  std::optional<MatchChoice> match;  // --match STAGE:C0,C1,C2,C3[:CPUS]
  std::optional<int16_t> music;      // --music 0|1
  std::optional<int16_t> mode;       // --mode 80|240|400
  std::string dump;                  // --dump FILE
  std::string events;                // --events FILE
  std::vector<Screenshot> screenshots;  // --screenshot TICK:FILE.png
  std::string dataDir;               // --data DIR: folder holding model/, tex/, sound/
  std::string controls;              // --controls FILE: instead of the player's own file
  std::string record;                // --record FILE: writes the events the run takes
  std::string replay;                // --replay FILE: plays a recording back in the window
  int32_t synctest = 0;              // --synctest N: every tick's last N ticks run twice
  std::vector<std::string> playOptions;  // --match, --music and --mode as given
  bool printControls = false;        // --print-controls
  bool writeControls = false;        // --write-controls [--force]: the player's own file
  bool force = false;
  bool version = false;              // --version
  bool help = false;
};

// A command line that cannot be used; what() is a one-line message.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

Options ParseOptions(const std::vector<std::string>& args);
const char* UsageText();
// "Kelmora VERSION", the project's version.
const char* VersionText();

}  // namespace kelmora
