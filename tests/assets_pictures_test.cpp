// The generated pictures: sprite-sheet cells show what the menu and the panels expect of
// them (distinct characters, the right colours), and the message textures keep their words
// whole inside the transparent border.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>

#include <SDL.h>

#include "test_dirs.h"
#include "resources/sprite_sheets.h"

namespace {

namespace fs = std::filesystem;

struct Rgb {
  double r = 0, g = 0, b = 0;
};

Rgb PixelAt(SDL_Surface* s, int x, int y) {
  Uint8 r, g, b;
  Uint32 v = 0;
  std::memcpy(&v, static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel,
              s->format->BytesPerPixel);
  SDL_GetRGB(v, s->format, &r, &g, &b);
  return {static_cast<double>(r), static_cast<double>(g), static_cast<double>(b)};
}

// Mean colour of the pixels in a rectangle that are not black.
Rgb MeanLit(SDL_Surface* s, int x0, int y0, int w, int h) {
  Rgb sum;
  int n = 0;
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) {
      const Rgb p = PixelAt(s, x, y);
      if (p.r + p.g + p.b < 30) continue;
      sum.r += p.r, sum.g += p.g, sum.b += p.b, ++n;
    }
  if (n) sum.r /= n, sum.g /= n, sum.b /= n;
  return sum;
}

// Mean absolute difference of two equal-sized cells, per channel, 0..255.
double CellDifference(SDL_Surface* s, int ax, int ay, int bx, int by, int w, int h) {
  double d = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const Rgb a = PixelAt(s, ax + x, ay + y), b = PixelAt(s, bx + x, by + y);
      d += std::fabs(a.r - b.r) + std::fabs(a.g - b.g) + std::fabs(a.b - b.b);
    }
  return d / (3.0 * w * h);
}

struct Sheet {
  SDL_Surface* s;
  ~Sheet() { SDL_FreeSurface(s); }
};

}  // namespace

TEST(SpriteSheets, EveryPortraitFaceAndThumbnailShowsSomethingOfItsOwn) {
  Sheet sheet{kelmora::resources::LoadCharacterSheet()};
  SDL_Surface* s = sheet.s;
  for (int a = 0; a < 9; ++a)
    for (int b = a + 1; b < 9; ++b) {
      EXPECT_GT(CellDifference(s, 100 * a, 0, 100 * b, 0, 100, 100), 6.0) << "portraits " << a << " and " << b;
      EXPECT_GT(CellDifference(s, 50 * a, 100, 50 * b, 100, 50, 50), 10.0) << "faces " << a << " and " << b;
    }
  for (int a = 0; a < 6; ++a)
    for (int b = a + 1; b < 6; ++b)
      EXPECT_GT(CellDifference(s, 100 * a, 150, 100 * b, 150, 100, 100), 10.0) << "stages " << a << " and " << b;
  for (int a = 0; a < 3; ++a)
    for (int b = a + 1; b < 3; ++b)
      EXPECT_GT(CellDifference(s, 600 + 100 * a, 150, 600 + 100 * b, 150, 100, 100), 5.0) << "loading " << a << " and " << b;
}

TEST(SpriteSheets, FacesShowTheCharactersColours) {
  Sheet sheet{kelmora::resources::LoadCharacterSheet()};
  SDL_Surface* s = sheet.s;
  // the centre of each face: bear brown, fox orange, pig pink, mouse light grey
  auto centre = [&](int n) { return MeanLit(s, 50 * n + 15, 115, 20, 20); };
  const Rgb bear = centre(0), fox = centre(1), pig = centre(2), mouse = centre(8);
  EXPECT_GT(bear.r, bear.b + 40);
  EXPECT_GT(fox.r, fox.g + 40);
  EXPECT_GT(fox.g, fox.b + 20);
  EXPECT_GT(pig.r, 200);
  EXPECT_GT(pig.b, pig.g);
  EXPECT_GT(mouse.r + mouse.g + mouse.b, 480);
  EXPECT_LT(std::fabs(mouse.r - mouse.b), 40);
}

