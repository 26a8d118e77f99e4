#pragma once
// Message boxes that the program draws itself: SDL's own box on X11 draws with the X server's
// core fonts, which on most desktops (and under Xvfb) have no glyphs for Japanese text, so
// its boxes came up empty or not at all. This box is an SDL window whose text is rendered
// with stb_truetype from fonts that fontconfig says cover it (DejaVu Sans for Latin text,
// Droid Sans Fallback for Japanese on Debian), with an icon and an OK button.
#include <SDL.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window.h"

namespace kelmora::platform {

// The box's picture, ARGB; empty when no font can be read.
struct BoxPicture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  SDL_Rect button{};       // where the OK button is
  int missingGlyphs = 0;   // characters of the text that no font found has
};

// Lays out and draws the box for `text` (UTF-8, lines broken at '\n' and wrapped at spaces).
BoxPicture DrawMessageBox(std::string_view text, MessageIcon icon);

// Shows the box as a window of its own, modal over `parent` (may be null), until OK, Enter,
// Space, Esc, a pad's A, B, Start or Back, or its close button dismisses it. Events meant for
// other windows are dropped meanwhile; a quit request ends the box and stays queued. False
// when the box cannot be shown (no font, no window), so that the caller can fall back.
bool ShowDrawnMessageBox(std::string_view text, std::string_view caption, MessageIcon icon, SDL_Window* parent);

}  // namespace kelmora::platform
