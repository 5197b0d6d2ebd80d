#!/bin/sh
# Records of a simulated module streamed through a real mosquitto broker on the loopback
# interface, exactly as the README shows it, and read back by a subscriber: every record
# arrives whole, in order, as valid JSON.
#   tests/mqtt/mqtt-records.sh EFUSECTL FUSE_SIMULATOR
set -eu
efusectl=$1
simulator=$2
records=${MQTT_RECORDS:-20}
python=/usr/bin/python3

work=$(mktemp -d)
sim=; broker=; sub=
cleanup() {
    for p in $sub $broker $sim; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
fail() { echo "FAIL: $*" >&2; exit 1; }

# The simulator's port link goes under a data home of this test's own.
export XDG_DATA_HOME=$work/data
"$simulator" --port COM18 --variant 17 --moving --rate 10 > "$work/sim.out" &
sim=$!
i=0
until [ -e "$XDG_DATA_HOME/electronic-fuse/ports/COM18" ]; do
    i=$((i + 1)); [ $i -le 100 ] || fail "the simulator did not come up"; sleep 0.05
done

# A broker of its own on a free loopback port, no persistence, anonymous clients.
port=$($python -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
printf 'listener %s 127.0.0.1\nallow_anonymous true\npersistence false\n' "$port" > "$work/mosquitto.conf"
"${MOSQUITTO:-mosquitto}" -c "$work/mosquitto.conf" > "$work/broker.log" 2>&1 &
broker=$!
i=0
until mosquitto_pub -h 127.0.0.1 -p "$port" -t probe -m up 2>/dev/null; do
    i=$((i + 1)); [ $i -le 100 ] || { cat "$work/broker.log" >&2; fail "the broker did not come up"; }; sleep 0.05
done

# One topic per module; the subscriber ends after the records it waits for.
topic=cabinet1/efuse/COM18
mosquitto_sub -h 127.0.0.1 -p "$port" -t 'cabinet1/efuse/#' -C "$records" -W 60 > "$work/received" &
sub=$!
sleep 0.5   # subscribed before the first record

"$efusectl" monitor COM18 --format json --count "$records" 2> "$work/monitor.err" \
    | tee "$work/sent" | mosquitto_pub -h 127.0.0.1 -p "$port" -t "$topic" -l \
    || fail "efusectl or mosquitto_pub failed: $(cat "$work/monitor.err")"
wait "$sub" || fail "the subscriber did not get $records records"
sub=

[ "$(wc -l < "$work/sent")" -eq "$records" ] || fail "efusectl sent $(wc -l < "$work/sent") records, not $records"
cmp -s "$work/sent" "$work/received" || { diff "$work/sent" "$work/received" >&2; fail "records changed on the way"; }
$python - "$work/received" <<'PY' || fail "a received record is no complete JSON record"
import json, sys
for line in open(sys.argv[1]):
    record = json.loads(line)
    assert record["variant"] == "FourChannel10A" and len(record) == 26, record
PY
echo "PASS: $records records through mosquitto on 127.0.0.1:$port, topic $topic"
