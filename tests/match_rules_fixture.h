#pragma once
// A match set up on the headless backends, for tests of the rules: fields can be arranged
// before calling the real rules, and every sound played is recorded by its table id.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "headless_run.h"
#include "match/play/run_match.h"
#include "match/tick_events.h"
#include "match/view/match_view.h"
#include "scene/scene.h"
#include "match/seat_turn.h"

namespace kelmora::testing {

struct RulesMatch : HeadlessRun {
  explicit RulesMatch(Seat16 characters = {0, 1, -1, -1}, int16_t stage = 0) {
    EXPECT_TRUE(form.Form_Load());
    game.st.stage = stage;
    game.st.playerCharacter = characters;
    SetUpMatch(game);
    game.events.Clear();
  }
  MatchState& st() { return game.st; }
  MatchScene& obj() { return game.view.objects; }

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
    MovePlayer(game.rules);
    BumpPlayers(game.rules);
    ActionStep(game.rules);
  }
  void Turns(int p, int n) {
    for (int i = 0; i < n; ++i) Turn(p);
  }
  void Move(int p) {
    st().seat = p;
    MovePlayer(game.rules);
  }
  int EmptySlots() {
    int n = 0;
    for (int k = 0; k < kPileSlots; ++k) n += st().pileX[k] == kAbsent ? 1 : 0;
    return n;
  }

  // What the rules reported since the set-up (or the last ClearEvents): the sounds by table
  // id, and the sounds and redraws in the order they came ("sound 5", "panels").
  std::vector<int> sounds() const {
    std::vector<int> ids;
    for (const TickEvent& e : game.events.list) {
      if (e.kind == TickEventKind::Sound) ids.push_back(e.id);
    }
    return ids;
  }
  std::vector<std::string> events() const {
    std::vector<std::string> out;
    for (const TickEvent& e : game.events.list) {
      if (e.kind == TickEventKind::Sound) out.push_back("sound " + std::to_string(e.id));
      if (e.kind == TickEventKind::Panels) out.push_back("panels");
    }
    return out;
  }
  int panelRedraws() const {
    int n = 0;
    for (const TickEvent& e : game.events.list) n += e.kind == TickEventKind::Panels ? 1 : 0;
    return n;
  }
  void ClearEvents() { game.events.Clear(); }
  // Where the view poses a frame for the state as it stands.
  glm::dvec3 Shown(scene::FrameHandle f) {
    PoseScene(game.view, game.st);
    return game.scene.WorldPosition(f);
  }
};

}  // namespace kelmora::testing
