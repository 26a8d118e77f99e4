#include "midi_writer.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace assetgen::music {

namespace {

struct Event {
  int64_t tick;
  int order;  // at the same tick: set-up first, then note-offs, then note-ons
  std::vector<uint8_t> data;
};

void PutVarLen(Bytes& b, uint32_t v) {
  uint8_t buf[5];
  int n = 0;
  buf[n++] = v & 0x7f;
  while (v >>= 7) buf[n++] = static_cast<uint8_t>((v & 0x7f) | 0x80);
  while (n) b.push_back(buf[--n]);
}

void PutBig(Bytes& b, uint32_t v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) b.push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xff));
}

std::vector<uint8_t> Meta(uint8_t type, const std::vector<uint8_t>& payload) {
  std::vector<uint8_t> d{0xff, type};
  Bytes len;
  PutVarLen(len, static_cast<uint32_t>(payload.size()));
  d.insert(d.end(), len.begin(), len.end());
  d.insert(d.end(), payload.begin(), payload.end());
  return d;
}

std::vector<uint8_t> Text(const std::string& s) { return {s.begin(), s.end()}; }

Bytes Chunk(std::vector<Event> events, int64_t end) {
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
  });
  Bytes body;
  int64_t at = 0;
  for (const Event& e : events) {
    PutVarLen(body, static_cast<uint32_t>(e.tick - at));
    at = e.tick;
    body.insert(body.end(), e.data.begin(), e.data.end());
  }
  PutVarLen(body, static_cast<uint32_t>(end - at));
  const std::vector<uint8_t> eot = Meta(0x2f, {});
  body.insert(body.end(), eot.begin(), eot.end());
  Bytes chunk{'M', 'T', 'r', 'k'};
  PutBig(chunk, static_cast<uint32_t>(body.size()), 4);
  chunk.insert(chunk.end(), body.begin(), body.end());
  return chunk;
}

}  // namespace

int TempoMicroseconds(const Song& song) { return static_cast<int>(std::lround(60000000.0 / song.bpm)); }

double FileSeconds(const Song& song) {
  return static_cast<double>(song.EndTick()) / kTicksPerQuarter * TempoMicroseconds(song) / 1e6;
}

Bytes EncodeMidi(const Song& song) {
  const int64_t end = song.EndTick();
  Bytes file{'M', 'T', 'h', 'd'};
  PutBig(file, 6, 4);
  PutBig(file, 1, 2);
  PutBig(file, static_cast<uint32_t>(song.tracks.size() + 1), 2);
  PutBig(file, kTicksPerQuarter, 2);

  std::vector<Event> conductor;
  conductor.push_back({0, 0, Meta(0x03, Text(song.name))});
  int log2Bottom = 0;
  while ((1 << log2Bottom) < song.meterBottom) ++log2Bottom;
  conductor.push_back({0, 0, Meta(0x58, {static_cast<uint8_t>(song.meterTop), static_cast<uint8_t>(log2Bottom), 24, 8})});
  const uint32_t tempo = static_cast<uint32_t>(TempoMicroseconds(song));
  conductor.push_back({0, 0, Meta(0x51, {static_cast<uint8_t>(tempo >> 16), static_cast<uint8_t>(tempo >> 8),
                                         static_cast<uint8_t>(tempo)})});
  const Bytes first = Chunk(conductor, end);
  file.insert(file.end(), first.begin(), first.end());

  for (const Track& track : song.tracks) {
    if (track.channel < 0 || track.channel > 15) throw std::runtime_error("tune " + song.name + ": bad channel");
    const uint8_t ch = static_cast<uint8_t>(track.channel);
    std::vector<Event> events;
    events.push_back({0, 0, Meta(0x03, Text(track.name))});
    events.push_back({0, 0, {static_cast<uint8_t>(0xc0 | ch), static_cast<uint8_t>(track.program)}});
    auto control = [&](uint8_t number, int value) {
      events.push_back({0, 0, {static_cast<uint8_t>(0xb0 | ch), number, static_cast<uint8_t>(std::clamp(value, 0, 127))}});
    };
    control(7, track.volume);
    control(10, track.pan);
    control(91, track.reverb);
    control(93, track.chorus);
    for (const Note& n : track.notes) {
      if (n.start < 0 || n.start >= end || n.length <= 0 || n.pitch < 0 || n.pitch > 127)
        throw std::runtime_error("tune " + song.name + ": note out of range in " + track.name);
      const uint8_t key = static_cast<uint8_t>(n.pitch);
      events.push_back({n.start, 2, {static_cast<uint8_t>(0x90 | ch), key, static_cast<uint8_t>(std::clamp(n.velocity, 1, 127))}});
      events.push_back({std::min(end, n.start + n.length), 1, {static_cast<uint8_t>(0x80 | ch), key, 64}});
    }
    const Bytes chunk = Chunk(std::move(events), end);
    file.insert(file.end(), chunk.begin(), chunk.end());
  }
  return file;
}

}  // namespace assetgen::music
