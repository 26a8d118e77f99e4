#include "match/state_fields.h"

#include <array>
#include <bit>
#include <type_traits>

namespace kelmora {

namespace {

// Every field of MatchState, in the order it is declared.
#define KELMORA_STATE_FIELDS(X)                                                                              \
  X(playerCharacter) X(isCpu) X(stage) X(displayMode) X(musicOn) X(cpuOption) X(menuCursor) X(posX) X(posZ)  \
  X(velX) X(velZ) X(animFrame) X(stickX) X(stickZ) X(actionButton) X(specialButton) X(cpuTargetPile)         \
  X(cpuLastX) X(cpuLastZ) X(cpuStuckTicks) X(cpuWaypointX) X(cpuWaypointZ) X(cpuWaypointTicks)              \
  X(cpuCarryTicks) X(cpuSearchTicks) X(carrying) X(faceX) X(faceZ) X(score) X(pushTicks) X(power)            \
  X(specialTimer) X(pileX) X(pileZ) X(decoyX) X(decoyZ) X(netX) X(netZ) X(netTimer) X(blockX) X(blockZ)      \
  X(blockW) X(blockD) X(goalX) X(goalZ) X(goalWidth) X(goalDepth) X(fishX) X(fishZ) X(fishBlink)             \
  X(fireAnimTime) X(dropX) X(dropHeight) X(dropZ) X(spotX) X(spotZ) X(spotTargetX) X(spotTargetZ) X(sway)    \
  X(backX) X(running) X(lastTick) X(matchCounter) X(panelsDrawn) X(winner) X(seat) X(index2)                 \
  X(enterPressed) X(cpuKeyPressed) X(musicKeyPressed) X(fieldCleared) X(prevX) X(prevZ) X(matchDrawn)       \
  X(turnX) X(turnZ) X(poseFrame) X(lift) X(burrowed) X(shakeX) X(shakeY) X(shakeZ) X(giantBear) X(bigFish)   \
  X(moleMarker) X(fire) X(gift) X(fireShown)

// The whole numbers a value is made of: integers as they are, doubles by their bits.
template <class T>
uint64_t Bits(const T& v) {
  if constexpr (std::is_floating_point_v<T>) {
    return std::bit_cast<uint64_t>(static_cast<double>(v));
  } else {
    return static_cast<uint64_t>(static_cast<int64_t>(v));
  }
}

struct Hasher {
  uint64_t h = 0xcbf29ce484222325ULL;  // FNV-1a over 64-bit words
  void Word(uint64_t w) {
    for (int i = 0; i < 8; ++i) {
      h ^= (w >> (8 * i)) & 0xFF;
      h *= 0x100000001b3ULL;
    }
  }
  template <class T>
  void Add(const T& v) {
    Word(Bits(v));
  }
  template <class T, size_t N>
  void Add(const std::array<T, N>& a) {
    for (const T& v : a) Add(v);
  }
  void Add(const ObjectPlace& p) {
    Add(p.x);
    Add(p.y);
    Add(p.z);
  }
};

bool Differs(const ObjectPlace& a, const ObjectPlace& b, std::string& where) {
  if (Bits(a.x) != Bits(b.x)) where = ".x";
  else if (Bits(a.y) != Bits(b.y)) where = ".y";
  else if (Bits(a.z) != Bits(b.z)) where = ".z";
  return !where.empty();
}
template <class T>
bool Differs(const T& a, const T& b, std::string&) {
  return Bits(a) != Bits(b);
}
template <class T, size_t N>
bool Differs(const std::array<T, N>& a, const std::array<T, N>& b, std::string& where) {
  for (size_t i = 0; i < N; ++i) {
    if (Bits(a[i]) != Bits(b[i])) {
      where = "[" + std::to_string(i) + "]";
      return true;
    }
  }
  return false;
}

}  // namespace

uint64_t StateHash(const MatchState& st, const Random& rnd) {
  Hasher h;
#define KELMORA_HASH(name) h.Add(st.name);
  KELMORA_STATE_FIELDS(KELMORA_HASH)
#undef KELMORA_HASH
  h.Word(rnd.state());
  h.Word(rnd.draws());
  return h.h;
}

std::string FirstDifferentField(const MatchState& a, const Random& ra, const MatchState& b, const Random& rb) {
  std::string where;
#define KELMORA_COMPARE(name) \
  if (Differs(a.name, b.name, where)) return #name + where;
  KELMORA_STATE_FIELDS(KELMORA_COMPARE)
#undef KELMORA_COMPARE
  if (ra.state() != rb.state() || ra.draws() != rb.draws()) return "the generator";
  return "";
}

#undef KELMORA_STATE_FIELDS

}  // namespace kelmora
