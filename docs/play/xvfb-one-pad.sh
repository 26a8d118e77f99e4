#!/bin/bash
# One pad and no keyboard in the real window on a virtual X display: one-pad.txt plays the pad
# (the program's own headless pads, fed by the script, under the real window, sound and music)
# from the title to a match against computer players and back to the menu, and the window is
# photographed along the way. A headless run of the same script must dump the same match, byte
# for byte. Run it as
#   xvfb-run -a -s "-screen 0 800x600x24" docs/play/xvfb-one-pad.sh BUILD_DIR OUT_DIR
# (needs xdotool and imagemagick).
HERE=$(dirname "$(realpath "$0")")
BUILD=$(realpath "${1:-build}")
OUT=$(realpath "${2:-/tmp}")
cd "$BUILD" || exit 1
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
./kelmora --replay "$HERE/one-pad.txt" --dump "$OUT/window.jsonl" &
GAME=$!
START=$(date +%s.%N)
sleep 3
WIN=$(xdotool search --name Kelmora | head -1)
shot() { import -window "$WIN" "$OUT/$1.png"; }
# Seconds since the start, and the colour of the top middle of the window (black: a menu).
since() { echo "$(date +%s.%N) - $START" | bc; }
top() { import -window "$WIN" "$OUT/now.png"; convert "$OUT/now.png" -format '%[fx:int(255*p{320,5}.intensity)]' info:; }

# The menu holds its last choices from tick 604 to 900 (12 to 18 s after the first tick).
sleep "$(echo "15.5 - $(since)" | bc)"; shot 01-one-pad-menu
# The match: wait for its picture, then for the fox's walk (its first ten seconds).
for i in $(seq 1 60); do [ "$(top)" -gt 40 ] && break; sleep 0.5; done
sleep 8; shot 02-one-pad-match
# Start pauses the match 14 s in and Back ends it; the menu comes back.
for i in $(seq 1 60); do [ "$(top)" -lt 40 ] && break; sleep 0.5; done
sleep 1; shot 03-one-pad-menu-after; rm -f "$OUT/now.png"
for i in $(seq 1 40); do kill -0 $GAME 2>/dev/null || break; sleep 0.5; done
if kill -0 $GAME 2>/dev/null; then echo "the game is still running" >&2; kill $GAME; exit 1; fi
wait $GAME; echo "played in the window: exit status $?"

./kelmora --headless --script "$HERE/one-pad.txt" --dump "$OUT/headless.jsonl"
echo "played headlessly: exit status $?"
head -c 160 "$OUT/window.jsonl"; echo
cmp "$OUT/window.jsonl" "$OUT/headless.jsonl" && echo "the window's match and the headless one are the same"
