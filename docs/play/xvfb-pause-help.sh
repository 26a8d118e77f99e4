#!/bin/bash
# The pause and the help page in the real window on a virtual X display: F1 over the title and
# over the menu, then a two-player match paused with P, the help page opened over the pause and
# closed with Esc, play going on, a second pause with the Pause key, and Esc ending the match.
# The window is photographed along the way; while paused the dump must not grow, the picture
# must not change and the game must hardly use the CPU. The session is recorded, and its
# recording played back headlessly must dump the same match, byte for byte. Keys are held like
# a finger (80 ms). Run it as
#   xvfb-run -a -s "-screen 0 800x600x24" docs/play/xvfb-pause-help.sh BUILD_DIR OUT_DIR
# (needs xdotool and imagemagick).
BUILD=$(realpath "${1:-build}")
OUT=$(realpath "${2:-/tmp}")
cd "$BUILD" || exit 1
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
./kelmora --record "$OUT/pause.txt" --dump "$OUT/window.jsonl" &
GAME=$!
sleep 3
WIN=$(xdotool search --name Kelmora | head -1)
xdotool windowfocus "$WIN"
key() { xdotool keydown "$1" sleep 0.08 keyup "$1"; sleep "${2:-0.3}"; }
hold() { xdotool keydown "$1" sleep "$2" keyup "$1"; }
shot() { import -window "$WIN" "$OUT/$1.png"; }
ticks() { wc -l < "$OUT/window.jsonl"; }
cpu() { awk '{print $14 + $15}' "/proc/$GAME/stat"; }  # user and system time, 1/100 s

key F1 0.6; shot 01-title-help
key Escape 0.6; shot 02-title-again       # the title as it was
key Return 0.5                            # Game Start
key ctrl; key f                           # 1P (bear) and 2P (fox) join
key F1 0.6; shot 03-menu-help
key F1 0.6                                # F1 again closes it
key Down; key Down; key Left              # the first stage
key Return 5                              # the match
hold Right 0.3; sleep 0.3; hold s 0.4; sleep 1
key p 0.6; shot 04-paused
t0=$(ticks); c0=$(cpu); sleep 3; t1=$(ticks); c1=$(cpu)
shot 05-still-paused
echo "3 s paused: $((t1 - t0)) ticks ran, $(((c1 - c0) * 10)) ms of CPU used"
echo "pixels changed while paused: $(compare -metric AE "$OUT/04-paused.png" "$OUT/05-still-paused.png" null: 2>&1)"
key F1 0.6; shot 06-help-in-the-pause
key Escape 0.6; shot 07-paused-again      # Esc closes the help page first
key p 1.5; shot 08-playing-on
hold Left 0.4; hold w 0.3; sleep 0.5
key Pause 0.6; shot 09-paused-by-the-pause-key
key Pause 1
key Escape 1; shot 10-menu-after          # Esc ends the match at once
key Escape 0.8; key Down; key Return 1    # back to the title, Exit
if kill -0 $GAME 2>/dev/null; then echo "the game is still running" >&2; kill $GAME; exit 1; fi
wait $GAME; echo "played in the window: exit status $?"
# The last key went down in a window that has closed since: let it go on the display itself.
xdotool keyup Return

./kelmora --headless --script "$OUT/pause.txt" --dump "$OUT/headless.jsonl"
echo "played back headlessly: exit status $?"
echo "$(grep -c ' key-down \(80\|19\) ' "$OUT/pause.txt") pause keys recorded, $(ticks) match ticks dumped"
cmp "$OUT/window.jsonl" "$OUT/headless.jsonl" && echo "the window's match and its playback are the same"
