#pragma once
// One JSON line with every game field of the match state (no scene handles), under the
// fields' own names; used by headless runs to record a match tick by tick.
#include <string>

namespace kelmora {
struct MatchState;

std::string MatchStateJson(const MatchState& st, int match, int tick);

}  // namespace kelmora
