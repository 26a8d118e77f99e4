#include "platform/sdl/sdl_message_box.h"

#include <fontconfig/fontconfig.h>
#include <stb_truetype.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <utility>

namespace kelmora::platform {

namespace {

constexpr float kTextPixels = 15.0f;  // the size of the text, an em in pixels
constexpr float kWrapWidth = 520.0f;  // longer lines are broken at a space
constexpr int kPad = 16, kIcon = 32, kIconGap = 14;
constexpr int kButtonWidth = 88, kButtonHeight = 28, kButtonBand = 52;
constexpr uint32_t kWhite = 0xFFFFFFFF, kBand = 0xFFF0F0F0, kInk = 0xFF1A1A1A;
constexpr uint32_t kButtonFill = 0xFFE1E1E1, kButtonEdge = 0xFF0078D7;

std::u32string Decode(std::string_view s) {
  std::u32string out;
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i++]);
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    char32_t cp = extra == 3 ? c & 0x07 : extra == 2 ? c & 0x0F : extra == 1 ? c & 0x1F : c;
    if (c >= 0x80 && c < 0xC0) cp = 0xFFFD;  // a continuation byte out of place
    for (; extra > 0 && i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80; --extra, ++i) {
      cp = (cp << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
    }
    out.push_back(extra > 0 ? char32_t{0xFFFD} : cp);
  }
  return out;
}

struct FontFile {
  std::string path;
  int index = 0;
  bool operator==(const FontFile&) const = default;
};

void AddFonts(FcFontSet* set, std::vector<FontFile>& files) {
  if (!set) return;
  for (int i = 0; i < set->nfont; ++i) {
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) != FcResultMatch) continue;
    FcPatternGetInteger(set->fonts[i], FC_INDEX, 0, &index);
    FontFile f{reinterpret_cast<const char*>(file), index};
    if (std::find(files.begin(), files.end(), f) == files.end()) files.push_back(f);
  }
  FcFontSetDestroy(set);
}

// The desktop's sans-serif font first (for Latin text), then the fonts that fontconfig finds
// for the characters (Japanese forms preferred), then the fonts of Debian's packages at their
// places in case fontconfig is not set up.
std::vector<FontFile> FontsFor(const std::u32string& chars) {
  std::vector<FontFile> files;
  if (FcInit()) {
    FcResult result;
    FcPattern* plain = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif"));
    FcConfigSubstitute(nullptr, plain, FcMatchPattern);
    FcDefaultSubstitute(plain);
    if (FcPattern* match = FcFontMatch(nullptr, plain, &result)) {
      FcFontSet* one = FcFontSetCreate();
      FcFontSetAdd(one, match);
      AddFonts(one, files);
    }
    FcPatternDestroy(plain);

    FcPattern* covering = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:lang=ja"));
    FcCharSet* set = FcCharSetCreate();
    for (char32_t c : chars) FcCharSetAddChar(set, c);
    FcPatternAddCharSet(covering, FC_CHARSET, set);
    FcCharSetDestroy(set);
    FcConfigSubstitute(nullptr, covering, FcMatchPattern);
    FcDefaultSubstitute(covering);
    AddFonts(FcFontSort(nullptr, covering, FcTrue, nullptr, &result), files);
    FcPatternDestroy(covering);
    FcFini();
  }
  for (const char* known : {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                            "/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf"}) {
    FontFile f{known, 0};
    if (std::find(files.begin(), files.end(), f) == files.end()) files.push_back(f);
  }
  return files;
}

struct Face {
  bool tried = false, ok = false;
  std::vector<unsigned char> data;
  stbtt_fontinfo info{};
  float scale = 1.0f;
  float ascent = 0.0f, lineHeight = 0.0f;
};

// The fonts, read when first needed: the first that has a glyph draws a character.
class Faces {
 public:
  explicit Faces(std::vector<FontFile> files) : files_(std::move(files)), faces_(files_.size()) {}

