#include "platform/sdl/sdl_window.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <stdexcept>
#include <string>

#include "platform/gl/gl_compositor.h"
#include "platform/clock.h"
#include "platform/gl/keep_driver_loaded.h"
#include "platform/sdl/sdl_message_box.h"
#include "platform/sdl/sdl_pad_reading.h"
#include "platform/screen.h"

namespace kelmora::platform {

int16_t VirtualKeyOf(SDL_Scancode key) {
  // Keys are read by their place on the keyboard, whatever the layout prints on them, so 2P's
  // keys and the option keys work under every layout.
  if (key >= SDL_SCANCODE_A && key <= SDL_SCANCODE_Z) return static_cast<int16_t>('A' + (key - SDL_SCANCODE_A));
  if (key >= SDL_SCANCODE_1 && key <= SDL_SCANCODE_9) return static_cast<int16_t>('1' + (key - SDL_SCANCODE_1));
  if (key == SDL_SCANCODE_0) return '0';
  if (key >= SDL_SCANCODE_F1 && key <= SDL_SCANCODE_F12) return static_cast<int16_t>(112 + (key - SDL_SCANCODE_F1));
  if (key >= SDL_SCANCODE_KP_1 && key <= SDL_SCANCODE_KP_9) return static_cast<int16_t>(97 + (key - SDL_SCANCODE_KP_1));
  switch (key) {
    case SDL_SCANCODE_LEFT: return 37;
    case SDL_SCANCODE_UP: return 38;
    case SDL_SCANCODE_RIGHT: return 39;
    case SDL_SCANCODE_DOWN: return 40;
    case SDL_SCANCODE_RETURN: case SDL_SCANCODE_KP_ENTER: return 13;
    case SDL_SCANCODE_ESCAPE: return 27;
    case SDL_SCANCODE_SPACE: return 32;
    case SDL_SCANCODE_BACKSPACE: return 8;
    case SDL_SCANCODE_TAB: return 9;
    case SDL_SCANCODE_LSHIFT: case SDL_SCANCODE_RSHIFT: return 16;
    case SDL_SCANCODE_LCTRL: case SDL_SCANCODE_RCTRL: return 17;
    case SDL_SCANCODE_LALT: case SDL_SCANCODE_RALT: return 18;
    case SDL_SCANCODE_PAUSE: return 19;
    case SDL_SCANCODE_CAPSLOCK: return 20;
    case SDL_SCANCODE_PAGEUP: return 33;
    case SDL_SCANCODE_PAGEDOWN: return 34;
    case SDL_SCANCODE_END: return 35;
    case SDL_SCANCODE_HOME: return 36;
    case SDL_SCANCODE_INSERT: return 45;
    case SDL_SCANCODE_DELETE: return 46;
    case SDL_SCANCODE_KP_0: return 96;
    case SDL_SCANCODE_KP_MULTIPLY: return 106;
    case SDL_SCANCODE_KP_PLUS: return 107;
    case SDL_SCANCODE_KP_MINUS: return 109;
    case SDL_SCANCODE_KP_PERIOD: return 110;
    case SDL_SCANCODE_KP_DIVIDE: return 111;
    case SDL_SCANCODE_NUMLOCKCLEAR: return 144;
    case SDL_SCANCODE_SCROLLLOCK: return 145;
    case SDL_SCANCODE_SEMICOLON: return 186;
    case SDL_SCANCODE_EQUALS: return 187;
    case SDL_SCANCODE_COMMA: return 188;
    case SDL_SCANCODE_MINUS: return 189;
    case SDL_SCANCODE_PERIOD: return 190;
    case SDL_SCANCODE_SLASH: return 191;
    case SDL_SCANCODE_GRAVE: return 192;
    case SDL_SCANCODE_LEFTBRACKET: return 219;
    case SDL_SCANCODE_BACKSLASH: return 220;
    case SDL_SCANCODE_RIGHTBRACKET: return 221;
    case SDL_SCANCODE_APOSTROPHE: return 222;
    case SDL_SCANCODE_NONUSBACKSLASH: return 226;
    // Every other key still reaches the key map, whose "any key" rules look only at the
    // modifiers, under a code that no game key uses.
    default: return kOtherKey;
  }
}

int16_t ModifierStateOf(uint16_t m) {
  int16_t s = 0;
  if (m & KMOD_SHIFT) s |= kShiftMask;
  if (m & KMOD_CTRL) s |= kCtrlMask;
  if (m & KMOD_ALT) s |= kAltMask;
  return s;
}

namespace {

// The modifier keys, whose held state SDL keeps in the flags of every key event.
struct ModifierKey {
  SDL_Scancode key;
  uint16_t flag;
};
constexpr ModifierKey kModifierKeys[] = {
    {SDL_SCANCODE_LSHIFT, KMOD_LSHIFT}, {SDL_SCANCODE_RSHIFT, KMOD_RSHIFT}, {SDL_SCANCODE_LCTRL, KMOD_LCTRL},
    {SDL_SCANCODE_RCTRL, KMOD_RCTRL},   {SDL_SCANCODE_LALT, KMOD_LALT},     {SDL_SCANCODE_RALT, KMOD_RALT},
    {SDL_SCANCODE_LGUI, KMOD_LGUI},     {SDL_SCANCODE_RGUI, KMOD_RGUI},
};

const ModifierKey* ModifierKeyOf(SDL_Scancode key) {
  for (const ModifierKey& m : kModifierKeys) {
    if (m.key == key) return &m;
  }
  return nullptr;
}

int16_t ModifierOfCode(int16_t code) {
  switch (code) {
    case 16: return kShiftMask;
    case 17: return kCtrlMask;
    case 18: return kAltMask;
    default: return 0;
  }
}

}  // namespace

KeyCodes::KeyCodes() {
  for (int k = 0; k < SDL_NUM_SCANCODES; ++k) codes_[k] = VirtualKeyOf(static_cast<SDL_Scancode>(k));
}

void KeyCodes::Bind(SDL_Scancode key, int16_t code) {
  if (key > SDL_SCANCODE_UNKNOWN && key < SDL_NUM_SCANCODES) codes_[key] = code;
}

std::pair<int16_t, int16_t> KeyCodes::Event(SDL_Scancode key, uint16_t sdlMods, bool down) {
  held_[key] = down;
  return {codes_[key], Modifiers(sdlMods)};
}

int16_t KeyCodes::Modifiers(uint16_t sdlMods) const {
  int16_t state = 0;
  for (int k = 0; k < SDL_NUM_SCANCODES; ++k) {
    const int16_t bit = ModifierOfCode(codes_[k]);
    if (bit == 0) continue;
    // SDL knows best whether a modifier key is held (it was perhaps pressed before the window
    // had the keyboard); for other keys the events seen here tell.
    const ModifierKey* m = ModifierKeyOf(static_cast<SDL_Scancode>(k));
    if (m ? (sdlMods & m->flag) != 0 : held_[k]) state |= bit;
  }
  return state;
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
  SDL_SetWindowMinimumSize(window_, kMinimumWindowWidth, kMinimumWindowHeight);
  context_ = SDL_GL_CreateContext(window_);
  if (!context_) {
    std::string why = SDL_GetError();
    SDL_DestroyWindow(window_);
    window_ = nullptr;
    throw std::runtime_error("cannot create an OpenGL 3.3 context: " + why);
  }
  KeepGlDriverLoaded();
  SDL_GL_SetSwapInterval(0);  // a picture per tick: the tick loop paces them (see StartPictures)
  // No text input: an input method would swallow the key presses the game reads.
  SDL_StopTextInput();
  compositor_ = std::make_unique<GlCompositor>();
  if (const char* n = std::getenv("KELMORA_LOG_PRESENTS")) presentsToLog_ = std::atoi(n);
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
  handlers.BeforeEvents();
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
        const SDL_Scancode key = e.key.keysym.scancode;
        if (key <= SDL_SCANCODE_UNKNOWN || key >= SDL_NUM_SCANCODES) break;
        const auto [vk, mods] = keys_.Event(key, e.key.keysym.mod, e.type == SDL_KEYDOWN);
        if (e.type == SDL_KEYDOWN) {
          if (key == SDL_SCANCODE_F11 && !e.key.repeat) ToggleFullscreen();
          handlers.Form_KeyDown(vk, mods);
        } else {
          handlers.Form_KeyUp(vk, mods);
        }
        break;
      }
      case SDL_CONTROLLERBUTTONDOWN:
      case SDL_CONTROLLERBUTTONUP:
        // A seated pad's Start and Back are keys of their own (Enter and Esc outside a match),
        // so pad players need no keyboard; the keys held on the keyboard keep their modifiers.
        if (const int16_t vk = KeyOfPadButton(e.cbutton.button); vk != 0) {
          const int16_t mods = keys_.Modifiers(SDL_GetModState());
          if (e.type == SDL_CONTROLLERBUTTONDOWN) {
            handlers.Form_KeyDown(vk, mods);
          } else {
            handlers.Form_KeyUp(vk, mods);
          }
        }
        break;
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
  // Said on the terminal too, in the order the boxes come.
  std::fprintf(stderr, "[%s] %s\n", c.c_str(), t.c_str());
  std::fflush(stderr);
  // A driver that shows nothing has nobody to dismiss a box.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) return;
  if (!ShowDrawnMessageBox(text, caption, icon, window_)) SDL_ShowSimpleMessageBox(flags, c.c_str(), t.c_str(), window_);
  // The window's drawing goes on in its own context, whatever the box made current.
  if (window_ && context_) SDL_GL_MakeCurrent(window_, context_);
}

