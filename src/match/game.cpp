#include "match/game.h"

#include "platform/clock.h"
#include "platform/window.h"

namespace kelmora {

void Game::DoEvents() {
  if (handlers) window.DoEvents(*handlers);
}

std::string Game::Asset(std::string_view path) const {
  std::string out = programFolder;
  for (char c : path) out += (c == '\\') ? '/' : c;
  return out;
}

int32_t Game::TickNow() { return static_cast<int32_t>(clock.GetTickCount() / platform::kTickMs); }

}  // namespace kelmora
