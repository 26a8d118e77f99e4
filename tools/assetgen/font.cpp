#include "font.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <stb_truetype.h>

namespace assetgen {

namespace {

const char* const kFontPaths[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/local/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/TTF/DejaVuSans-Bold.ttf",
};

struct LoadedFont {
  std::vector<unsigned char> data;
  stbtt_fontinfo info{};
  LoadedFont() {
    for (const char* path : kFontPaths) {
      std::ifstream f(path, std::ios::binary);
      if (!f) continue;
      data.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
      if (stbtt_InitFont(&info, data.data(), stbtt_GetFontOffsetForIndex(data.data(), 0))) return;
      throw std::runtime_error(std::string("cannot read the font ") + path);
    }
    throw std::runtime_error("font DejaVuSans-Bold.ttf not found (install fonts-dejavu-core)");
  }
};

const LoadedFont& TheFont() {
  static const LoadedFont font;
  return font;
}

std::vector<int> Decode(const std::string& s) {
  std::vector<int> out;
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    int cp = c, extra = 0;
    if (c >= 0xF0) cp = c & 0x07, extra = 3;
    else if (c >= 0xE0) cp = c & 0x0F, extra = 2;
    else if (c >= 0xC0) cp = c & 0x1F, extra = 1;
    ++i;
    for (int k = 0; k < extra && i < s.size(); ++k, ++i) cp = (cp << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
    out.push_back(cp);
  }
  return out;
}

struct Mask {
  int w = 0, h = 0;
  std::vector<float> a;
  float At(int x, int y) const { return (x < 0 || y < 0 || x >= w || y >= h) ? 0.0f : a[static_cast<size_t>(y) * w + x]; }
};

// The text's coverage at a pixel height, with `pad` empty pixels round it.
Mask Render(const std::vector<int>& cps, float height, int pad) {
  const stbtt_fontinfo& f = TheFont().info;
  const float scale = stbtt_ScaleForPixelHeight(&f, height);
  int ascent, descent, gap;
  stbtt_GetFontVMetrics(&f, &ascent, &descent, &gap);
  float width = 0;
  for (size_t i = 0; i < cps.size(); ++i) {
    int adv, lsb;
    stbtt_GetCodepointHMetrics(&f, cps[i], &adv, &lsb);
    width += static_cast<float>(adv) * scale;
    if (i + 1 < cps.size()) width += static_cast<float>(stbtt_GetCodepointKernAdvance(&f, cps[i], cps[i + 1])) * scale;
  }
  Mask m;
  m.w = static_cast<int>(std::ceil(width)) + 2 * pad + 2;
  m.h = static_cast<int>(std::ceil(static_cast<float>(ascent - descent) * scale)) + 2 * pad;
  m.a.assign(static_cast<size_t>(m.w) * m.h, 0.0f);
  const int baseline = pad + static_cast<int>(std::lround(static_cast<float>(ascent) * scale));
  float pen = static_cast<float>(pad);
  for (size_t i = 0; i < cps.size(); ++i) {
    int gw, gh, xo, yo;
    const float shift = pen - std::floor(pen);
    unsigned char* bmp = stbtt_GetCodepointBitmapSubpixel(&f, scale, scale, shift, 0, cps[i], &gw, &gh, &xo, &yo);
    for (int y = 0; y < gh; ++y)
      for (int x = 0; x < gw; ++x) {
        const int px = static_cast<int>(std::floor(pen)) + xo + x, py = baseline + yo + y;
        if (px < 0 || py < 0 || px >= m.w || py >= m.h) continue;
        float& dst = m.a[static_cast<size_t>(py) * m.w + px];
        dst = std::min(1.0f, dst + bmp[y * gw + x] / 255.0f);
      }
    stbtt_FreeBitmap(bmp, nullptr);
    int adv, lsb;
    stbtt_GetCodepointHMetrics(&f, cps[i], &adv, &lsb);
    pen += static_cast<float>(adv) * scale;
    if (i + 1 < cps.size()) pen += static_cast<float>(stbtt_GetCodepointKernAdvance(&f, cps[i], cps[i + 1])) * scale;
  }
  return m;
}

// The mask grown by `radius` pixels, with a soft edge.
Mask Grow(const Mask& m, float radius) {
  Mask out = m;
  const int r = static_cast<int>(std::ceil(radius));
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x) {
      float best = 0;
      for (int dy = -r; dy <= r && best < 1.0f; ++dy)
        for (int dx = -r; dx <= r; ++dx) {
          const float a = m.At(x + dx, y + dy);
          if (a <= best) continue;
          const float d = std::sqrt(static_cast<float>(dx * dx + dy * dy));
          best = std::max(best, a * std::clamp(radius + 0.5f - d, 0.0f, 1.0f));
        }
      out.a[static_cast<size_t>(y) * m.w + x] = best;
    }
  return out;
}

uint8_t Byte(float v) { return static_cast<uint8_t>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); }

