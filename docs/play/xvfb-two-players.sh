#!/bin/bash
# Two people on one keyboard in the real window on a virtual X display: 1P (arrows, Ctrl) and
# 2P (W A S D, F) join, start a match on the first stage and play it; keys are held like a
# finger and the window is photographed along the way. Run it as
#   xvfb-run -a -s "-screen 0 800x600x24" docs/play/xvfb-two-players.sh BUILD_DIR OUT_DIR
# (needs xdotool and imagemagick).
BUILD=$(realpath "${1:-build}")
OUT=$(realpath "${2:-/tmp}")
cd "$BUILD" || exit 1
SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} ./kelmora &
GAME=$!
sleep 3
WIN=$(xdotool search --name Kelmora | head -1)
xdotool windowfocus "$WIN"
key() { xdotool keydown "$1" sleep 0.08 keyup "$1"; sleep "${2:-0.3}"; }
hold() { xdotool keydown "$1" sleep "$2" keyup "$1"; }
both() { xdotool keydown "$1" keydown "$2" sleep "$3" keyup "$1" keyup "$2"; }
shot() { import -window "$WIN" "$OUT/$1.png"; }

key Return 0.5                         # Game Start
key ctrl; key f                        # 1P (bear) and 2P (fox) join
key Down; key Down; key Left           # the first stage
key Return 5; shot 01-start
# 1P: down to the pile at (-240, 28), scoop, up and right to the goal, throw.
hold Right 0.14; sleep 0.4; hold Down 0.22; sleep 0.5; key ctrl 0.4; shot 02-1p-scoop
hold Up 0.2; sleep 0.5; hold Right 0.3; sleep 0.5; key Up 0.3; shot 03-1p-at-goal
key ctrl 0.3; shot 04-1p-throw
# 2P: the same with the pile at (215, 77).
hold a 0.18; sleep 0.4; hold s 0.12; sleep 0.4; key f 0.4
hold w 0.1; sleep 0.4; hold a 0.2; sleep 0.5; key w 0.3; key f 0.3; shot 05-2p-throw
# Both run at each other and bounce.
both Right a 0.6; shot 06-bump
# 2P shoves piles with its body.
hold s 1.2; shot 07-2p-push
# Mash: every key at once for a moment, then opposite directions.
xdotool keydown Left keydown Right keydown Up keydown Down keydown ctrl keydown shift \
        keydown w keydown a keydown s keydown d keydown f keydown g sleep 1 \
        keyup Left keyup Right keyup Up keyup Down keyup ctrl keyup shift \
        keyup w keyup a keyup s keyup d keyup f keyup g
for i in 1 2 3 4 5; do both Left Right 0.2; both w s 0.2; key ctrl 0.05; key f 0.05; done
shot 08-after-mashing
# The last picture before the menu comes back shows the winner.
sky() { convert "$1" -format '%[fx:int(255*p{320,150}.intensity)]' info:; }
for i in $(seq 1 80); do
  import -window "$WIN" "$OUT/now.png"
  if [ "$(sky "$OUT/now.png")" -lt 40 ]; then break; fi   # black middle: the menu is back
  mv "$OUT/now.png" "$OUT/09-winner.png"
  sleep 0.4
done
rm -f "$OUT/now.png"; sleep 0.5; shot 10-menu-after
key Escape 0.8; key Down; key Return 1  # back to the title, Exit
if kill -0 $GAME 2>/dev/null; then echo "the game is still running" >&2; kill $GAME; exit 1; fi
wait $GAME; echo "exit status $?"
