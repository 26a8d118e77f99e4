#pragma once
// Drawing of the three front-end screens on the logical 640 x 480 screen, from the two
// sprite sheets. Each routine redraws its whole screen (or the title's choice area) from the
// state it is given; nothing here presents the picture or knows about the loops.
#include <SDL.h>

#include <cstdint>

namespace kelmora {
struct MatchState;
}
namespace kelmora::platform {
class Screen;
}

namespace kelmora::frontend {

// The sheets held by Image1 (MenuSheet, 345 x 490) and Image2 (CharacterSheet, 900 x 325).
struct Sheets {
  SDL_Surface* menu = nullptr;
  SDL_Surface* character = nullptr;
};

// Title rows: the y of the chosen word, which is also the value of menuCursor.
constexpr int16_t kTitleGameStart = 360, kTitleExit = 410;
// The nine characters and six stages of the menu's rows.
constexpr int kCharacters = 9, kStages = 6;
// Menu rows, top to bottom.
constexpr int16_t kRowCharacter = 200, kRowDisplayMode = 300, kRowStage = 400;

// Black screen, title art and logo.
void DrawTitleScreen(platform::Screen& screen, Sheets sheets);
// Game Start over Exit, with the grey ten-frame highlight on the word at y = menuCursor.
void DrawTitleChoices(platform::Screen& screen, Sheets sheets, int16_t menuCursor);
// The whole menu: heading, options, stage and display-mode rows, portraits, faces, markers
// and the red frames of the rows.
void DrawMenuScreen(platform::Screen& screen, Sheets sheets, const MatchState& st);
// Black screen with loading picture `picture` (0..2) in the lower right.
void DrawLoadingScreen(platform::Screen& screen, Sheets sheets, int picture);

}  // namespace kelmora::frontend
