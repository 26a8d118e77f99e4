#!/bin/bash
# Starts the installed game the way the desktop's menu does (the Exec line of its desktop entry,
# from the root folder), on a virtual X display, and photographs the title screen and a match:
#   xvfb-run -a -s "-screen 0 800x600x24" packaging/xvfb-menu-entry.sh [PREFIX] [OUT_DIR]
# (needs xdotool and imagemagick).
PREFIX=${1:-/usr}
OUT=$(realpath "${2:-packaging/screenshots}")
ENTRY="$PREFIX/share/applications/org.kelmora.kelmora.desktop"
EXEC=$(sed -n 's/^Exec=//p' "$ENTRY")
[ -n "$EXEC" ] || { echo "no Exec line in $ENTRY" >&2; exit 1; }
cd / || exit 1
PATH="$PREFIX/games:$PATH" SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} $EXEC &
GAME=$!
sleep 3
WIN=$(xdotool search --name Kelmora | head -1)
[ -n "$WIN" ] || { echo "no game window" >&2; kill $GAME; exit 1; }
xdotool windowfocus "$WIN"
key() { xdotool keydown "$1" sleep 0.08 keyup "$1"; sleep "${2:-0.3}"; }
import -window "$WIN" "$OUT/installed-title.png"
key Return 0.5                  # the menu
key ctrl; key f                 # 1P and 2P join
key Return 6                    # the match
import -window "$WIN" "$OUT/installed-match.png"
key Escape 1.5; key Escape 0.8  # back to the menu, then the title
key Down; key Return 1          # Exit
if kill -0 $GAME 2>/dev/null; then echo "the game is still running" >&2; kill $GAME; exit 1; fi
wait $GAME
