#include "shell/state_dump.h"

#include <array>
#include <cstdio>
#include <type_traits>

#include "match/match_state.h"

namespace kelmora {

namespace {

void Put(std::string& out, int64_t v) { out += std::to_string(v); }

void Put(std::string& out, double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  out += buf;
}

template <class T, size_t N>
void Put(std::string& out, const std::array<T, N>& a) {
  out += '[';
  for (size_t i = 0; i < N; ++i) {
    if (i) out += ',';
    if constexpr (std::is_floating_point_v<T>) {
      Put(out, static_cast<double>(a[i]));
    } else {
      Put(out, static_cast<int64_t>(a[i]));
    }
  }
  out += ']';
}

template <class T>
void Field(std::string& out, const char* name, const T& v) {
  out += ",\"";
  out += name;
  out += "\":";
  if constexpr (std::is_floating_point_v<T>) {
    Put(out, static_cast<double>(v));
  } else if constexpr (std::is_integral_v<T>) {
    Put(out, static_cast<int64_t>(v));
  } else {
    Put(out, v);
  }
}

}  // namespace

#define KELMORA_FIELD(name) Field(out, #name, st.name)

std::string MatchStateJson(const MatchState& st, int match, int tick) {
  std::string out;
  out.reserve(4096);
  out += "{\"match\":" + std::to_string(match) + ",\"tick\":" + std::to_string(tick);
  KELMORA_FIELD(playerCharacter); KELMORA_FIELD(isCpu); KELMORA_FIELD(stage);
  KELMORA_FIELD(displayMode); KELMORA_FIELD(musicOn); KELMORA_FIELD(cpuOption);
  KELMORA_FIELD(menuCursor);
  KELMORA_FIELD(posX); KELMORA_FIELD(posZ); KELMORA_FIELD(velX); KELMORA_FIELD(velZ);
  KELMORA_FIELD(animFrame); KELMORA_FIELD(stickX); KELMORA_FIELD(stickZ);
  KELMORA_FIELD(actionButton); KELMORA_FIELD(specialButton); KELMORA_FIELD(cpuTargetPile);
  KELMORA_FIELD(cpuLastX); KELMORA_FIELD(cpuLastZ); KELMORA_FIELD(cpuStuckTicks);
  KELMORA_FIELD(cpuWaypointX); KELMORA_FIELD(cpuWaypointZ);
  KELMORA_FIELD(cpuWaypointTicks); KELMORA_FIELD(cpuCarryTicks);
  KELMORA_FIELD(cpuSearchTicks); KELMORA_FIELD(carrying); KELMORA_FIELD(faceX);
  KELMORA_FIELD(faceZ); KELMORA_FIELD(score); KELMORA_FIELD(pushTicks); KELMORA_FIELD(power);
  KELMORA_FIELD(specialTimer);
  KELMORA_FIELD(pileX); KELMORA_FIELD(pileZ); KELMORA_FIELD(decoyX); KELMORA_FIELD(decoyZ);
  KELMORA_FIELD(netX); KELMORA_FIELD(netZ); KELMORA_FIELD(netTimer);
  KELMORA_FIELD(blockX); KELMORA_FIELD(blockZ); KELMORA_FIELD(blockW); KELMORA_FIELD(blockD);
  KELMORA_FIELD(goalX); KELMORA_FIELD(goalZ); KELMORA_FIELD(goalWidth); KELMORA_FIELD(goalDepth);
  KELMORA_FIELD(fishX); KELMORA_FIELD(fishZ); KELMORA_FIELD(fishBlink); KELMORA_FIELD(fireAnimTime);
  KELMORA_FIELD(dropX); KELMORA_FIELD(dropHeight); KELMORA_FIELD(dropZ);
  KELMORA_FIELD(spotX); KELMORA_FIELD(spotZ); KELMORA_FIELD(spotTargetX); KELMORA_FIELD(spotTargetZ);
  KELMORA_FIELD(sway); KELMORA_FIELD(backX);
  KELMORA_FIELD(running); KELMORA_FIELD(lastTick); KELMORA_FIELD(matchCounter);
  KELMORA_FIELD(panelsDrawn); KELMORA_FIELD(winner); KELMORA_FIELD(seat); KELMORA_FIELD(index2);
  KELMORA_FIELD(enterPressed); KELMORA_FIELD(cpuKeyPressed); KELMORA_FIELD(musicKeyPressed);
  KELMORA_FIELD(fieldCleared); KELMORA_FIELD(prevX); KELMORA_FIELD(prevZ);
  KELMORA_FIELD(matchDrawn);
  out += '}';
  return out;
}

#undef KELMORA_FIELD

}  // namespace kelmora
