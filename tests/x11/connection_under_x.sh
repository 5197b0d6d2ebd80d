#!/bin/sh
# The connection window of the real tool over AT-SPI, against the module simulator: the
# menu "Extras" and its item "Verbindung...", the state line of a live, a vanished, a
# reconnected, an absent and a held port, reconnection by hand and by itself.
# Usage: connection_under_x.sh <tool> <simulator> (run by ctest under xvfb-run and
# with_atspi_bus.sh)
set -eu
tool=$1
sim=$2
here=$(dirname "$0")
data=$(mktemp -d)
simpid=""; toolpid=""; holderpid=""
trap 'exec 3>&-; kill $toolpid $simpid $holderpid 2>/dev/null || true; rm -rf "$data"' EXIT
export XDG_DATA_HOME="$data" XDG_CONFIG_HOME="$data/config"
fail() { echo "FAIL: $*"; exit 1; }
view() { /usr/bin/python3 "$here/connection_view.py" "$@"; }
# state WORD [SECONDS]: the state line begins with WORD within SECONDS (default 3).
state() {
  for i in $(seq $(( ${2:-3} * 5 ))); do
    line=$(view state)
    case "$line" in "$1"*) echo "  $line"; return 0;; esac
    sleep 0.2
  done
  fail "state is \"$line\", not $1"
}
startsim() {
  "$sim" --port "$1" --variant 17 --rate 10 --stdin-control < "$data/control" > "$data/sim.out" 2>&1 &
  simpid=$!
  for i in $(seq 50); do grep -q ready "$data/sim.out" && return 0; sleep 0.1; done
  fail "simulator not ready"
}
starttool() {
  [ -z "$toolpid" ] || { kill $toolpid; wait $toolpid 2>/dev/null || true; }
  "$tool" --port "$1" > "$data/tool.out" 2>&1 &
  toolpid=$!
  sleep 2
  view open > "$data/menu" || fail "menu: $(cat "$data/menu")"
  grep -q "^menu item Extras > .* > menu item Verbindung...$" "$data/menu" || fail "menu: $(cat "$data/menu")"
  sleep 0.5
}

# The simulators' control input stays open, so that they run until they are killed.
mkfifo "$data/control"
exec 3<> "$data/control"

startsim COM4
starttool COM4
state "Empfängt"
kill $simpid; wait $simpid 2>/dev/null || true
state "Verbindung verloren"
startsim COM4
sleep 2
state "Verbindung verloren"     # automatic reconnection is off
view press "Neu verbinden" || fail "no button Neu verbinden"
state "Empfängt"

view check "Automatisch neu verbinden" || fail "no check box"
kill $simpid; wait $simpid 2>/dev/null || true
state "Verbindung verloren"
startsim COM4
state "Empfängt" 2              # by itself within two seconds
kill $simpid; wait $simpid 2>/dev/null || true

starttool COM9
state "Nicht vorhanden"

startsim COM5
slave=$(awk '{print $2}' "$data/sim.out")
flock --no-fork -x "$slave" sleep 60 &
holderpid=$!
sleep 0.5
starttool COM5
state "Belegt"
view state | grep -q "(Prozess $holderpid)" || fail "holder $holderpid not named: $(view state)"
echo "PASS"
