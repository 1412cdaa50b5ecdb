#!/usr/bin/env bash
# The Windows editor end to end under Wine, as a user meets it: the installer run silently into a private Wine
# prefix (or the portable zip unpacked), the installed qora.exe started with a vehicle made by the installed
# qora-cli.exe, real input
# events (xdotool) clicking into the Cost field, typing a new cost, saving with F2 and quitting through File > Exit.
# Then the vehicle, its backup and the settings file are checked (the settings where the program folder rule puts
# them: %APPDATA%\QORA for an installed copy, beside a portable one), and the installer's copy is uninstalled
# silently and what is left is checked. Run it under xvfb-run.
# Usage: editor_e2e.sh installer SETUP.EXE
#        editor_e2e.sh portable ZIP
set -euo pipefail

mode=$1
artifact=$(realpath "$2")
started=$(date +%s)
work=$(mktemp -d)
pid=""
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "windows editor test ($mode): $*" >&2
    for log in "$work/qora.out" "$work/qora.err" "$work/wine.log"; do
        if [ -s "$log" ]; then
            echo "--- $(basename "$log")" >&2
            tail -n 40 "$log" >&2
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
export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko downloads while the prefix is made: QORA needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset QORA_HOME
wineboot --init >"$work/wine.log" 2>&1 || fail "wineboot failed"
wineserver -w
# Windows' dialog font (MS Shell Dlg is Tahoma) as Windows has it: Debian's Wine ships Tahoma (fonts-wine) but does
# not offer it to programs, which would then draw every control in the first font they find, a serif one.
cp /usr/share/wine/fonts/tahoma*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true

drive_c="$WINEPREFIX/drive_c"
appdata=$(ls -d "$drive_c"/users/*/AppData/Roaming | grep -v '/Public/' | head -n 1)
[ -d "$appdata" ] || fail "the Wine prefix has no user folder"
windows_path() { winepath -w "$1" 2>/dev/null; }

# ---- Put the program in place.
case "$mode" in
installer)
    wine "$artifact" /S >>"$work/wine.log" 2>&1 || fail "the installer failed"
    wineserver -w
    program_dir=""
    for candidate in "$drive_c/Program Files/QORA" "$appdata/../Local/Programs/QORA"; do
        if [ -f "$candidate/bin/qora.exe" ]; then
            program_dir=$(realpath "$candidate")
        fi
    done
    [ -n "$program_dir" ] || fail "the installer put no bin\\qora.exe in Program Files or the user's Programs folder"
    qora="$program_dir/bin/qora.exe"
    cli="$program_dir/bin/qora-cli.exe"
    # An installed tree keeps the settings in the user's data folder.
    settings_dir="$appdata/QORA"
    if [ "$program_dir" = "$(realpath "$drive_c/Program Files/QORA")" ]; then
        root_key=HKLM
        start_menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
    else
        root_key=HKCU
        start_menu="$appdata/Microsoft/Windows/Start Menu/Programs"
    fi
    [ -f "$start_menu/QORA.lnk" ] || fail "no Start menu entry in $start_menu"
    wine reg query "$root_key\\Software\\Classes\\QORAVehicleFile\\shell\\open\\command" /ve 2>/dev/null |
        tr -d '\r' | grep -qF "\"$(windows_path "$qora")\" \"%1\"" || fail "the .veh association does not open qora.exe"
    wine reg query "$root_key\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QORA" /v UninstallString \
        >/dev/null 2>&1 || fail "no uninstall entry"
    ;;
portable)
    mkdir -p "$drive_c/Tools"
    unzip -q "$artifact" -d "$drive_c/Tools" || fail "cannot unpack the zip"
    qora=$(ls "$drive_c"/Tools/*/qora.exe)
    program_dir=$(dirname "$qora")
    cli="$program_dir/qora-cli.exe"
    settings_dir="$program_dir"
    [ -f "$program_dir/qora-cli.exe" ] && [ -f "$program_dir/qorahelp.htm" ] && [ -f "$program_dir/README.txt" ] ||
        fail "the zip lacks qora-cli.exe, the user guide or README.txt"
    ;;
*)
    fail "unknown mode $mode"
    ;;
esac

# ---- A vehicle, and this version's settings naming it as the last file, so the start asks nothing.
mkdir -p "$drive_c/Cars" "$settings_dir"
vehicle="$drive_c/Cars/car.veh"
vehicle_win=$(windows_path "$vehicle")
wine "$(windows_path "$cli")" new "$vehicle_win" >>"$work/wine.log" 2>&1 || fail "qora-cli.exe new failed"
[ -f "$vehicle" ] || fail "qora-cli.exe new made no vehicle"
cp "$vehicle" "$work/original.veh"
printf '[SETTINGS]\r\nVersion=4.0\r\nPatchFolder=%s\r\nTrevantInstallPath=%s\r\nLastFile=%s\r\n[FAVORITES]\r\nFavoriteFolder0=Vehicle.mas\r\n' \
    "$(windows_path "$drive_c/Cars")" "$(windows_path "$settings_dir")" "$vehicle_win" >"$settings_dir/qora.ini"
