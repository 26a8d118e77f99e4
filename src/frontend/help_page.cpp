#include "frontend/help_page.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "input/controls.h"
#include "input/controls_file.h"
#include "match/play/game.h"
#include "platform/font_text.h"
#include "platform/screen.h"

namespace kelmora::frontend {

namespace {

using platform::Canvas;
using platform::FontFaces;

constexpr int kW = platform::Screen::kOverlayWidth, kH = platform::Screen::kOverlayHeight;
constexpr uint32_t kPanel = 0xF4121A2A, kRule = 0xFF3A4A66;
constexpr uint32_t kWhite = 0xFFFFFF, kPale = 0xC8D2E6, kYellow = 0xFFE45C;
// The seats' colours, as their markers and boards show them.
constexpr uint32_t kSeatInk[4] = {0xFF5A4A, 0x6E94FF, 0x52DA6A, 0xFFD936};

// The characters in CharacterId order, and what each one's special power does.
struct Animal {
  const char* name;
  const char* power;
};
constexpr Animal kAnimals[9] = {
    {"Bear", "a giant bear stands as a wall for 5 s (25)"},
    {"Fox", "a decoy pile that cannot be scooped (20)"},
    {"Pig", "stomps: the others' loads fall off (20)"},
    {"Elephant", "draws piles in while held (1 per 40 ms)"},
    {"Spider", "a net that holds whoever walks in (10)"},
    {"Fish", "a big fish: who walks on it slides (5)"},
    {"Mole", "burrows under the piles while held (10)"},
    {"Flying squirrel", "glides fast while held (1 per 40 ms)"},
    {"Mouse", "fire: burns piles, blows players off (50)"},
};

// A pad's buttons by number, as the pads read (sdl_pad_reading.h).
constexpr const char* kPadButtonNames[] = {"bottom",         "right",         "left",          "top",
                                           "left shoulder",  "right shoulder", "left trigger", "right trigger",
                                           "left stick in",  "right stick in"};

std::string ButtonText(int button) {
  std::string out = "button " + std::to_string(button);
  if (button >= 1 && button <= static_cast<int>(std::size(kPadButtonNames))) {
    out += std::string(" (") + kPadButtonNames[button - 1] + (button <= 4 ? " face)" : ")");
  }
  return out;
}

std::string KeysText(const std::vector<SDL_Scancode>& keys) {
  std::string out;
  for (size_t i = 0; i < keys.size(); ++i) {
    out += (i == 0 ? "" : i + 1 == keys.size() ? " or " : ", ") + input::KeyName(keys[i]);
  }
  return out.empty() ? "none" : out;
}

// Writes text (UTF-8) with its top left at (x, y); returns the height it took.
int Write(Canvas& c, FontFaces& faces, const std::string& text, int x, int y, uint32_t colour, float wrap = kW) {
  const platform::TextLayout t = platform::LayText(platform::DecodeUtf8(text), faces, wrap);
  if (!t.drawable) return 0;
  platform::DrawText(c, t, x, y, colour);
  return t.lines() * static_cast<int>(t.lineHeight);
}

int WidthOf(FontFaces& faces, const std::string& text) {
  const platform::TextLayout t = platform::LayText(platform::DecodeUtf8(text), faces, 1e9f);
  return t.drawable ? static_cast<int>(std::lround(t.widths[0])) : 0;
}

Canvas OverlayCanvas(platform::Screen& screen) {
  SDL_Surface* o = screen.overlay();
  return Canvas{o->w, o->h, static_cast<uint32_t*>(o->pixels), o->pitch / 4};
}

const std::u32string kSample = U"Kelmora: P, Pause, F1 – ok";

}  // namespace

SeatControlNames SeatControls(const input::Controls& controls, int seat) {
  if (seat < input::kKeySeats) {
    const auto& k = controls.keys[seat];
    return {KeysText(k[input::kUp]) + ", " + KeysText(k[input::kDown]) + ", " + KeysText(k[input::kLeft]) + ", " +
                KeysText(k[input::kRight]),
            KeysText(k[input::kAction]), KeysText(k[input::kSpecial])};
  }
  const auto& b = controls.buttons[seat - input::kKeySeats];
  return {"a pad's stick or D-pad", ButtonText(b[input::kButtonAction]), ButtonText(b[input::kButtonSpecial])};
}

void DrawHelpPage(platform::Screen& screen, Sheets sheets, const input::Controls& controls) {
  Canvas c = OverlayCanvas(screen);
  c.Fill(0, 0, kW, kH, kPanel);
  FontFaces big(kSample, 24.0f), head(kSample, 14.0f), body(kSample, 11.5f);
  constexpr int kLeft = 22, kWrap = kW - 2 * kLeft;
  Write(c, big, "How to play", kLeft, 10, kWhite);
  const std::string close = "F1 or Esc closes this page";
  Write(c, body, close, kW - kLeft - WidthOf(body, close), 20, kPale);
  int y = 44;
  auto section = [&](const std::string& title) {
    c.Fill(kLeft, y, kW - kLeft, y + 1, kRule);
    y += 4;
    y += Write(c, head, title, kLeft, y, kYellow);
  };
  auto para = [&](const std::string& text) { y += Write(c, body, text, kLeft, y, kWhite, kWrap); };

  // Seat, then the move, action and special columns (their names beside the heading).
  constexpr int kColumnX[4] = {kLeft, 110, 262, 446};
  for (int k = 1; k < 4; ++k) Write(c, body, k == 1 ? "move" : k == 2 ? "action" : "special", kColumnX[k], y + 7, kPale);
  section("Controls");
  auto row = [&](const std::string (&cells)[4], uint32_t first) {
    int h = 0;
    for (int k = 0; k < 4; ++k) {
      const int right = k < 3 ? kColumnX[k + 1] - 10 : kW - kLeft;
      h = std::max(h, Write(c, body, cells[k], kColumnX[k], y, k == 0 ? first : kWhite,
                            static_cast<float>(right - kColumnX[k])));
    }
    y += h;
  };
  for (int s = 0; s < 4; ++s) {
    const SeatControlNames n = SeatControls(controls, s);
    row({std::to_string(s + 1) + "P", n.move, n.action, n.special}, kSeatInk[s]);
  }
  para("A third and a fourth pad play 2P and 1P beside their keys: button 1 is the action, button 2 the special.");
  y += 3;

  section("Joining and starting");
  para("Title: Enter on Game Start. Menu: your action joins (again: leaves), Left and Right pick "
       "your animal, 1P's Up and Down reach the display mode and stage rows; C: computer players for the empty "
       "seats, B: music off or on. Enter starts the match, Esc goes back (a pad's Start and Back). In a match P, "
       "Pause or a pad's Start pauses and plays on; Esc ends the match (a pad's Back while paused). F11: full screen.");
  y += 3;

  section("Scoring");
  para("Shove a snow pile by walking into it, or scoop it with action from a shovel length away, carry it to the "
       "goal and throw it in with action: each pile in the goal scores 1. After 34 s the highest score wins; a "
       "shared top score is a draw. Under the view: each seat's score (the blue bar) and energy (the yellow one), "
       "which the special power spends (the costs are in brackets) and the falling gift fills again.");
  y += 3;

  section("The animals and their special powers");
  constexpr int kFace = 30, kColumn = (kW - 2 * kLeft) / 3;
  const int top = y + 2;
  for (int n = 0; n < 9; ++n) {
    const int x = kLeft + (n % 3) * kColumn, rowY = top + (n / 3) * 42;
    if (sheets.character) {
      SDL_Rect src{50 * n, 100, 50, 50}, dst{x, rowY + 2, kFace, kFace};
      SDL_SetSurfaceBlendMode(sheets.character, SDL_BLENDMODE_NONE);
      SDL_BlitScaled(sheets.character, &src, screen.overlay(), &dst);
    }
    const int textX = x + kFace + 6, wrap = kColumn - kFace - 12;
    const int h = Write(c, body, kAnimals[n].name, textX, rowY, kYellow);
    Write(c, body, kAnimals[n].power, textX, rowY + h, kWhite, static_cast<float>(wrap));
  }
  screen.OverlayChanged();
}

void DrawPauseOverlay(platform::Screen& screen) {
  Canvas c = OverlayCanvas(screen);
  c.Fill(0, 0, kW, kH, 0x90000000);
  c.Fill(0, 130, kW, 300, 0xC0000000);
  FontFaces big(kSample, 56.0f), body(kSample, 16.0f);
  const std::string title = "Paused";
  Write(c, big, title, (kW - WidthOf(big, title)) / 2, 140, kWhite);
  int y = 222;
  for (const char* line : {"P, Pause or a pad's Start: play on", "Esc, or a pad's Back: end the match",
                           "F1: how to play"}) {
    y += Write(c, body, line, (kW - WidthOf(body, line)) / 2, y, kPale);
  }
  screen.OverlayChanged();
}

void DrawNotice(platform::Screen& screen, const std::string& text) {
  Canvas c = OverlayCanvas(screen);
  c.Fill(0, 0, kW, kH, 0x00000000);
  c.Fill(0, 20, kW, 70, 0xB0000000);
  FontFaces body(kSample, 24.0f);
  Write(c, body, text, (kW - WidthOf(body, text)) / 2, 32, kWhite);
  screen.OverlayChanged();
}

void DrawFootnote(platform::Screen& screen, const std::string& text) {
  Canvas c = OverlayCanvas(screen);
  c.Fill(0, 0, kW, kH, 0x00000000);
  c.Fill(0, kH - 34, kW, 34, 0xB0000000);
  FontFaces body(kSample, 17.0f);
  Write(c, body, text, std::max(8, (kW - WidthOf(body, text)) / 2), kH - 28, kWhite);
  screen.OverlayChanged();
}

void ApplyHelp(Game& g) {
  const bool wanted = g.helpAsked && (g.helpHere || (g.pausable && g.pauseAsked));
  if (wanted == g.helpShown) return;
  g.helpShown = wanted;
  if (wanted) {
    DrawHelpPage(g.screen, {g.view.menuSheet, g.view.characterSheet}, g.bindings);
    g.screen.ShowOverlay(true);
  } else if (g.pausable && g.pauseAsked) {
    DrawPauseOverlay(g.screen);
  } else {
    g.screen.ShowOverlay(false);
  }
}

HelpHere::HelpHere(Game& g) : g_(g) {
  g_.helpHere = true;
  g_.helpAsked = false;
}

HelpHere::~HelpHere() {
  g_.helpHere = false;
  g_.helpAsked = false;
  ApplyHelp(g_);
}

}  // namespace kelmora::frontend
