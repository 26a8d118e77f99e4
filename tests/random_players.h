#pragma once
// Seeded random players for whole-match runs: scripts of key and joystick events that mash,
// hold everything, push opposite ways at once or buy specials whatever the gauge holds, and
// random matches built from them (stage, characters, empty, human and computer seats).
#include <array>
#include <cstdint>
#include <random>
#include <string>

namespace kelmora::testing {

enum class PlayStyle { Mash, HoldAll, Opposite, Specials };
constexpr int kPlayStyles = 4;

// Script lines for seat 0 or 1 (1P and 2P keys) or seat 2 or 3 (joysticks 0 and 1), from tick
// `from` to tick `to` of the match.
std::string RandomSeatScript(std::mt19937& dice, int seat, PlayStyle style, int from, int to);

// One random match, as `kelmora --headless --match` plays it.
struct RandomMatch {
  unsigned seed = 0;
  int16_t stage = 0;
  std::array<int16_t, 4> characters{-1, -1, -1, -1};  // -1 = empty seat
  std::array<int16_t, 4> cpu{};
  std::array<PlayStyle, 4> styles{};  // of the human seats
  int16_t mode = 240;
  int16_t music = 1;
  std::string script;  // the human seats' events, match ticks from 1

  // The command line that plays this match again from `scriptPath`.
  std::string CommandLine(const std::string& scriptPath) const;
  // The script as a file: a header naming the seed, the choices and the command, then the events.
  std::string ScriptFile(const std::string& scriptPath) const;
};

// Distinct characters; each seat empty, human or computer, at least one seat playing.
RandomMatch DrawRandomMatch(unsigned seed);

}  // namespace kelmora::testing
