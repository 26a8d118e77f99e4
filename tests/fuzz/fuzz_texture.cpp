// libFuzzer target: texture files.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz_one_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("kelmora-fuzz-texture-" + std::to_string(getpid()) + ".bmp")).string();
  const std::string problem = kelmora::fuzzing::OneFile(
      path, std::string(reinterpret_cast<const char*>(data), size), kelmora::fuzzing::FileKind::Texture);
  if (!problem.empty()) {
    std::fprintf(stderr, "texture loading: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
