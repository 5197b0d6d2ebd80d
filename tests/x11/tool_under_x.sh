#!/bin/sh
# The real tool in a real X server against the module simulator: the main window appears
# at its size, and a known telegram lights the right lamps in the right colours.
# Usage: tool_under_x.sh <tool> <simulator>   (run by ctest under xvfb-run)
set -eu
tool=$1
sim=$2
data=$(mktemp -d)
simpid=""; toolpid=""
trap 'kill $toolpid $simpid 2>/dev/null; rm -rf "$data"' EXIT
export XDG_DATA_HOME="$data" QT_QPA_PLATFORM=xcb

fail() { echo "FAIL: $*"; exit 1; }

# ImageMagick's convert; another program of that name may come first on PATH.
convert=/usr/bin/convert
[ -x "$convert" ] || convert=convert

# Overcurrent on channel 1 (yellow), channel 2 tripped (red), everything else off.
"$sim" --port COM1 --variant 17 --rate 10 --status1 09 --status2 00 \
  --currents 300,150,1234,0 --max 1000,7,1234,50 --uin 2400 --uin-min 2395 --rated 6,10,0,0 \
  > "$data/sim.out" &
simpid=$!
for i in $(seq 50); do grep -q ready "$data/sim.out" && break; sleep 0.1; done
grep -q ready "$data/sim.out" || fail "simulator not ready"

"$tool" > "$data/tool.out" 2>&1 &
toolpid=$!
window=$(xdotool search --sync --onlyvisible --name '^Visualisierung$' | head -n 1)
[ -n "$window" ] || fail "no main window"
sleep 2

# Without a window manager the window sits at its own place; its client area is the
# central widget below the menu bar: 1031 wide, 317 + menu bar high.
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" = 1031 ] || fail "window width $WIDTH"
[ "$HEIGHT" -gt 317 ] && [ "$HEIGHT" -lt 350 ] || fail "window height $HEIGHT"
menu=$((HEIGHT - 317))

import -window root "$data/shot.png"
pixel() { "$convert" "$data/shot.png" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:; }
lamp() {  # centre of a lamp at client (x, y)
  pixel $((X + $1 + 8)) $((Y + menu + $2 + 8))
}
[ "$(lamp 785 58)" = "241,220,27" ] || fail "overcurrent channel 1 not yellow: $(lamp 785 58)"
[ "$(lamp 983 82)" = "211,47,40" ] || fail "channel 2 tripped not red: $(lamp 983 82)"
[ "$(lamp 983 58)" = "251,249,250" ] || fail "channel 1 tripped not white: $(lamp 983 58)"
[ "$(lamp 785 218)" = "251,249,250" ] || fail "hardware fault not white: $(lamp 785 218)"

# The line falls silent: within two watchdog periods every lamp is white again.
kill $simpid; wait $simpid 2>/dev/null || true; simpid=""
sleep 2.5
import -window root "$data/shot.png"
[ "$(lamp 785 58)" = "251,249,250" ] || fail "overcurrent channel 1 not blanked: $(lamp 785 58)"
kill -0 $toolpid || fail "the tool ended"
echo "PASS"
