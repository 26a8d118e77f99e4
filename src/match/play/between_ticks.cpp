#include "match/play/between_ticks.h"

#include <algorithm>
#include <cmath>

#include "match/play/game.h"
#include "match/view/match_view.h"
#include "platform/clock.h"
#include "platform/window.h"

namespace kelmora {

bool StartPicturesBetweenTicks(Game& g) {
  g.view.picturesBetweenTicks = g.window.StartPictures();
  return g.view.picturesBetweenTicks;
}

void StopPicturesBetweenTicks(Game& g) {
  if (!g.view.picturesBetweenTicks) return;
  g.view.picturesBetweenTicks = false;
  g.window.StopPictures();
}

void PictureOrWait(Game& g, uint32_t tickBeganMs) {
  // Whether to wait is decided on the whole milliseconds that the wait counts in, so that a
  // wait never ends short of its deadline and the loop never comes round without sleeping.
  const uint32_t tickDue = tickBeganMs + platform::kTickMs;
  const auto pictureDue = static_cast<uint32_t>(std::ceil(g.window.NextPictureMs()));
  if (g.clock.GetTickCount() < pictureDue) {
    g.window.WaitUntil(std::min(tickDue, pictureDue));
    return;
  }
  const double f = (g.clock.Milliseconds() - tickBeganMs) / platform::kTickMs;
  // Before the first tick there is nothing to draw but the loading screen: wait for the tick.
  if (!RenderBetweenTicks(g.view, std::clamp(f, 0.0, 1.0))) g.window.WaitUntil(tickDue);
}

}  // namespace kelmora
