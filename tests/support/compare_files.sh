# shellcheck shell=bash
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the reproducibility checks: same_file ONE OTHER WHAT returns when the two files are
# byte-identical, and otherwise ends the check saying that WHAT differs, with diffoscope's view
# of where (cmp's where diffoscope is missing).
same_file() {
    cmp -s "$1" "$2" && return 0
    echo "FAIL: $3 differs ($1 and $2):" >&2
    if command -v diffoscope >/dev/null; then
        diffoscope --text - "$1" "$2" 2>&1 | head -300 >&2 || true
    else
        cmp -l "$1" "$2" | head -20 >&2 || true
    fi
    exit 1
}
