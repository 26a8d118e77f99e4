#include "platform/screen.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kelmora::platform {

namespace {
SDL_Surface* MakeSurface(int w, int h) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, kScreenPixelFormat);
  if (!s) throw std::runtime_error(std::string("cannot create the screen surface: ") + SDL_GetError());
  SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 0, 0, 0));
  return s;
}
}  // namespace

Screen::Screen() : surface_(MakeSurface(640, 480)) {}

Screen::~Screen() {
  SDL_FreeSurface(surface_);
  if (overlay_) SDL_FreeSurface(overlay_);
}

SDL_Surface* Screen::overlay() {
  if (!overlay_) {
    overlay_ = SDL_CreateRGBSurfaceWithFormat(0, kOverlayWidth, kOverlayHeight, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!overlay_) throw std::runtime_error(std::string("cannot create the overlay surface: ") + SDL_GetError());
    SDL_FillRect(overlay_, nullptr, 0);
    OverlayChanged();
  }
  return overlay_;
}

void Screen::ShowOverlay(bool shown) {
  if (shown) overlay();
  if (shown == overlayShown_) return;
  overlayShown_ = shown;
  OverlayChanged();
}

void Screen::SetMode(int width, int height) {
  if (width != surface_->w || height != surface_->h) {
    SDL_FreeSurface(surface_);
    surface_ = MakeSurface(width, height);
  }
  Clear();
}

void Screen::FillRect(int x1, int y1, int x2, int y2, Rgb c) {
  SDL_Rect r{x1, y1, x2 - x1, y2 - y1};
  if (r.w <= 0 || r.h <= 0) return;
  SDL_FillRect(surface_, &r, SDL_MapRGB(surface_->format, c.r, c.g, c.b));
  ++revision_;
}

void Screen::OutlineRect(int x1, int y1, int x2, int y2, Rgb c) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  FillRect(x1, y1, x2 + 1, y1 + 1, c);
  FillRect(x1, y2, x2 + 1, y2 + 1, c);
  FillRect(x1, y1, x1 + 1, y2 + 1, c);
  FillRect(x2, y1, x2 + 1, y2 + 1, c);
}

namespace {

// n pixels set to one value, four at a store where the machine allows.
void FillPixels(uint32_t* row, int n, uint32_t pixel) {
  int x = 0;
#if defined(__SSE2__)
  const __m128i four = _mm_set1_epi32(static_cast<int>(pixel));
  for (; x + 4 <= n; x += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(row + x), four);
#endif
  for (; x < n; ++x) row[x] = pixel;
}

// Makes the copies that SDL's blit makes by copying rows, without the blit's set-up (a few
// thousand instructions a call, more than a bar of the status strip costs to copy): a copy of
// the same size, or a one-pixel column repeated across the same height, that needs no
// conversion and no clipping. False, drawing nothing, for any other copy.
bool CopyDirect(SDL_Surface* sheet, const SDL_Rect& s, SDL_Surface* screen, const SDL_Rect& d) {
  const bool sameSize = s.w == d.w && s.h == d.h;
  const bool column = s.w == 1 && s.h == d.h;
  if (!sameSize && !column) return false;
  // Pixels taken as they are: the screen's own format, no colour key, no colour or alpha
  // modulation (the copy's blend mode is already none), nothing encoded.
  if (sheet->format->format != screen->format->format || sheet->format->BytesPerPixel != 4 ||
      (sheet->flags & SDL_RLEACCEL) != 0 || SDL_HasColorKey(sheet) || SDL_MUSTLOCK(screen)) {
    return false;
  }
  Uint8 r = 0, g = 0, b = 0, a = 0;
  SDL_GetSurfaceColorMod(sheet, &r, &g, &b);
  SDL_GetSurfaceAlphaMod(sheet, &a);
  if ((r & g & b & a) != 255) return false;
  // Wholly inside the sheet and the screen's clip rectangle: nothing to clip.
  const SDL_Rect& clip = screen->clip_rect;
  if (s.x < 0 || s.y < 0 || s.x + s.w > sheet->w || s.y + s.h > sheet->h || d.x < clip.x ||
      d.y < clip.y || d.x + d.w > clip.x + clip.w || d.y + d.h > clip.y + clip.h) {
    return false;
  }
  const auto* from = static_cast<const uint8_t*>(sheet->pixels) + s.y * sheet->pitch + s.x * 4;
  auto* to = static_cast<uint8_t*>(screen->pixels) + d.y * screen->pitch + d.x * 4;
  const size_t rowBytes = static_cast<size_t>(d.w) * 4;
  if (sameSize) {
    for (int y = 0; y < d.h; ++y, from += sheet->pitch, to += screen->pitch) std::memcpy(to, from, rowBytes);
    return true;
  }
  // A column across: each row is its one pixel repeated.
  for (int y = 0; y < d.h; ++y, from += sheet->pitch, to += screen->pitch) {
    uint32_t pixel;
    std::memcpy(&pixel, from, 4);
    FillPixels(reinterpret_cast<uint32_t*>(to), d.w, pixel);
  }
  return true;
}

}  // namespace

void Screen::Copy(SDL_Surface* sheet, Rect src, Rect dst) {
  if (!sheet || src.w <= 0 || src.h <= 0 || dst.w <= 0 || dst.h <= 0) return;
  SDL_Rect s{src.x, src.y, src.w, src.h};
  SDL_Rect d{dst.x, dst.y, dst.w, dst.h};
  SDL_SetSurfaceBlendMode(sheet, SDL_BLENDMODE_NONE);
  if (!CopyDirect(sheet, s, surface_, d)) {
    if (s.w == d.w && s.h == d.h) {
      SDL_BlitSurface(sheet, &s, surface_, &d);
    } else {
      SDL_BlitScaled(sheet, &s, surface_, &d);
    }
  }
  ++revision_;
}

void Screen::Clear() {
  SDL_FillRect(surface_, nullptr, SDL_MapRGB(surface_->format, 0, 0, 0));
  ++revision_;
}

void Screen::FillRectIn(const PictureBox& box, int x1, int y1, int x2, int y2, Rgb colour) {
  x1 = std::clamp(x1, 0, box.place.w);
  x2 = std::clamp(x2, 0, box.place.w);
  y1 = std::clamp(y1, 0, box.place.h);
  y2 = std::clamp(y2, 0, box.place.h);
  FillRect(box.place.x + x1, box.place.y + y1, box.place.x + x2, box.place.y + y2, colour);
}

void Screen::CopyIn(const PictureBox& box, SDL_Surface* sheet, Rect src, Rect dst) {
  SDL_Rect clip{box.place.x, box.place.y, box.place.w, box.place.h};
  SDL_SetClipRect(surface_, &clip);
  Copy(sheet, src, Rect{box.place.x + dst.x, box.place.y + dst.y, dst.w, dst.h});
  SDL_SetClipRect(surface_, nullptr);
}

Rgb Screen::PixelAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= surface_->w || y >= surface_->h) return {};
  const auto* row = static_cast<const uint8_t*>(surface_->pixels) + y * surface_->pitch;
  uint32_t p = reinterpret_cast<const uint32_t*>(row)[x];
  Rgb c;
  SDL_GetRGB(p, surface_->format, &c.r, &c.g, &c.b);
  return c;
}

}  // namespace kelmora::platform
