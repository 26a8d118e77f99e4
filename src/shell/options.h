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
  double fraction = 0;    // 'TICK.F': the match's picture F of the way to the next tick
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
  bool wholeScale = false;           // --scale whole: the window scales by whole multiples
  std::string record;                // --record FILE: writes the events the run takes
  std::string replay;                // --replay FILE: plays a recording back in the window
  int32_t synctest = 0;              // --synctest N: every tick's last N ticks run twice
  std::vector<std::string> playOptions;  // --match, --music and --mode as given
  bool printControls = false;        // --print-controls
  bool writeControls = false;        // --write-controls [--force]: the player's own file
  bool force = false;
  bool version = false;              // --version
  // Online play: --host [PORT] or --join HOST[:PORT], this machine's --seats, and the tuning.
  bool host = false, join = false, spectate = false;
  std::string joinHost;
  uint16_t port = 7790;
  uint8_t seats = 0;                 // --seats LIST: bit s, seat s (0..3)
  int32_t tickMs = 20;               // --tick-ms N
  int32_t inputDelay = 2;            // --input-delay N
  int32_t rollback = 8;              // --rollback N
  double simLoss = 0;                // --net-sim LOSS,DELAY,JITTER[,SEED]
  int32_t simDelay = 0, simJitter = 0;
  uint32_t simSeed = 1;
  int32_t blackoutAt = -1, blackoutMs = 0;  // --net-blackout AT,LEN (ms)
  std::string name;                  // --name NAME
  std::string netVersion;            // --net-version TEXT: the version told to peers (tests)
  int32_t stopAfter = 0;             // --stop-after N: an online match ends after N ticks (tests)
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
