#include "match/characters.h"
#include "match/rules.h"
#include "match/snow/powers.h"

namespace kelmora {

namespace {

constexpr int kSoundFire = 19;

// What a purchase sets the timer to, and what it takes from the gauge, by character.
struct PowerPrice {
  int16_t duration, cost;
};
constexpr PowerPrice kPrices[9] = {
    {250, 25},  // bear: the giant bear wall
    {10, 20},   // fox: one decoy pile
    {30, 20},   // pig: two stomps
    {2, 1},     // elephant: suction
    {10, 10},   // spider: one net
    {200, 5},   // fish: the big fish
    {5, 10},    // mole: underground
    {2, 1},     // flying squirrel: glide
    {50, 50},   // mouse: fire
};

// Any positive gauge buys any power, so the gauge may end below zero.
void Purchase(Rules& r, int p, int16_t ch) {
  auto& st = r.st;
  st.specialTimer[p] = kPrices[ch].duration;
  st.power[p] = static_cast<int16_t>(st.power[p] - kPrices[ch].cost);
  if (ch == kMouse) {
    st.fireAnimTime = 0;
    r.Sound(kSoundFire);
  }
  r.Panels();
}

// One tick of the running power, seen with the timer already counted down.
void RunPower(Rules& r, int16_t ch) {
  const int16_t t = r.st.specialTimer[r.st.seat];
  switch (ch) {
    case kBear:
      BearWallStep(r);
      break;
    case kFox:
      if (t == 9) PlaceDecoy(r);
      break;
    case kPig:
      if (t == 15 || t == 0) PigLanding(r);  // the two landings
      break;
    case kElephant:
      ElephantSuction(r);
      break;
    case kSpider:
      if (t == 9) PlaceNet(r);
      break;
    case kFish:
      BigFishStep(r);
      break;
    case kMole:
      MoleBurrow(r);
      break;
    case kFlyingSquirrel:
      SquirrelGlide(r);
      break;
    case kMouse:
      MouseFire(r);
      break;
    default:
      break;
  }
}

}  // namespace

void SpecialStep(Rules& r) {
  auto& st = r.st;
  const int p = st.seat;
  const int16_t ch = st.playerCharacter[p];
  if (ch < kBear || ch > kMouse) return;

  if (st.specialTimer[p] == 0 && st.specialButton[p] == 1 && st.power[p] > 0) Purchase(r, p, ch);
  // A held button keeps the mole underground at no further cost.
  if (ch == kMole && st.specialButton[p] == 1 && st.specialTimer[p] == 1) st.specialTimer[p] = 2;
  if (st.specialTimer[p] >= 1) {
    st.specialTimer[p] = static_cast<int16_t>(st.specialTimer[p] - 1);
    RunPower(r, ch);
  }
  // The fox and the spider place one object per press: letting go ends the power.
  if ((ch == kFox || ch == kSpider) && st.specialButton[p] == 0) st.specialTimer[p] = 0;
}

void PigLift(Rules& r) {
  auto& st = r.st;
  const int p = st.seat;
  const int t = st.specialTimer[p];
  st.lift[p] = 0;
  if (st.playerCharacter[p] != kPig || t == 0) return;
  // Two falls of 2 units per tick: from 28 down to the landing at 15, then from 30 down to 0.
  st.lift[p] = static_cast<int16_t>(t >= 16 ? 2 * t - 30 : 2 * t);
}

}  // namespace kelmora
