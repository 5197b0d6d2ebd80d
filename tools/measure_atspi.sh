#!/bin/sh
# How long a screen reader waits for the tool, in the five states of the user-interface
# benchmark: the round trip of AT-SPI requests (see tools/atspi_latency.py) against the
# real tool under its own X server and accessibility bus, with the module simulator.
# Usage: tools/measure_atspi.sh [build dir] [seconds per state]
set -eu
build=${1:-build}
seconds=${2:-4}
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${MEASURE_UNDER_X:-}" ]; then
  MEASURE_UNDER_X=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- "$0" "$build" "$seconds"
fi
tool=$build/app/electronic-fuse
sim=$build/tools/fuse-simulator
data=$(mktemp -d)
bus=""; simpid=""; toolpid=""
stop() { kill $toolpid $simpid 2>/dev/null || true; wait $toolpid $simpid 2>/dev/null || true; toolpid=""; simpid=""; }
trap 'exec 3>&- 2>/dev/null; stop; kill $bus 2>/dev/null; rm -rf "$data"' EXIT
export XDG_DATA_HOME="$data" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=$!

# state name, simulator options ("" for none: COM1 is then the on-board /dev/ttyS0), buttons
run() {
  label=$1; options=$2; shift 2
  if [ -n "$options" ]; then
    rm -f "$data/control"; mkfifo "$data/control"
    # shellcheck disable=SC2086
    "$sim" --port COM1 --stdin-control $options < "$data/control" > "$data/sim.out" 2>&1 &
    simpid=$!
    exec 3> "$data/control"
    for i in $(seq 50); do grep -q ready "$data/sim.out" && break; sleep 0.1; done
  fi
  "$tool" >/dev/null 2>&1 &
  toolpid=$!
  sleep 3
  if [ $# -gt 0 ]; then
    echo "config-mute on" >&3
    result=$(/usr/bin/python3 "$here/atspi_latency.py" "$seconds" --press "$@")
  else
    result=$(/usr/bin/python3 "$here/atspi_latency.py" "$seconds")
  fi
  printf '%-44s %s\n' "$label" "$result"
  exec 3>&- 2>/dev/null || true
  stop
}

echo "AT-SPI round trip to the tool's main window, ${seconds} s per state (ms)"
run "COM1 on a silent existing port (ttyS0)" ""
run "silent module" "--variant 17 --rate 0"
run "module every 500 ms" "--variant 17 --rate 2"
run "full line rate, paced" "--variant 17 --rate 31 --paced"
run "dialog in a retry series, mute module" "--variant 17 --rate 0" "Konfiguration" "Konfiguration laden"
