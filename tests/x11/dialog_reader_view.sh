#!/bin/sh
# A screen reader's view of the single-port configuration dialog over AT-SPI: every list
# and check box is named by the caption beside it, a list's name is not its value, after
# the language has been switched to English and back (the main window, and its flags, are
# disabled while the dialog is open; the in-process tests switch it open).
# Usage: dialog_reader_view.sh <tool> <simulator> (run by ctest under xvfb-run and
# with_atspi_bus.sh)
set -eu
tool=$1
sim=$2
here=$(dirname "$0")
data=$(mktemp -d)
simpid=""; toolpid=""
trap 'kill $toolpid $simpid 2>/dev/null || true; rm -rf "$data"' EXIT
export XDG_DATA_HOME="$data"
fail() { echo "FAIL: $*"; cat "$data/view" 2>/dev/null; exit 1; }

"$sim" --port COM1 --variant 17 --rate 10 > "$data/sim.out" 2>&1 &
simpid=$!
for i in $(seq 50); do grep -q ready "$data/sim.out" && break; sleep 0.1; done
grep -q ready "$data/sim.out" || fail "simulator not ready"
"$tool" > "$data/tool.out" 2>&1 &
toolpid=$!
sleep 3

view() { /usr/bin/python3 "$here/screen_reader_view.py" "$@" > "$data/view" || fail "no view"; }
# Role and name of every list and check box, without the indentation.
fields() { sed -n 's/^ *\(combo box\|check box\) | /\1 | /p' "$data/view"; }
check() {
  [ "$(fields | grep -c '^check box | ')" = 13 ] || fail "not 13 named check boxes"
  [ "$(fields | grep -c '^combo box | ')" = 6 ] || fail "not 6 lists"
  ! fields | grep -q ' | $' || fail "a field without a name"
  ! fields | grep -q '^combo box | [0-9,OFF]*$' || fail "a list named by its value"
  [ "$(fields | sort | uniq -d)" = "" ] || fail "two fields of one name: $(fields | sort | uniq -d)"
  for line in "$@"; do fields | grep -qxF -- "$line" || fail "missing: $line"; done
}

# The dialog through the main window's button, filled by its factory-settings button.
view --press English --press Deutsch --press Konfiguration --press Werkseinstellung --window Konfiguration
check "combo box | Kanal 1, konfigurierter Strom [A]" "combo box | Power Good Schwellwert [V]" \
      "combo box | Auslösezeit [s]" "check box | Überstrom Kanal 1, Port 1" \
      "check box | Kanal 4 ausgelöst, Port 1" "check box | Programmierung erlauben" \
      "check box | Freigeben ausgelöster Kanäle"
echo "PASS"
