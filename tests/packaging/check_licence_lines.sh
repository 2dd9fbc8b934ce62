#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Every source, script and CMake file of the tree opens with its licence lines
# (SPDX-FileCopyrightText and SPDX-License-Identifier), as packaging/copyright says of them.
# Reads the files git knows of; outside a git checkout it reports itself as not run.
# Usage: check_licence_lines.sh SOURCE_DIR
set -euo pipefail
source=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
if ! files=$(git -C "$source" ls-files --cached --others --exclude-standard 2>/dev/null); then
    echo "SKIP: $source is not a git checkout"
    exit 77
fi
lacking=()
checked=0
while read -r file; do
    case $file in
    *.cpp | *.h | *.h.in | *.rc.in | *.py | *.sh | *.cmake | *.cmake.in | *CMakeLists.txt | \
        *.desktop | *.manifest | *.nsi.in | *NSIS.template.in | *.metainfo.xml | .ci/run | \
        scripts/* | tools/*) ;;
    *) continue ;;
    esac
    case $file in *.txt | *.md) [[ $file == *CMakeLists.txt ]] || continue ;; esac
    [ -f "$source/$file" ] || continue
    checked=$((checked + 1))
    head -n 6 "$source/$file" | grep -q 'SPDX-License-Identifier: ' &&
        head -n 6 "$source/$file" | grep -q 'SPDX-FileCopyrightText: ' || lacking+=("$file")
done <<<"$files"
[ ${#lacking[@]} -eq 0 ] || fail "without licence lines at the top: ${lacking[*]}"
echo "licence lines: $checked files, all with them"
