#include <string>
#include <vector>

#include "shell/program.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return kelmora::RunProgram(args);
}
