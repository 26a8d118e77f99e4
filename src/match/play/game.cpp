#include "match/play/game.h"

#include "platform/asset_path.h"
#include "platform/clock.h"
#include "platform/window.h"

namespace kelmora {

void Game::DoEvents() {
  if (handlers) window.DoEvents(*handlers);
}

std::string Game::Asset(std::string_view path) const { return AssetPath(programFolder, path); }

int32_t Game::TickNow() { return static_cast<int32_t>(clock.GetTickCount() / platform::kTickMs); }

}  // namespace kelmora
