#include "match/game.h"
#include "match/seat_turn.h"

namespace kelmora {

void ActionStep(Game&) {}

}  // namespace kelmora
