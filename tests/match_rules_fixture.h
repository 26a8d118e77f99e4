#pragma once
// A match set up on the headless backends, for tests of the rules: fields can be arranged
// before calling the real rules, and every sound played is recorded by its table id.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "headless_run.h"
#include "match/run_match.h"
#include "match/seat_turn.h"

namespace kelmora::testing {

struct RulesMatch : HeadlessRun {
  explicit RulesMatch(Seat16 characters = {0, 1, -1, -1}, int16_t stage = 0) {
    EXPECT_TRUE(form.Form_Load());
    game.st.stage = stage;
    game.st.playerCharacter = characters;
    SetUpMatch(game);
    game.onSound = [this](Game&, int id) {
      sounds.push_back(id);
      events.push_back("sound " + std::to_string(id));
    };
    game.onPanels = [this](Game&) {
      ++panelRedraws;
      events.push_back("panels");
    };
  }
  MatchState& st() { return game.st; }

  // Empties every pile slot, so a test places only the piles it needs.
  void ClearPiles() {
    for (int k = 0; k < kPileSlots; ++k) st().pileX[k] = kAbsent;
  }
  // Puts seat p at (x, z) at rest, facing (fx, fz).
  void Place(int p, double x, double z, int16_t fx = 1, int16_t fz = 0) {
    st().posX[p] = x;
    st().posZ[p] = z;
    st().velX[p] = st().velZ[p] = 0;
    st().faceX[p] = fx;
    st().faceZ[p] = fz;
  }
  void Stick(int p, int16_t x, int16_t z) {
    st().stickX[p] = x;
    st().stickZ[p] = z;
  }
  // One whole turn of seat p: movement, bumps and the action cycle.
  void Turn(int p) {
    st().seat = p;
    MovePlayer(game);
    BumpPlayers(game);
    ActionStep(game);
  }
  void Turns(int p, int n) {
    for (int i = 0; i < n; ++i) Turn(p);
  }
  void Move(int p) {
    st().seat = p;
    MovePlayer(game);
  }
  int EmptySlots() {
    int n = 0;
    for (int k = 0; k < kPileSlots; ++k) n += st().pileX[k] == kAbsent ? 1 : 0;
    return n;
  }

  std::vector<int> sounds;
  int panelRedraws = 0;
  std::vector<std::string> events;  // sounds and redraws in the order they happened
};

}  // namespace kelmora::testing
