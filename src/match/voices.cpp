#include "match/rules.h"

namespace kelmora {

namespace {

// The cheer of each character (sound table slots).
constexpr int kVoiceOf[9] = {3, 9, 8, 7, 11, 10, 16, 15, 13};

}  // namespace

void PlayVoice(Rules& r) {
  const int seat = r.st.seat;
  if (seat < 0 || seat >= kSeats) return;
  const int c = r.st.playerCharacter[seat];
  if (c < 0 || c > 8) return;
  r.Sound(kVoiceOf[c]);
}

}  // namespace kelmora
