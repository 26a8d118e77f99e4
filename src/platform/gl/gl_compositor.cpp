#include "platform/gl/gl_compositor.h"
#include "platform/gl/gl_program.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "platform/gl/gl_renderer.h"
#include "platform/screen.h"

namespace kelmora::platform {

namespace {

const char* kVertex = R"(#version 330 core
out vec2 uv;
uniform bool bottomUp;  // texture rows bottom-up (a rendered picture) instead of top-down
void main() {
  vec2 p = vec2(float((gl_VertexID << 1) & 2), float(gl_VertexID & 2));
  // One triangle over the viewport: p = 0..1 spans it, uv follows p.
  uv = vec2(p.x, bottomUp ? p.y : 1.0 - p.y);
  gl_Position = vec4(p * 2.0 - 1.0, 0.0, 1.0);
}
)";

const char* kFragment = R"(#version 330 core
in vec2 uv;
out vec4 colour;
uniform sampler2D screen;
uniform bool blend;  // the texture's own alpha (the overlay) instead of opaque
void main() {
  vec4 c = texture(screen, uv);
  colour = vec4(c.rgb, blend ? c.a : 1.0);
}
)";

}  // namespace

GlCompositor::Placement GlCompositor::Fit(int lw, int lh, int dw, int dh, Scaling scaling) {
  if (lw <= 0 || lh <= 0 || dw <= 0 || dh <= 0) return {0, 0, 0, 0};
  if (const int k = std::min(dw / lw, dh / lh); scaling == Scaling::Whole && k >= 1) {
    return {(dw - k * lw) / 2, (dh - k * lh) / 2, k * lw, k * lh};
  }
  // Largest size with the logical aspect that fits.
  int w = dw, h = static_cast<int>(static_cast<int64_t>(dw) * lh / lw);
  if (h > dh) {
    h = dh;
    w = static_cast<int>(static_cast<int64_t>(dh) * lw / lh);
  }
  return {(dw - w) / 2, (dh - h) / 2, w, h};
}

GlCompositor::GlCompositor() {
  program_ = BuildProgram(kVertex, kFragment, "screen shader");
  flipLoc_ = glGetUniformLocation(program_, "bottomUp");
  blendLoc_ = glGetUniformLocation(program_, "blend");
  glGenVertexArrays(1, &vao_);
  glGenTextures(1, &texture_);
  glBindTexture(GL_TEXTURE_2D, texture_);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter_);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter_);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

GlCompositor::~GlCompositor() {
  glDeleteTextures(1, &texture_);
  if (overlayTexture_) glDeleteTextures(1, &overlayTexture_);
  glDeleteVertexArrays(1, &vao_);
  glDeleteProgram(program_);
}

void GlCompositor::Present(SDL_Window* window, const Screen& screen, GlRenderer* view) {
  view_ = screen.Picture2.visible ? view : nullptr;
  picture2_ = screen.Picture2.place;
  SDL_Surface* s = screen.surface();
  if (s != lastSurface_ || screen.revision() != lastRevision_) {
    glBindTexture(GL_TEXTURE_2D, texture_);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, s->pitch / 4);
    if (s->w != texW_ || s->h != texH_) {
      glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, s->w, s->h, 0, GL_BGRA, GL_UNSIGNED_BYTE, s->pixels);
      texW_ = s->w;
      texH_ = s->h;
    } else {
      glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, s->w, s->h, GL_BGRA, GL_UNSIGNED_BYTE, s->pixels);
    }
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    lastSurface_ = s;
    lastRevision_ = screen.revision();
  }
  overlayShown_ = screen.overlayShown();
  if (overlayShown_) UploadOverlay(screen);
  Draw(window);
}

void GlCompositor::UploadOverlay(const Screen& screen) {
  SDL_Surface* o = screen.overlayMade();
  if (!o || (overlayTexture_ && screen.overlayRevision() == overlayRevision_)) return;
  if (!overlayTexture_) {
    glGenTextures(1, &overlayTexture_);
    glBindTexture(GL_TEXTURE_2D, overlayTexture_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  }
  glBindTexture(GL_TEXTURE_2D, overlayTexture_);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, o->pitch / 4);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, o->w, o->h, 0, GL_BGRA, GL_UNSIGNED_BYTE, o->pixels);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  overlayRevision_ = screen.overlayRevision();
}

