#include "platform/font_text.h"

#include <fontconfig/fontconfig.h>
#include <stb_truetype.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <utility>

namespace kelmora::platform {

struct FontFace {
  std::vector<unsigned char> data;
  stbtt_fontinfo info{};
  float scale = 1.0f;
  float ascent = 0.0f, lineHeight = 0.0f;
};

std::u32string DecodeUtf8(std::string_view s) {
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

namespace {

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

}  // namespace

FontFaces::FontFaces(const std::u32string& chars, float pixels) : pixels_(pixels) {
  for (const FontFile& f : FontsFor(chars)) files_.push_back({f.path, f.index});
  faces_.resize(files_.size());
}

FontFaces::~FontFaces() = default;

FontFaces::Glyph FontFaces::Find(char32_t c) {
  FontFace* first = nullptr;
  for (size_t i = 0; i < files_.size(); ++i) {
    FontFace* f = Load(i);
    if (!f) continue;
    if (!first) first = f;
    if (const int g = stbtt_FindGlyphIndex(&f->info, static_cast<int>(c)); g != 0) return {f, g, true};
  }
  return {first, 0, false};
}

FontFace* FontFaces::Load(size_t i) {
  if (faces_[i]) return faces_[i]->data.empty() ? nullptr : faces_[i].get();
  faces_[i] = std::make_unique<FontFace>();
  FontFace& f = *faces_[i];
  std::ifstream in(files_[i].path, std::ios::binary | std::ios::ate);
  const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : 0;
  f.data.resize(size > 0 ? static_cast<size_t>(size) : 0);
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(f.data.data()), static_cast<std::streamsize>(f.data.size()))) f.data.clear();
  const int offset = f.data.empty() ? -1 : stbtt_GetFontOffsetForIndex(f.data.data(), files_[i].index);
  if (offset < 0 || stbtt_InitFont(&f.info, f.data.data(), offset) == 0) {
    f.data.clear();
    return nullptr;
  }
  int ascent, descent, gap;
  stbtt_GetFontVMetrics(&f.info, &ascent, &descent, &gap);
  f.scale = stbtt_ScaleForMappingEmToPixels(&f.info, pixels_);
  f.ascent = static_cast<float>(ascent) * f.scale;
  f.lineHeight = static_cast<float>(ascent - descent + gap) * f.scale;
  return &f;
}

TextLayout LayText(const std::u32string& text, FontFaces& faces, float wrap) {
  TextLayout t;
  float pen = 0.0f;
  int line = 0;
  // Where the line may be broken: at its last space, or after its last '/' (a long path);
  // the first glyph of the next line and the width the line keeps.
  constexpr size_t kNone = ~size_t{0};
  size_t next = kNone;
  float kept = 0.0f;
  FontFace* prevFace = nullptr;
  int prevGlyph = 0;
  for (char32_t c : text) {
    if (c == '\r') continue;
    if (c == '\n') {
      t.widths.push_back(pen);
      ++line, pen = 0.0f, next = kNone, prevFace = nullptr;
      continue;
    }
    const FontFaces::Glyph g = faces.Find(c == '\t' ? U' ' : c);
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
  t.lineHeight = std::ceil(std::max(t.lineHeight, faces.pixels() * 1.2f));
  if (t.ascent == 0.0f) t.ascent = faces.pixels() * 0.8f;
  return t;
}

void Canvas::Fill(int x0, int y0, int x1, int y1, uint32_t c) {
  for (int y = std::max(0, y0); y < std::min(h, y1); ++y) {
    uint32_t* row = px + static_cast<size_t>(y) * stride;
    const int from = std::max(0, x0), to = std::min(w, x1);
    if (to > from) std::fill(row + from, row + to, c);
  }
}

void Canvas::Blend(int x, int y, uint32_t c, float a) {
  if (x < 0 || y < 0 || x >= w || y >= h || a <= 0.0f) return;
  a = std::min(a, 1.0f);
  uint32_t& d = px[static_cast<size_t>(y) * stride + x];
  const uint32_t alpha = std::max(d >> 24, static_cast<uint32_t>(std::lround(a * 255.0f)));
  uint32_t out = alpha << 24;
  for (int shift = 0; shift < 24; shift += 8) {
    const float from = static_cast<float>((d >> shift) & 0xFF), to = static_cast<float>((c >> shift) & 0xFF);
    out |= static_cast<uint32_t>(std::lround(from + (to - from) * a)) << shift;
  }
  d = out;
}

void DrawText(Canvas& canvas, const TextLayout& t, int left, int top, uint32_t colour) {
  std::vector<unsigned char> mask;
  for (const TextLayout::Placed& p : t.glyphs) {
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

}  // namespace kelmora::platform
