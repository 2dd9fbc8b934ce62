#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a benchmark on a private X display (tests/support/display_session.sh), as the checks run
# the program; with --wine, the Windows benchmark under wine as the Windows checks run it: with
# openbox, in a fresh prefix, without address space randomization (wine_session.sh). Passes on
# what it prints (without wine's carriage returns) and its exit status.
# Usage: bench/run_on_display.sh [--wine] PROGRAM [ARGUMENT...]
set -euo pipefail
wine=""
program=${1:-}
if [ "$program" = --wine ]; then
    wine=wine program=${2:-}
fi
check_name=$(basename "$program")
fail() {
    echo "$check_name: $*" >&2
    exit 1
}
if [ -n "$wine" ]; then
    # Sourced with the arguments whole: it may run this script again from its start.
    # shellcheck source=../tests/support/wine_session.sh
    source "$(dirname "$0")/../tests/support/wine_session.sh"
    shift
else
    # shellcheck source=../tests/support/display_session.sh
    source "$(dirname "$0")/../tests/support/display_session.sh"
fi
if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
    export LC_ALL=C.UTF-8
fi
status=0
$wine "$@" </dev/null 2>&1 | tr -d '\r' || status=$?
exit "$status"
