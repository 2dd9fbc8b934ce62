#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# kestrune --help and --version answer without a display (and without QT_QPA_PLATFORM), exit 0,
# and keep working beside Qt's own options; anything unknown is refused with a message naming
# it, and a start without a display, or on one that cannot be reached, is refused with a
# message: each with status 1, never an abort.
# Usage: check_command_line.sh PROGRAM VERSION
set -uo pipefail
program=$1
version=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

# Each row: expected status | text the output must hold | arguments.
rows=(
    "0|Usage: kestrune [options]|--help"
    "0|Usage: kestrune [options]|-h"
    "0|-platform|--help"
    "0|Displays version information|--help-all"
    "0|kestrune (Kestrune) $version|--version"
    "0|kestrune (Kestrune) $version|-v"
    "0|kestrune (Kestrune) $version|-platform xcb --version"
    "1|Unknown option 'no-such-option'|-platform offscreen --no-such-option"
    "1|Unknown option 'bogus'|--bogus"
    "1|Unknown option 'bogus'|-style Fusion -bogus"
    "1|Missing value after '-platform'|-platform"
    "1|takes no arguments|-platform offscreen stray"
    "1|takes no arguments|stray"
    "1|no display to open the window on|"
    "1|no display to open the window on|-platform xcb -reverse"
    "1|no display to open the window on|-platform wayland;xcb"
    "1|cannot open a window|-display :65000"
    "1|cannot open a window|-platform no-such-platform"
)
for row in "${rows[@]}"; do
    IFS='|' read -r status text arguments <<<"$row"
    read -ra words <<<"$arguments"
    output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_RUNTIME_DIR \
        timeout 20 "$program" "${words[@]}" 2>&1)
    actual=$?
    [ "$actual" -eq "$status" ] || fail "kestrune $arguments exits $actual, should exit $status: $output"
    grep -qF -- "$text" <<<"$output" || fail "kestrune $arguments does not print '$text': $output"
done
echo "checked ${#rows[@]} command lines"
