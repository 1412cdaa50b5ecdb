#!/usr/bin/env bash
# Runs qora-cli.exe under Wine and the Linux qora-cli side by side on the test fixtures, and fails when their
# outputs or exit statuses differ. The vehicles are read through the same paths by both (Wine maps the Unix
# folders onto drive Z:); files they write go to folders of their own and are compared byte for byte.
# Usage: tests/windows/compare_cli.sh LINUX_QORA_CLI WINDOWS_QORA_CLI_EXE
set -euo pipefail

linux="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
windows="$(cd "$(dirname "$2")" && pwd)/$(basename "$2")"
here="$(cd "$(dirname "$0")/../.." && pwd)"
data="$here/tests/data"

export WINEPREFIX="${WINEPREFIX:-$(dirname "$windows")/wine-prefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine="$(command -v wine || command -v wine64)"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

failures=0
# The command's output and status on both systems; the Windows output comes with CR LF line ends when the
# program writes text through the console, so line ends are compared as lines.
compare() {
    local name="$1"
    shift
    local l w lr wr
    set +e
    l="$("$linux" "$@" 2>&1)"
    lr=$?
    w="$("$wine" "$windows" "$@" 2>&1 | tr -d '\r')"
    wr=${PIPESTATUS[0]}
    set -e
    if [ "$l" != "$w" ] || [ "$lr" != "$wr" ]; then
        echo "DIFFERS: $name (exit $lr on Linux, $wr under Wine)"
        diff <(printf '%s\n' "$l") <(printf '%s\n' "$w") | head -20 || true
        failures=$((failures + 1))
    else
        echo "same: $name"
    fi
}

"$wine" "$windows" --version >/dev/null 2>&1 || true # the first start creates the Wine prefix

for fixture in "$data"/*.veh; do
    base="$(basename "$fixture")"
    compare "check $base" check "$fixture"
    compare "show $base" show "$fixture"
    compare "curve $base" curve "$fixture"
    compare "gears $base" gears "$fixture"
done
compare "diff template/mixed_line_ends" diff "$data/template.veh" "$data/mixed_line_ends.veh"

# Written files: a new vehicle and a changed one, byte for byte.
mkdir -p "$work/linux" "$work/windows"
"$linux" new "$work/linux/new.veh" >/dev/null
"$wine" "$windows" new "$work/windows/new.veh" >/dev/null 2>&1
cp "$data/template.veh" "$work/linux/set.veh"
cp "$data/template.veh" "$work/windows/set.veh"
"$linux" set --no-backup "$work/linux/set.veh" BODY.mass=1200.0 >/dev/null
"$wine" "$windows" set --no-backup "$work/windows/set.veh" BODY.mass=1200.0 >/dev/null 2>&1
for file in new.veh set.veh; do
    if cmp -s "$work/linux/$file" "$work/windows/$file"; then
        echo "same: written $file"
    else
        echo "DIFFERS: written $file"
        failures=$((failures + 1))
    fi
done

if [ "$failures" -ne 0 ]; then
    echo "$failures difference(s) between qora-cli on Linux and qora-cli.exe under Wine"
    exit 1
fi
echo "qora-cli.exe under Wine gives the same results as qora-cli on Linux"
