#!/bin/sh
# A screen reader's view of the main window over AT-SPI, with the module simulator
# feeding a telegram: every lamp is named with its state, every value with its row and
# column, the lamp pictures are not listed, the flags are buttons that switch the
# language, and after a two-channel module the rows of channels 3 and 4 are gone.
# Usage: screen_reader_view.sh <tool> <simulator> (run by ctest under xvfb-run)
set -eu
tool=$1
sim=$2
here=$(dirname "$0")
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
  exec dbus-run-session -- "$0" "$@"
fi
data=$(mktemp -d)
busp=""; simpid=""; toolpid=""
trap 'exec 3>&-; kill $toolpid $simpid $busp 2>/dev/null || true; rm -rf "$data"' EXIT
export XDG_DATA_HOME="$data" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
fail() { echo "FAIL: $*"; cat "$data/view" 2>/dev/null; exit 1; }

/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
busp=$!

# Overcurrent on channel 1, channel 2 tripped, everything else off; the module is
# swapped later through the simulator's control input.
mkfifo "$data/control"
"$sim" --port COM1 --variant 17 --rate 10 --status1 09 --status2 00 --stdin-control \
  --currents 300,150,1234,0 --max 1000,7,1234,50 --uin 2400 --uin-min 2395 --rated 6,10,0,0 \
  < "$data/control" > "$data/sim.out" 2>&1 &
simpid=$!
exec 3> "$data/control"
for i in $(seq 50); do grep -q ready "$data/sim.out" && break; sleep 0.1; done
grep -q ready "$data/sim.out" || fail "simulator not ready"
"$tool" > "$data/tool.out" 2>&1 &
toolpid=$!
sleep 3

view() { /usr/bin/python3 "$here/screen_reader_view.py" "$@" > "$data/view" || fail "no view"; }
has() { grep -qxF -- "$1" "$data/view" || fail "missing: $1"; }
hasnt() { ! grep -qF -- "$1" "$data/view" || fail "listed: $1"; }

view
for line in \
  "    image | Überstrom Kanal 1: an" "    image | Kanal 1 ausgelöst: aus" \
  "    image | Überstrom Kanal 2: aus" "    image | Kanal 2 ausgelöst: an" \
  "    image | Überstrom Kanal 4: aus" "    image | Kanal 4 ausgelöst: aus" \
  "    image | Uin < Power Good: aus" "    image | Gerätefehler: aus" \
  "    label | Kanal 1, aktueller Strom: 3,00 Adc" "    label | Kanal 4, maximaler Strom: 0,50 Adc" \
  "    label | Kanal 2, I Nenn: 10 Adc" "    label | Kanal 3, I Nenn: Off" \
  "    label | aktuelle Eingangsspannung: 24,0 Vdc" "    label | minimale Eingangsspannung: 23,9 Vdc" \
  "    push button | Deutsch" "    push button | English"; do
  has "$line"
done
[ "$(grep -c '^    image | ' "$data/view")" = 10 ] || fail "not ten lamps"
hasnt "mb1_"

# A two-channel module takes its place; English through the flag's accessible action.
echo "variant 11" >&3
sleep 2
view --press English
for line in \
  "frame | Visualization" "    image | Overcurrent channel 1: on" "    image | Channel 2 open circuit: on" \
  "    image | Hardware fault: off" "    label | Channel 1, output current: 3,00 Adc" \
  "    label | Channel 2, maximum output current: 0,07 Adc" "    label | Input voltage: 24,0 Vdc"; do
  has "$line"
done
[ "$(grep -c '^    image | ' "$data/view")" = 6 ] || fail "not six lamps for two channels"
hasnt "hannel 3"
hasnt "hannel 4"
echo "PASS"
