#pragma once
// Text that the program draws itself (its message boxes, the help page, the pause): set in
// the fonts that fontconfig says cover it (the desktop's sans-serif first, DejaVu Sans for
// Latin text and Droid Sans Fallback for Japanese on Debian) and rendered with stb_truetype
// into 32-bit pixels. The same text, fonts and size always give the same pixels.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kelmora::platform {

// UTF-8 to code points; a broken sequence reads as U+FFFD.
std::u32string DecodeUtf8(std::string_view s);

struct FontFace;

// The fonts for a text at one size (an em of `pixels`), each read from its file when first
// needed: the first that has a glyph draws a character.
class FontFaces {
 public:
  // The fonts that fontconfig finds for the characters of `chars`.
  FontFaces(const std::u32string& chars, float pixels);
  ~FontFaces();
  FontFaces(const FontFaces&) = delete;
  FontFaces& operator=(const FontFaces&) = delete;

  struct Glyph {
    FontFace* face = nullptr;  // null when no font can be read at all
    int index = 0;
    bool found = false;  // false: the first readable face's missing-glyph box
  };
  Glyph Find(char32_t c);
  float pixels() const { return pixels_; }

 private:
  FontFace* Load(size_t i);

  struct File {
    std::string path;
    int index = 0;
  };
  std::vector<File> files_;
  std::vector<std::unique_ptr<FontFace>> faces_;
  float pixels_;
};

// A text laid out in lines: where each glyph goes, from the top left of the text.
struct TextLayout {
  struct Placed {
    FontFace* face;
    int glyph;
    float x;
    int line;
  };
  std::vector<Placed> glyphs;
  std::vector<float> widths;  // of each line
  float ascent = 0.0f, lineHeight = 0.0f;
  int missing = 0;        // characters that no font found has
  bool drawable = true;   // false when no font can be read
  int lines() const { return static_cast<int>(widths.size()); }
};

// Lays out a text: lines break at '\n', and a line longer than `wrap` pixels at its last space
// (or after its last '/', a long path).
TextLayout LayText(const std::u32string& text, FontFaces& faces, float wrap);

// 32-bit pixels 0xAARRGGBB (the screen's 0x00RRGGBB too), `stride` pixels a row.
struct Canvas {
  int w, h;
  uint32_t* px;
  int stride;
  // Fills (x0, y0)-(x1, y1), end exclusive, with one pixel value.
  void Fill(int x0, int y0, int x1, int y1, uint32_t c);
  // Lays colour c over a pixel with coverage a (0..1): the colour channels move towards c,
  // the alpha becomes the larger of the pixel's and the coverage's.
  void Blend(int x, int y, uint32_t c, float a);
};

// Draws the text with its top left at (left, top), in colour (0xRRGGBB).
void DrawText(Canvas& canvas, const TextLayout& t, int left, int top, uint32_t colour);

}  // namespace kelmora::platform
