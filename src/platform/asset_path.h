#pragma once
// Asset paths: the game names its files as "\\model\\bear.x", under the program folder.
#include <string>
#include <string_view>

namespace kelmora {

// The program folder, then the path with its separators turned into this platform's.
inline std::string AssetPath(const std::string& folder, std::string_view path) {
  std::string out = folder;
  for (char c : path) out += (c == '\\') ? '/' : c;
  return out;
}

}  // namespace kelmora
