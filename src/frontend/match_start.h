#pragma once
// The start of a match once the menu has seen Enter.
namespace kelmora {
struct Game;
}

namespace kelmora::frontend {

// Shows a loading picture drawn from the random generator, then checks the choices: no two
// joined seats on one character, and two players at least unless computer players fill the
// empty seats. A refused start plays the cancel sound and returns false. An accepted one
// gives every empty seat a computer player on a character nobody else holds (when the CPU
// option is on), plays the confirm sound and returns true.
bool StartMatch(Game& g);

}  // namespace kelmora::frontend
