#pragma once
// What the model reader (Assimp) does not check in a .x file and crashes or runs out of memory
// on: a face index past its mesh's vertices or normals, normal faces that do not match the
// faces, a count larger than the file could hold. Binary and compressed .x files are not
// read at all: the game's models are text.
#include <string>
#include <string_view>

namespace kelmora::scene {

// What is wrong with the .x file text, or "" when it can be handed to the reader (which
// still refuses what it finds wrong itself).
std::string XFileProblem(std::string_view text);

}  // namespace kelmora::scene
