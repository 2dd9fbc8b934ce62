#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix and checks what lands there: the program without a
# RUNPATH, a desktop entry that desktop-file-validate accepts, AppStream metadata that
# appstreamcli accepts, the icon at every hicolor size and as SVG, the manual page, and the
# copyright file and changelogs. The newest release must be the project's version in the
# changelog and in the metadata alike. Each screenshot the metadata names is a file of
# packaging/screenshots/ of the size it declares, and the manual page has its own sections besides
# the options.
# Usage: check_install.sh BUILD_DIR WORK_DIR VERSION SOURCE_DIR
set -euo pipefail
build=$1
work=$2
version=$3
source=$4
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
id=org.example.Kestrune
[ -x "$prefix/bin/kestrune" ] || fail "bin/kestrune is missing or not executable"
if readelf -d "$prefix/bin/kestrune" | grep -Eq 'RUNPATH|RPATH'; then
    fail "the installed program has a library search path: $(readelf -d "$prefix/bin/kestrune" | grep -E 'RUNPATH|RPATH')"
fi

desktop=$prefix/share/applications/$id.desktop
[ -f "$desktop" ] || fail "share/applications/$id.desktop is missing"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
grep -qx 'Name=Kestrune' "$desktop" || fail "the desktop entry is not named Kestrune"
grep -q '^Name\[zh_CN\]=' "$desktop" || fail "the desktop entry has no Chinese name"
grep -qx 'Categories=Utility;Qt;' "$desktop" || fail "the desktop entry is not in Utility and Qt"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry's icon is not $id"
grep -q '^Keywords\[zh_CN\]=' "$desktop" || fail "the desktop entry has no Chinese keywords"

metainfo=$prefix/share/metainfo/$id.metainfo.xml
[ -f "$metainfo" ] || fail "share/metainfo/$id.metainfo.xml is missing"
# The ID's capitals are deliberate (reverse DNS, as the desktop file name); that hint is the
# only one allowed.
report=$(appstreamcli validate --pedantic --no-net --format=yaml "$metainfo" 2>&1) ||
    fail "appstreamcli rejects the metadata: $report"
issues=$(grep -E '^- tag:' <<<"$report" | grep -v 'cid-contains-uppercase-letter' || true)
[ -z "$issues" ] || fail "appstreamcli reports: $issues"$'\n'"$report"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metadata does not launch $id.desktop"
newest_release=$(grep -o '<release version="[^"]*" date="[^"]*"' "$metainfo" | head -1)
[[ $newest_release == "<release version=\"$version\" "* ]] ||
    fail "the newest release in the metadata is $newest_release, the project is $version"
release_date=$(sed -E 's/.*date="([^"]*)"/\1/' <<<"$newest_release")
newest_entry=$(zcat "$prefix/share/doc/kestrune/changelog.gz" | grep -m1 '^## ' || true)
[ "$newest_entry" = "## $version — $release_date" ] ||
    fail "the newest changelog entry is '$newest_entry', should be '## $version — $release_date'"

screenshots=$(grep -o '<image type="source" width="[0-9]*" height="[0-9]*">[^<]*' "$metainfo" || true)
[ "$(grep -c . <<<"$screenshots")" -eq 2 ] || fail "the metadata should name two screenshots: $screenshots"
shape='width="([0-9]+)" height="([0-9]+)">https://.*/([^/]+[.]png)$'
while read -r screenshot; do
    [[ $screenshot =~ $shape ]] ||
        fail "not a screenshot of packaging/screenshots/ at an https address: $screenshot"
    picture=$source/packaging/screenshots/${BASH_REMATCH[3]}
    [ -f "$picture" ] || fail "the metadata names ${BASH_REMATCH[3]}, which packaging/screenshots/ lacks"
    [ "$(png_size "$picture")" = "${BASH_REMATCH[1]}x${BASH_REMATCH[2]}" ] ||
        fail "${BASH_REMATCH[3]} is $(png_size "$picture"), the metadata says ${BASH_REMATCH[1]}x${BASH_REMATCH[2]}"
done <<<"$screenshots"

for size in 16 22 24 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
    [ -f "$icon" ] || fail "the ${size}x${size} icon is missing"
    [ "$(png_size "$icon")" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $(png_size "$icon")"
done
svg=$prefix/share/icons/hicolor/scalable/apps/$id.svg
[ -f "$svg" ] || fail "the scalable icon is missing"
grep -q '<svg' "$svg" || fail "the scalable icon is not an SVG picture"

manual=$prefix/share/man/man1/kestrune.1.gz
[ -f "$manual" ] || fail "the manual page is missing"
zcat "$manual" | grep -qF -- '\-\-version' || fail "the manual page does not describe --version"
for section in KEYS FILES ENVIRONMENT '"EXIT STATUS"' '"REPORTING BUGS"'; do
    zcat "$manual" | grep -qx -- ".SH $section" || fail "the manual page has no section $section"
done
zcat "$manual" | grep -qF 'registry.ini' || fail "the manual page does not name registry.ini"
for document in copyright changelog.gz changelog.Debian.gz README.md; do
    [ -f "$prefix/share/doc/kestrune/$document" ] || fail "share/doc/kestrune/$document is missing"
done
echo "installed: $(cd "$prefix" && find . -type f | sort | tr '\n' ' ')"
