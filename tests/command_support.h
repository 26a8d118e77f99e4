#pragma once
// Running commands and reading files in the tests of the program as a command.
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace kelmora::testing {

struct CommandResult {
  int status = -1;  // exit status, -1 when the command did not run or did not exit
  std::string out;  // what it wrote to standard output
};

// Runs a shell command and captures its standard output (redirect 2>&1 to capture errors too).
inline CommandResult RunCommand(const std::string& cmd) {
  CommandResult r;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  const int st = pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

// The whole file as bytes; empty when it cannot be read.
inline std::string ReadFileText(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

}  // namespace kelmora::testing
