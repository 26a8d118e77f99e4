// Placeholder bodies until the status panels land.
#include "match/status_panels.h"

#include "match/game.h"

namespace kelmora {

void DrawPanels(Game&) {}
void PlayVoice(Game&) {}

}  // namespace kelmora
