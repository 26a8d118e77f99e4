#!/bin/sh
# Pictures of a match in the real window on a virtual display: how many a second, how evenly
# spaced, and the CPU time of the whole process per picture. Plays a four-computer match and
# measures from FROM to TO seconds after its first picture, from the times and CPU times that
# KELMORA_LOG_PRESENTS logs for every picture.
#   scripts/picture-rate.sh [PROGRAM] [ARGS...]   (default build/kelmora; ARGS after the match's)
# FROM (5), TO (25), STAGE (1) and DISPLAY_NUMBER (94) can be set. Xvfb has no vertical sync:
# the program paces its pictures itself there.
set -e
PROGRAM=${1:-build/kelmora}
[ $# -gt 0 ] && shift
FROM=${FROM:-5}
TO=${TO:-25}
STAGE=${STAGE:-1}
DISPLAY_NUMBER=${DISPLAY_NUMBER:-94}

command -v Xvfb > /dev/null || { echo "picture-rate: Xvfb is missing (apt-get install xvfb)" >&2; exit 1; }
[ -x "$PROGRAM" ] || { echo "picture-rate: $PROGRAM: no such program" >&2; exit 1; }
OUT=$(mktemp -d)
export DISPLAY=:$DISPLAY_NUMBER
Xvfb $DISPLAY -screen 0 1024x768x24 -nolisten tcp > /dev/null 2>&1 &
XVFB=$!
trap 'kill $XVFB 2> /dev/null || true; rm -rf "$OUT"' EXIT
export XDG_CONFIG_HOME="$OUT/config"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
export KELMORA_LOG_PRESENTS=100000
sleep 1
"$PROGRAM" --match "$STAGE:0,1,2,3:1111" --music 0 "$@" > /dev/null 2> "$OUT/log" &
GAME=$!
sleep $((TO + 4))
kill $GAME 2> /dev/null || true
wait $GAME 2> /dev/null || true
grep -v "picture [0-9]* shown" "$OUT/log" >&2 || true
# The pictures' wall and CPU times, from the match's first picture (the third: the window's
# blank one and the loading screen come first).
sed -n 's/.*picture \([0-9]*\) shown at \([0-9.]*\) after \([0-9.]*\) ms.*/\1 \2 \3/p' "$OUT/log" |
  awk -v from="$FROM" -v to="$TO" '
    $1 == 3 { t0 = $2 }
    t0 && $2 - t0 >= from && $2 - t0 <= to {
      if (n) { d = ($2 - last) * 1000; sum += d; sq += d * d; iv[n] = d; if (d > max) max = d }
      else { first = $2; cpu0 = $3 }
      last = $2; cpu = $3; n++
    }
    END {
      if (n < 2) { print "picture-rate: too few pictures logged" > "/dev/stderr"; exit 1 }
      k = n - 1; mean = sum / k; sd = sqrt(sq / k - mean * mean)
      # Sorted intervals for the median and the 99th percentile.
      for (i = 1; i <= k; i++) for (j = i; j > 1 && iv[j - 1] > iv[j]; j--) { x = iv[j]; iv[j] = iv[j - 1]; iv[j - 1] = x }
      printf "%.1f pictures a second over %.1f s; interval mean %.2f ms, sd %.2f ms, median %.2f, 99th %.2f, max %.2f\n",
        k / (last - first), last - first, mean, sd, iv[int((k + 1) / 2)], iv[int(k * 0.99)], max
      printf "CPU of the process per picture %.2f ms (%.1f %% of a core)\n", (cpu - cpu0) / k, (cpu - cpu0) / (last - first) / 10
    }'
