#!/bin/bash
# A two-player match played in the real window on a virtual X display and recorded, then played
# back headlessly and in the window: all three dumps of the match must be the same, byte for
# byte. Keys are held like a finger (80 ms). Run it as
#   xvfb-run -a -s "-screen 0 800x600x24" docs/play/xvfb-record-replay.sh BUILD_DIR OUT_DIR
# (needs xdotool).
BUILD=$(realpath "${1:-build}")
OUT=$(realpath "${2:-/tmp}")
cd "$BUILD" || exit 1
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
./kelmora --record "$OUT/match.txt" --dump "$OUT/window.jsonl" &
GAME=$!
sleep 3
WIN=$(xdotool search --name Kelmora | head -1)
xdotool windowfocus "$WIN"
key() { xdotool keydown "$1" sleep 0.08 keyup "$1"; sleep "${2:-0.3}"; }
hold() { xdotool keydown "$1" sleep "$2" keyup "$1"; }
both() { xdotool keydown "$1" keydown "$2" sleep "$3" keyup "$1" keyup "$2"; }

key Return 0.5                         # Game Start
key ctrl; key f                        # 1P (bear) and 2P (fox) join
key Right; key d; key d                # 1P the fox's neighbour, 2P two further
key Down; key Down; key Left           # the first stage
key Return 5
hold Right 0.14; sleep 0.4; hold Down 0.22; sleep 0.5; key ctrl 0.4
hold Up 0.2; sleep 0.5; hold Right 0.3; sleep 0.5; key Up 0.3; key ctrl 0.3
hold a 0.18; sleep 0.4; hold s 0.12; sleep 0.4; key f 0.4
hold w 0.1; sleep 0.4; hold a 0.2; sleep 0.5; key w 0.3; key f 0.3
both Right a 0.6; hold s 1.2
for i in 1 2 3 4 5; do both Left Right 0.2; both w s 0.2; key ctrl 0.05; key f 0.05; key shift 0.05; key g 0.05; done
# The rest of the match: its dump has a line per tick, 1900 in all, written a few lines at a
# time (on a busy machine the game runs slower than real time rather than skip ticks).
for i in $(seq 1 600); do
  grep -q '"tick":1890,' "$OUT/window.jsonl" && break
  sleep 0.5
done
sleep 2
key Escape 0.8; key Down; key Return 1 # back to the title, Exit
if kill -0 $GAME 2>/dev/null; then echo "the game is still running" >&2; kill $GAME; exit 1; fi
wait $GAME; echo "recorded: exit status $?"

./kelmora --headless --script "$OUT/match.txt" --dump "$OUT/headless.jsonl"
echo "played back headlessly: exit status $?"
./kelmora --replay "$OUT/match.txt" --dump "$OUT/replay.jsonl"
echo "played back in the window: exit status $?"
wc -l "$OUT/window.jsonl"
cmp "$OUT/window.jsonl" "$OUT/headless.jsonl" && cmp "$OUT/window.jsonl" "$OUT/replay.jsonl" && echo "the three dumps are the same"
