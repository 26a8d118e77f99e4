// The title, menu and loading screens, checked pixel by pixel against coded sprite sheets:
// every sheet pixel carries its own coordinates in its colour, so a screen pixel tells which
// sheet and which sheet pixel was copied there.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <optional>

#include "frontend/draw_screens.h"
#include "match/match_state.h"
#include "platform/screen.h"

namespace kelmora {
namespace {

using frontend::Sheets;
using platform::Rgb;
using platform::Screen;

constexpr uint8_t kMenuTag = 128, kCharacterTag = 192;

// A sheet whose pixel (x, y) is (x mod 256, y mod 256, tag + x / 256 + 4 (y / 256)).
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

struct SheetPoint {
  uint8_t tag;
  int x, y;
};

// Which sheet pixel a screen pixel shows, if any.
std::optional<SheetPoint> Source(const Screen& s, int x, int y) {
  const Rgb c = s.PixelAt(x, y);
  const uint8_t tag = c.b >= kCharacterTag ? kCharacterTag : c.b >= kMenuTag ? kMenuTag : 0;
  if (tag == 0) return std::nullopt;
  const int code = c.b - tag;
  return SheetPoint{tag, c.r + 256 * (code & 3), c.g + 256 * (code >> 2)};
}

bool IsBlack(const Screen& s, int x, int y) {
  const Rgb c = s.PixelAt(x, y);
  return c.r == 0 && c.g == 0 && c.b == 0;
}
bool IsRed(const Screen& s, int x, int y) {
  const Rgb c = s.PixelAt(x, y);
  return c.r == 255 && c.g == 0 && c.b == 0;
}

// The screen pixel shows sheet pixel (sx, sy) of the sheet with `tag`, within `slack` pixels
// (scaled copies pick their source pixels by nearest neighbour).
::testing::AssertionResult Shows(const Screen& s, int x, int y, uint8_t tag, int sx, int sy, int slack = 0) {
  const auto p = Source(s, x, y);
  if (!p) return ::testing::AssertionFailure() << "(" << x << "," << y << ") shows no sheet";
  if (p->tag != tag || std::abs(p->x - sx) > slack || std::abs(p->y - sy) > slack) {
    return ::testing::AssertionFailure() << "(" << x << "," << y << ") shows " << (p->tag == kMenuTag ? "menu" : "character")
                                         << " sheet (" << p->x << "," << p->y << "), not (" << sx << "," << sy << ")";
  }
  return ::testing::AssertionSuccess();
}

class FrontEndDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    sheets.menu = CodedSheet(345, 490, kMenuTag);
    sheets.character = CodedSheet(900, 325, kCharacterTag);
    // Something left over from an earlier screen, which every screen must cover.
    screen.FillRect(0, 0, 640, 480, {0, 0, 255});
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
  Screen screen;
  Sheets sheets;
  MatchState st;
};

TEST_F(FrontEndDrawing, TitleShowsArtLogoAndTheGreyHighlightOnTheChosenWord) {
  frontend::DrawTitleScreen(screen, sheets);
  frontend::DrawTitleChoices(screen, sheets, frontend::kTitleGameStart);
  EXPECT_TRUE(Shows(screen, 160, 110, kMenuTag, 0, 250));
  EXPECT_TRUE(Shows(screen, 479, 349, kMenuTag, 319, 489));
  EXPECT_TRUE(Shows(screen, 70, 20, kCharacterTag, 0, 250));
  EXPECT_TRUE(Shows(screen, 569, 94, kCharacterTag, 499, 324));
  EXPECT_TRUE(IsBlack(screen, 5, 5));
  EXPECT_TRUE(IsBlack(screen, 600, 200));
  // Ten frames, grey 12i from the outside in, on all four sides of Game Start.
  for (int i = 0; i < 10; ++i) {
    const auto grey = static_cast<uint8_t>(12 * i);
    for (auto [x, y] : {std::pair{160 + i, 385}, {479 - i, 385}, {300, 360 + i}, {300, 409 - i}}) {
      const Rgb c = screen.PixelAt(x, y);
      EXPECT_TRUE(c.r == grey && c.g == grey && c.b == grey) << "frame " << i << " at " << x << "," << y;
    }
  }
  EXPECT_TRUE(Shows(screen, 170, 385, kMenuTag, 10, 25)) << "inside the frames the word shows";
  EXPECT_TRUE(Shows(screen, 165, 435, kMenuTag, 5, 75)) << "Exit has no frame";

  // Moving to Exit leaves no trace of the old highlight.
  frontend::DrawTitleChoices(screen, sheets, frontend::kTitleExit);
  EXPECT_TRUE(Shows(screen, 160, 385, kMenuTag, 0, 25));
  EXPECT_TRUE(Shows(screen, 300, 360, kMenuTag, 140, 0));
  EXPECT_TRUE(IsBlack(screen, 160, 435));
  EXPECT_EQ(screen.PixelAt(169, 435).r, 108);
}

TEST_F(FrontEndDrawing, AnEmptyMenuShowsHeadingRowsAndFacesOnly) {
  frontend::DrawMenuScreen(screen, sheets, st);
  EXPECT_TRUE(Shows(screen, 10, 10, kMenuTag, 0, 100));
  EXPECT_TRUE(Shows(screen, 95, 190, kCharacterTag, 0, 100));
  EXPECT_TRUE(Shows(screen, 544, 239, kCharacterTag, 449, 149));
  for (int p = 0; p < 4; ++p) EXPECT_TRUE(IsBlack(screen, 80 + 160 * p, 120)) << "portrait place " << p;
  EXPECT_TRUE(IsBlack(screen, 100, 180)) << "no marker";
  EXPECT_TRUE(IsBlack(screen, 545, 15)) << "no CPU word";
  EXPECT_TRUE(IsBlack(screen, 445, 15)) << "no NoBGM word";
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) ASSERT_FALSE(IsRed(screen, x, y)) << x << "," << y;
  }
}

