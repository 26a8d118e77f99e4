// The title, menu and loading screens, checked against coded sprite sheets: every sheet
// pixel carries its sheet and coordinates in its colour, so a screen pixel tells what was
// copied there.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>

#include "frontend/draw_screens.h"
#include "match/match_state.h"
#include "platform/screen.h"

namespace kelmora {
namespace {

constexpr uint8_t kMenu = 128, kChar = 192;  // blue channel bases of the two sheets

// Pixel (x, y) of a sheet is (x mod 256, y mod 256, tag + x / 256 + 4 (y / 256)).
SDL_Surface* CodedSheet(int w, int h, uint8_t tag) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 24, SDL_PIXELFORMAT_RGB24);
  for (int y = 0; y < h; ++y) {
    auto* row = static_cast<uint8_t*>(s->pixels) + y * s->pitch;
    for (int x = 0; x < w; ++x) {
      row[3 * x] = static_cast<uint8_t>(x & 255);
      row[3 * x + 1] = static_cast<uint8_t>(y & 255);
      row[3 * x + 2] = static_cast<uint8_t>(tag + (x >> 8) + 4 * (y >> 8));
    }
  }
  return s;
}

class FrontEndDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    screen.FillRect(0, 0, 640, 480, {0, 0, 255});  // an earlier screen, to be covered
    st.playerCharacter = {-1, -1, -1, -1};
    st.displayMode = 240;
    st.stage = 1;
    st.musicOn = 1;
    st.menuCursor = frontend::kRowCharacter;
  }
  void TearDown() override {
    SDL_FreeSurface(sheets.menu);
    SDL_FreeSurface(sheets.character);
  }
  // The screen pixel shows sheet pixel (sx, sy), within `slack` (scaled copies sample by
  // nearest neighbour).
  ::testing::AssertionResult Shows(int x, int y, uint8_t tag, int sx, int sy, int slack = 0) const {
    const platform::Rgb c = screen.PixelAt(x, y);
    const int code = c.b - tag;
    const int px = c.r + 256 * (code & 3), py = c.g + 256 * (code >> 2);
    if (code < 0 || code >= 64 || std::abs(px - sx) > slack || std::abs(py - sy) > slack) {
      return ::testing::AssertionFailure() << "(" << x << "," << y << ") shows rgb " << +c.r << "," << +c.g << "," << +c.b;
    }
    return ::testing::AssertionSuccess();
  }
  bool Is(int x, int y, uint8_t r, uint8_t g, uint8_t b) const {
    const platform::Rgb c = screen.PixelAt(x, y);
    return c.r == r && c.g == g && c.b == b;
  }
  bool Black(int x, int y) const { return Is(x, y, 0, 0, 0); }
  bool Red(int x, int y) const { return Is(x, y, 255, 0, 0); }

  platform::Screen screen;
  frontend::Sheets sheets{CodedSheet(345, 490, kMenu), CodedSheet(900, 325, kChar)};
  MatchState st;
};

TEST_F(FrontEndDrawing, TitleHighlightIsTenGreyFramesThatMoveWithoutATrace) {
  frontend::DrawTitleScreen(screen, sheets);
  frontend::DrawTitleChoices(screen, sheets, frontend::kTitleGameStart);
  EXPECT_TRUE(Shows(479, 349, kMenu, 319, 489));  // title art
  EXPECT_TRUE(Shows(70, 20, kChar, 0, 250));      // logo
  EXPECT_TRUE(Black(600, 200));
  for (int i = 0; i < 10; ++i) {
    const auto grey = static_cast<uint8_t>(12 * i);
    EXPECT_TRUE(Is(160 + i, 385, grey, grey, grey) && Is(479 - i, 385, grey, grey, grey) &&
                Is(300, 360 + i, grey, grey, grey) && Is(300, 409 - i, grey, grey, grey))
        << "frame " << i;
  }
  EXPECT_TRUE(Shows(170, 385, kMenu, 10, 25));
  frontend::DrawTitleChoices(screen, sheets, frontend::kTitleExit);
  EXPECT_TRUE(Shows(160, 385, kMenu, 0, 25));
  EXPECT_TRUE(Shows(300, 360, kMenu, 140, 0));
  EXPECT_TRUE(Is(169, 435, 108, 108, 108));
}

