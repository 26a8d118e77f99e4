#pragma once
// A window that writes down every key event and close request it hands to the program, with
// the tick it was handed over in. Everything else goes straight to the window it wraps.
#include <memory>

#include "platform/record/record_file.h"
#include "platform/window.h"

namespace kelmora::platform {

class RecordingWindow final : public Window {
 public:
  RecordingWindow(std::unique_ptr<Window> inner, RecordFile& file) : inner_(std::move(inner)), file_(file) {}

  void Show() override { inner_->Show(); }
  void WaitUntil(uint32_t deadlineMs) override { inner_->WaitUntil(deadlineMs); }
  void DoEvents(WindowEvents& handlers) override;
  void MessageBox(std::string_view text, std::string_view caption, MessageIcon icon) override {
    inner_->MessageBox(text, caption, icon);
  }
  void Present(const Screen& screen) override { inner_->Present(screen); }
  bool StartPictures() override { return inner_->StartPictures(); }
  void StopPictures() override { inner_->StopPictures(); }
  double NextPictureMs() const override { return inner_->NextPictureMs(); }
  void Close() override { inner_->Close(); }

 private:
  std::unique_ptr<Window> inner_;
  RecordFile& file_;
};

}  // namespace kelmora::platform
