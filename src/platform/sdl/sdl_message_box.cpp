#include "platform/sdl/sdl_message_box.h"

#include <algorithm>
#include <cmath>

#include "platform/font_text.h"

namespace kelmora::platform {

namespace {

constexpr float kTextPixels = 15.0f;  // the size of the text, an em in pixels
constexpr float kWrapWidth = 520.0f;  // longer lines are broken at a space
constexpr int kPad = 16, kIcon = 32, kIconGap = 14;
constexpr int kButtonWidth = 88, kButtonHeight = 28, kButtonBand = 52;
constexpr uint32_t kWhite = 0xFFFFFFFF, kBand = 0xFFF0F0F0, kInk = 0xFF1A1A1A;
constexpr uint32_t kButtonFill = 0xFFE1E1E1, kButtonEdge = 0xFF0078D7;

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
  const std::u32string chars = DecodeUtf8(text);
  FontFaces faces(chars + U"OK", kTextPixels);
  const TextLayout body = LayText(chars, faces, kWrapWidth);
  const TextLayout ok = LayText(U"OK", faces, kWrapWidth);
  if (!body.drawable || !ok.drawable) return box;
  box.missingGlyphs = body.missing;

  const float widest = *std::max_element(body.widths.begin(), body.widths.end());
  const int textWidth = static_cast<int>(std::ceil(widest));
  const int textHeight = static_cast<int>(body.widths.size()) * static_cast<int>(body.lineHeight);
  const int content = std::max(kIcon, textHeight);
  box.width = std::max(300, kPad + kIcon + kIconGap + textWidth + kPad + 8);
  box.height = kPad + content + kPad + kButtonBand;
  box.pixels.assign(static_cast<size_t>(box.width) * box.height, kWhite);
  Canvas canvas{box.width, box.height, box.pixels.data(), box.width};

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