  // The face and glyph for `c`; the first readable face's missing-glyph box when no face has
  // one (found false), or a null face when no font can be read at all.
  struct Glyph {
    Face* face = nullptr;
    int index = 0;
    bool found = false;
  };
  Glyph Find(char32_t c) {
    Face* first = nullptr;
    for (size_t i = 0; i < faces_.size(); ++i) {
      Face* f = Load(i);
      if (!f) continue;
      if (!first) first = f;
      if (const int g = stbtt_FindGlyphIndex(&f->info, static_cast<int>(c)); g != 0) return {f, g, true};
    }
    return {first, 0, false};
  }

 private:
  Face* Load(size_t i) {
    Face& f = faces_[i];
    if (!f.tried) {
      f.tried = true;
      std::ifstream in(files_[i].path, std::ios::binary | std::ios::ate);
      const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : 0;
      f.data.resize(size > 0 ? static_cast<size_t>(size) : 0);
      in.seekg(0);
      if (!in.read(reinterpret_cast<char*>(f.data.data()), static_cast<std::streamsize>(f.data.size()))) f.data.clear();
      const int offset = f.data.empty() ? -1 : stbtt_GetFontOffsetForIndex(f.data.data(), files_[i].index);
      f.ok = offset >= 0 && stbtt_InitFont(&f.info, f.data.data(), offset) != 0;
      if (f.ok) {
        int ascent, descent, gap;
        stbtt_GetFontVMetrics(&f.info, &ascent, &descent, &gap);
        f.scale = stbtt_ScaleForMappingEmToPixels(&f.info, kTextPixels);
        f.ascent = static_cast<float>(ascent) * f.scale;
        f.lineHeight = static_cast<float>(ascent - descent + gap) * f.scale;
      } else {
        f.data.clear();
      }
    }
    return f.ok ? &f : nullptr;
  }

  std::vector<FontFile> files_;
  std::vector<Face> faces_;
};

struct Placed {
  Face* face;
  int glyph;
  float x;
  int line;
};

struct TextLayout {
  std::vector<Placed> glyphs;
  std::vector<float> widths;  // of each line
  float ascent = 0.0f, lineHeight = 0.0f;
  int missing = 0;
  bool drawable = true;
};

TextLayout Lay(const std::u32string& text, Faces& faces, float wrap) {
  TextLayout t;
  float pen = 0.0f;
  int line = 0;
  // Where the line may be broken: at its last space, or after its last '/' (a long path);
  // the first glyph of the next line and the width the line keeps.
  constexpr size_t kNone = ~size_t{0};
  size_t next = kNone;
  float kept = 0.0f;
  Face* prevFace = nullptr;
  int prevGlyph = 0;
  for (char32_t c : text) {
    if (c == '\r') continue;
    if (c == '\n') {
      t.widths.push_back(pen);
      ++line, pen = 0.0f, next = kNone, prevFace = nullptr;
      continue;
    }
    const Faces::Glyph g = faces.Find(c == '\t' ? U' ' : c);
    if (!g.face) {
      t.drawable = false;
      return t;
    }
    if (!g.found) ++t.missing;
    int advance, bearing;
    stbtt_GetGlyphHMetrics(&g.face->info, g.index, &advance, &bearing);
    if (prevFace == g.face) {
      pen += static_cast<float>(stbtt_GetGlyphKernAdvance(&g.face->info, prevGlyph, g.index)) * g.face->scale;
    }
    const float width = static_cast<float>(advance) * g.face->scale;
    if (c != ' ' && pen + width > wrap && next != kNone) {
      const float shift = next < t.glyphs.size() ? t.glyphs[next].x : pen;
      t.widths.push_back(kept);
      ++line;
      for (size_t i = next; i < t.glyphs.size(); ++i) t.glyphs[i].x -= shift, t.glyphs[i].line = line;
      pen -= shift;
      next = kNone;
    }
    if (c == ' ') next = t.glyphs.size() + 1, kept = pen;
    t.glyphs.push_back({g.face, g.index, pen, line});
    prevFace = g.face, prevGlyph = g.index;
    pen += width;
    if (c == '/') next = t.glyphs.size(), kept = pen;
    t.ascent = std::max(t.ascent, g.face->ascent);
    t.lineHeight = std::max(t.lineHeight, g.face->lineHeight);
  }
  t.widths.push_back(pen);
  t.lineHeight = std::ceil(std::max(t.lineHeight, kTextPixels * 1.2f));
  if (t.ascent == 0.0f) t.ascent = kTextPixels * 0.8f;
  return t;
}

