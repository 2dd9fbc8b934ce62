#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package and checks it: lintian --pedantic reports no tag (overrides aside),
# Depends holds the libraries dpkg-shlibdeps found and a face for the Chinese captions, Recommends
# the link opener and the Wayland plugin, the packaged program passes hardening-check (PIE, stack
# protector, fortified calls, read-only relocations, immediate binding, control-flow and
# stack-clash protection), and the stripped program's symbols lie in the build tree under its
# build-id.
# Usage: check_package.sh BUILD_DIR WORK_DIR
set -euo pipefail
build=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in cpack lintian dpkg-deb dpkg-shlibdeps readelf hardening-check; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps installs it)"
done
cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$work/cpack.log")"

shopt -s nullglob
packages=("$work"/kestrune_*.deb)
[ ${#packages[@]} -eq 1 ] || fail "expected one kestrune_*.deb, found ${#packages[@]}"
package=${packages[0]}

tags=$(lintian --pedantic --display-info --display-experimental "$package" 2>/dev/null) ||
    fail "lintian failed: $tags"
[ -z "$tags" ] || fail "lintian reports:"$'\n'"$tags"

depends=$(dpkg-deb -f "$package" Depends)
# Debian 13 renamed Qt's core library for the 64-bit time_t transition (libqt6core6t64).
for needed in 'libqt6widgets6 \(>= 6\.' 'libqt6gui6 \(>= 6\.' 'libqt6core6(t64)? \(>= 6\.' \
    'libc6 \(>= ' 'fonts-wqy-microhei \| fonts-noto-cjk'; do
    grep -qE "$needed" <<<"$depends" || fail "Depends lacks /$needed/: $depends"
done
recommends=$(dpkg-deb -f "$package" Recommends)
for wanted in xdg-utils qt6-wayland; do
    grep -qw "$wanted" <<<"$recommends" || fail "Recommends lacks $wanted: $recommends"
done

dpkg-deb -x "$package" "$work/contents"
# Branch protection is arm64's (PAC and BTI); Debian 13's hardening-check asks for it on every
# machine. On amd64 control flow is guarded by CET (-fcf-protection), which it checks as well.
not_here=()
options=$(hardening-check --help 2>&1 || true)
if [ "$(dpkg --print-architecture)" != arm64 ] && [[ $options == *--nobranchprotection* ]]; then
    not_here+=(--nobranchprotection)
fi
hardening=$(hardening-check "${not_here[@]}" "$work/contents/usr/bin/kestrune" 2>&1) ||
    fail "hardening-check finds the packaged program lacking:"$'\n'"$hardening"
build_id=$(LC_ALL=C readelf -n "$work/contents/usr/bin/kestrune" | sed -n 's/.*Build ID: //p')
[ -n "$build_id" ] || fail "the packaged program has no build-id"
symbols=$build/debug/.build-id/${build_id:0:2}/${build_id:2}.debug
[ -f "$symbols" ] || fail "no symbols for build-id $build_id at $symbols"
LC_ALL=C readelf -S "$symbols" | grep -q '\.debug_info' || fail "$symbols holds no debug information"
echo "$(basename "$package"): Depends: $depends; Recommends: $recommends"
