#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package must come out byte-identical from any clone of the same commit, with no
# SOURCE_DATE_EPOCH set by hand. The package that the debian_package test made from this build
# (scripts/build and cpack) is compared with one made in a fresh clone of the committed tree, in
# a folder of another name and depth, configured as a packager would (no tests, so neither
# GoogleTest nor Google Benchmark), where only what the package holds is built (the program and
# its manual page) and cpack is kept from building the rest. With uncommitted changes this
# build is not of the committed tree, so two fresh clones are compared instead. On a difference
# diffoscope shows where it lies.
# Usage: check_reproducible.sh SOURCE_DIR WORK_DIR PACKAGE_DIR_OF_THIS_BUILD
set -euo pipefail
source=$1
work=$2
built_here=$3
fail() { echo "FAIL: $*" >&2; exit 1; }
# shellcheck source=../support/compare_files.sh
source "$(dirname "$0")/../support/compare_files.sh"
for tool in git cmake cpack; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps installs it)"
done
if ! git -C "$source" rev-parse --verify -q HEAD >/dev/null; then
    echo "SKIP: $source is not a git checkout with a commit to clone"
    exit 77
fi
rm -rf "$work"
mkdir -p "$work"
unset SOURCE_DATE_EPOCH

packages=()
clones=("$work/second-clone/deeper/kestrune-src")
if [ -n "$(git -C "$source" status --porcelain)" ]; then
    echo "uncommitted changes in $source: comparing two fresh clones of the last commit"
    clones+=("$work/one/kestrune")
else
    shopt -s nullglob
    built=("$built_here"/kestrune_*.deb)
    shopt -u nullglob
    [ ${#built[@]} -eq 1 ] || fail "expected one kestrune_*.deb in $built_here (the debian_package test makes it)"
    packages+=("${built[0]}")
fi
for folder in "${clones[@]}"; do
    git clone --quiet "$source" "$folder"
    log=$folder.log
    {
        cmake -S "$folder" -B "$folder/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DBUILD_TESTING=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON &&
            cmake --build "$folder/build" -j"$(nproc)" --target kestrune documents &&
            cpack --config "$folder/build/CPackConfig.cmake" -B "$folder/package"
    } >"$log" 2>&1 || fail "building or packaging the clone in $folder failed: $(tail -30 "$log")"
    shopt -s nullglob
    built=("$folder"/package/kestrune_*.deb)
    shopt -u nullglob
    [ ${#built[@]} -eq 1 ] || fail "expected one kestrune_*.deb in $folder/package"
    packages+=("${built[0]}")
done

same_file "${packages[0]}" "${packages[1]}" "the package of two clones"
echo "$(basename "${packages[0]}") is byte-identical from two clones: $(sha256sum <"${packages[0]}" | cut -c1-64)"
rm -rf "$work"
