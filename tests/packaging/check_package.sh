#!/usr/bin/env bash
# Builds the Debian package and checks its files and its declared run-time dependencies.
# Usage: check_package.sh BUILD_DIR WORK_DIR
set -euo pipefail
build=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
cpack --config "$build/CPackConfig.cmake" -B "$work" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }

shopt -s nullglob
packages=("$work"/kestrune_*.deb)
[ ${#packages[@]} -eq 1 ] || fail "expected one kestrune_*.deb, found ${#packages[@]}"
package=${packages[0]}
contents=$(dpkg-deb -c "$package" | awk '{print $NF}')
for file in ./usr/bin/kestrune ./usr/share/applications/kestrune.desktop \
    ./usr/share/icons/hicolor/32x32/apps/kestrune.png \
    ./usr/share/icons/hicolor/64x64/apps/kestrune.png; do
    grep -qxF "$file" <<<"$contents" || fail "the package lacks $file"
done
depends=$(dpkg-deb -f "$package" Depends)
for needed in libqt6widgets6 libqt6gui6 libqt6core6 fonts-wqy-microhei; do
    grep -q "$needed" <<<"$depends" || fail "the package does not depend on $needed"
done
echo "$(basename "$package"): Depends: $depends"
