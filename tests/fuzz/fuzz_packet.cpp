// libFuzzer target: the decoder of the packets peers exchange in an online match. Whatever it
// takes must be whole and in range: seats 0..3, a range's changes only to its own seat, no
// more ticks and changes than a packet may hold; and encoding what it took gives it back.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "net/protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelmora;
  const auto m = net::Decode(data, size);
  if (!m || m->kind != net::MessageKind::Inputs) return 0;
  for (const net::InputRange& r : m->inputs.ranges) {
    bool ok = r.seat < kSeats && r.ticks.size() <= static_cast<size_t>(net::kMaxRangeTicks);
    for (const net::SeatInput& t : r.ticks) {
      ok = ok && t.count <= net::kMaxOpsPerSeat;
      for (int i = 0; ok && i < t.count; ++i) ok = t.ops[i].seat == r.seat && t.ops[i].value >= -1 && t.ops[i].value <= 1;
    }
    if (!ok) {
      std::fprintf(stderr, "packet decoder: a range out of bounds passed\n");
      std::abort();
    }
  }
  const std::vector<uint8_t> again = net::Encode(m->inputs);
  const auto back = net::Decode(again.data(), again.size());
  if (!back || back->inputs.ranges.size() != m->inputs.ranges.size()) {
    std::fprintf(stderr, "packet decoder: what it took does not encode back\n");
    std::abort();
  }
  return 0;
}
