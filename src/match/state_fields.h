#pragma once
// Every field of the rules' state by name, for comparing two states and for the hash that two
// runs of the same ticks must agree on.
#include <cstdint>
#include <string>

#include "match/match_state.h"
#include "match/random.h"

namespace kelmora {

// A 64-bit hash of every field of the state and of the generator's place in its sequence.
uint64_t StateHash(const MatchState& st, const Random& rnd);

// The name of the first field in which the two differ ("posX[2]", "the generator"), or an
// empty text when they agree everywhere.
std::string FirstDifferentField(const MatchState& a, const Random& ra, const MatchState& b, const Random& rb);

}  // namespace kelmora
