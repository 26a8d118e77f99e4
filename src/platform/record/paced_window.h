#pragma once
// A real window run on a virtual clock at the real clock's pace (see Pacer). The window's key
// events and close request reach the program only in the first pass of each tick, the one
// before the tick runs, which is where a headless run hands over a script's events. So what
// the program takes, and when, is exactly what a headless run of the same events would take.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/record/pacer.h"
#include "platform/window.h"

namespace kelmora::platform {

class PacedWindow final : public Window {
 public:
  // `real` null: no sleeping (tests).
  PacedWindow(std::unique_ptr<Window> inner, VirtualClock& clock, Clock* real);

  void Show() override { inner_->Show(); }
  void WaitUntil(uint32_t deadlineMs) override { pacer_.WaitUntil(deadlineMs); }
  void DoEvents(WindowEvents& handlers) override;
  void MessageBox(std::string_view text, std::string_view caption, MessageIcon icon) override {
    inner_->MessageBox(text, caption, icon);
  }
  void Present(const Screen& screen) override { inner_->Present(screen); }
  void Close() override { inner_->Close(); }

  Window& inner() { return *inner_; }

  // An event of the window, held until the next tick's first pass.
  struct Held {
    enum class Kind { KeyDown, KeyUp, Close } kind;
    int16_t keyCode = 0, shift = 0;
  };

 private:
  std::unique_ptr<Window> inner_;
  VirtualClock& clock_;
  Pacer pacer_;
  std::vector<Held> held_;
  int64_t lastTick_ = -1;  // the tick of the latest hand-over
  bool closed_ = false;
};

}  // namespace kelmora::platform
