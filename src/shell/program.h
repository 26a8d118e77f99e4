#pragma once
#include <string>
#include <vector>

namespace kelmora {

// The whole program: parses the command line, builds the backends, starts up and runs the
// screens. Returns the exit status: 0 normal end, 1 a failure reported to the player,
// 2 a bad command line or script.
int RunProgram(const std::vector<std::string>& args);

}  // namespace kelmora
