#pragma once
// The status strip under the 3D view.
#include <SDL.h>

#include <array>
#include <cstdint>

#include "match/match_state.h"
#include "platform/screen.h"

namespace kelmora {
struct MatchView;

// What the status strip last showed. While nothing else has drawn on the screen since, only
// the panels of seats whose character, score or gauge changed are drawn again.
struct StripShown {
  uint64_t revision = 0;  // the screen's revision after the strip was drawn
  const SDL_Surface* surface = nullptr;
  const SDL_Surface* characterSheet = nullptr;
  const SDL_Surface* menuSheet = nullptr;
  platform::Rect place;
  bool small = false;
  std::array<int16_t, kSeats> character{}, score{}, power{};
};

// Brings the status strip up to date with these characters, scores and gauges in the display
// mode: the same pixels as drawing it whole, drawing only the panels that changed.
void DrawPanels(MatchView& v, int16_t displayMode, const Seat16& character, const Seat16& score, const Seat16& power);

}  // namespace kelmora
