#include "platform/screen.h"

#include <algorithm>
#include <stdexcept>
#include <string>

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

Screen::~Screen() { SDL_FreeSurface(surface_); }

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

void Screen::Copy(SDL_Surface* sheet, Rect src, Rect dst) {
  if (!sheet || src.w <= 0 || src.h <= 0 || dst.w <= 0 || dst.h <= 0) return;
  SDL_Rect s{src.x, src.y, src.w, src.h};
  SDL_Rect d{dst.x, dst.y, dst.w, dst.h};
  SDL_SetSurfaceBlendMode(sheet, SDL_BLENDMODE_NONE);
  if (s.w == d.w && s.h == d.h) {
    SDL_BlitSurface(sheet, &s, surface_, &d);
  } else {
    SDL_BlitScaled(sheet, &s, surface_, &d);
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
