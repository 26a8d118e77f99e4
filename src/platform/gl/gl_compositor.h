#pragma once
// Composes the logical screen in the real window: the 2D surface is uploaded as one texture
// (only when it changed) and drawn scaled with its aspect kept, black bars around it; the
// screen's overlay, while shown, is laid over all of it with its alpha.
#include <SDL.h>
#include <epoxy/gl.h>

#include <cstdint>

#include "platform/screen.h"

namespace kelmora::platform {

class Screen;
class GlRenderer;

// How the logical screen fills a window larger than itself: scaled smoothly (linear
// filtering) to the largest size that fits, or by the largest whole multiple that fits, each
// logical pixel a square of whole pixels. A window smaller than the screen is scaled smoothly.
enum class Scaling : uint8_t { Smooth, Whole };

class GlCompositor {
 public:
  GlCompositor();
  ~GlCompositor();
  GlCompositor(const GlCompositor&) = delete;
  GlCompositor& operator=(const GlCompositor&) = delete;

  // Uploads the screen if it changed, draws it into the window and swaps. While Picture2 is
  // shown, the renderer's picture of the 3D view is drawn in it (black around the viewport).
  void Present(SDL_Window* window, const Screen& screen, GlRenderer* view = nullptr);
  // Draws the last presented screen again (after an expose or resize).
  void Redraw(SDL_Window* window);

  void SetScaling(Scaling scaling) { scaling_ = scaling; }

  // Where the logical screen lands in a drawable of the given size (aspect kept).
  struct Placement {
    int x, y, w, h;
  };
  static Placement Fit(int logicalW, int logicalH, int drawableW, int drawableH, Scaling scaling = Scaling::Smooth);

 private:
  void Draw(SDL_Window* window);
  void DrawQuad(GLuint texture, int x, int y, int w, int h, bool bottomUp);
  void UploadOverlay(const Screen& screen);
  void DrawOverlay(const Placement& p);

  GLuint program_ = 0, vao_ = 0, texture_ = 0;
  Scaling scaling_ = Scaling::Smooth;
  GLint filter_ = GL_LINEAR;  // the screen texture's filter
  int texW_ = 0, texH_ = 0;
  const void* lastSurface_ = nullptr;
  uint64_t lastRevision_ = ~0ULL;
  GLint flipLoc_ = -1, blendLoc_ = -1;
  GLuint overlayTexture_ = 0;
  uint64_t overlayRevision_ = 0;
  bool overlayShown_ = false;
  // The 3D view of the last presented screen, in logical pixels; view_ null when not shown.
  GlRenderer* view_ = nullptr;
  Rect picture2_{}, viewRect_{};
};

}  // namespace kelmora::platform