void Over(Image& img, int x, int y, glm::vec3 c, float a) {
  if (a <= 0.0f || x < 0 || y < 0 || x >= img.width || y >= img.height) return;
  uint8_t* p = &img.rgb[(static_cast<size_t>(y) * img.width + x) * 3];
  const glm::vec3 old(p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f);
  const glm::vec3 mix = old + (c - old) * std::min(a, 1.0f);
  p[0] = Byte(mix.r);
  p[1] = Byte(mix.g);
  p[2] = Byte(mix.b);
}

}  // namespace

void DrawText(Image& image, const std::string& text, int x, int y, int w, int h, TextStyle s) {
  const std::vector<int> cps = Decode(text);
  const int pad = static_cast<int>(std::ceil(std::max(s.outlineWidth, s.outerWidth))) + 1;
  Mask m = Render(cps, s.height, pad);
  if (m.w > w || m.h > h + 2 * pad) {  // shrink to fit
    const float k = std::min(static_cast<float>(w) / static_cast<float>(m.w),
                             static_cast<float>(h + 2 * pad) / static_cast<float>(m.h));
    s.height *= k;
    s.outlineWidth *= std::max(k, 0.6f);
    s.outerWidth *= std::max(k, 0.6f);
    m = Render(cps, s.height, pad);
  }
  const Mask inner = s.outlineWidth > 0 ? Grow(m, s.outlineWidth) : Mask();
  const Mask outer = s.outerWidth > 0 ? Grow(m, s.outerWidth) : Mask();
  const int ox = x + (w - m.w) / 2, oy = y + (h - m.h) / 2;
  // the letters' own vertical extent, for the fill gradient
  int top = m.h, bottom = 0;
  for (int yy = 0; yy < m.h; ++yy)
    for (int xx = 0; xx < m.w; ++xx)
      if (m.At(xx, yy) > 0.0f) top = std::min(top, yy), bottom = std::max(bottom, yy);
  for (int yy = 0; yy < m.h; ++yy) {
    const float t = bottom > top ? std::clamp(static_cast<float>(yy - top) / static_cast<float>(bottom - top), 0.0f, 1.0f) : 0.0f;
    const glm::vec3 fill = s.fillTop + (s.fillBottom - s.fillTop) * t;
    for (int xx = 0; xx < m.w; ++xx) {
      const int px = ox + xx, py = oy + yy;
      if (px < x || py < y || px >= x + w || py >= y + h) continue;
      if (s.outerWidth > 0) Over(image, px, py, s.outerOutline, outer.At(xx, yy));
      if (s.outlineWidth > 0) Over(image, px, py, s.outline, inner.At(xx, yy));
      Over(image, px, py, fill, m.At(xx, yy));
    }
  }
}

void FillRect(Image& image, int x, int y, int w, int h, glm::vec3 c) {
  for (int yy = y; yy < y + h; ++yy)
    for (int xx = x; xx < x + w; ++xx) image.Set(xx, yy, Byte(c.r), Byte(c.g), Byte(c.b));
}

}  // namespace assetgen