struct Canvas {
  int w, h;
  std::vector<uint32_t>& px;
  void Fill(int x0, int y0, int x1, int y1, uint32_t c) {
    for (int y = std::max(0, y0); y < std::min(h, y1); ++y) {
      std::fill(px.begin() + y * w + std::max(0, x0), px.begin() + y * w + std::min(w, x1), c);
    }
  }
  void Blend(int x, int y, uint32_t c, float a) {
    if (x < 0 || y < 0 || x >= w || y >= h || a <= 0.0f) return;
    uint32_t& d = px[static_cast<size_t>(y) * w + x];
    uint32_t out = 0xFF000000;
    for (int shift = 0; shift < 24; shift += 8) {
      const float from = static_cast<float>((d >> shift) & 0xFF), to = static_cast<float>((c >> shift) & 0xFF);
      out |= static_cast<uint32_t>(std::lround(from + (to - from) * std::min(a, 1.0f))) << shift;
    }
    d = out;
  }
};

void DrawText(Canvas& canvas, const TextLayout& t, int left, int top, uint32_t colour) {
  std::vector<unsigned char> mask;
  for (const Placed& p : t.glyphs) {
    const float x = static_cast<float>(left) + p.x;
    const float ix = std::floor(x), frac = x - ix;
    int x0, y0, x1, y1;
    stbtt_GetGlyphBitmapBoxSubpixel(&p.face->info, p.glyph, p.face->scale, p.face->scale, frac, 0, &x0, &y0, &x1, &y1);
    const int w = x1 - x0, h = y1 - y0;
    if (w <= 0 || h <= 0) continue;
    mask.assign(static_cast<size_t>(w) * h, 0);
    stbtt_MakeGlyphBitmapSubpixel(&p.face->info, mask.data(), w, h, w, p.face->scale, p.face->scale, frac, 0, p.glyph);
    const int baseline = top + p.line * static_cast<int>(t.lineHeight) + static_cast<int>(std::lround(t.ascent));
    for (int y = 0; y < h; ++y) {
      for (int xx = 0; xx < w; ++xx) {
        canvas.Blend(static_cast<int>(ix) + x0 + xx, baseline + y0 + y, colour, mask[y * w + xx] / 255.0f);
      }
    }
  }
}

float SegmentDistance(float px, float py, float ax, float ay, float bx, float by) {
  const float dx = bx - ax, dy = by - ay;
  const float u = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
  return std::hypot(px - (ax + u * dx), py - (ay + u * dy));
}

// The icon's colour at a point of its 32 x 32 square, or 0 outside it.
uint32_t IconAt(MessageIcon icon, float x, float y) {
  const bool round = icon != MessageIcon::Warning;
  bool inside;
  if (round) {
    inside = std::hypot(x - 16.0f, y - 16.0f) < 15.0f;
  } else {
    // Apex (16, 2), base from (1, 29) to (31, 29).
    inside = y < 29.0f && y > 2.0f && std::abs(x - 16.0f) < (y - 2.0f) * (15.0f / 27.0f);
  }
  if (!inside) return 0;
  float mark = 1e9f;
  switch (icon) {
    case MessageIcon::Critical:
      mark = std::min(SegmentDistance(x, y, 10.5f, 10.5f, 21.5f, 21.5f), SegmentDistance(x, y, 21.5f, 10.5f, 10.5f, 21.5f));
      return mark < 1.9f ? kWhite : 0xFFD83B3B;
    case MessageIcon::Warning:
      mark = std::min(SegmentDistance(x, y, 16.0f, 11.0f, 16.0f, 19.5f) - 0.2f, std::hypot(x - 16.0f, y - 24.5f) - 0.3f);
      return mark < 1.7f ? kInk : 0xFFF5C518;
    case MessageIcon::Information:
      mark = std::min(SegmentDistance(x, y, 16.0f, 14.0f, 16.0f, 24.0f), std::hypot(x - 16.0f, y - 9.0f) - 0.3f);
      return mark < 1.9f ? kWhite : 0xFF2F7BD8;
  }
  return 0;
}

