#pragma once
// The main window: key events, the close request, message boxes, and showing the logical
// screen. Backends: SDL2 with OpenGL (sdl/), and a headless one driven by a script (headless/).
#include <cstdint>
#include <string_view>

namespace kelmora::platform {

class Screen;

enum class MessageIcon { Information, Warning, Critical };

// Modifier state of a key event: Shift 1, Ctrl 2, Alt 4, added together.
constexpr int16_t kShiftMask = 1, kCtrlMask = 2, kAltMask = 4;

// A pad's Start and Back reach the handlers under codes of their own, which no key has: the
// program gives them their meaning (Enter and Esc outside a match; in a match Start pauses).
constexpr int16_t kPadStartKey = 250, kPadBackKey = 251;

// The handlers of the main window; the backends call them from DoEvents only.
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  // A key went down (also on key repeat) or up: virtual key code and modifier state.
  virtual void Form_KeyDown(int16_t keyCode, int16_t shift) = 0;
  virtual void Form_KeyUp(int16_t keyCode, int16_t shift) = 0;
  // The close box or system menu asked the window to close.
  virtual void Form_QueryUnload() = 0;
  // Called first by every DoEvents, before any of the pending events.
  virtual void BeforeEvents() {}
  // A script's seat control (an online match's confirmed controls played back): a change to
  // the seat as the key map makes it, or a pad seat's reading from now on.
  virtual void SeatControl(int /*seat*/, int /*kind*/, int /*value*/) {}
  virtual void SeatPad(int /*seat*/, int /*x*/, int /*z*/, uint32_t /*buttons*/) {}
};

class Window {
 public:
  virtual ~Window() = default;
  // Shows the window.
  virtual void Show() = 0;
  // Sleeps until the clock reaches deadlineMs or an input event is waiting; never spins.
  virtual void WaitUntil(uint32_t deadlineMs) = 0;
  // Lets pending window events run: each reaches the handlers in the order it happened.
  virtual void DoEvents(WindowEvents& handlers) = 0;
  // A modal message box with icon and caption.
  virtual void MessageBox(std::string_view text, std::string_view caption, MessageIcon icon) = 0;
  // Shows the logical screen (and the 3D view during a match), scaled to the window.
  virtual void Present(const Screen& screen) = 0;
  // Pictures between a match's ticks, which only the real window on the real clock draws:
  // StartPictures makes the swap wait for the display's refresh where the driver can, and
  // says whether the match is to draw between its ticks at all (otherwise each tick draws
  // one picture); StopPictures goes back to a picture per tick.
  virtual bool StartPictures() { return false; }
  virtual void StopPictures() {}
  // The time (SdlClock::Now) from which the next picture between ticks may be drawn.
  virtual double NextPictureMs() const { return 0; }
  // Hides and destroys the window (message boxes still work afterwards).
  virtual void Close() = 0;
};

}  // namespace kelmora::platform