bool SdlWindow::StartPictures() {
  if (!window_ || !compositor_) return false;
  // Vertical sync, else adaptive sync (a late picture is shown at once), else none: then the
  // pacing spaces the pictures a display period apart itself.
  int interval = 1;
  if (SDL_GL_SetSwapInterval(1) != 0) interval = SDL_GL_SetSwapInterval(-1) == 0 ? -1 : 0;
  if (interval == 0) SDL_GL_SetSwapInterval(0);
  SDL_DisplayMode mode{};
  const int hz = SDL_GetWindowDisplayMode(window_, &mode) == 0 ? mode.refresh_rate : 0;
  pacing_.Start(DisplayPeriodMs(hz), interval != 0);
  pictures_ = true;
  if (presentsToLog_ > 0) {
    std::fprintf(stderr, "kelmora: pictures between ticks, swap interval %d, display %d Hz\n", interval, hz);
  }
  return true;
}

void SdlWindow::StopPictures() {
  if (!pictures_) return;
  pictures_ = false;
  if (window_) SDL_GL_SetSwapInterval(0);
}

void SdlWindow::SetScaling(Scaling scaling) {
  if (compositor_) compositor_->SetScaling(scaling);
}

void SdlWindow::Present(const Screen& screen) {
  if (!window_ || !compositor_) return;
  compositor_->Present(window_, screen, view_);
  if (pictures_) {
    const bool waited = pacing_.swapWaits();
    pacing_.Shown(SdlClock::Now());
    if (waited && !pacing_.swapWaits() && presentsToLog_ > 0) {
      std::fprintf(stderr, "kelmora: the swap does not wait for the display: pictures %.1f ms apart\n",
                   pacing_.periodMs());
    }
  }
  if (presentsShown_ < presentsToLog_) {
    // The wall clock, and the CPU time used so far by all threads (which a busy machine does
    // not stretch as it does the wall time).
    timespec now{}, cpu{};
    clock_gettime(CLOCK_REALTIME, &now);
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    std::fprintf(stderr, "kelmora: picture %d shown at %lld.%06ld after %.1f ms of CPU time\n",
                 ++presentsShown_, static_cast<long long>(now.tv_sec), now.tv_nsec / 1000,
                 static_cast<double>(cpu.tv_sec) * 1e3 + static_cast<double>(cpu.tv_nsec) / 1e6);
  }
}

void SdlWindow::Close() {
  compositor_.reset();
  if (context_) SDL_GL_DeleteContext(context_);
  context_ = nullptr;
  if (window_) SDL_DestroyWindow(window_);
  window_ = nullptr;
}

}  // namespace kelmora::platform
