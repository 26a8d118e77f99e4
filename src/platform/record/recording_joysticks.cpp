#include "platform/record/recording_joysticks.h"

#include <algorithm>

namespace kelmora::platform {

int RecordingJoysticks::GetPos(int id, JoyPos& out) {
  const int status = inner_->GetPos(id, out);
  if (id < 0 || id >= kPadSlots) return status;
  Reading now;  // a joystick that stops answering reads idle, as the game takes it
  if (status == 0) {
    now.x = std::clamp<int32_t>(out.x, -32768, 32767);
    now.y = std::clamp<int32_t>(out.y, -32768, 32767);
    now.buttons = buttons_ ? buttons_(id, out.buttons) : out.buttons;
  } else if (!last_[id]) {
    return status;  // never seen: it stays absent in the recording too
  }
  if (last_[id] != now) {
    last_[id] = now;
    file_.Write({0, ScriptEvent::Kind::Joy, id, now.x, now.y, static_cast<int32_t>(now.buttons)});
  }
  return status;
}

}  // namespace kelmora::platform
