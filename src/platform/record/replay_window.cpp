#include "platform/record/replay_window.h"

namespace kelmora::platform {

namespace {

constexpr int16_t kEscape = 27;

// The viewer's own keys do not play: Esc and the close request end the playback.
class Viewer final : public WindowEvents {
 public:
  void Form_KeyDown(int16_t keyCode, int16_t) override {
    if (keyCode == kEscape) ended = true;
  }
  void Form_KeyUp(int16_t, int16_t) override {}
  void Form_QueryUnload() override { ended = true; }
  bool ended = false;
};

}  // namespace

ReplayWindow::ReplayWindow(std::unique_ptr<Window> display, std::unique_ptr<HeadlessWindow> script,
                           VirtualClock& clock, Clock* real)
    : display_(std::move(display)), script_(std::move(script)), pacer_(clock, real) {}

void ReplayWindow::DoEvents(WindowEvents& handlers) {
  if (ended_) return;
  Viewer viewer;
  display_->DoEvents(viewer);
  if (viewer.ended) {
    ended_ = true;
    handlers.BeforeEvents();
    handlers.Form_QueryUnload();
    return;
  }
  script_->DoEvents(handlers);
}

}  // namespace kelmora::platform