TEST(SpriteSheets, MenuWordsAndMarkersHaveTheirColours) {
  Sheet sheet{kelmora::resources::LoadMenuSheet()};
  SDL_Surface* s = sheet.s;
  const Rgb start = MeanLit(s, 0, 0, 320, 50);
  EXPECT_GT(start.r, start.g + 60) << "Game Start is red";
  const Rgb heading = MeanLit(s, 0, 100, 320, 50);
  EXPECT_GT(heading.r, 180);
  EXPECT_GT(heading.g, 120);
  EXPECT_LT(heading.b, 120) << "Character Select is yellow";
  const Rgb small = MeanLit(s, 0, 150, 160, 50), big = MeanLit(s, 160, 150, 160, 50), mid = MeanLit(s, 0, 200, 160, 50);
  EXPECT_GT(small.r, small.b + 80) << "320x240 yellow";
  EXPECT_GT(big.b, big.r + 80) << "640x480 cyan";
  EXPECT_GT(mid.g, mid.r + 60) << "400x300 green";
  const Rgb cpuCorner = PixelAt(s, 161, 201);
  EXPECT_EQ(cpuCorner.r, 0);
  EXPECT_GT(cpuCorner.b, 100) << "CPU sits on dark blue";
  const Rgb ball[4] = {MeanLit(s, 320, 101, 12, 13), MeanLit(s, 320, 116, 12, 13), MeanLit(s, 320, 131, 12, 13),
                       MeanLit(s, 320, 146, 12, 13)};
  EXPECT_GT(ball[0].r, ball[0].g + 60) << "1P red";
  EXPECT_GT(ball[1].b, ball[1].r + 60) << "2P blue";
  EXPECT_GT(ball[2].g, ball[2].r + 60) << "3P green";
  EXPECT_GT(ball[3].r + ball[3].g, 2 * ball[3].b + 150) << "4P yellow";
  const Rgb powerMid = PixelAt(s, 321, 7), powerEnd = PixelAt(s, 321, 0);
  EXPECT_GT(powerMid.r + powerMid.g, 450);
  EXPECT_LT(powerEnd.b, powerEnd.r) << "the power bar is yellow";
}

TEST(Textures, MessageWordsStayWholeInsideATransparentBorder) {
  for (const char* t : {"hurry", "1pwin", "2pwin", "3pwin", "4pwin", "draw"}) {
    SDL_Surface* s = SDL_LoadBMP((kBuild / "tex" / (std::string(t) + ".bmp")).string().c_str());
    ASSERT_NE(s, nullptr) << t;
    EXPECT_EQ(s->w, 512);
    EXPECT_EQ(s->h, 128);
    for (int x = 0; x < s->w; ++x) {
      const Rgb top = PixelAt(s, x, 0), bottom = PixelAt(s, x, s->h - 1);
      EXPECT_EQ(top.r + top.g + top.b, 0) << t << " cut at the top, column " << x;
      EXPECT_EQ(bottom.r + bottom.g + bottom.b, 0) << t << " cut at the bottom, column " << x;
    }
    for (int y = 0; y < s->h; ++y) {
      const Rgb left = PixelAt(s, 0, y), right = PixelAt(s, s->w - 1, y);
      EXPECT_EQ(left.r + left.g + left.b + right.r + right.g + right.b, 0) << t << " cut at a side, row " << y;
    }
    SDL_FreeSurface(s);
  }
}

TEST(Textures, WinnerMessagesWearTheSeatColours) {
  const char* names[4] = {"1pwin", "2pwin", "3pwin", "4pwin"};
  std::array<Rgb, 4> mean;
  for (int p = 0; p < 4; ++p) {
    SDL_Surface* s = SDL_LoadBMP((kBuild / "tex" / names[p]).replace_extension(".bmp").string().c_str());
    ASSERT_NE(s, nullptr);
    // the letters' middle band, where the fill shows between the outlines
    mean[p] = MeanLit(s, 40, 60, 432, 12);
    SDL_FreeSurface(s);
  }
  EXPECT_GT(mean[0].r, mean[0].b + 40) << "1P red";
  EXPECT_GT(mean[1].b, mean[1].r + 40) << "2P blue";
  EXPECT_GT(mean[2].g, mean[2].r + 30) << "3P green";
  EXPECT_GT(mean[3].g, mean[3].b + 60) << "4P yellow";
}
