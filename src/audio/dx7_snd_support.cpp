// Placeholder bodies until the sound module lands.
#include "audio/dx7_snd_support.h"

namespace kelmora::audio {

Dx7DSndSupport::Dx7DSndSupport(platform::SoundDevice& device, platform::Window& window)
    : device_(device), window_(window) {}
bool Dx7DSndSupport::SoundInit(int) { return true; }
void Dx7DSndSupport::SoundShutdown() {}
SoundEntry Dx7DSndSupport::SoundLoad(const std::string&, int) { return {}; }
void Dx7DSndSupport::SoundRelease(SoundEntry&) {}
void Dx7DSndSupport::SoundPlay(SoundEntry&) {}
void Dx7DSndSupport::SoundPlayLoop(SoundEntry&) {}
void Dx7DSndSupport::SoundStopAll(SoundEntry&) {}
void LoadSoundTable(Dx7DSndSupport&, SoundTable&) {}

}  // namespace kelmora::audio
