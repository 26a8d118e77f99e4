#!/bin/bash
# A new player's journey in the real window on a virtual X display, keys held about 80 ms
# like a finger, with a screenshot of the window at each step. Run it as
#   xvfb-run -a -s "-screen 0 800x600x24" docs/frontend/xvfb-journey.sh BUILD_DIR OUT_DIR
# (needs xdotool and imagemagick).
BUILD=$(realpath "${1:-build}")
OUT=$(realpath "${2:-docs/frontend}")
cd "$BUILD" || exit 1
SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} ./kelmora &
GAME=$!
sleep 3
WIN=$(xdotool search --name Kelmora | head -1)
xdotool windowfocus "$WIN"
# One xdotool run per press, so that a busy machine cannot stretch the 80 ms hold.
key() { xdotool keydown "$1" sleep 0.08 keyup "$1"; sleep "${2:-0.3}"; }
hold() { xdotool keydown "$1" sleep "$2" keyup "$1"; }
shot() { import -window "$WIN" "$OUT/$1.png"; }

shot 01-title
key Down; shot 02-title-exit-chosen
key Up; key Return 0.5; shot 03-menu-empty
key ctrl; key f                        # 1P and 2P join
key Right; key Right                   # 1P: pig
key d; key d; key d                    # 2P: spider
shot 04-menu-character-row
key Down; key Right; shot 05-menu-display-mode-row   # 640x480
key Down; key Left; key c; shot 06-menu-stage-row-cpu-on   # first stage, computer players on
key Return 5; shot 08-match-640x480
for i in 1 2 3 4 5 6; do           # 1P walks about and swings
  hold Up 0.6; key ctrl 0.2
  hold Right 0.4; key ctrl 0.2
done
sleep 8; shot 09-match-hurry
# Watch for the end of the match: the last picture before the menu shows the winner.
sky() { convert "$1" -format '%[fx:int(255*p{320,5}.b)]' info:; }
for i in $(seq 1 80); do
  import -window "$WIN" "$OUT/now.png"
  if [ "$(sky "$OUT/now.png")" -lt 40 ]; then break; fi   # black top: the menu is back
  mv "$OUT/now.png" "$OUT/10-match-winner.png"
  sleep 0.5
done
sleep 0.5; shot 11-menu-after-the-match; rm -f "$OUT/now.png"
key Up; key Left; shot 12-menu-400x300-chosen
key Return 6; shot 13-match-400x300
key Escape 1.5; key Left; key Return 6; shot 14-match-320x240
key Escape 1.5; shot 15-menu-after-esc-in-the-match
key Escape 0.8; shot 16-title-after-esc-in-the-menu
key Down; key Return 1                 # Exit
if kill -0 $GAME 2>/dev/null; then echo "the game is still running" >&2; kill $GAME; exit 1; fi
wait $GAME
