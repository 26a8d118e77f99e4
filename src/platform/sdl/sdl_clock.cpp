#include <SDL.h>

#include <algorithm>
#include <limits>

#include "platform/clock.h"

namespace kelmora::platform {

uint32_t SdlClock::GetTickCount() { return SDL_GetTicks(); }

double SdlClock::Now() {
  // SDL's performance counter runs on the clock that its millisecond counter counts from.
  // That counter rounds the time since its start down in one part of each second and up in the
  // other, so it lies within a millisecond either side of it; the middle of the offsets seen
  // between the two counters is the start's own (it settles within a second or two of calls).
  static const double msPerCount = 1000.0 / static_cast<double>(SDL_GetPerformanceFrequency());
  static double least = std::numeric_limits<double>::infinity(), most = -least;
  const double counted = static_cast<double>(SDL_GetPerformanceCounter()) * msPerCount;
  const double offset = static_cast<double>(SDL_GetTicks()) - counted;
  least = std::min(least, offset);
  most = std::max(most, offset);
  return counted + (least + most) / 2;
}

}  // namespace kelmora::platform
