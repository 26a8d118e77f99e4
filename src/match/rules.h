#pragma once
// Rules: what every rule of a tick works on. The rules' state and the random generator, and
// the list the tick reports its events to; nothing of the scene, the screen, the sound or the
// clock.
#include "match/match_state.h"
#include "match/random.h"
#include "match/tick_events.h"

namespace kelmora {

// The state a match runs on between ticks: everything a tick reads and writes.
struct MatchRules {
  MatchState st;
  Random rnd;
};

struct Rules {
  MatchState& st;
  Random& rnd;
  TickEvents& events;

  Rules(MatchRules& m, TickEvents& e) : st(m.st), rnd(m.rnd), events(e) {}
  Rules(MatchState& s, Random& r, TickEvents& e) : st(s), rnd(r), events(e) {}

  // Plays sound table entry id.
  void Sound(int id) { events.Sound(id); }
  // Redraws the status strip with the scores and gauges as they stand now.
  void Panels() { events.Panels(st); }
};

// Plays the cheer of the character of seat `seat`; an empty seat is silent.
void PlayVoice(Rules& r);

}  // namespace kelmora