TEST_F(FrontEndDrawing, TheChosenStageAndModeAreLargeTheOthersHalfSizeInTheirSlots) {
  frontend::DrawMenuScreen(screen, sheets, st);
  // Stage 1 large; stages 0 and 5 scaled to 50 x 50 under their large places.
  EXPECT_TRUE(Shows(screen, 120, 350, kCharacterTag, 100, 150));
  EXPECT_TRUE(Shows(screen, 219, 449, kCharacterTag, 199, 249));
  EXPECT_TRUE(Shows(screen, 45, 400, kCharacterTag, 0, 150, 1));
  EXPECT_TRUE(Shows(screen, 94, 449, kCharacterTag, 98, 248, 1));
  EXPECT_TRUE(Shows(screen, 570, 425, kCharacterTag, 550, 200, 1));
  EXPECT_TRUE(IsBlack(screen, 44, 400));
  EXPECT_TRUE(IsBlack(screen, 30, 360)) << "stage 0's large place stays black";
  // 400x300 full size; 320x240 and 640x480 at 80 x 25, centred.
  EXPECT_TRUE(Shows(screen, 240, 270, kMenuTag, 0, 200));
  EXPECT_TRUE(Shows(screen, 399, 319, kMenuTag, 159, 249));
  EXPECT_TRUE(Shows(screen, 120, 282, kMenuTag, 0, 150, 1));
  EXPECT_TRUE(Shows(screen, 199, 306, kMenuTag, 158, 198, 1));
  EXPECT_TRUE(Shows(screen, 440, 282, kMenuTag, 160, 150, 1));
  EXPECT_TRUE(IsBlack(screen, 100, 275));

  st.displayMode = 80;
  st.stage = 5;
  st.cpuOption = 1;
  st.musicOn = 0;
  frontend::DrawMenuScreen(screen, sheets, st);
  EXPECT_TRUE(Shows(screen, 80, 270, kMenuTag, 0, 150));
  EXPECT_TRUE(Shows(screen, 280, 282, kMenuTag, 0, 200, 1));
  EXPECT_TRUE(Shows(screen, 520, 350, kCharacterTag, 500, 150));
  EXPECT_TRUE(Shows(screen, 145, 400, kCharacterTag, 100, 150, 1));
  EXPECT_TRUE(Shows(screen, 540, 10, kMenuTag, 160, 200));
  EXPECT_TRUE(Shows(screen, 440, 10, kMenuTag, 160, 225));
}

