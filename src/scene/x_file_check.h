#pragma once
// What the model reader (Assimp) does not check in a .x file and crashes or runs out of memory
// on: a face index past its mesh's vertices or normals, normal faces that do not match the
// faces, a face without corners, a face's material that its list never gave, a second
// material list, frames nested thousands deep, a mesh outside the frames of a model that has
// frames (whose root's list of meshes the reader then loses), a count larger than the file
// could hold. The file is followed the way the reader follows it, word for word. Binary and
// compressed .x files are not read at all: the game's models are text.
#include <string>
#include <string_view>

namespace kelmora::scene {

// What is wrong with the .x file text, or "" when it can be handed to the reader. A file the
// reader would give up on part way is refused here too: giving up, it leaks what it had read.
std::string XFileProblem(std::string_view text);

}  // namespace kelmora::scene
