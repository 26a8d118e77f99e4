#pragma once
// The screens of the program. Each screen's loop returns the screen to hand over to; the
// shell's one loop runs it, so going back and forth never nests calls.
namespace kelmora {

enum class NextScreen { Title, Menu, Match, Exit, Closed };
// Exit: the title screen's Exit choice (the scene is released, nothing else).
// Closed: the close request has released everything; the program ends.

}  // namespace kelmora