// Each pixel from 4 x 4 samples, so the edges are smooth.
void DrawIcon(Canvas& canvas, MessageIcon icon, int left, int top) {
  for (int y = 0; y < kIcon; ++y) {
    for (int x = 0; x < kIcon; ++x) {
      float sum[3] = {0, 0, 0};
      int hits = 0;
      for (int s = 0; s < 16; ++s) {
        const float sx = static_cast<float>(x) + (static_cast<float>(s % 4) + 0.5f) / 4.0f;
        const float sy = static_cast<float>(y) + (static_cast<float>(s / 4) + 0.5f) / 4.0f;
        const uint32_t c = IconAt(icon, sx, sy);
        if (c == 0) continue;
        ++hits;
        for (int k = 0; k < 3; ++k) sum[k] += static_cast<float>((c >> (8 * k)) & 0xFF);
      }
      if (hits == 0) continue;
      uint32_t mean = 0xFF000000;
      const float n = static_cast<float>(hits);
      for (int k = 0; k < 3; ++k) mean |= static_cast<uint32_t>(std::lround(sum[k] / n)) << (8 * k);
      canvas.Blend(left + x, top + y, mean, n / 16.0f);
    }
  }
}

}  // namespace

BoxPicture DrawMessageBox(std::string_view text, MessageIcon icon) {
  BoxPicture box;
  const std::u32string chars = Decode(text);
  Faces faces(FontsFor(chars + U"OK"));
  const TextLayout body = Lay(chars, faces, kWrapWidth);
  const TextLayout ok = Lay(U"OK", faces, kWrapWidth);
  if (!body.drawable || !ok.drawable) return box;
  box.missingGlyphs = body.missing;

  const float widest = *std::max_element(body.widths.begin(), body.widths.end());
  const int textWidth = static_cast<int>(std::ceil(widest));
  const int textHeight = static_cast<int>(body.widths.size()) * static_cast<int>(body.lineHeight);
  const int content = std::max(kIcon, textHeight);
  box.width = std::max(300, kPad + kIcon + kIconGap + textWidth + kPad + 8);
  box.height = kPad + content + kPad + kButtonBand;
  box.pixels.assign(static_cast<size_t>(box.width) * box.height, kWhite);
  Canvas canvas{box.width, box.height, box.pixels};

  DrawIcon(canvas, icon, kPad, kPad + (content - kIcon) / 2);
  DrawText(canvas, body, kPad + kIcon + kIconGap, kPad + (content - textHeight) / 2, kInk);

  const int band = box.height - kButtonBand;
  canvas.Fill(0, band, box.width, box.height, kBand);
  box.button = {box.width - kPad - kButtonWidth, band + (kButtonBand - kButtonHeight) / 2, kButtonWidth, kButtonHeight};
  const SDL_Rect& b = box.button;
  canvas.Fill(b.x, b.y, b.x + b.w, b.y + b.h, kButtonEdge);  // the default button's frame
  canvas.Fill(b.x + 2, b.y + 2, b.x + b.w - 2, b.y + b.h - 2, kButtonFill);
  DrawText(canvas, ok, b.x + (b.w - static_cast<int>(std::lround(ok.widths[0]))) / 2,
           b.y + (b.h - static_cast<int>(ok.lineHeight)) / 2, kInk);
  return box;
}

