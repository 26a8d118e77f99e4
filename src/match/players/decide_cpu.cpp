#include "match/game.h"
#include "match/seat_turn.h"

namespace kelmora {

void DecideCpu(Game&) {}

}  // namespace kelmora
