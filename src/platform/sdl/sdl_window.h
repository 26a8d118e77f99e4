#pragma once
// The main window over SDL2: an OpenGL 3.3 core window, resizable down to 320 x 240, F11 for
// fullscreen; the logical screen is drawn scaled into it with its aspect kept.
#include <SDL.h>

#include <array>
#include <memory>
#include <utility>

#include "platform/picture_pacing.h"
#include "platform/window.h"

namespace kelmora::platform {

class GlCompositor;
class GlRenderer;
enum class Scaling : uint8_t;

// The smallest window: the small display mode's logical screen.
constexpr int kMinimumWindowWidth = 320, kMinimumWindowHeight = 240;

// What each key reaches the key map as: its virtual key code, and the modifier state (Shift 1,
// Ctrl 2, Alt 4) that the keys held make. A key bound to the code of Shift, Ctrl or Alt adds
// that modifier while it is held, whatever key it is; a modifier key bound to another code
// adds none.
class KeyCodes {
 public:
  // Every key as VirtualKeyOf gives it.
  KeyCodes();
  void Bind(SDL_Scancode key, int16_t code);
  int16_t Code(SDL_Scancode key) const { return codes_[key]; }
  // A key went down or up (`sdlMods` as SDL gives them with the event): the key's code and
  // the modifier state with this key's own change included.
  std::pair<int16_t, int16_t> Event(SDL_Scancode key, uint16_t sdlMods, bool down);
  // The modifier state that the keys held make now.
  int16_t Modifiers(uint16_t sdlMods) const;

 private:
  std::array<int16_t, SDL_NUM_SCANCODES> codes_;
  std::array<bool, SDL_NUM_SCANCODES> held_{};
};

class SdlWindow final : public Window {
 public:
  // Creates the window (hidden until Show); throws std::runtime_error naming what failed.
  explicit SdlWindow(const char* caption);
  ~SdlWindow() override;

  void Show() override;
  void WaitUntil(uint32_t deadlineMs) override;
  void DoEvents(WindowEvents& handlers) override;
  void MessageBox(std::string_view text, std::string_view caption, MessageIcon icon) override;
  void Present(const Screen& screen) override;
  void Close() override;
  bool StartPictures() override;
  void StopPictures() override;
  double NextPictureMs() const override { return pacing_.NextMs(); }

  // How the logical screen is scaled up to a larger window: smoothly (the default) or by the
  // largest whole multiple that fits.
  void SetScaling(Scaling scaling);

  // The renderer whose picture is the 3D view in Picture2 (it shares this window's context).
  void SetView(GlRenderer* view) { view_ = view; }
  // Key `key` reaches the key map as `code` from now on.
  void BindKey(SDL_Scancode key, int16_t code) { keys_.Bind(key, code); }

  SDL_Window* handle() const { return window_; }
  GlCompositor* compositor() const { return compositor_.get(); }

 private:
  void ToggleFullscreen();

  SDL_Window* window_ = nullptr;
  SDL_GLContext context_ = nullptr;
  std::unique_ptr<GlCompositor> compositor_;
  bool closeAsked_ = false;
  GlRenderer* view_ = nullptr;
  KeyCodes keys_;
  // With KELMORA_LOG_PRESENTS=N in the environment, the wall-clock time of each of the first
  // N pictures shown goes to stderr (start-up is timed against the moment of launch).
  int presentsToLog_ = 0, presentsShown_ = 0;
  // Pictures between ticks: whether they are being drawn, and when the next may be.
  bool pictures_ = false;
  PicturePacing pacing_;
};

// The code that keys without a virtual key code of their own reach the key map with.
constexpr int16_t kOtherKey = 255;

// The virtual key code of a key by its place on the keyboard (kOtherKey for keys the game has
// no code for), and the modifier state (Shift 1, Ctrl 2, Alt 4) of SDL modifier flags.
int16_t VirtualKeyOf(SDL_Scancode key);
int16_t ModifierStateOf(uint16_t sdlMods);

}  // namespace kelmora::platform
