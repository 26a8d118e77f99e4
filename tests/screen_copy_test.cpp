// Copies from a sprite sheet onto the screen: the ones the screen makes itself (same size, or
// a one-pixel column across, with nothing to clip) must leave exactly the pixels SDL's blit
// leaves, and every other copy is SDL's own.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>
#include <random>

#include "platform/screen.h"

namespace kelmora {
namespace {

// Random bytes in every pixel, the unused fourth byte too.
void Scramble(SDL_Surface* s, std::mt19937& rng) {
  for (int y = 0; y < s->h; ++y) {
    auto* row = static_cast<uint32_t*>(static_cast<void*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch));
    for (int x = 0; x < s->w; ++x) row[x] = static_cast<uint32_t>(rng());
  }
}

// The first pixel where the two surfaces differ, as "(x, y)", or "" when none does.
std::string FirstDifference(const SDL_Surface* a, const SDL_Surface* b) {
  for (int y = 0; y < a->h; ++y) {
    const auto* ra = static_cast<const uint8_t*>(a->pixels) + y * a->pitch;
    const auto* rb = static_cast<const uint8_t*>(b->pixels) + y * b->pitch;
    for (int x = 0; x < a->w; ++x) {
      if (std::memcmp(ra + 4 * x, rb + 4 * x, 4) != 0) return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
    }
  }
  return "";
}

TEST(ScreenCopy, EveryKindOfCopyLeavesTheSamePixelsAsSdlsBlit) {
  std::mt19937 rng(20261209);
  platform::Screen screen;
  SDL_Surface* sheet = SDL_CreateRGBSurfaceWithFormat(0, 330, 200, 32, platform::kScreenPixelFormat);
  SDL_Surface* expected = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, platform::kScreenPixelFormat);
  ASSERT_TRUE(sheet && expected);
  Scramble(sheet, rng);
  Scramble(screen.surface(), rng);
  SDL_BlitSurface(screen.surface(), nullptr, expected, nullptr);
  ASSERT_EQ(FirstDifference(screen.surface(), expected), "");

  auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int i = 0; i < 3000; ++i) {
    // Now and then a sheet whose pixels are not taken as they are.
    const int oddSheet = i % 100 == 7 ? pick(1, 3) : 0;
    SDL_SetColorKey(sheet, oddSheet == 1 ? SDL_TRUE : SDL_FALSE, SDL_MapRGB(sheet->format, 0, 0, 0));
    SDL_SetSurfaceColorMod(sheet, 255, oddSheet == 2 ? 128 : 255, 255);
    SDL_SetSurfaceAlphaMod(sheet, oddSheet == 3 ? 100 : 255);

    // A box on the screen (sometimes past its edges), and a copy inside it or over its edges,
    // from a rectangle inside the sheet or over its edges.
    const platform::PictureBox box{{pick(-20, 400), pick(-20, 300), pick(1, 300), pick(1, 200)}, true};
    const bool inside = pick(0, 2) != 0;
    const int w = pick(1, inside ? std::min(box.place.w, 120) : 150);
    const int h = pick(1, inside ? std::min(box.place.h, 60) : 80);
    const platform::Rect dst{inside ? pick(0, box.place.w - w) : pick(-40, box.place.w + 10),
                             inside ? pick(0, box.place.h - h) : pick(-40, box.place.h + 10), w, h};
    platform::Rect src;
    switch (pick(0, 3)) {
      case 0: src = {0, 0, w, h}; break;  // same size
      case 1: src = {0, 0, 1, h}; break;  // a column across
      case 2: src = {0, 0, 1, pick(1, 80)}; break;  // a column stretched both ways
      default: src = {0, 0, pick(1, 120), pick(1, 80)}; break;
    }
    const bool inSheet = pick(0, 3) != 0;
    src.x = inSheet ? pick(0, sheet->w - src.w) : pick(-10, sheet->w);
    src.y = inSheet ? pick(0, sheet->h - src.h) : pick(-10, sheet->h);

    screen.CopyIn(box, sheet, src, dst);
    SDL_Rect clip{box.place.x, box.place.y, box.place.w, box.place.h};
    SDL_Rect s{src.x, src.y, src.w, src.h};
    SDL_Rect d{box.place.x + dst.x, box.place.y + dst.y, dst.w, dst.h};
    SDL_SetClipRect(expected, &clip);
    SDL_SetSurfaceBlendMode(sheet, SDL_BLENDMODE_NONE);
    if (s.w == d.w && s.h == d.h) {
      SDL_BlitSurface(sheet, &s, expected, &d);
    } else {
      SDL_BlitScaled(sheet, &s, expected, &d);
    }
    SDL_SetClipRect(expected, nullptr);
    const std::string at = FirstDifference(screen.surface(), expected);
    ASSERT_EQ(at, "") << "copy " << i << ": sheet (" << src.x << ", " << src.y << ", " << src.w << ", " << src.h
                      << ") to (" << dst.x << ", " << dst.y << ", " << dst.w << ", " << dst.h << ") in box ("
                      << box.place.x << ", " << box.place.y << ", " << box.place.w << ", " << box.place.h
                      << "), odd sheet " << oddSheet;
  }
  SDL_FreeSurface(sheet);
  SDL_FreeSurface(expected);
}

}  // namespace
}  // namespace kelmora
