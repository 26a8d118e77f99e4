#include "platform/sdl/sdl_window.h"

#include <cstdio>
#include <stdexcept>
#include <string>

#include "platform/gl/gl_compositor.h"
#include "platform/screen.h"

namespace kelmora::platform {

int16_t VirtualKeyOf(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return static_cast<int16_t>('A' + (key - SDLK_a));
  if (key >= SDLK_0 && key <= SDLK_9) return static_cast<int16_t>('0' + (key - SDLK_0));
  if (key >= SDLK_F1 && key <= SDLK_F12) return static_cast<int16_t>(112 + (key - SDLK_F1));
  switch (key) {
    case SDLK_LEFT: return 37;
    case SDLK_UP: return 38;
    case SDLK_RIGHT: return 39;
    case SDLK_DOWN: return 40;
    case SDLK_RETURN: case SDLK_KP_ENTER: return 13;
    case SDLK_ESCAPE: return 27;
    case SDLK_SPACE: return 32;
    case SDLK_BACKSPACE: return 8;
    case SDLK_TAB: return 9;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return 16;
    case SDLK_LCTRL: case SDLK_RCTRL: return 17;
    case SDLK_LALT: case SDLK_RALT: return 18;
    default: return 0;
  }
}

int16_t ModifierStateOf(uint16_t m) {
  int16_t s = 0;
  if (m & KMOD_SHIFT) s |= kShiftMask;
  if (m & KMOD_CTRL) s |= kCtrlMask;
  if (m & KMOD_ALT) s |= kAltMask;
  return s;
}

SdlWindow::SdlWindow(const char* caption) {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  window_ = SDL_CreateWindow(caption, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 640, 480,
                             SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN |
                                 SDL_WINDOW_ALLOW_HIGHDPI);
  if (!window_) throw std::runtime_error(std::string("cannot open the window: ") + SDL_GetError());
  context_ = SDL_GL_CreateContext(window_);
  if (!context_) {
    std::string why = SDL_GetError();
    SDL_DestroyWindow(window_);
    window_ = nullptr;
    throw std::runtime_error("cannot create an OpenGL 3.3 context: " + why);
  }
  SDL_GL_SetSwapInterval(0);  // the tick loop paces the frames
  compositor_ = std::make_unique<GlCompositor>();
}

SdlWindow::~SdlWindow() { Close(); }

void SdlWindow::Show() {
  if (window_) SDL_ShowWindow(window_);
}

void SdlWindow::WaitUntil(uint32_t deadlineMs) {
  const uint32_t now = SDL_GetTicks();
  if (deadlineMs <= now) return;
  SDL_WaitEventTimeout(nullptr, static_cast<int>(deadlineMs - now));
}

void SdlWindow::ToggleFullscreen() {
  if (!window_) return;
  const bool full = SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP;
  SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

void SdlWindow::DoEvents(WindowEvents& handlers) {
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    switch (e.type) {
      case SDL_QUIT:
        if (!closeAsked_) {
          closeAsked_ = true;
          handlers.Form_QueryUnload();
        }
        return;
      case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_CLOSE && !closeAsked_) {
          closeAsked_ = true;
          handlers.Form_QueryUnload();
          return;
        }
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED && compositor_) compositor_->Redraw(window_);
        break;
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        const int16_t vk = VirtualKeyOf(e.key.keysym.sym);
        if (vk == 0) break;
        const int16_t mods = ModifierStateOf(e.key.keysym.mod);
        if (e.type == SDL_KEYDOWN) {
          if (vk == 122 && !e.key.repeat) ToggleFullscreen();  // F11
          handlers.Form_KeyDown(vk, mods);
        } else {
          handlers.Form_KeyUp(vk, mods);
        }
        break;
      }
      default:
        break;
    }
  }
}

void SdlWindow::MessageBox(std::string_view text, std::string_view caption, MessageIcon icon) {
  Uint32 flags = icon == MessageIcon::Critical  ? SDL_MESSAGEBOX_ERROR
                 : icon == MessageIcon::Warning ? SDL_MESSAGEBOX_WARNING
                                                : SDL_MESSAGEBOX_INFORMATION;
  std::string t(text), c(caption);
  if (SDL_ShowSimpleMessageBox(flags, c.c_str(), t.c_str(), window_) != 0) {
    std::fprintf(stderr, "[%s] %s\n", c.c_str(), t.c_str());
  }
}

void SdlWindow::Present(const Screen& screen) {
  if (window_ && compositor_) compositor_->Present(window_, screen, view_);
}

void SdlWindow::Close() {
  compositor_.reset();
  if (context_) SDL_GL_DeleteContext(context_);
  context_ = nullptr;
  if (window_) SDL_DestroyWindow(window_);
  window_ = nullptr;
}

}  // namespace kelmora::platform
