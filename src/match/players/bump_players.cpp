#include "match/game.h"
#include "match/seat_turn.h"

namespace kelmora {

void BumpPlayers(Game&) {}

}  // namespace kelmora
