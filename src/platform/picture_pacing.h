#pragma once
// When the real window may draw its next picture between a match's ticks. While the swap waits
// for the display's refresh (vertical sync) the pictures follow the swap, never closer than a
// quarter of the display's period; a swap seen to run faster than the display over 32 pictures
// does not wait, and from then on the pictures are paced a display period apart, so that the
// loop sleeps between them instead of drawing as fast as it can.
#include <cstdint>

namespace kelmora::platform {

class PicturePacing {
 public:
  static constexpr int kProbePictures = 32;

  // A new run of pictures on a display of `periodMs`; `swapWaits`: the swap was asked to wait.
  void Start(double periodMs, bool swapWaits);
  // A picture was shown at `nowMs`.
  void Shown(double nowMs);
  // The time from which the next picture may be drawn.
  double NextMs() const { return next_; }
  bool swapWaits() const { return swapWaits_; }
  double periodMs() const { return period_; }

 private:
  double period_ = 1000.0 / 60;
  bool swapWaits_ = false;
  double next_ = 0, last_ = -1;
  // Pictures and their summed intervals since the last check of the swap.
  int probed_ = 0;
  double probedMs_ = 0;
};

// The period of a display of `refreshHz` (60 Hz when the display does not say).
double DisplayPeriodMs(int refreshHz);

}  // namespace kelmora::platform
