#include "frontend/match_start.h"

#include "audio/music.h"
#include "frontend/show_screen.h"
#include "match/play/game.h"
#include "match/numbers.h"

namespace kelmora::frontend {

namespace {

constexpr int kLoadingPictures = 3;

bool TwoSeatsShareACharacter(const MatchState& st) {
  for (int p = 0; p < kSeats; ++p) {
    for (int q = p + 1; q < kSeats; ++q) {
      if (st.playerCharacter[p] != -1 && st.playerCharacter[p] == st.playerCharacter[q]) return true;
    }
  }
  return false;
}

int JoinedSeats(const MatchState& st) {
  int n = 0;
  for (int s = 0; s < kSeats; ++s) n += st.playerCharacter[s] != -1 ? 1 : 0;
  return n;
}

bool HeldByAnotherSeat(const MatchState& st, int seat, int character) {
  for (int s = 0; s < kSeats; ++s) {
    if (s != seat && st.playerCharacter[s] == character) return true;
  }
  return false;
}

// Empty seats, in seat order, become computer players; each draws until its character is
// free (at most three others hold one, so a free one always exists).
void FillEmptySeats(Game& g) {
  auto& st = g.st;
  for (int s = 0; s < kSeats; ++s) {
    if (st.playerCharacter[s] != -1) continue;
    st.isCpu[s] = 1;
    int character = 0;
    do {
      character = Int(g.rnd.Rnd() * kCharacters);
    } while (HeldByAnotherSeat(st, s, character));
    st.playerCharacter[s] = static_cast<int16_t>(character);
  }
}

}  // namespace

bool StartMatch(Game& g) {
  auto& st = g.st;
  g.music.MusicStop("MENU");
  DrawLoadingScreen(g.screen, SheetsOf(g), Int(g.rnd.Rnd() * kLoadingPictures));
  ShowScreen(g);
  g.DoEvents();
  if (g.closing) return false;

  for (int s = 0; s < kSeats; ++s) st.isCpu[s] = 0;
  if (TwoSeatsShareACharacter(st) || (st.cpuOption == 0 && JoinedSeats(st) <= 1)) {
    g.SoundPlay(kSoundCancel);
    return false;
  }
  if (st.cpuOption == 1) FillEmptySeats(g);
  g.SoundPlay(kSoundConfirm);
  return true;
}

}  // namespace kelmora::frontend
