#pragma once
// The nine characters by id, and the character rules that several rules share.
#include "match/match_state.h"

namespace kelmora {

enum CharacterId : int16_t {
  kBear = 0,
  kFox = 1,
  kPig = 2,
  kElephant = 3,
  kSpider = 4,
  kFish = 5,
  kMole = 6,
  kFlyingSquirrel = 7,
  kMouse = 8,
};

// A mole whose power runs is underground: it passes piles, blocks, nets, bumps and the big fish.
inline bool Underground(const MatchState& st, int p) {
  return st.playerCharacter[p] == kMole && st.specialTimer[p] > 0;
}

}  // namespace kelmora
