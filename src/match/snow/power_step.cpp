#include "match/game.h"
#include "match/characters.h"
#include "match/snow/powers.h"
#include "match/status_panels.h"
#include "scene/scene.h"

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
void Purchase(Game& g, int p, int16_t ch) {
  auto& st = g.st;
  st.specialTimer[p] = kPrices[ch].duration;
  st.power[p] = static_cast<int16_t>(st.power[p] - kPrices[ch].cost);
  if (ch == kMouse) {
    st.fireAnimTime = 0;
    g.SoundPlay(kSoundFire);
  }
  DrawPanels(g);
}

// One tick of the running power, seen with the timer already counted down.
void RunPower(Game& g, int16_t ch) {
  const int16_t t = g.st.specialTimer[g.st.seat];
  switch (ch) {
    case kBear:
      BearWallStep(g);
      break;
    case kFox:
      if (t == 9) PlaceDecoy(g);
      break;
    case kPig:
      if (t == 15 || t == 0) PigLanding(g);  // the two landings
      break;
    case kElephant:
      ElephantSuction(g);
      break;
    case kSpider:
      if (t == 9) PlaceNet(g);
      break;
    case kFish:
      BigFishStep(g);
      break;
    case kMole:
      MoleBurrow(g);
      break;
    case kFlyingSquirrel:
      SquirrelGlide(g);
      break;
    case kMouse:
      MouseFire(g);
      break;
    default:
      break;
  }
}

}  // namespace

void SpecialStep(Game& g) {
  auto& st = g.st;
  const int p = st.seat;
  const int16_t ch = st.playerCharacter[p];
  if (ch < kBear || ch > kMouse) return;

  if (st.specialTimer[p] == 0 && st.specialButton[p] == 1 && st.power[p] > 0) Purchase(g, p, ch);
  // A held button keeps the mole underground at no further cost.
  if (ch == kMole && st.specialButton[p] == 1 && st.specialTimer[p] == 1) st.specialTimer[p] = 2;
  if (st.specialTimer[p] >= 1) {
    st.specialTimer[p] = static_cast<int16_t>(st.specialTimer[p] - 1);
    RunPower(g, ch);
  }
  // The fox and the spider place one object per press: letting go ends the power.
  if ((ch == kFox || ch == kSpider) && st.specialButton[p] == 0) st.specialTimer[p] = 0;
}

void PigLift(Game& g) {
  auto& st = g.st;
  const int p = st.seat;
  const int t = st.specialTimer[p];
  if (st.playerCharacter[p] != kPig || t == 0) return;
  // Two falls of 2 units per tick: from 28 down to the landing at 15, then from 30 down to 0.
  const int height = t >= 16 ? 2 * t - 30 : 2 * t;
  g.scene.SetPosition(st.playerFrames[p], {}, st.posX[p], st.sway[0] + height, st.posZ[p]);
}

}  // namespace kelmora
