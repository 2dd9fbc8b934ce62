#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a cross-built Windows test program under wine: how ctest starts the Windows tests (the
# build's CROSSCOMPILING_EMULATOR). The wine prefix and the X display come from the caller,
# scripts/test-windows, which makes a fresh prefix for every run; run alone, one in the
# temporary folder is made on first use.
set -euo pipefail
# shellcheck source=../../tests/support/wine_fixed_layout.sh
source "$(dirname "$0")/../../tests/support/wine_fixed_layout.sh"
export WINEDEBUG=${WINEDEBUG:--all}
# Qt writes its warnings to the debugger, not to the console, unless told otherwise.
export QT_FORCE_STDERR_LOGGING=1
if [ -z "${WINEPREFIX:-}" ]; then
    export WINEPREFIX=${TMPDIR:-/tmp}/kestrune-wine-$(id -u)
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    # No Mono or Gecko installer prompts: the tests need neither.
    WINEDLLOVERRIDES="mscoree,mshtml=" wineboot --init >/dev/null 2>&1
    wineserver --wait
fi
exec wine "$@"
