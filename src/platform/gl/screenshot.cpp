#include "platform/gl/screenshot.h"

#include <stb/stb_image_write.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/gl/gl_renderer.h"
#include "platform/screen.h"

namespace kelmora::platform {

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
  if (!screen.Picture2.visible || !view) return out;

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
  if (pic.texture == 0 || pic.rect.w <= 0 || pic.rect.h <= 0) return out;
  const std::vector<uint8_t> px = view->ReadShown();
  for (int y = 0; y < pic.rect.h; ++y) {
    const int sy = std::min(pic.height - 1, y * pic.height / pic.rect.h);
    for (int x = 0; x < pic.rect.w; ++x) {
      const int sx = std::min(pic.width - 1, x * pic.width / pic.rect.w);
      put(p2.x + pic.rect.x + x, p2.y + pic.rect.y + y, &px[(static_cast<size_t>(sy) * pic.width + sx) * 3]);
    }
  }
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
