#pragma once
// --record: the file a run writes its events to, headed by the program's version and the date
// (and the options that shape play, which a playback must be given too).
#include <memory>
#include <string>
#include <vector>

#include "platform/record/record_file.h"

namespace kelmora {

struct Options;

// The heading lines of a recording made now with these options.
std::vector<std::string> RecordingHeading(const Options& options);
// Creates the file of --record; throws platform::RecordError naming it.
std::unique_ptr<platform::RecordFile> OpenRecording(const Options& options);

}  // namespace kelmora
