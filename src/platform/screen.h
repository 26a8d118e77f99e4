#pragma once
// The logical screen: 640 x 480 (or 320 x 240 during a match in the small display mode),
// drawn with three primitives (fill, outline, scaled copy from a sprite sheet) on an SDL
// surface. The two picture boxes of the main window are regions of it: Picture2 holds the
// 3D view, Picture1 the status strip; both are shown only during a match.
#include <SDL.h>

#include <cstdint>
#include <memory>

namespace kelmora::platform {

// The pixel format of the logical screen. Sprite sheets are kept in it too, so that drawing
// from a sheet copies pixels instead of converting every one.
constexpr Uint32 kScreenPixelFormat = SDL_PIXELFORMAT_RGB888;

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
};

// A picture box: a region of the logical screen, drawn in its own coordinates.
struct PictureBox {
  Rect place;
  bool visible = false;
};

class Screen {
 public:
  Screen();
  ~Screen();
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  // Sets the logical size (640 x 480 or 320 x 240); the content is cleared to black.
  void SetMode(int width, int height);
  int width() const { return surface_->w; }
  int height() const { return surface_->h; }

  // Fills the rectangle (x1, y1)-(x2, y2), end exclusive, with a colour.
  void FillRect(int x1, int y1, int x2, int y2, Rgb colour);
  // Outlines the rectangle from (x1, y1) to (x2, y2), both corners inclusive.
  void OutlineRect(int x1, int y1, int x2, int y2, Rgb colour);
  // Copies the rectangle src of a sheet onto dst, stretched to its size. A width or height of
  // zero or less copies nothing.
  void Copy(SDL_Surface* sheet, Rect src, Rect dst);
  // Clears the whole screen to black.
  void Clear();

  // The same primitives inside a picture box, in the box's own coordinates (clipped to it).
  void FillRectIn(const PictureBox& box, int x1, int y1, int x2, int y2, Rgb colour);
  void CopyIn(const PictureBox& box, SDL_Surface* sheet, Rect src, Rect dst);

  // The overlay: a picture of kOverlayWidth x kOverlayHeight with its own alpha (ARGB, made
  // transparent when first asked for), laid over the whole screen, the 3D view included, at
  // whatever size the screen has, while it is shown. The pause and the help page are drawn on
  // it; whoever draws on it calls OverlayChanged.
  static constexpr int kOverlayWidth = 640, kOverlayHeight = 480;
  SDL_Surface* overlay();
  // The overlay as made so far (null until first asked for).
  SDL_Surface* overlayMade() const { return overlay_; }
  void ShowOverlay(bool shown);
  bool overlayShown() const { return overlayShown_; }
  void OverlayChanged() {
    ++overlayRevision_;
    ++revision_;
  }
  uint64_t overlayRevision() const { return overlayRevision_; }

  // Colour of one pixel (for tests and screenshots).
  Rgb PixelAt(int x, int y) const;
  SDL_Surface* surface() const { return surface_; }
  // Bumped by every drawing call, so a presenter can skip uploading an unchanged screen.
  uint64_t revision() const { return revision_; }

  PictureBox Picture1;  // status strip
  PictureBox Picture2;  // window of the 3D view

 private:
  SDL_Surface* surface_ = nullptr;
  uint64_t revision_ = 0;
  SDL_Surface* overlay_ = nullptr;
  bool overlayShown_ = false;
  uint64_t overlayRevision_ = 0;
};

}  // namespace kelmora::platform
