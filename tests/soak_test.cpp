// Random matches one after another, every tick checked: random stages, characters and seats,
// human seats driven by seeded random keys and joysticks. The suite plays 30 (12 under the
// sanitizers);
// `make soak` plays SOAK_MATCHES of them. At the first fault the run stops, naming the seed,
// and leaves the script that plays the match again (kelmora --headless ... --script FILE).
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "headless_run.h"
#include "match_invariants.h"
#include "random_players.h"

namespace kelmora {
namespace {

using testing::DrawRandomMatch;
using testing::HeadlessRun;
using testing::MatchInvariants;
using testing::RandomMatch;

long EnvNumber(const char* name, long fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::strtol(v, nullptr, 10) : fallback;
}

// Plays the match with every tick checked; the first fault stops it. Returns the fault, or
// an empty text when the match ran to its end with everything in order.
std::string PlayChecked(const RandomMatch& m) {
  HeadlessRun run(m.script);
  MatchInvariants invariants;
  std::string fault;
  run.game.afterTick = [&](Game& g, int tick) {
    if (!fault.empty()) return;
    fault = invariants.Check(g, tick);
    if (!fault.empty()) g.st.running = 0;  // ends the match after this tick
  };
  const int status = run.RunMatch(m.stage, m.characters, m.cpu, m.mode, m.music);
  if (!fault.empty()) return fault;
  if (status != 0) return "the match ended with status " + std::to_string(status);
  if (run.game.matchTicks != 1900) return "the match stopped after " + std::to_string(run.game.matchTicks) + " ticks";
  return "";
}

TEST(Soak, RandomMatchesKeepEveryInvariant) {
#if defined(__SANITIZE_ADDRESS__)
  const long shortRun = 12;  // the sanitizers' pass of the suite: the same checks, fewer matches
#else
  const long shortRun = 30;
#endif
  const long matches = EnvNumber("KELMORA_SOAK_MATCHES", shortRun);
  const auto firstSeed = static_cast<unsigned>(EnvNumber("KELMORA_SOAK_SEED", 1));
  const char* dirEnv = std::getenv("KELMORA_SOAK_DIR");
  const std::filesystem::path dir =
      dirEnv && *dirEnv ? std::filesystem::path(dirEnv)
                        : std::filesystem::temp_directory_path() / ("kelmora-soak-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const auto began = std::chrono::steady_clock::now();
  for (long i = 0; i < matches; ++i) {
    const RandomMatch m = DrawRandomMatch(firstSeed + static_cast<unsigned>(i));
    // Written before the match, so that a crash under the sanitizers leaves it behind too.
    const std::filesystem::path script = dir / ("soak-" + std::to_string(m.seed) + ".txt");
    std::ofstream(script) << m.ScriptFile(script.string());
    const std::string fault = PlayChecked(m);
    if (!fault.empty()) {
      FAIL() << "seed " << m.seed << ", match " << i + 1 << " of the run: " << fault << "\n  script: " << script
             << "\n  again: " << m.CommandLine(script.string()) << " --dump dump.jsonl";
    }
    std::filesystem::remove(script);
    if (matches > 100 && (i + 1) % 100 == 0) {
      const auto s = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
      std::fprintf(stderr, "soak: %ld matches clean (seeds %u..%lu), %.0f s\n", i + 1, firstSeed, firstSeed + i, s);
    }
  }
  if (!dirEnv || !*dirEnv) std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace kelmora
