#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows downloads must come out byte-identical from any clone of the same commit, with
# nothing set by hand: the program, the setup program and the zip that scripts/build-windows
# packed in this build are compared with those of a fresh clone of the committed tree, in a
# folder of another name and depth, built later and configured as a packager would (no tests),
# where only what they hold is built (the program). With uncommitted changes this build is not of the committed tree, so two fresh
# clones are compared instead. On a difference diffoscope shows where it lies. The program must
# also name no folder of the machine that built it: not the source, the build folder, the home
# folder or the Qt cache.
# Usage: check_reproducible.sh SOURCE_DIR WORK_DIR BUILD_DIR_OF_THIS_BUILD VERSION
set -euo pipefail
source=$1
work=$2
built_here=$3
version=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
# shellcheck source=../support/compare_files.sh
source "$(dirname "$0")/../support/compare_files.sh"
for tool in git cmake cpack strings; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps --windows installs it)"
done
if ! git -C "$source" rev-parse --verify -q HEAD >/dev/null; then
    echo "SKIP: $source is not a git checkout with a commit to clone"
    exit 77
fi
toolchain=$(sed -n 's/^CMAKE_TOOLCHAIN_FILE:FILEPATH=//p' "$built_here/CMakeCache.txt")
[ -f "$toolchain" ] || fail "this build names no Qt toolchain file ($built_here/CMakeCache.txt)"
rm -rf "$work"
mkdir -p "$work"
unset SOURCE_DATE_EPOCH

artefacts=(kestrune.exe "package/kestrune-$version-win64-setup.exe" "package/kestrune-$version-win64.zip")
builds=()
clones=("$work/second-clone/deeper/kestrune-src")
if [ -n "$(git -C "$source" status --porcelain)" ]; then
    echo "uncommitted changes in $source: comparing two fresh clones of the last commit"
    clones+=("$work/one/kestrune")
else
    builds+=("$built_here")
fi
for folder in "${clones[@]}"; do
    git clone --quiet "$source" "$folder"
    {
        cmake -S "$folder" -B "$folder/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DBUILD_TESTING=OFF \
            -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON &&
            cmake --build "$folder/build" -j"$(nproc)" --target kestrune &&
            cpack --config "$folder/build/CPackConfig.cmake" -B "$folder/build/package"
    } >"$folder.log" 2>&1 || fail "building or packing the clone in $folder failed: $(tail -30 "$folder.log")"
    builds+=("$folder/build")
done

for artefact in "${artefacts[@]}"; do
    one=${builds[0]}/$artefact
    other=${builds[1]}/$artefact
    [ -f "$one" ] && [ -f "$other" ] || fail "$artefact is missing from ${builds[0]} or ${builds[1]}"
    same_file "$one" "$other" "$artefact of two clones"
    echo "$(basename "$artefact") is byte-identical from two clones: $(sha256sum <"$one" | cut -c1-64)"
done

# No folder of the machine that built it, in any encoding the program holds.
qt_cache=$(dirname "$(dirname "$(dirname "$(dirname "$toolchain")")")")
for folder in "$source" "${builds[@]}" "$HOME/" "$qt_cache"; do
    for encoding in s l; do
        if strings -a -e "$encoding" "${builds[0]}/kestrune.exe" | grep -qF "$folder"; then
            fail "the program names $folder: $(strings -a -e "$encoding" "${builds[0]}/kestrune.exe" | grep -F "$folder" | head -3)"
        fi
    done
done
echo "the program names no folder of the machine that built it"
rm -rf "$work"
