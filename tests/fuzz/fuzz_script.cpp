// libFuzzer target: the reader of headless scripts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz_one_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string problem = kelmora::fuzzing::OneScript(std::string(reinterpret_cast<const char*>(data), size));
  if (!problem.empty()) {
    std::fprintf(stderr, "script reader: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
