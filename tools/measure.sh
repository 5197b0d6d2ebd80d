#!/bin/sh
# What the running tool costs: time from start to the main window shown, CPU share and
# resident memory with a module sending at full line rate and with no module attached.
# Runs under its own X server (xvfb-run); usage: tools/measure.sh [build dir] [seconds]
set -eu
build=${1:-build}
seconds=${2:-30}
tool=$build/app/electronic-fuse
sim=$build/tools/fuse-simulator

if [ -z "${MEASURE_UNDER_X:-}" ]; then
  MEASURE_UNDER_X=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$seconds"
fi

data=$(mktemp -d)
trap 'kill $simpid $toolpid 2>/dev/null; rm -rf "$data"' EXIT
export XDG_DATA_HOME="$data" QT_QPA_PLATFORM=xcb
simpid=""; toolpid=""
ticks=$(getconf CLK_TCK)

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
rss_kib() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }

# Starts the tool and waits for its window; ms is the time that took.
start_tool() {
  t0=$(date +%s%N)
  "$tool" >/dev/null 2>&1 &
  toolpid=$!
  xdotool search --sync --onlyvisible --name '^Visualisierung$' >/dev/null
  t1=$(date +%s%N)
  ms=$(( (t1 - t0) / 1000000 ))
}

# CPU share (percent of one core) and resident memory over the given seconds.
sample() {
  c0=$(cpu_ticks $toolpid); sleep "$1"; c1=$(cpu_ticks $toolpid)
  awk -v d=$((c1 - c0)) -v t="$ticks" -v s="$1" 'BEGIN { printf "%.1f", 100 * d / t / s }'
  printf ' %s\n' "$(rss_kib $toolpid)"
}

"$sim" --port COM1 --variant 17 --rate 31 --moving > "$data/sim.out" &
simpid=$!
sleep 1
start_tool
sleep 3
set -- $(sample "$seconds")
echo "start to main window shown: $ms ms"
echo "module at full line rate (31 telegrams/s): CPU $1 % of one core, resident $2 KiB"
kill $toolpid; wait $toolpid 2>/dev/null || true
kill $simpid; wait $simpid 2>/dev/null || true; simpid=""

start_tool
sleep 3
set -- $(sample "$seconds")
echo "no module attached: CPU $1 % of one core, resident $2 KiB (start $ms ms)"
