#pragma once
// Plays a recording back in a real window at normal speed: the recording's events reach the
// program exactly as in a headless run of it (on the same virtual clock, kept to the real
// clock's pace); the window shows the pictures, and Esc or closing it ends the playback.
#include <memory>

#include "platform/headless/headless_window.h"
#include "platform/record/pacer.h"
#include "platform/window.h"

namespace kelmora::platform {

class ReplayWindow final : public Window {
 public:
  // `script` hands over the recording's events; `real` null: no sleeping (tests).
  ReplayWindow(std::unique_ptr<Window> display, std::unique_ptr<HeadlessWindow> script, VirtualClock& clock,
               Clock* real);

  void Show() override { display_->Show(); }
  void WaitUntil(uint32_t deadlineMs) override { pacer_.WaitUntil(deadlineMs); }
  void DoEvents(WindowEvents& handlers) override;
  void MessageBox(std::string_view text, std::string_view caption, MessageIcon icon) override {
    display_->MessageBox(text, caption, icon);
  }
  void Present(const Screen& screen) override { display_->Present(screen); }
  void Close() override { display_->Close(); }

  HeadlessWindow& script() { return *script_; }

 private:
  std::unique_ptr<Window> display_;
  std::unique_ptr<HeadlessWindow> script_;
  Pacer pacer_;
  bool ended_ = false;
};

}  // namespace kelmora::platform
