#include "platform/record/paced_window.h"

namespace kelmora::platform {

namespace {

// Keeps the inner window's events for later.
class Holder final : public WindowEvents {
 public:
  explicit Holder(std::vector<PacedWindow::Held>& held) : held_(held) {}
  void Form_KeyDown(int16_t keyCode, int16_t shift) override {
    held_.push_back({PacedWindow::Held::Kind::KeyDown, keyCode, shift});
  }
  void Form_KeyUp(int16_t keyCode, int16_t shift) override {
    held_.push_back({PacedWindow::Held::Kind::KeyUp, keyCode, shift});
  }
  void Form_QueryUnload() override { held_.push_back({PacedWindow::Held::Kind::Close}); }

 private:
  std::vector<PacedWindow::Held>& held_;
};

}  // namespace

PacedWindow::PacedWindow(std::unique_ptr<Window> inner, VirtualClock& clock, Clock* real)
    : inner_(std::move(inner)), clock_(clock), pacer_(clock, real) {}

void PacedWindow::DoEvents(WindowEvents& handlers) {
  if (closed_) return;
  handlers.BeforeEvents();
  Holder holder(held_);
  inner_->DoEvents(holder);  // the window's own work (pictures, fullscreen) happens now
  const int64_t tick = clock_.GetTickCount() / kTickMs;
  if (tick == lastTick_) return;
  lastTick_ = tick;
  std::vector<Held> now;
  now.swap(held_);
  for (const Held& e : now) {
    switch (e.kind) {
      case Held::Kind::KeyDown: handlers.Form_KeyDown(e.keyCode, e.shift); break;
      case Held::Kind::KeyUp: handlers.Form_KeyUp(e.keyCode, e.shift); break;
      case Held::Kind::Close:
        closed_ = true;
        handlers.Form_QueryUnload();
        return;
    }
  }
}

}  // namespace kelmora::platform
