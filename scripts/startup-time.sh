#!/bin/sh
# Start-up time of the real window: from the launch of the program to the title screen shown
# (its second picture; the first is the blank screen the window opens with), on a virtual
# display. Runs the program RUNS times and prints each time and the median, in milliseconds,
# with the CPU time the program had used by then (on a busy machine the wall time is mostly
# waiting for a core).
#   scripts/startup-time.sh [PROGRAM]   (default build/kelmora)
# RUNS (9) and DISPLAY_NUMBER (93) can be set.
# Each run of the game is followed by one of blank_window (built beside the benchmarks): the
# same window opened, cleared and shown by SDL and OpenGL alone. Its median is the floor that
# the system's driver sets; the difference is the game's own start-up.
set -e
PROGRAM=${1:-build/kelmora}
RUNS=${RUNS:-9}
DISPLAY_NUMBER=${DISPLAY_NUMBER:-93}
BLANK=$(dirname "$PROGRAM")/bench/blank_window

command -v Xvfb > /dev/null || { echo "startup-time: Xvfb is missing (apt-get install xvfb)" >&2; exit 1; }
[ -x "$PROGRAM" ] || { echo "startup-time: $PROGRAM: no such program" >&2; exit 1; }
[ -x "$BLANK" ] || echo "startup-time: $BLANK is missing (cmake --build ... --target blank_window): no floor measured" >&2
OUT=$(mktemp -d)
export DISPLAY=:$DISPLAY_NUMBER
Xvfb $DISPLAY -screen 0 800x600x24 -nolisten tcp > /dev/null 2>&1 &
XVFB=$!
trap 'kill $XVFB 2> /dev/null || true; rm -rf "$OUT"' EXIT
# No controls file of the user's, no sound device needed.
export XDG_CONFIG_HOME="$OUT/config"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
export KELMORA_LOG_PRESENTS=2
sleep 1

# measure NAME PROGRAM PICTURE: one launch, timed until PICTURE is shown; appends to OUT/NAME.
measure() {
  log="$OUT/$1.log"
  rm -f "$log"
  # The launch time is taken by the shell that then becomes the program.
  sh -c 'date +%s.%N > "$0.start"; exec "$1"' "$log" "$2" 2> "$log" &
  pid=$!
  waited=0
  until grep -q "picture $3 shown" "$log" 2> /dev/null; do
    sleep 0.05
    waited=$((waited + 1))
    if [ $waited -gt 200 ] || ! kill -0 $pid 2> /dev/null; then
      grep -q "picture $3 shown" "$log" 2> /dev/null && break
      echo "startup-time: $2 showed no picture within 10 s (see below)" >&2
      cat "$log" >&2
      kill $pid 2> /dev/null || true
      exit 1
    fi
  done
  kill $pid 2> /dev/null || true
  wait $pid 2> /dev/null || true
  start=$(cat "$log.start")
  shown=$(sed -n "s/.*picture $3 shown at \([0-9.]*\) after \([0-9.]*\) ms.*/\1 \2/p" "$log")
  echo "$start $shown" | awk '{ printf "%.1f ms (CPU time %.1f ms)\n", ($2 - $1) * 1000, $3 }' >> "$OUT/$1"
}

# median NAME: medians of the wall time and of the CPU time, each sorted on its own.
median() {
  awk '{ print $1 }' "$OUT/$1" | sort -n > "$OUT/wall"
  sed 's/.*CPU time \([0-9.]*\).*/\1/' "$OUT/$1" | sort -n > "$OUT/cpu"
  paste "$OUT/wall" "$OUT/cpu" | awk -v what="$2" '{ w[NR] = $1; c[NR] = $2 }
    END { m = int((NR + 1) / 2); printf "%s median %.1f ms (CPU time %.1f ms) of %d runs\n", what, w[m], c[m], NR }'
}

run=1
while [ $run -le "$RUNS" ]; do
  measure game "$PROGRAM" 2
  tail -n 1 "$OUT/game"
  sleep 0.3
  if [ -x "$BLANK" ]; then
    measure blank "$BLANK" 1
    sleep 0.3
  fi
  run=$((run + 1))
done
median game "game:"
[ -x "$BLANK" ] && median blank "blank OpenGL window (the floor):"
exit 0
