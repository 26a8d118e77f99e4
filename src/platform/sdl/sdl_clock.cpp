#include <SDL.h>

#include "platform/clock.h"

namespace kelmora::platform {

uint32_t SdlClock::GetTickCount() { return SDL_GetTicks(); }

double SdlClock::Now() {
  // SDL's performance counter runs on the clock its millisecond counter counts from; the
  // two are lined up once, at the first call.
  static const uint64_t frequency = SDL_GetPerformanceFrequency();
  static const uint64_t counterAtStart = SDL_GetPerformanceCounter();
  static const double msAtStart = static_cast<double>(SDL_GetTicks());
  const uint64_t since = SDL_GetPerformanceCounter() - counterAtStart;
  return msAtStart + static_cast<double>(since) * 1000.0 / static_cast<double>(frequency);
}

}  // namespace kelmora::platform
