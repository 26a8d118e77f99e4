#include "match/game.h"
#include "match/seat_turn.h"

namespace kelmora {

void MovePlayer(Game&) {}

}  // namespace kelmora
