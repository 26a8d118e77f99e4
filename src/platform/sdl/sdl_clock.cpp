#include <SDL.h>

#include "platform/clock.h"

namespace kelmora::platform {

uint32_t SdlClock::GetTickCount() { return SDL_GetTicks(); }

}  // namespace kelmora::platform
