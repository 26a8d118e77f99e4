#include "match/view/status_panels.h"

#include <algorithm>

#include "match/numbers.h"
#include "match/view/match_view.h"
#include "platform/screen.h"

namespace kelmora {

namespace {

constexpr platform::Rect kScoreColumn{320, 0, 1, 15};
constexpr platform::Rect kPowerColumn{321, 0, 1, 15};

// One size of the strip: each seat owns a quarter of it.
struct StripLayout {
  int width, height, panel, face, barX, scoreY, powerY, barHeight;
};
constexpr StripLayout kLarge{640, 50, 160, 50, 55, 5, 25, 15};
constexpr StripLayout kSmall{320, 25, 80, 25, 30, 5, 15, 10};

// How wide a seat's two bars are drawn: both stop at the edge of their own panel rather than
// running over the next seat's face and bars, and a negative power draws no bar at all.
struct BarWidths {
  int score, power;
};
BarWidths BarsOf(const StripLayout& l, bool small, int16_t score, int16_t power) {
  const int room = l.panel - l.barX;
  const int scoreWidth = small ? score + 1 : 2 * score + 1;
  const int powerWidth = small ? ToInt16(power / 2.0 + 1) : power + 1;
  return {std::clamp(scoreWidth, 0, room), std::clamp(powerWidth, 0, room)};
}

// Every column of a bar is the same sheet column, and the bars never overlap each other or the
// face, so a bar whose width changed is brought up to date by copying the columns it gained or
// clearing those it lost.
void ResizeBar(platform::Screen& screen, const platform::PictureBox& strip, SDL_Surface* sheet,
               platform::Rect column, int x, int y, int height, int from, int to) {
  if (to > from) {
    screen.CopyIn(strip, sheet, column, {x + from, y, to - from, height});
  } else if (to < from) {
    screen.FillRectIn(strip, x + to, y, x + from, y + height, {0, 0, 0});
  }
}

}  // namespace

void DrawPanels(MatchView& v, int16_t displayMode, const Seat16& character, const Seat16& score, const Seat16& power) {
  auto& screen = v.screen;
  const platform::PictureBox& strip = screen.Picture1;
  const bool small = displayMode == 80;
  const StripLayout& l = small ? kSmall : kLarge;
  StripShown& shown = v.stripShown;
  // Each seat draws only inside its own quarter, so a panel drawn alone over the strip as it
  // was left gives the pixels of the whole strip drawn again.
  const bool kept = shown.revision == screen.revision() && shown.surface == screen.surface() &&
                    shown.characterSheet == v.characterSheet && shown.menuSheet == v.menuSheet &&
                    shown.place == strip.place && shown.small == small;
  if (!kept) screen.FillRectIn(strip, 0, 0, l.width, l.height, {0, 0, 0});
  for (int s = 0; s < kSeats; ++s) {
    const int c = character[s];
    const int left = l.panel * s;
    const BarWidths bars = BarsOf(l, small, score[s], power[s]);
    if (kept) {
      const bool sameCharacter = shown.character[s] == c;
      if (sameCharacter && shown.score[s] == score[s] && shown.power[s] == power[s]) continue;
      if (sameCharacter && c >= 0 && c <= 8) {
        // The face stands as drawn: only the bars move.
        const BarWidths was = BarsOf(l, small, shown.score[s], shown.power[s]);
        ResizeBar(screen, strip, v.menuSheet, kScoreColumn, left + l.barX, l.scoreY, l.barHeight, was.score, bars.score);
        ResizeBar(screen, strip, v.menuSheet, kPowerColumn, left + l.barX, l.powerY, l.barHeight, was.power, bars.power);
        shown.score[s] = score[s];
        shown.power[s] = power[s];
        continue;
      }
      screen.FillRectIn(strip, left, 0, left + l.panel, l.height, {0, 0, 0});
    }
    shown.character[s] = static_cast<int16_t>(c);
    shown.score[s] = score[s];
    shown.power[s] = power[s];
    if (c < 0 || c > 8) continue;
    screen.CopyIn(strip, v.characterSheet, {50 * c, 100, 50, 50}, {left, 0, l.face, l.face});
    screen.CopyIn(strip, v.menuSheet, kScoreColumn, {left + l.barX, l.scoreY, bars.score, l.barHeight});
    screen.CopyIn(strip, v.menuSheet, kPowerColumn, {left + l.barX, l.powerY, bars.power, l.barHeight});
  }
  shown.revision = screen.revision();
  shown.surface = screen.surface();
  shown.characterSheet = v.characterSheet;
  shown.menuSheet = v.menuSheet;
  shown.place = strip.place;
  shown.small = small;
}


}  // namespace kelmora
