#include "frontend/draw_screens.h"
#include "match/match_state.h"
#include "platform/screen.h"

namespace kelmora::frontend {

namespace {

constexpr platform::Rgb kBlack{0, 0, 0};
constexpr platform::Rgb kRed{255, 0, 0};

// One option word of the display-mode row: where it lies on the sheet, and the mode that
// chooses it (also the x of its full-size place).
struct ModeWord {
  platform::Rect source;
  int16_t mode;
};
constexpr ModeWord kModeWords[] = {
    {{0, 150, 160, 50}, 80},    // 320x240
    {{0, 200, 160, 50}, 240},   // 400x300
    {{160, 150, 160, 50}, 400}, // 640x480
};

void DrawOptions(platform::Screen& s, Sheets sheets, const MatchState& st) {
  if (st.cpuOption == 1) s.Copy(sheets.menu, {160, 200, 100, 25}, {540, 10, 100, 25});
  if (st.musicOn == 0) s.Copy(sheets.menu, {160, 225, 100, 25}, {440, 10, 100, 25});
}

// The chosen stage large, the others small and centred under their large place.
void DrawStageRow(platform::Screen& s, Sheets sheets, const MatchState& st) {
  for (int k = 0; k < kStages; ++k) {
    const platform::Rect thumb{100 * k, 150, 100, 100};
    if (st.stage == k) {
      s.Copy(sheets.character, thumb, {20 + 100 * k, 350, 100, 100});
    } else {
      s.Copy(sheets.character, thumb, {45 + 100 * k, 400, 50, 50});
    }
  }
}

// The chosen word full size at y = 270, the others half size centred in their 160-wide slot.
void DrawModeRow(platform::Screen& s, Sheets sheets, const MatchState& st) {
  for (const ModeWord& w : kModeWords) {
    if (st.displayMode == w.mode) {
      s.Copy(sheets.menu, w.source, {w.mode, 270, 160, 50});
    } else {
      s.Copy(sheets.menu, w.source, {w.mode + 40, 282, 80, 25});
    }
  }
}

void DrawPortraits(platform::Screen& s, Sheets sheets, const MatchState& st) {
  for (int p = 0; p < kSeats; ++p) {
    const int n = st.playerCharacter[p];
    if (n < 0 || n >= kCharacters) continue;
    s.Copy(sheets.character, {100 * n, 0, 100, 100}, {30 + 160 * p, 70, 100, 100});
  }
}

// Seats 0 and 1 mark their face from above (left and right half), seats 2 and 3 from below;
// every seat frames its face in red, seat 0 only while its cursor is on the character row.
void DrawMarkers(platform::Screen& s, Sheets sheets, const MatchState& st) {
  for (int p = 0; p < kSeats; ++p) {
    const int n = st.playerCharacter[p];
    if (n < 0 || n >= kCharacters) continue;
    const int x = (p % 2 == 0 ? 95 : 120) + 50 * n;
    const int y = p < 2 ? 175 : 240;
    s.Copy(sheets.menu, {320, 100 + 15 * p, 25, 15}, {x, y, 25, 15});
    if (p != 0 || st.menuCursor == kRowCharacter) {
      s.OutlineRect(95 + 50 * n, 190, 144 + 50 * n, 239, kRed);
    }
  }
}

}  // namespace

void DrawMenuScreen(platform::Screen& s, Sheets sheets, const MatchState& st) {
  s.FillRect(0, 0, 640, 480, kBlack);
  s.Copy(sheets.menu, {0, 100, 320, 50}, {10, 10, 320, 50});  // Character Select
  DrawOptions(s, sheets, st);
  DrawStageRow(s, sheets, st);
  DrawModeRow(s, sheets, st);
  DrawPortraits(s, sheets, st);
  s.Copy(sheets.character, {0, 100, 450, 50}, {95, 190, 450, 50});  // the nine faces
  DrawMarkers(s, sheets, st);
  if (st.menuCursor == kRowDisplayMode) {
    s.OutlineRect(st.displayMode, 270, st.displayMode + 159, 319, kRed);
  }
  if (st.menuCursor == kRowStage) {
    s.OutlineRect(20 + 100 * st.stage, 350, 119 + 100 * st.stage, 449, kRed);
  }
}

}  // namespace kelmora::frontend
