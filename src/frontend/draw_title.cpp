#include "frontend/draw_screens.h"
#include "platform/screen.h"

namespace kelmora::frontend {

namespace {
constexpr platform::Rgb kBlack{0, 0, 0};
constexpr int kHighlightFrames = 10;
constexpr int kGreyStep = 12;
}  // namespace

void DrawTitleScreen(platform::Screen& screen, Sheets sheets) {
  screen.FillRect(0, 0, 640, 480, kBlack);
  screen.Copy(sheets.menu, {0, 250, 320, 240}, {160, 110, 320, 240});      // title art
  screen.Copy(sheets.character, {0, 250, 500, 75}, {70, 20, 500, 75});     // logo
}

void DrawTitleChoices(platform::Screen& screen, Sheets sheets, int16_t menuCursor) {
  // The two words are copied afresh, which also wipes the old highlight.
  screen.Copy(sheets.menu, {0, 0, 320, 100}, {160, kTitleGameStart, 320, 100});
  // Ten nested frames over the chosen word's edge, black outside to grey 108 inside.
  const int y = menuCursor;
  for (int i = 0; i < kHighlightFrames; ++i) {
    const auto grey = static_cast<uint8_t>(kGreyStep * i);
    screen.OutlineRect(160 + i, y + i, 479 - i, y + 49 - i, {grey, grey, grey});
  }
}

}  // namespace kelmora::frontend
