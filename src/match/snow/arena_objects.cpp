#include "match/game.h"
#include "match/snow/special_powers.h"

namespace kelmora {

void UpdateNets(Game&) {}

}  // namespace kelmora
