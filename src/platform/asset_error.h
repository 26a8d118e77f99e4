#pragma once
// A file of the game (model, texture, wave, tune) that cannot be loaded. The shell reports it
// with a message box that names the file and ends the program cleanly. The message is one
// line, whatever the reader that failed put into its reason.
#include <algorithm>
#include <stdexcept>
#include <string>

namespace kelmora::platform {

struct AssetError : std::runtime_error {
  AssetError(const std::string& path, const std::string& why)
      : std::runtime_error("Cannot load " + path + (why.empty() ? "" : ": " + OneLine(why))), file(path) {}
  std::string file;

 private:
  static std::string OneLine(std::string s) {
    std::replace_if(s.begin(), s.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
  }
};

}  // namespace kelmora::platform
