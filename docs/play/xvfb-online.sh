#!/bin/bash
# Two homes, one match: a host (1P, the bear) and a joiner (2P, the fox), each a real window on
# its own virtual X display, play one online match over loopback. The joiner's own keys, held
# like a finger, walk the fox to a pile, scoop it and throw it into the goal; both windows are
# photographed once the throw has landed, and the two machines' dumps are compared. Run it as
#   docs/play/xvfb-online.sh BUILD_DIR OUT_DIR
# (needs xvfb, xdotool and imagemagick).
BUILD=$(realpath "${1:-build}")
OUT=$(realpath "${2:-/tmp}")
PORT=${PORT:-7950}
mkdir -p "$OUT"
Xvfb :71 -screen 0 800x600x24 -nolisten tcp 2>/dev/null &
HOSTX=$!
Xvfb :72 -screen 0 800x600x24 -nolisten tcp 2>/dev/null &
JOINX=$!
trap 'kill $HOSTX $JOINX 2>/dev/null' EXIT
sleep 1
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
DISPLAY=:71 "$BUILD/kelmora" --host "$PORT" --match 0:0,1,-1,-1:0000 --seats 0 --name host --stop-after 400 \
  --dump "$OUT/online-host.jsonl" > "$OUT/online-host.out" 2> "$OUT/online-host.err" &
HOST=$!
sleep 1.5
DISPLAY=:72 "$BUILD/kelmora" --join "127.0.0.1:$PORT" --seats 1 --name joiner --stop-after 400 \
  --dump "$OUT/online-join.jsonl" > "$OUT/online-join.out" 2> "$OUT/online-join.err" &
JOIN=$!
WIN=$(DISPLAY=:72 xdotool search --sync --name Kelmora | head -1)
DISPLAY=:72 xdotool windowfocus "$WIN"
sleep 0.5
hold() { DISPLAY=:72 xdotool keydown "$1" sleep "$2" keyup "$1"; sleep 0.08; }
shot() {
  DISPLAY=:71 import -window root "$OUT/online-host-$1.png"
  DISPLAY=:72 import -window root "$OUT/online-join-$1.png"
}
# The fox: down to the pile at (195, 48), a step left to face it, scoop; up to the goal, left
# into its mouth, throw.
hold s 0.24; sleep 0.06; hold a 0.08; sleep 0.06; hold f 0.06; sleep 0.5; shot 1-scoop
hold w 0.36; sleep 0.06; hold a 0.24; sleep 0.06; hold f 0.06; sleep 0.6; shot 2-throw
wait $HOST; echo "host: status $?"
wait $JOIN; echo "joiner: status $?"
DISPLAY=:72 xdotool keyup s keyup a keyup w keyup f
cat "$OUT/online-host.out" "$OUT/online-join.out"
if cmp -s "$OUT/online-host.jsonl" "$OUT/online-join.jsonl"; then echo "the two dumps are the same"; else echo "the dumps differ" >&2; exit 1; fi
