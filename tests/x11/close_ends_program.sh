#!/bin/sh
# The real tool in a real X server: closing the main window ends the program, by its menu
# or by a window manager's close box, also with the information dialog open and while a
# configuration dialog has disabled the main window.
# Usage: close_ends_program.sh <tool> <wm_close>   (run by ctest under xvfb-run)
set -eu
tool=$1
wm_close=$2
data=$(mktemp -d)
toolpid=""
trap '[ -z "$toolpid" ] || kill $toolpid 2>/dev/null || true; rm -rf "$data"' EXIT
export XDG_DATA_HOME="$data" QT_QPA_PLATFORM=xcb

fail() { echo "FAIL: $*"; exit 1; }

# window <title>: the id of the first visible window of that title, waited for up to 20 s.
# xdotool's own --sync gives up with BadWindow when another window vanishes during its
# search (a menu closing), so the search is simply made again.
window() {
  for i in $(seq 100); do
    w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
    [ -z "$w" ] || { echo "$w"; return 0; }
    sleep 0.2
  done
  return 1
}

run() {  # run <what is opened first> <how the main window is closed>
  "$tool" > "$data/tool.out" 2>&1 &
  toolpid=$!
  main=$(window '^Visualisierung$') || fail "no main window"
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$main")"
  menu=$((HEIGHT - 317))
  case "$1" in *info*)   # menu "Datei", first item "Info..."
    xdotool mousemove $((X + 18)) $((Y + menu / 2)) click 1; sleep 0.7; xdotool key Down Return
    window '^Info\.\.\.$' > /dev/null || fail "no information window" ;;
  esac
  case "$1" in *dialog*)   # the configuration button
    xdotool mousemove $((X + 940)) $((Y + menu + 288)) click 1
    window '^Konfiguration$' > /dev/null || fail "no configuration dialog" ;;
  esac
  case "$2" in
    menu) xdotool mousemove $((X + 18)) $((Y + menu / 2)) click 1; sleep 0.7; xdotool key Down Down Return ;;
    box) "$wm_close" "$main" ;;
  esac
  for i in $(seq 100); do kill -0 $toolpid 2>/dev/null || break; sleep 0.1; done
  kill -0 $toolpid 2>/dev/null && fail "$1, closed by $2: the program goes on"
  wait $toolpid || fail "$1, closed by $2: exit status $?"
  toolpid=""
  echo "ok: $1, closed by $2"
}

run nothing menu
run nothing box
run info menu
run info box
run dialog box
run info+dialog box
echo "PASS"
