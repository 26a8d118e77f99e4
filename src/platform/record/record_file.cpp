#include "platform/record/record_file.h"

namespace kelmora::platform {

RecordFile::RecordFile(const std::string& path, const std::vector<std::string>& heading) : path_(path) {
  out_.open(path, std::ios::binary | std::ios::trunc);
  if (!out_) throw RecordError(path + ": cannot write the recording");
  for (const std::string& line : heading) out_ << "# " << line << '\n';
  out_.flush();
  if (!out_) throw RecordError(path + ": cannot write the recording");
}

int32_t RecordFile::Tick() const {
  if (!clock_) return 0;
  return static_cast<int32_t>(clock_->GetTickCount() / kTickMs) - origin_;
}

void RecordFile::Write(ScriptEvent e) {
  if (!ok_) return;
  e.tick = Tick();
  out_ << ScriptLine(e) << '\n';
  out_.flush();
  ok_ = static_cast<bool>(out_);
}

}  // namespace kelmora::platform
