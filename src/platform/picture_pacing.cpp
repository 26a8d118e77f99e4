#include "platform/picture_pacing.h"

namespace kelmora::platform {

void PicturePacing::Start(double periodMs, bool swapWaits) {
  period_ = periodMs;
  swapWaits_ = swapWaits;
  next_ = 0;
  last_ = -1;
  probed_ = 0;
  probedMs_ = 0;
}

void PicturePacing::Shown(double nowMs) {
  if (!swapWaits_) {
    // A steady beat a period apart; after a stall longer than a period it starts again now.
    next_ += period_;
    if (next_ + period_ < nowMs) next_ = nowMs;
    return;
  }
  if (last_ >= 0) {
    probedMs_ += nowMs - last_;
    if (++probed_ == kProbePictures) {
      if (probedMs_ / probed_ < 0.8 * period_) swapWaits_ = false;
      probed_ = 0;
      probedMs_ = 0;
    }
  }
  last_ = nowMs;
  next_ = nowMs + (swapWaits_ ? period_ / 4 : period_);
}

double DisplayPeriodMs(int refreshHz) {
  return refreshHz >= 24 && refreshHz <= 500 ? 1000.0 / refreshHz : 1000.0 / 60;
}

}  // namespace kelmora::platform
