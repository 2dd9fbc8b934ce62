#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what lands there: the program, a desktop
# entry that desktop-file-validate accepts, and the icon at 32 x 32 and 64 x 64.
# Usage: check_install.sh BUILD_DIR WORK_DIR
set -euo pipefail
build=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
cmake --install "$build" --prefix "$work/prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }

# Width and height from a PNG's IHDR chunk (bytes 16 to 23, big-endian).
png_size() {
    local bytes
    bytes=$(od -An -tu1 -j16 -N8 "$1" | tr -s ' \n' ' ')
    read -r w1 w2 w3 w4 h1 h2 h3 h4 <<<"$bytes"
    echo "$(((w1 << 24) | (w2 << 16) | (w3 << 8) | w4))x$(((h1 << 24) | (h2 << 16) | (h3 << 8) | h4))"
}

prefix=$work/prefix
[ -x "$prefix/bin/kestrune" ] || fail "bin/kestrune is missing or not executable"
desktop=$prefix/share/applications/kestrune.desktop
[ -f "$desktop" ] || fail "share/applications/kestrune.desktop is missing"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
grep -qx 'Name=Kestrune' "$desktop" || fail "the desktop entry is not named Kestrune"
grep -q '^Name\[zh_CN\]=' "$desktop" || fail "the desktop entry has no Chinese name"
grep -qx 'Categories=Utility;' "$desktop" || fail "the desktop entry is not in Utility"
for size in 32 64; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/kestrune.png
    [ -f "$icon" ] || fail "the ${size}x${size} icon is missing"
    [ "$(png_size "$icon")" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $(png_size "$icon")"
done
echo "installed: $(cd "$prefix" && find . -type f | sort | tr '\n' ' ')"
