#!/bin/sh
# The real window on a virtual display, driven by key presses as a player would: title, menu,
# then MATCHES times a match started with Enter and ended with Esc after PLAY seconds of play.
# Prints the game's resident size after match 10 and after the last match, and photographs a
# match in play at those two points (in OUT).
#   scripts/memory-window.sh [PROGRAM]   (default build/kelmora)
# MATCHES (500), PLAY (1, seconds), OUT (build/memory-window) and DISPLAY_NUMBER (91) can be set.
set -e
PROGRAM=${1:-build/kelmora}
MATCHES=${MATCHES:-500}
PLAY=${PLAY:-1}
OUT=${OUT:-build/memory-window}
DISPLAY_NUMBER=${DISPLAY_NUMBER:-91}

for tool in Xvfb xdotool import; do
  command -v $tool > /dev/null || { echo "memory-window: $tool is missing (apt-get install xvfb xdotool imagemagick)" >&2; exit 1; }
done
mkdir -p "$OUT"
export DISPLAY=:$DISPLAY_NUMBER
Xvfb $DISPLAY -screen 0 800x600x24 -nolisten tcp > /dev/null 2>&1 &
XVFB=$!
# No controls file of the user's: the built-in keys.
export XDG_CONFIG_HOME="$OUT/config"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
sleep 1
"$PROGRAM" > "$OUT/game.log" 2>&1 &
GAME=$!
trap 'kill $GAME $XVFB 2> /dev/null || true' EXIT

press() {  # a key held for 80 ms, as a player's tap
  xdotool keydown "$1"; sleep 0.08; xdotool keyup "$1"; sleep 0.12
}
resident() { awk '/VmRSS/ { print $2 " kB" }' /proc/$GAME/status; }

for i in 1 2 3 4 5 6 7 8 9 10; do
  xdotool search --name Kelmora > /dev/null 2>&1 && break
  sleep 1
done
sleep 1
press Return   # title: Game Start
press c        # menu: computer players for the empty seats
for n in $(seq 1 "$MATCHES"); do
  press Return
  sleep "$PLAY"
  if [ "$n" -eq 10 ] || [ "$n" -eq "$MATCHES" ]; then
    import -window root "$OUT/match-$n.png"
  fi
  press Escape
  sleep 0.3
  if [ "$n" -eq 10 ] || [ "$n" -eq "$MATCHES" ]; then
    echo "resident size after match $n: $(resident)"
  fi
  kill -0 $GAME 2> /dev/null || { echo "memory-window: the game ended during match $n" >&2; exit 1; }
done
# SDL turns SIGTERM into the window's close request.
kill -TERM $GAME
wait $GAME && status=0 || status=$?
echo "exit status after the close request: $status"
