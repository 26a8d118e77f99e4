// Walking into a pile shoves it; every pile lying in the goal is delivered to the pusher.
#include "match/characters.h"
#include "match/rules.h"
#include "match/numbers.h"
#include "match/reach.h"
#include "match/snow/shovel.h"

namespace kelmora {

namespace {

constexpr int kSoundScrape = 5;
constexpr int16_t kPushHold = 5;
constexpr int16_t kPushStep = 2;
// A pile counts as in the goal by the spot 25 units above its x and z, edges included.
constexpr int kGoalOffset = 25;

// Moves a pile coordinate 2 units away from the player; a pile level with it goes up.
void Shove(int16_t& pile, double player) {
  if (pile < player) pile = static_cast<int16_t>(pile - kPushStep);
  if (pile >= player) pile = static_cast<int16_t>(pile + kPushStep);
}

bool PileInGoal(const MatchState& st, int j) {
  return OnGoal(st, st.pileX[j] + kGoalOffset, st.pileZ[j] + kGoalOffset);
}

// Once the field is cleared the computer seats stand where they are, hands off the buttons.
void ParkComputerSeats(MatchState& st) {
  for (int s = 0; s < kSeats; ++s) {
    if (st.isCpu[s] != 1) continue;
    st.cpuWaypointX[s] = ToInt16(st.posX[s]);
    st.cpuWaypointZ[s] = ToInt16(st.posZ[s]);
    st.stickX[s] = st.stickZ[s] = 0;
    st.actionButton[s] = st.specialButton[s] = 0;
  }
}

}  // namespace

void PushPile(Rules& r, int p, int k) {
  auto& st = r.st;
  if (20 <= st.animFrame[p] && st.animFrame[p] <= 49) return;  // swinging or carrying
  if (Underground(st, p)) return;

  st.pushTicks[p] = kPushHold;
  if (st.animFrame[p] < 20) st.animFrame[p] = static_cast<int16_t>(st.animFrame[p] + 50);
  if (st.animFrame[p] == 55 || st.animFrame[p] == 65) r.Sound(kSoundScrape);

  if (st.stickX[p] != 0) Shove(st.pileX[k], st.posX[p]);
  if (st.stickZ[p] != 0) Shove(st.pileZ[k], st.posZ[p]);

  for (int j = 0; j < kPileSlots; ++j) {
    if (!PileInGoal(st, j)) continue;
    st.pileX[j] = kAbsent;
    ++st.score[p];
    PlayVoice(r);
    r.Panels();
  }

  int empty = 0;
  for (int j = 0; j < kPileSlots; ++j) empty += st.pileX[j] == kAbsent ? 1 : 0;
  if (empty > 29) st.fieldCleared = 1;
  if (st.fieldCleared == 1) ParkComputerSeats(st);
}

}  // namespace kelmora
