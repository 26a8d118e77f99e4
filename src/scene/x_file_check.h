#pragma once
// What the model reader (Assimp) does not check in a .x file and crashes or runs out of memory
// on: a face index past its mesh's vertices or normals, normal faces that do not match the
// faces, a face without corners, a face's material that its list never gave, a second
// material list, frames nested thousands deep, a mesh outside the frames of a model that has
// frames (whose root's list of meshes the reader then loses), a count larger than the file
// could hold, a name or list running past the end of a binary file, a name or string longer
// than the reader's fixed strings (1,023 bytes and the terminator). The file is followed the
// way the reader follows it, word for word, in the text form or the binary one (the game's
// models are binary). Compressed .x files are not read at all.
#include <string>
#include <string_view>

namespace kelmora::scene {

// What is wrong with the .x file, or "" when it can be handed to the reader. The place named is
// a line of a text file, a byte offset of a binary one. A file the
// reader would give up on part way is refused here too: giving up, it leaks what it had read.
std::string XFileProblem(std::string_view text);

}  // namespace kelmora::scene
