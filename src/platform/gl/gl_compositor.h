#pragma once
// Composes the logical screen in the real window: the 2D surface is uploaded as one texture
// (only when it changed) and drawn scaled with its aspect kept, black bars around it.
#include <SDL.h>
#include <epoxy/gl.h>

#include <cstdint>

namespace kelmora::platform {

class Screen;

class GlCompositor {
 public:
  GlCompositor();
  ~GlCompositor();
  GlCompositor(const GlCompositor&) = delete;
  GlCompositor& operator=(const GlCompositor&) = delete;

  // Uploads the screen if it changed, draws it into the window and swaps.
  void Present(SDL_Window* window, const Screen& screen);
  // Draws the last presented screen again (after an expose or resize).
  void Redraw(SDL_Window* window);

  // Where the logical screen lands in a drawable of the given size (aspect kept).
  struct Placement {
    int x, y, w, h;
  };
  static Placement Fit(int logicalW, int logicalH, int drawableW, int drawableH);

 private:
  void Draw(SDL_Window* window);

  GLuint program_ = 0, vao_ = 0, texture_ = 0;
  int texW_ = 0, texH_ = 0;
  const void* lastSurface_ = nullptr;
  uint64_t lastRevision_ = ~0ULL;
};

}  // namespace kelmora::platform
