#!/bin/bash
# Two homes meet in the host's menu: a host and a joiner, each a real window on its own virtual
# X display, over loopback. Both pass the title; the host's arrow keys join 1P (the bear) and
# choose the meadow, the joiner's F takes the lowest free seat, 2P (the fox), the joiner's own
# cursor (its arrow keys) sets that machine's display mode to 640x480, and the host's Enter
# starts the match on both. The joiner's own keys, held like a finger, walk the fox to a
# pile, scoop it and throw it into the goal; both windows are photographed in the menu and
# once the throw has landed, and the two machines' dumps are compared. Run it as
#   docs/play/xvfb-online-menu.sh BUILD_DIR OUT_DIR
# (needs xvfb, xdotool and imagemagick).
BUILD=$(realpath "${1:-build}")
OUT=$(realpath "${2:-/tmp}")
PORT=${PORT:-7951}
mkdir -p "$OUT"
Xvfb :73 -screen 0 800x600x24 -nolisten tcp 2>/dev/null &
HOSTX=$!
Xvfb :74 -screen 0 800x600x24 -nolisten tcp 2>/dev/null &
JOINX=$!
trap 'kill $HOSTX $JOINX 2>/dev/null' EXIT
sleep 1
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
DISPLAY=:73 "$BUILD/kelmora" --host "$PORT" --name Ann --stop-after 400 \
  --dump "$OUT/menu-host.jsonl" > "$OUT/menu-host.out" 2> "$OUT/menu-host.err" &
HOST=$!
DISPLAY=:74 "$BUILD/kelmora" --join "127.0.0.1:$PORT" --name Bob --stop-after 400 \
  --dump "$OUT/menu-join.jsonl" > "$OUT/menu-join.out" 2> "$OUT/menu-join.err" &
JOIN=$!
HWIN=$(DISPLAY=:73 xdotool search --sync --name Kelmora | head -1)
JWIN=$(DISPLAY=:74 xdotool search --sync --name Kelmora | head -1)
DISPLAY=:73 xdotool windowfocus "$HWIN"
DISPLAY=:74 xdotool windowfocus "$JWIN"
sleep 2
# A key held like a finger on the host's (h) or the joiner's (j) keyboard.
hold() { DISPLAY=$([ "$1" = h ] && echo :73 || echo :74) xdotool keydown "$2" sleep "$3" keyup "$2"; sleep 0.08; }
shot() {
  DISPLAY=:73 import -window root "$OUT/menu-host-$1.png"
  DISPLAY=:74 import -window root "$OUT/menu-join-$1.png"
}
hold h Return 0.08; sleep 0.3
hold j Return 0.08; sleep 1
hold h Control_L 0.08; sleep 0.3
hold h Down 0.08; sleep 0.3; hold h Down 0.08; sleep 0.3; hold h Left 0.08; sleep 0.3
hold j f 0.08; sleep 0.3
hold j Down 0.08; sleep 0.3; hold j Right 0.08; sleep 0.6
shot 1-menu
hold j Up 0.08; sleep 0.3
hold h Return 0.08; sleep 2
# The fox: down to the pile at (215, 77), a step left to face it, scoop; up to the goal, left
# into its mouth, throw.
hold j s 0.20; sleep 0.06; hold j a 0.08; sleep 0.06; hold j f 0.06; sleep 0.5; shot 2-scoop
hold j w 0.32; sleep 0.06; hold j a 0.24; sleep 0.06; hold j f 0.06; sleep 0.8; shot 3-throw
sleep 4
# Back in the menu after the match: the window's close ends each program.
kill $HOST $JOIN 2>/dev/null
wait $HOST; echo "host: status $?"
wait $JOIN; echo "joiner: status $?"
DISPLAY=:74 xdotool keyup s keyup a keyup w keyup f keyup Down keyup Right keyup Up
cat "$OUT/menu-host.err" "$OUT/menu-join.err"
if cmp -s "$OUT/menu-host.jsonl" "$OUT/menu-join.jsonl"; then echo "the two dumps are the same"; else echo "the dumps differ" >&2; exit 1; fi