namespace {

// While the box shows, closing it is no request to quit, even when it is the only window.
struct NoQuitOnLastClose {
  NoQuitOnLastClose() { SDL_SetHintWithPriority(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0", SDL_HINT_OVERRIDE); }
  ~NoQuitOnLastClose() { SDL_ResetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE); }
};

bool Visible(SDL_Window* w) {
  return w && (SDL_GetWindowFlags(w) & (SDL_WINDOW_SHOWN | SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) == SDL_WINDOW_SHOWN;
}

Uint32 WindowOf(const SDL_Event& e) {
  switch (e.type) {
    case SDL_WINDOWEVENT: return e.window.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP: return e.key.windowID;
    case SDL_TEXTINPUT: return e.text.windowID;
    case SDL_MOUSEMOTION: return e.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: return e.button.windowID;
    case SDL_MOUSEWHEEL: return e.wheel.windowID;
    default: return 0;
  }
}

bool DismissKey(SDL_Keycode k) {
  return k == SDLK_RETURN || k == SDLK_KP_ENTER || k == SDLK_SPACE || k == SDLK_ESCAPE;
}

bool DismissButton(Uint8 b) {
  return b == SDL_CONTROLLER_BUTTON_A || b == SDL_CONTROLLER_BUTTON_B || b == SDL_CONTROLLER_BUTTON_START ||
         b == SDL_CONTROLLER_BUTTON_BACK;
}

bool Inside(const SDL_Rect& r, int x, int y) { return x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h; }

}  // namespace

bool ShowDrawnMessageBox(std::string_view text, std::string_view caption, MessageIcon icon, SDL_Window* parent) {
  BoxPicture box = DrawMessageBox(text, icon);
  if (box.pixels.empty()) return false;
  SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormatFrom(box.pixels.data(), box.width, box.height, 32,
                                                            box.width * 4, SDL_PIXELFORMAT_ARGB8888);
  if (!picture) return false;
  const bool overParent = Visible(parent);
  int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED;
  if (overParent) {
    int px, py, pw, ph;
    SDL_GetWindowPosition(parent, &px, &py);
    SDL_GetWindowSize(parent, &pw, &ph);
    x = px + (pw - box.width) / 2;
    y = py + (ph - box.height) / 2;
  }
  NoQuitOnLastClose noQuit;
  // The box's picture goes to the window as pixels: SDL would otherwise draw window surfaces
  // through a renderer of its own, whose OpenGL context would take the place of the main
  // window's. SDL reads this once, at the first window surface, and only the box uses one.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_Window* window = SDL_CreateWindow(std::string(caption).c_str(), x, y, box.width, box.height, SDL_WINDOW_HIDDEN);
  if (!window) {
    SDL_FreeSurface(picture);
    return false;
  }
  if (overParent) SDL_SetWindowModalFor(window, parent);
  SDL_ShowWindow(window);
  SDL_RaiseWindow(window);
  const Uint32 id = SDL_GetWindowID(window);
  const auto present = [&] {
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (!surface || SDL_BlitSurface(picture, nullptr, surface, nullptr) != 0) return false;
    return SDL_UpdateWindowSurface(window) == 0;
  };
  bool shown = present(), quit = false, done = !shown, pressed = false;
  SDL_Keycode key = SDLK_UNKNOWN;  // a dismissing key pressed in the box, which its release ends
  int pad = -1;
  SDL_Event e;
  while (!done && SDL_WaitEvent(&e)) {
    if (e.type == SDL_QUIT) {
      quit = done = true;
    } else if (e.type == SDL_CONTROLLERBUTTONDOWN && DismissButton(e.cbutton.button)) {
      pad = e.cbutton.button;
    } else if (e.type == SDL_CONTROLLERBUTTONUP && e.cbutton.button == pad) {
      done = true;
    } else if (WindowOf(e) != id) {
      continue;  // the box is modal: the other windows get nothing meanwhile
    } else if (e.type == SDL_WINDOWEVENT) {
      if (e.window.event == SDL_WINDOWEVENT_CLOSE) done = true;
      if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) present();
    } else if (e.type == SDL_KEYDOWN && !e.key.repeat && DismissKey(e.key.keysym.sym)) {
      key = e.key.keysym.sym;
    } else if (e.type == SDL_KEYUP && key != SDLK_UNKNOWN && e.key.keysym.sym == key) {
      done = true;
    } else if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT) {
      pressed = Inside(box.button, e.button.x, e.button.y);
    } else if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT) {
      done = pressed && Inside(box.button, e.button.x, e.button.y);
      pressed = false;
    }
  }
  SDL_DestroyWindow(window);
  SDL_FreeSurface(picture);
  // Whatever the box's window still had queued goes with it.
  SDL_PumpEvents();
  Uint32 gone = id;
  SDL_FilterEvents([](void* closed, SDL_Event* ev) { return WindowOf(*ev) == *static_cast<Uint32*>(closed) ? 0 : 1; }, &gone);
  if (quit) {
    SDL_Event again{};
    again.type = SDL_QUIT;
    SDL_PushEvent(&again);
  }
  return shown;
}

}  // namespace kelmora::platform
