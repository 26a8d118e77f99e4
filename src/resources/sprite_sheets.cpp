#include "resources/sprite_sheets.h"

#include <stdexcept>
#include <string>

#include "platform/screen.h"

namespace kelmora::resources {

extern const unsigned char kMenuSheetBmp[];
extern const unsigned long kMenuSheetBmpSize;
extern const unsigned char kCharacterSheetBmp[];
extern const unsigned long kCharacterSheetBmpSize;

namespace {
SDL_Surface* Load(const unsigned char* data, unsigned long size, const char* name) {
  SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
  SDL_Surface* s = rw ? SDL_LoadBMP_RW(rw, 1) : nullptr;
  if (!s) throw std::runtime_error(std::string("cannot read the embedded sprite sheet ") + name);
  // Stored with 24 bits a pixel; converted once here rather than at every copy to the screen.
  SDL_Surface* converted = SDL_ConvertSurfaceFormat(s, platform::kScreenPixelFormat, 0);
  SDL_FreeSurface(s);
  if (!converted) throw std::runtime_error(std::string("cannot convert the embedded sprite sheet ") + name);
  return converted;
}
}  // namespace

SDL_Surface* LoadMenuSheet() { return Load(kMenuSheetBmp, kMenuSheetBmpSize, "MenuSheet"); }
SDL_Surface* LoadCharacterSheet() {
  return Load(kCharacterSheetBmp, kCharacterSheetBmpSize, "CharacterSheet");
}

}  // namespace kelmora::resources