void GlCompositor::DrawOverlay(const Placement& p) {
  if (!overlayShown_ || !overlayTexture_ || p.w <= 0 || p.h <= 0) return;
  glDisable(GL_SCISSOR_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glUseProgram(program_);
  glUniform1i(blendLoc_, 1);
  DrawQuad(overlayTexture_, p.x, p.y, p.w, p.h, false);
  glUniform1i(blendLoc_, 0);
  glDisable(GL_BLEND);
}

void GlCompositor::Redraw(SDL_Window* window) {
  if (texW_ > 0) Draw(window);
}

void GlCompositor::Draw(SDL_Window* window) {
  int dw = 0, dh = 0;
  SDL_GL_GetDrawableSize(window, &dw, &dh);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glViewport(0, 0, dw, dh);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_SCISSOR_TEST);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  const Placement p = Fit(texW_, texH_, dw, dh, scaling_);
  // Whole multiples keep every logical pixel square and sharp; any other size is filtered, so
  // that no row or column of the screen comes out wider than its neighbours.
  const GLint filter = scaling_ == Scaling::Whole && p.w >= texW_ ? GL_NEAREST : GL_LINEAR;
  if (filter != filter_) {
    filter_ = filter;
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter_);
  }
  if (!view_ || p.w <= 0 || p.h <= 0) {
    DrawQuad(texture_, p.x, p.y, p.w, p.h, false);
    DrawOverlay(p);
    SDL_GL_SwapWindow(window);
    return;
  }
  const double sx = static_cast<double>(p.w) / texW_, sy = static_cast<double>(p.h) / texH_;
  // A logical rectangle (y down) in window pixels (y up).
  auto place = [&](Rect r, int& x, int& y, int& w, int& h) {
    x = p.x + static_cast<int>(std::lround(r.x * sx));
    w = p.x + static_cast<int>(std::lround((r.x + r.w) * sx)) - x;
    y = p.y + static_cast<int>(std::lround((texH_ - r.y - r.h) * sy));
    h = p.y + static_cast<int>(std::lround((texH_ - r.y) * sy)) - y;
  };
  int x, y, w, h;
  place(picture2_, x, y, w, h);
  // Picture2 is black around the 3D view, so the 2D screen is drawn only in the strips
  // around it (the status strip: a tenth of the window in a match) and Picture2 keeps the
  // clear's black.
  glEnable(GL_SCISSOR_TEST);
  const int strips[4][4] = {{p.x, p.y, p.w, y - p.y},
                            {p.x, y + h, p.w, p.y + p.h - (y + h)},
                            {p.x, y, x - p.x, h},
                            {x + w, y, p.x + p.w - (x + w), h}};
  for (const auto& s : strips) {
    if (s[2] <= 0 || s[3] <= 0) continue;
    glScissor(s[0], s[1], s[2], s[3]);
    DrawQuad(texture_, p.x, p.y, p.w, p.h, false);
  }
  glScissor(x, y, w, h);
  const GlRenderer::Picture pic = view_->shown();
  if (pic.texture != 0) {
    const Rect r{picture2_.x + pic.rect.x, picture2_.y + pic.rect.y, pic.rect.w, pic.rect.h};
    place(r, x, y, w, h);
    DrawQuad(pic.texture, x, y, w, h, true);
  }
  glDisable(GL_SCISSOR_TEST);
  DrawOverlay(p);
  // The next picture is drawn at the window's zoom.
  view_->SetPixelScale(static_cast<float>(sx));
  SDL_GL_SwapWindow(window);
}

void GlCompositor::DrawQuad(GLuint texture, int x, int y, int w, int h, bool bottomUp) {
  glViewport(x, y, w, h);
  glUseProgram(program_);
  glUniform1i(flipLoc_, bottomUp ? 1 : 0);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, texture);
  glBindVertexArray(vao_);
  glDrawArrays(GL_TRIANGLES, 0, 3);
}

}  // namespace kelmora::platform
