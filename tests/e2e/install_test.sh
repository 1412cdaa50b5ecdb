#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks what a desktop needs: the two programs, the desktop entry,
# the MIME type for *.veh, the AppStream metainfo, the hicolor icons and the user guide, exactly these files and
# nothing else; the validators' verdicts where the validators are installed; and that the installed programs run.
# Usage: install_test.sh CMAKE BUILD_DIR
set -euo pipefail

cmake=$1
build=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

fail() {
    echo "install test: $*" >&2
    exit 1
}

"$cmake" --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"

id=io.qora.Qora
sizes=(16 22 24 32 48 64 128 256)
expected=(bin/qora bin/qora-cli "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml"
          "share/mime/packages/$id.xml" share/qora/qorahelp.htm)
for size in "${sizes[@]}"; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
installed=$(cd "$prefix" && find . -type f -printf '%P\n' | LC_ALL=C sort)
wanted=$(printf '%s\n' "${expected[@]}" | LC_ALL=C sort)
[ "$installed" = "$wanted" ] || fail "installed files differ from the expected ones:
$(diff <(echo "$wanted") <(echo "$installed") || true)"

for program in qora qora-cli; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is not executable"
done

# Each icon is a PNG of its size: the signature, then the IHDR chunk's width and height (big-endian).
for size in "${sizes[@]}"; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
    header=$(od -An -tx1 -N24 "$png" | tr -d ' \n')
    [ "${header:0:16}" = 89504e470d0a1a0a ] || fail "$png is not a PNG"
    [ $((16#${header:32:8})) -eq "$size" ] && [ $((16#${header:40:8})) -eq "$size" ] ||
        fail "$png is not ${size}x${size}"
done

desktop="$prefix/share/applications/$id.desktop"
for line in "Exec=qora %f" "TryExec=qora" "Icon=$id" "MimeType=application/x-trevant-vehicle;" "Type=Application"; do
    grep -qxF "$line" "$desktop" || fail "the desktop entry lacks '$line'"
done
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate refuses the desktop entry"
fi

metainfo="$prefix/share/metainfo/$id.metainfo.xml"
grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch $id.desktop"
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$metainfo" >/dev/null || fail "appstreamcli refuses the metainfo"
fi

# The MIME package as the desktop's database builds it: *.veh maps to the vehicle type.
if command -v update-mime-database >/dev/null; then
    XDG_DATA_DIRS="$prefix/share" update-mime-database "$prefix/share/mime" || fail "update-mime-database refuses the MIME package"
    grep -q ':application/x-trevant-vehicle:\*\.veh$' "$prefix/share/mime/globs2" ||
        fail "the MIME database does not map *.veh to application/x-trevant-vehicle"
    grep -qx 'application/x-trevant-vehicle text/plain' "$prefix/share/mime/subclasses" ||
        fail "the vehicle type is not a kind of text/plain"
fi

version=$("$prefix/bin/qora-cli" --version) || fail "the installed qora-cli does not run"
[[ $version == "qora-cli 4.0 "* ]] || fail "the installed qora-cli reports '$version'"
version=$(QT_QPA_PLATFORM=offscreen "$prefix/bin/qora" --version 2>/dev/null) || fail "the installed qora does not run"
[ "$version" = "qora 4.0" ] || fail "the installed qora reports '$version'"
echo "install test: ${#expected[@]} files installed and checked"
