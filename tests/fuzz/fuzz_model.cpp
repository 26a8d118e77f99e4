// libFuzzer target: model files, read both as a mesh and as a model with its animation.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz_one_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using kelmora::fuzzing::FileKind;
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("kelmora-fuzz-model-" + std::to_string(getpid()) + ".x")).string();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  for (FileKind kind : {FileKind::Mesh, FileKind::AnimatedModel}) {
    const std::string problem = kelmora::fuzzing::OneFile(path, bytes, kind);
    if (!problem.empty()) {
      std::fprintf(stderr, "model loading: %s\n", problem.c_str());
      std::abort();
    }
  }
  return 0;
}
