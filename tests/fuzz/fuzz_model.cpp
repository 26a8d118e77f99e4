// libFuzzer target: model files, read both as a mesh and as a model with its animation.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "fuzz_one_input.h"

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

// Where a name or string of a binary file starts (its kind) and how long it is, token by
// token from the header to the first token that makes no sense.
std::vector<std::pair<size_t, uint32_t>> BinaryNames(const uint8_t* d, size_t size) {
  std::vector<std::pair<size_t, uint32_t>> out;
  const size_t floatBytes = size >= 16 && std::memcmp(d + 12, "0064", 4) == 0 ? 8 : 4;
  auto dword = [&](size_t at) { return uint32_t{d[at]} | uint32_t{d[at + 1]} << 8 | uint32_t{d[at + 2]} << 16 | uint32_t{d[at + 3]} << 24; };
  for (size_t at = 16; at + 2 <= size;) {
    const unsigned kind = d[at] | d[at + 1] << 8;
    const size_t data = at + 2;
    uint64_t next = data, n = 0;
    if (kind == 1 || kind == 2 || kind == 6 || kind == 7) {
      if (data + 4 > size) break;
      n = dword(data);
      next = data + 4 + (kind == 1 ? n : kind == 2 ? n + 2 : kind == 6 ? n * 4 : n * floatBytes);
    } else if (kind == 3 || kind == 5) {
      next = data + (kind == 3 ? 4 : 16);
    } else if (kind < 0x0a || kind > 0x34) {
      break;
    }
    if (next > size) break;
    if (kind == 1 || kind == 2) out.emplace_back(at, static_cast<uint32_t>(n));
    at = static_cast<size_t>(next);
  }
  return out;
}

// Lengths either side of the readers' fixed sizes, and longer ones.
constexpr size_t kStretches[] = {255, 256, 1023, 1024, 1100, 1200, 4096, 20000};

}  // namespace

// Besides libFuzzer's own mutations, one in eight stretches a word of a text file or a name or
// string of a binary one (its length made to match) to a length a fixed-size buffer may not
// hold: byte-level mutations alone seldom grow a name past a few dozen bytes.
extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned seed) {
  std::minstd_rand rng(seed);
  if (size < 17 || rng() % 8 != 0) return LLVMFuzzerMutate(data, size, maxSize);
  const size_t length = kStretches[rng() % std::size(kStretches)];
  std::string s(reinterpret_cast<const char*>(data), size);
  if (std::memcmp(data + 8, "bin ", 4) == 0) {
    const auto names = BinaryNames(data, size);
    if (names.empty()) return LLVMFuzzerMutate(data, size, maxSize);
    const auto [at, old] = names[rng() % names.size()];
    const size_t from = at + 6;
    const char fill = old > 0 ? s[from + old - 1] : 'n';
    s.insert(from + old, length > old ? length - old : 0, fill);
    s.erase(from + length, old > length ? old - length : 0);
    for (int b = 0; b < 4; ++b) s[at + 2 + b] = static_cast<char>(length >> (8 * b));
  } else {
    // The word at or after a random place: the characters up to a space, ; , { or }.
    const auto ends = [](char c) { return std::strchr(" \t\r\n;,{}", c) != nullptr; };
    size_t from = 16 + rng() % (size - 16);
    while (from < size && ends(s[from])) ++from;
    while (from > 16 && !ends(s[from - 1])) --from;
    size_t to = from;
    while (to < size && !ends(s[to])) ++to;
    if (to == from) return LLVMFuzzerMutate(data, size, maxSize);
    if (length > to - from) s.insert(to, length - (to - from), s[to - 1]);
  }
  if (s.size() > maxSize) return LLVMFuzzerMutate(data, size, maxSize);
  std::memcpy(data, s.data(), s.size());
  return s.size();
}

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
