#include "shell/recording.h"

#include <ctime>

#include "shell/options.h"

#ifndef KELMORA_VERSION
#define KELMORA_VERSION "unknown"
#endif

namespace kelmora {

std::vector<std::string> RecordingHeading(const Options& options) {
  char date[32] = "";
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  if (gmtime_r(&now, &utc)) std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S UTC", &utc);
  std::vector<std::string> heading{std::string("Kelmora ") + KELMORA_VERSION + ", recorded " + date};
  if (!options.playOptions.empty()) {
    std::string line = "recorded with";
    for (const std::string& word : options.playOptions) line += " " + word;
    heading.push_back(line + "; play it back with the same");
  }
  return heading;
}

std::unique_ptr<platform::RecordFile> OpenRecording(const Options& options) {
  return std::make_unique<platform::RecordFile>(options.record, RecordingHeading(options));
}

}  // namespace kelmora
