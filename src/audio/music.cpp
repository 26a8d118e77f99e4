// Placeholder bodies until the music module lands.
#include "audio/music.h"

namespace kelmora::audio {

Music::Music(platform::MusicDevice& device) : device_(device) {}
int Music::MusicOpen(const std::string&, const std::string&) { return 0; }
int Music::MusicPlay(const std::string&, bool) { return 0; }
int Music::MusicStop(const std::string&) { return 0; }
int Music::MusicClose(const std::string&) { return 0; }
int Music::MusicCloseAll() { return 0; }
int Music::MusicPoll() { return 0; }

}  // namespace kelmora::audio
