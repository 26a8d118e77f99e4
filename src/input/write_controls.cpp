#include "input/write_controls.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "input/controls_file.h"

namespace kelmora::input {

WriteResult WriteControlsFile(const std::string& path, const Controls& controls, bool replace) {
  namespace fs = std::filesystem;
  const fs::path file(path);
  std::error_code ec;
  const fs::path folder = file.parent_path();
  if (!folder.empty()) {
    fs::create_directories(folder, ec);
    if (ec) return {false, folder.string() + ": cannot make the folder for the controls file (" + ec.message() + ")"};
  }
  const bool exists = fs::exists(fs::symlink_status(file, ec));
  std::string kept;
  if (exists) {
    if (fs::is_directory(file, ec)) return {false, path + ": is a folder, not a controls file; nothing was written"};
    if (!replace) {
      return {false, path + " already exists and was left as it is (edit it, or add --force for a fresh one; "
                     "the old one is then kept as " + path + ".bak)"};
    }
    const std::string backup = path + ".bak";
    fs::rename(file, backup, ec);
    if (ec) return {false, path + ": cannot keep the old file as " + backup + " (" + ec.message() + "); nothing was written"};
    kept = "; the old one is " + backup;
  }
  errno = 0;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (out) out << ControlsText(controls);
  if (out) out.close();
  if (!out) {
    const std::string why = errno ? std::strerror(errno) : "write failed";
    return {false, path + ": cannot write the controls file (" + why + ")" + kept};
  }
  return {true, "wrote the controls to " + path + kept};
}

}  // namespace kelmora::input
