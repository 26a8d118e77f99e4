#include "platform/record/recording_window.h"

namespace kelmora::platform {

namespace {

// Writes each event down, then hands it on.
class Tap final : public WindowEvents {
 public:
  Tap(WindowEvents& out, RecordFile& file) : out_(out), file_(file) {}
  void Form_KeyDown(int16_t keyCode, int16_t shift) override {
    file_.Write({0, ScriptEvent::Kind::KeyDown, keyCode, shift});
    out_.Form_KeyDown(keyCode, shift);
  }
  void Form_KeyUp(int16_t keyCode, int16_t shift) override {
    file_.Write({0, ScriptEvent::Kind::KeyUp, keyCode, shift});
    out_.Form_KeyUp(keyCode, shift);
  }
  void Form_QueryUnload() override {
    file_.Write({0, ScriptEvent::Kind::Close});
    out_.Form_QueryUnload();
  }
  void BeforeEvents() override { out_.BeforeEvents(); }

 private:
  WindowEvents& out_;
  RecordFile& file_;
};

}  // namespace

void RecordingWindow::DoEvents(WindowEvents& handlers) {
  Tap tap(handlers, file_);
  inner_->DoEvents(tap);
}

}  // namespace kelmora::platform