cp "$settings_dir/qora.ini" "$work/settings-before.ini"

# ---- The user's session.
# Started by its Windows path, as the Start menu or Explorer would.
wine "$(windows_path "$qora")" --report-control eCost "$vehicle_win" >"$work/qora.out" 2>"$work/qora.err" &
pid=$!
# Wine makes and drops helper windows while a program starts; a search that meets one as it goes fails, so it is
# simply asked again.
window=""
for _ in $(seq 120); do
    window=$(xdotool search --onlyvisible --name '^QORA' 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    sleep 0.5
done
[ -n "$window" ] || fail "no QORA window appeared"
wait_for 60 grep -q '^control eCost ' "$work/qora.out" || fail "the window did not report the Cost field"
read -r _ _ x y width height < <(tr -d '\r' <"$work/qora.out" | grep '^control eCost ')
if [ -n "${QORA_E2E_SCREENSHOTS:-}" ]; then
    mkdir -p "$QORA_E2E_SCREENSHOTS"
    import -window root "$QORA_E2E_SCREENSHOTS/$mode-start.png" 2>/dev/null || true
fi

new_cost=123456
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window" || true
xdotool mousemove --window "$window" $((x + width / 2)) $((y + height / 2)) click 1
sleep 0.5
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 50 "$new_cost"
sleep 0.5
xdotool key F2
wait_for 30 test -f "$drive_c/Cars/car.veX" || fail "F2 did not save the vehicle (no backup appeared)"

xdotool key alt+f
sleep 1
xdotool key x
for _ in $(seq 600); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the window did not close after File > Exit"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "qora.exe exited with status $status"
wineserver -w

# ---- What the session left on disk.
cmp -s "$work/original.veh" "$drive_c/Cars/car.veX" || fail "car.veX is not the vehicle as it was before the save"
changes=$(diff <(tr -d '\r' <"$work/original.veh") <(tr -d '\r' <"$vehicle") | grep '^[<>]' || true)
expected=$(printf '< //VehCost=400000\n> //VehCost=%s' "$new_cost")
[ "$changes" = "$expected" ] || fail "unexpected changes in car.veh:
$changes"
[ "$(grep -c $'\r$' "$vehicle")" = "$(wc -l <"$vehicle")" ] || fail "car.veh lost its CR LF line ends"
[ "$(LC_ALL=C ls -A "$drive_c/Cars")" = "$(printf 'car.veX\ncar.veh')" ] ||
    fail "unexpected files beside the vehicle: $(ls -A "$drive_c/Cars" | tr '\n' ' ')"
# The program read and rewrote the settings where the rule puts them, and made none anywhere else.
! cmp -s "$work/settings-before.ini" "$settings_dir/qora.ini" || fail "qora.ini in $settings_dir was not written back"
grep -qF "LastFile=$vehicle_win"$'\r' "$settings_dir/qora.ini" || fail "the settings file does not name the vehicle"
others=$( (find "$program_dir" "$appdata" -iname qora.ini; echo "$settings_dir/qora.ini") | LC_ALL=C sort | uniq -u)
[ -z "$others" ] || fail "qora.ini was written elsewhere as well: $others"

# ---- Removing the installed copy.
if [ "$mode" = installer ]; then
    mkdir -p "$program_dir/bin/Garage"
    echo "mine" >"$program_dir/bin/Garage/notes.txt" # the user's own file among the program's
    wine "$(windows_path "$program_dir/uninstall.exe")" /S >>"$work/wine.log" 2>&1 || fail "the uninstaller failed"
    wineserver -w
    left=$(cd "$program_dir" && find . -mindepth 1 | LC_ALL=C sort | tr '\n' ' ')
    [ "$left" = "./bin ./bin/Garage ./bin/Garage/notes.txt " ] ||
        fail "the uninstaller left or removed the wrong files: $left"
    [ ! -e "$start_menu/QORA.lnk" ] || fail "the Start menu entry is still there"
    ! wine reg query "$root_key\\Software\\Classes\\QORAVehicleFile" >/dev/null 2>&1 || fail "the association is left"
    ! wine reg query "$root_key\\Software\\Classes\\.veh" >/dev/null 2>&1 || fail "the .veh class is left"
    ! wine reg query "$root_key\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QORA" >/dev/null 2>&1 ||
        fail "the uninstall entry is left"
    [ -f "$settings_dir/qora.ini" ] || fail "the uninstaller removed the user's settings"
    [ -f "$vehicle" ] && [ -f "$drive_c/Cars/car.veX" ] || fail "the uninstaller touched the user's vehicles"
fi

echo "windows editor test ($mode): saved cost $new_cost through the window; backup, settings$(
    [ "$mode" = installer ] && echo " and uninstall") as expected ($(($(date +%s) - started)) s)"
