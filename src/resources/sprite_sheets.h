#pragma once
// The two sprite sheets that travel inside the program, in the screen's pixel format.
#include <SDL.h>

namespace kelmora::resources {

// MenuSheet, 345 x 490: menu words, option words, seat markers, title art, bar columns.
SDL_Surface* LoadMenuSheet();
// CharacterSheet, 900 x 325: portraits, faces, stage thumbnails, loading pictures, logo.
SDL_Surface* LoadCharacterSheet();

// Both sheets, loaded together and freed with the object.
struct SpriteSheets {
  SpriteSheets() : menu(LoadMenuSheet()), character(LoadCharacterSheet()) {}
  ~SpriteSheets() {
    SDL_FreeSurface(menu);
    SDL_FreeSurface(character);
  }
  SpriteSheets(const SpriteSheets&) = delete;
  SpriteSheets& operator=(const SpriteSheets&) = delete;

  SDL_Surface* const menu;
  SDL_Surface* const character;
};

}  // namespace kelmora::resources
