# shellcheck shell=bash
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the checks that run a program on an X display of their own (tests/desktop,
# tests/accessibility, tests/windows, scripts/test-windows and bench/run_on_display.sh): makes the
# temporary folder $work and a private Xvfb display of screen_width x screen_height, exported as
# DISPLAY. Whatever the check starts in the background and adds to pids is stopped when the check
# ends, newest first and the display last; then $work goes. A check that must do more before that
# (end a wine server, keep a log) defines before_cleanup. poll waits for a condition,
# start_session_bus starts a D-Bus session bus of its own, find_window finds a window by
# xdotool's search. The caller defines fail (message, exit 1) before sourcing.

work=$(mktemp -d)
pids=()
cleanup() {
    if declare -F before_cleanup >/dev/null; then
        before_cleanup || true
    fi
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        # A process may take its time over a polite end (Orca does); it gets two seconds.
        for _ in $(seq 20); do
            kill -0 "${pids[i]}" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "${pids[i]}" 2>/dev/null || true
        { wait "${pids[i]}"; } 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# Polls for up to $1 tenths of a second until the command succeeds.
poll() {
    local tenths=$1
    shift
    for _ in $(seq "$tenths"); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# Prints the first window that `xdotool search ARGS` finds, waiting up to $1 tenths of a second
# for one. Debian 12's xdotool dies on an X error when any window goes away in the middle of its
# search, so a search that fails is made again.
find_window() {
    local tenths=$1 found
    shift
    for _ in $(seq "$tenths"); do
        found=$(xdotool search "$@" 2>/dev/null) || true
        if [ -n "$found" ]; then
            echo "${found%%$'\n'*}"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Xvfb picks a free display number and writes it to fd 3.
screen_width=1024
screen_height=768
Xvfb -displayfd 3 -screen 0 "${screen_width}x${screen_height}x24" -nolisten tcp \
    3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
poll 100 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
DISPLAY=:$(head -n1 "$work/display")
export DISPLAY

start_session_bus() {
    dbus-daemon --session --nofork --nopidfile --print-address=4 4>"$work/bus" 2>"$work/dbus.log" &
    pids+=($!)
    poll 100 test -s "$work/bus" || fail "the D-Bus session bus did not start: $(cat "$work/dbus.log")"
    DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
    export DBUS_SESSION_BUS_ADDRESS
}
