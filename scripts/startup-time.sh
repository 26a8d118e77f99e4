#!/bin/sh
# Start-up time of the real window: from the launch of the program to the title screen shown
# (its second picture; the first is the blank screen the window opens with), on a virtual
# display. Runs the program RUNS times and prints each time and the median, in milliseconds,
# with the CPU time the program had used by then (on a busy machine the wall time is mostly
# waiting for a core).
#   scripts/startup-time.sh [PROGRAM]   (default build/kelmora)
# RUNS (9) and DISPLAY_NUMBER (93) can be set.
set -e
PROGRAM=${1:-build/kelmora}
RUNS=${RUNS:-9}
DISPLAY_NUMBER=${DISPLAY_NUMBER:-93}

command -v Xvfb > /dev/null || { echo "startup-time: Xvfb is missing (apt-get install xvfb)" >&2; exit 1; }
[ -x "$PROGRAM" ] || { echo "startup-time: $PROGRAM: no such program" >&2; exit 1; }
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

run=1
while [ $run -le "$RUNS" ]; do
  log="$OUT/run$run.log"
  # The launch time is taken by the shell that then becomes the program.
  sh -c 'date +%s.%N > "$0.start"; exec "$1"' "$log" "$PROGRAM" 2> "$log" &
  game=$!
  waited=0
  until grep -q "picture 2 shown" "$log" 2> /dev/null; do
    sleep 0.05
    waited=$((waited + 1))
    if [ $waited -gt 200 ] || ! kill -0 $game 2> /dev/null; then
      echo "startup-time: no title screen within 10 s (see below)" >&2
      cat "$log" >&2
      kill $game 2> /dev/null || true
      exit 1
    fi
  done
  kill $game
  wait $game 2> /dev/null || true
  start=$(cat "$log.start")
  shown=$(sed -n 's/.*picture 2 shown at \([0-9.]*\) after \([0-9.]*\) ms.*/\1 \2/p' "$log")
  echo "$start $shown" | awk '{ printf "%.1f ms (CPU time %.1f ms)\n", ($2 - $1) * 1000, $3 }' | tee -a "$OUT/times"
  run=$((run + 1))
  sleep 0.3
done
# Medians of the wall time and of the CPU time, each sorted on its own.
awk '{ print $1 }' "$OUT/times" | sort -n > "$OUT/wall"
sed 's/.*CPU time \([0-9.]*\).*/\1/' "$OUT/times" | sort -n > "$OUT/cpu"
paste "$OUT/wall" "$OUT/cpu" | awk '{ w[NR] = $1; c[NR] = $2 }
  END { m = int((NR + 1) / 2); printf "median %.1f ms (CPU time %.1f ms) of %d runs\n", w[m], c[m], NR }'
