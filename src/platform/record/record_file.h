#pragma once
// The file of a recording: script lines, each stamped with the tick in which the program took
// the event, counted as the headless window counts a script's ticks. A headless run of the
// file plays the recorded session again.
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/headless/script.h"

namespace kelmora::platform {

// A recording that cannot be started; what() names the file.
struct RecordError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class RecordFile {
 public:
  // Creates (or empties) `path` and writes `heading` as comment lines; throws RecordError.
  RecordFile(const std::string& path, const std::vector<std::string>& heading);

  // The clock whose ticks stamp the events (the run's own clock, once it exists).
  void SetClock(Clock& clock) { clock_ = &clock; }
  // Ticks count from this tick of the clock (the tick before a match's first tick).
  void SetTickOrigin(int32_t origin) { origin_ = origin; }
  // The tick the events taken now are stamped with.
  int32_t Tick() const;
  // Writes the event with the tick of now; each line reaches the file at once, so a run
  // that ends abruptly leaves every event taken before.
  void Write(ScriptEvent e);
  // False once a line could not be written.
  bool ok() const { return ok_; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::ofstream out_;
  Clock* clock_ = nullptr;
  int32_t origin_ = 0;
  bool ok_ = true;
};

}  // namespace kelmora::platform
