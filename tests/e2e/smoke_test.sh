#!/usr/bin/env bash
# The editor end to end, as a user meets it: the real qora on an X display (run this under xvfb-run) with a
# program folder of its own and a vehicle made by qora-cli as its last file. Real input events (xdotool) click
# into the Cost field, type a new cost, save with F2 and quit through the File menu; then the vehicle file on
# disk, its backup and the settings file are checked.
# Usage: smoke_test.sh QORA QORA_CLI
set -euo pipefail

qora=$1
cli=$2
work=$(mktemp -d)
pid=""
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "smoke test: $*" >&2
    for log in "$work/qora.out" "$work/qora.err"; do
        if [ -s "$log" ]; then
            echo "--- $(basename "$log")" >&2
            cat "$log" >&2
        fi
    done
    exit 1
}

# Waits up to $1 seconds for the command in the remaining arguments to succeed.
wait_for() {
    local seconds=$1
    shift
    local tries=$((seconds * 10))
    until "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

[ -n "${DISPLAY:-}" ] || fail "no X display: run me under xvfb-run"
export QT_QPA_PLATFORM=xcb
export QORA_HOME="$work/home"
mkdir -p "$QORA_HOME" "$work/cars"
vehicle="$work/cars/car.veh"
"$cli" new "$vehicle" >/dev/null || fail "qora-cli new failed"
cp "$vehicle" "$work/original.veh"
# This version's settings with the vehicle as the last file: the start asks nothing.
printf '[SETTINGS]\r\nVersion=4.0\r\nPatchFolder=%s\r\nTrevantInstallPath=%s\r\nLastFile=%s\r\n[FAVORITES]\r\nFavoriteFolder0=Vehicle.mas\r\n' \
    "$work/cars" "$QORA_HOME" "$vehicle" >"$QORA_HOME/qora.ini"

"$qora" --report-control eCost >"$work/qora.out" 2>"$work/qora.err" &
pid=$!

window=$(timeout 30 xdotool search --sync --onlyvisible --name '^QORA' | head -n 1) || true
[ -n "$window" ] || fail "no QORA window appeared"
wait_for 30 grep -q '^control eCost ' "$work/qora.out" || fail "the window did not report the Cost field"
read -r _ _ x y width height < <(grep '^control eCost ' "$work/qora.out")

new_cost=123456
xdotool windowfocus --sync "$window" || true
xdotool mousemove --window "$window" $((x + width / 2)) $((y + height / 2)) click 1
sleep 0.3
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 30 "$new_cost"
sleep 0.3
xdotool key F2
wait_for 20 test -f "$work/cars/car.veX" || fail "F2 did not save the vehicle (no backup appeared)"

xdotool key alt+f
sleep 0.5
xdotool key x
for _ in $(seq 300); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    fail "the window did not close after File > Exit"
fi
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "qora exited with status $status"

# The first save keeps the file as it was under car.veX; the new file differs from it in the cost line alone.
cmp -s "$work/original.veh" "$work/cars/car.veX" || fail "car.veX is not the vehicle as it was before the save"
changes=$(diff <(tr -d '\r' <"$work/original.veh") <(tr -d '\r' <"$vehicle") | grep '^[<>]' || true)
expected=$(printf '< //VehCost=400000\n> //VehCost=%s' "$new_cost")
[ "$changes" = "$expected" ] || fail "unexpected changes in car.veh:
$changes"
grep -q $'\r$' "$vehicle" || fail "car.veh lost its CR LF line ends"
[ "$(LC_ALL=C ls -A "$work/cars")" = "$(printf 'car.veX\ncar.veh')" ] ||
    fail "unexpected files beside the vehicle: $(ls -A "$work/cars" | tr '\n' ' ')"
grep -q "^LastFile=$vehicle"$'\r'"\$" "$QORA_HOME/qora.ini" || fail "the settings file does not name the vehicle"
echo "smoke test: saved cost $new_cost through the window; backup and settings as expected"
