#pragma once
// What a tick of the rules did that the player sees or hears, in the order it happened: the
// view plays them after the tick, and a tick run again silently simply drops them.
#include <array>
#include <cstdint>
#include <vector>

#include "match/match_state.h"

namespace kelmora {

enum class TickEventKind : uint8_t {
  Sound,      // sound table entry `id`
  Panels,     // the status strip is redrawn with the scores and gauges as they stood
  MusicPoll,  // the music's tick: a looping tune that has ended starts again
  StopMusic,  // the decision stops the tune named "BGM"
  Render,     // the scene is posed from the state and drawn, and the screen shown
};

struct TickEvent {
  TickEventKind kind = TickEventKind::Sound;
  int16_t id = 0;
  Seat16 score{}, power{};  // Panels: what the strip shows
};

struct TickEvents {
  std::vector<TickEvent> list;

  void Sound(int id) { list.push_back({TickEventKind::Sound, static_cast<int16_t>(id), {}, {}}); }
  void Panels(const MatchState& st) { list.push_back({TickEventKind::Panels, 0, st.score, st.power}); }
  void Add(TickEventKind kind) { list.push_back({kind, 0, {}, {}}); }
  void Clear() { list.clear(); }
};

}  // namespace kelmora
