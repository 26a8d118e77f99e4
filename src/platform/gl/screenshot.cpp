#include "platform/gl/screenshot.h"

#include <stb/stb_image_write.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/gl/gl_renderer.h"
#include "platform/screen.h"

namespace kelmora::platform {

namespace {

// Lays the overlay over the composed screen: each pixel of the screen takes the mean of the
// overlay's pixels over it (their colours weighed by their alpha), in whole numbers.
void LayOverlay(const Screen& screen, std::vector<uint8_t>& out) {
  const SDL_Surface* o = screen.overlayMade();
  if (!screen.overlayShown() || !o) return;
  const int w = screen.width(), h = screen.height();
  for (int y = 0; y < h; ++y) {
    const int oy0 = y * o->h / h, oy1 = std::max(oy0 + 1, (y + 1) * o->h / h);
    for (int x = 0; x < w; ++x) {
      const int ox0 = x * o->w / w, ox1 = std::max(ox0 + 1, (x + 1) * o->w / w);
      uint64_t alpha = 0, colour[3] = {0, 0, 0}, n = 0;
      for (int oy = oy0; oy < oy1; ++oy) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(o->pixels) + oy * o->pitch);
        for (int ox = ox0; ox < ox1; ++ox, ++n) {
          const uint32_t p = row[ox], a = p >> 24;
          alpha += a;
          for (int k = 0; k < 3; ++k) colour[k] += ((p >> (16 - 8 * k)) & 0xFF) * a;
        }
      }
      if (alpha == 0) continue;
      uint8_t* px = &out[(static_cast<size_t>(y) * w + x) * 3];
      const uint64_t whole = 255 * n;
      for (int k = 0; k < 3; ++k) px[k] = static_cast<uint8_t>((px[k] * (whole - alpha) + colour[k] + whole / 2) / whole);
    }
  }
}

}  // namespace

std::vector<uint8_t> ComposeScreen(const Screen& screen, const GlRenderer* view) {
  const int w = screen.width(), h = screen.height();
  std::vector<uint8_t> out(static_cast<size_t>(w) * h * 3);
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(screen.surface(), SDL_PIXELFORMAT_RGB24, 0);
  if (rgb) {
    SDL_LockSurface(rgb);
    for (int y = 0; y < h; ++y) {
      const auto* row = static_cast<const uint8_t*>(rgb->pixels) + static_cast<size_t>(y) * rgb->pitch;
      std::copy(row, row + w * 3, out.begin() + static_cast<size_t>(y) * w * 3);
    }
    SDL_UnlockSurface(rgb);
    SDL_FreeSurface(rgb);
  }
  if (!screen.Picture2.visible || !view) {
    LayOverlay(screen, out);
    return out;
  }

  const Rect p2 = screen.Picture2.place;
  auto put = [&](int x, int y, const uint8_t* c) {
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    std::memcpy(&out[(static_cast<size_t>(y) * w + x) * 3], c, 3);
  };
  const uint8_t black[3] = {0, 0, 0};
  for (int y = p2.y; y < p2.y + p2.h; ++y) {
    for (int x = p2.x; x < p2.x + p2.w; ++x) put(x, y, black);
  }
  const GlRenderer::Picture pic = view->shown();
  if (pic.texture != 0 && pic.rect.w > 0 && pic.rect.h > 0) {
    const std::vector<uint8_t> px = view->ReadShown();
    for (int y = 0; y < pic.rect.h; ++y) {
      const int sy = std::min(pic.height - 1, y * pic.height / pic.rect.h);
      for (int x = 0; x < pic.rect.w; ++x) {
        const int sx = std::min(pic.width - 1, x * pic.width / pic.rect.w);
        put(p2.x + pic.rect.x + x, p2.y + pic.rect.y + y, &px[(static_cast<size_t>(sy) * pic.width + sx) * 3]);
      }
    }
  }
  LayOverlay(screen, out);
  return out;
}

bool WriteScreenshot(const Screen& screen, const GlRenderer* view, const std::string& file,
                     std::string& why) {
  const std::vector<uint8_t> px = ComposeScreen(screen, view);
  errno = 0;
  if (!stbi_write_png(file.c_str(), screen.width(), screen.height(), 3, px.data(), screen.width() * 3)) {
    why = errno ? std::strerror(errno) : "cannot write the file";
    return false;
  }
  return true;
}

}  // namespace kelmora::platform
