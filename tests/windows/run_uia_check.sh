#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# What a Windows screen reader finds in the program's windows, read through UI Automation by the
# project's own client (read_uia.exe) under wine, on a private X display with a window manager:
# the main window at start, after 机选 (Return on the focused button), and the help window (F1),
# each checked by compare_uia_tree.py; 确定 then closes the help window and Ctrl+Q ends the program.
# Wine's UI Automation has no tree walkers and no pattern properties (see compare_uia_tree.py); its
# FindAll, names and control types are what is read.
# Usage: run_uia_check.sh PROGRAM.exe READ_UIA.exe CHECK_UIA_PY VERSION
set -euo pipefail
program=$(realpath "$1")
read_uia=$(realpath "$2")
check_uia=$(realpath "$3")
version=$4

check_name="windows UI Automation check"
# shellcheck source=../support/report_failure.sh
source "$(dirname "$0")/../support/report_failure.sh"

# shellcheck source=../support/wine_session.sh
source "$(dirname "$0")/../support/wine_session.sh"

mkdir "$work/app"
cp "$program" "$work/app/kestrune.exe"
cp "$read_uia" "$work/read_uia.exe"
cd "$work/app"

# The tree of the window whose title begins with $2, checked as phase $1; the tree and the
# check's words are kept for the failure message.
tree_holds() {
    wine "$work/read_uia.exe" "$2" >"$work/tree.txt" 2>"$work/tree.err" &&
        python3 "$check_uia" "$1" "$work/tree.txt" "$version" >"$work/check.out" 2>&1
}
check_tree() {
    poll "$3" tree_holds "$1" "$2" ||
        fail "$(cat "$work/check.out" "$work/tree.err" 2>/dev/null)
  tree read: $(sed 's/^/    /' "$work/tree.txt" 2>/dev/null)"
    cat "$work/check.out"
}

wine kestrune.exe >"$work/program.out" 2>&1 &
program_pid=$!
window=$(find_window 600 --onlyvisible --name '^Kestrune 2') || fail "the main window did not appear"
activate "$window"
check_tree start "Kestrune $version" 120

send_keys "$window" Return
check_tree picked "Kestrune $version" 120

send_keys "$window" F1
help=$(find_window 300 --onlyvisible --name '^Kestrune 帮助$') || fail "F1 opened no help window"
check_tree help "Kestrune 帮助" 120

activate "$help"
send_keys "$help" Return
help_closed() { ! window_viewable "$help"; }
poll 100 help_closed || fail "确定 did not close the help window"
activate "$window"
send_keys "$window" ctrl+q
wait_for_end "$program_pid" 100 "Ctrl+Q did not end the program"
[ "$end_status" -eq 0 ] || fail "the program ended with status $end_status"
echo "windows UI Automation check: passed"
