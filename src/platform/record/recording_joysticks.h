#pragma once
// Joysticks whose readings are written down: every reading of a joystick slot that the program
// takes and that differs from the one before, as a script's joy line. The buttons are written
// as the game reads them (after the players' choice of buttons), so the recording plays back
// without the controls it was made with.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "platform/joystick_device.h"
#include "platform/record/record_file.h"

namespace kelmora::platform {

class RecordingJoysticks final : public JoystickDevice {
 public:
  RecordingJoysticks(std::unique_ptr<JoystickDevice> inner, RecordFile& file)
      : inner_(std::move(inner)), file_(file) {}

  // How the game turns a raw button mask of joystick `id` into the mask it reads.
  void SetButtonReading(std::function<uint32_t(int id, uint32_t raw)> reading) { buttons_ = std::move(reading); }

  int NumDevs() override { return inner_->NumDevs(); }
  int GetPos(int id, JoyPos& out) override;
  int GetDevCaps(int id, JoyCaps& out) override { return inner_->GetDevCaps(id, out); }
  void ShowSeat(int id, int seat) override { inner_->ShowSeat(id, seat); }
  void Rumble(int id, int ms) override { inner_->Rumble(id, ms); }

  JoystickDevice& inner() { return *inner_; }

 private:
  struct Reading {
    int32_t x = 0, y = 0;
    uint32_t buttons = 0;
    friend bool operator==(const Reading&, const Reading&) = default;
  };
  std::unique_ptr<JoystickDevice> inner_;
  RecordFile& file_;
  std::function<uint32_t(int, uint32_t)> buttons_;
  // The last reading written of each slot; none until it first answers.
  std::optional<Reading> last_[kPadSlots];
};

}  // namespace kelmora::platform