TEST_F(FrontEndDrawing, ChosenStageAndModeAreLargeTheOthersHalfSizeInTheirSlots) {
  frontend::DrawMenuScreen(screen, sheets, st);
  EXPECT_TRUE(Shows(10, 10, kMenu, 0, 100));       // heading
  EXPECT_TRUE(Shows(544, 239, kChar, 449, 149));   // the nine faces
  EXPECT_TRUE(Black(80, 120)) << "no portrait";
  EXPECT_TRUE(Black(545, 15)) << "no CPU word";
  EXPECT_TRUE(Black(445, 15)) << "no NoBGM word";
  EXPECT_TRUE(Shows(120, 350, kChar, 100, 150));
  EXPECT_TRUE(Shows(219, 449, kChar, 199, 249));
  EXPECT_TRUE(Shows(45, 400, kChar, 0, 150, 1));
  EXPECT_TRUE(Shows(94, 449, kChar, 98, 248, 1));
  EXPECT_TRUE(Black(30, 360)) << "stage 0's large place";
  EXPECT_TRUE(Shows(240, 270, kMenu, 0, 200));     // 400x300 full size
  EXPECT_TRUE(Shows(120, 282, kMenu, 0, 150, 1));  // 320x240 small
  EXPECT_TRUE(Shows(199, 306, kMenu, 158, 198, 1));
  EXPECT_TRUE(Shows(440, 282, kMenu, 160, 150, 1));  // 640x480 small

  st.displayMode = 80;
  st.stage = 5;
  st.cpuOption = 1;
  st.musicOn = 0;
  frontend::DrawMenuScreen(screen, sheets, st);
  EXPECT_TRUE(Shows(80, 270, kMenu, 0, 150));
  EXPECT_TRUE(Shows(280, 282, kMenu, 0, 200, 1));
  EXPECT_TRUE(Shows(520, 350, kChar, 500, 150));
  EXPECT_TRUE(Shows(540, 10, kMenu, 160, 200));
  EXPECT_TRUE(Shows(440, 10, kMenu, 160, 225));
}

TEST_F(FrontEndDrawing, SeatsShowPortraitsMarkersAndRedFramesThatFollowSeatZerosRow) {
  st.playerCharacter = {3, 3, 8, -1};  // two seats on one face
  frontend::DrawMenuScreen(screen, sheets, st);
  EXPECT_TRUE(Shows(190, 70, kChar, 300, 0));
  EXPECT_TRUE(Shows(350, 70, kChar, 800, 0));
  EXPECT_TRUE(Black(560, 120)) << "seat 3 has not joined";
  EXPECT_TRUE(Shows(245, 175, kMenu, 320, 100));  // 1P above, left half
  EXPECT_TRUE(Shows(270, 175, kMenu, 320, 115));  // 2P above, right half
  EXPECT_TRUE(Shows(495, 240, kMenu, 320, 130));  // 3P below
  EXPECT_TRUE(Red(245, 190) && Red(294, 239) && Red(495, 190) && Red(544, 239));
  EXPECT_TRUE(Shows(246, 191, kChar, 151, 101)) << "the face inside the frame";

  st.playerCharacter = {0, -1, -1, -1};
  st.menuCursor = frontend::kRowDisplayMode;
  frontend::DrawMenuScreen(screen, sheets, st);
  EXPECT_FALSE(Red(95, 215)) << "no face frame off the character row";
  EXPECT_TRUE(Red(240, 270) && Red(399, 319));
  st.menuCursor = frontend::kRowStage;
  frontend::DrawMenuScreen(screen, sheets, st);
  EXPECT_FALSE(Red(240, 270));
  EXPECT_TRUE(Red(120, 350) && Red(219, 449));
}

TEST_F(FrontEndDrawing, LoadingScreenIsBlackWithItsPictureLowerRight) {
  frontend::DrawLoadingScreen(screen, sheets, 2);
  EXPECT_TRUE(Shows(490, 330, kChar, 800, 150));
  EXPECT_TRUE(Shows(589, 429, kChar, 899, 249));
  EXPECT_TRUE(Black(0, 0) && Black(489, 330) && Black(639, 479));
}

}  // namespace
}  // namespace kelmora
