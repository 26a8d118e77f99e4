// Placeholder key map (global keys only) until the input module lands.
#include "input/get_controller.h"

#include "match/match_state.h"
#include "platform/joystick_device.h"

namespace kelmora::input {

void Form_KeyDown(MatchState& st, int16_t keyCode, int16_t) {
  switch (keyCode) {
    case kVkEscape: st.running = 0; break;
    case kVkEnter: st.enterPressed = 1; break;
    case kVkC: st.cpuKeyPressed = 1; break;
    case kVkB: st.musicKeyPressed = 1; break;
    case kVkUp: st.stickZ[0] = -1; break;
    case kVkDown: st.stickZ[0] = 1; break;
    default: break;
  }
}

void Form_KeyUp(MatchState& st, int16_t keyCode, int16_t) {
  switch (keyCode) {
    case kVkEnter: st.enterPressed = 0; break;
    case kVkC: st.cpuKeyPressed = 0; break;
    case kVkB: st.musicKeyPressed = 0; break;
    case kVkUp: if (st.stickZ[0] == -1) st.stickZ[0] = 0; break;
    case kVkDown: if (st.stickZ[0] == 1) st.stickZ[0] = 0; break;
    default: break;
  }
}

void JoystickInit(Joysticks& joy, platform::JoystickDevice&, int32_t) { joy.joyId = -1; }
void JoystickRead(Joysticks& joy, platform::JoystickDevice&) {
  joy.joyX = joy.joyY = 0;
  joy.joyButtons = 0;
}

}  // namespace kelmora::input
