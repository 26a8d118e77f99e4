#pragma once
// Writing a controls file for the player to edit: `kelmora --write-controls`.
#include <string>

#include "input/controls.h"

namespace kelmora::input {

struct WriteResult {
  bool ok = false;
  std::string message;  // one line naming the file: what was written, or why nothing was
};

// Writes `controls` as a complete controls file at `path`, making its folders first. A file
// already there is left as it is unless `replace`; then it is first renamed to PATH.bak (an
// older .bak goes), so that nothing the player wrote is lost.
WriteResult WriteControlsFile(const std::string& path, const Controls& controls, bool replace);

}  // namespace kelmora::input
