#pragma once
// A file of the game (model, texture, wave) that cannot be loaded. The shell reports it with
// a message box that names the file and ends the program cleanly.
#include <stdexcept>
#include <string>

namespace kelmora::platform {

struct AssetError : std::runtime_error {
  AssetError(const std::string& file, const std::string& why)
      : std::runtime_error("Cannot load " + file + (why.empty() ? "" : ": " + why)), file(file) {}
  std::string file;
};

}  // namespace kelmora::platform