TEST_F(FrontEndDrawing, JoinedSeatsShowPortraitsMarkersAndRedFaceFrames) {
  st.playerCharacter = {3, 3, 8, -1};  // two seats on one face
  frontend::DrawMenuScreen(screen, sheets, st);
  EXPECT_TRUE(Shows(screen, 30, 70, kCharacterTag, 300, 0));
  EXPECT_TRUE(Shows(screen, 190, 70, kCharacterTag, 300, 0));
  EXPECT_TRUE(Shows(screen, 350, 70, kCharacterTag, 800, 0));
  EXPECT_TRUE(IsBlack(screen, 560, 120)) << "seat 3 has not joined";
  // Markers: 1P and 2P above the face, left and right half; 3P below.
  EXPECT_TRUE(Shows(screen, 245, 175, kMenuTag, 320, 100));
  EXPECT_TRUE(Shows(screen, 270, 175, kMenuTag, 320, 115));
  EXPECT_TRUE(Shows(screen, 495, 240, kMenuTag, 320, 130));
  EXPECT_TRUE(IsBlack(screen, 520, 240));
  // Red frames round faces 3 and 8, the face inside untouched.
  for (auto [x, y] : {std::pair{245, 190}, {294, 239}, {245, 215}, {495, 190}, {544, 239}}) {
    EXPECT_TRUE(IsRed(screen, x, y)) << x << "," << y;
  }
  EXPECT_TRUE(Shows(screen, 246, 191, kCharacterTag, 151, 101));
  EXPECT_FALSE(IsRed(screen, 195, 215)) << "face 2 is nobody's";
}

TEST_F(FrontEndDrawing, SeatZerosRedFrameFollowsItsCursorRow) {
  st.playerCharacter = {0, -1, -1, -1};
  st.menuCursor = frontend::kRowDisplayMode;
  frontend::DrawMenuScreen(screen, sheets, st);
  EXPECT_FALSE(IsRed(screen, 95, 215)) << "no face frame off the character row";
  EXPECT_TRUE(Shows(screen, 95, 175, kMenuTag, 320, 100)) << "the marker stays";
  EXPECT_TRUE(IsRed(screen, 240, 270));
  EXPECT_TRUE(IsRed(screen, 399, 319));
  EXPECT_FALSE(IsRed(screen, 120, 350));

  st.menuCursor = frontend::kRowStage;
  frontend::DrawMenuScreen(screen, sheets, st);
  EXPECT_FALSE(IsRed(screen, 240, 270));
  EXPECT_TRUE(IsRed(screen, 120, 350));
  EXPECT_TRUE(IsRed(screen, 219, 449));
}

TEST_F(FrontEndDrawing, LoadingScreenIsBlackWithItsPictureLowerRight) {
  frontend::DrawLoadingScreen(screen, sheets, 2);
  EXPECT_TRUE(Shows(screen, 490, 330, kCharacterTag, 800, 150));
  EXPECT_TRUE(Shows(screen, 589, 429, kCharacterTag, 899, 249));
  EXPECT_TRUE(IsBlack(screen, 0, 0));
  EXPECT_TRUE(IsBlack(screen, 489, 330));
  EXPECT_TRUE(IsBlack(screen, 639, 479));
}

}  // namespace
}  // namespace kelmora
