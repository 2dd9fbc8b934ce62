#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the program under a real X11 window manager (openbox or xfwm4) on a display of its own, in
# the C locale, and checks what the window manager reads from the two windows: both titles
# (the legacy WM_NAME as well as _NET_WM_NAME), the icons, the actions offered, the owner of the
# help window and where it opens, first with the main window where it started, then with the
# main window moved. Ends the program with Ctrl+Q and expects status 0.
# Usage: run_window_manager_check.sh PROGRAM openbox|xfwm4
set -euo pipefail
program=$1
wm=$2

fail() {
    echo "window manager check ($wm): $*" >&2
    exit 1
}

for tool in Xvfb dbus-daemon xdotool xprop xwininfo "$wm"; do
    command -v "$tool" >/dev/null || fail "$tool is missing (install the packages of scripts/debian-packages.txt)"
done

# shellcheck source=../support/display_session.sh
source "$(dirname "$0")/../support/display_session.sh"

# xfwm4 reads its settings through xfconf, which it reaches on the session bus.
start_session_bus
export XDG_RUNTIME_DIR=$work XDG_CONFIG_HOME=$work/config HOME=$work

case $wm in
openbox) openbox --sm-disable >"$work/wm.log" 2>&1 & ;;
xfwm4) xfwm4 --compositor=off --sm-client-disable >"$work/wm.log" 2>&1 & ;;
*) fail "unknown window manager" ;;
esac
pids+=($!)
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
poll 100 wm_running || fail "$wm did not start: $(cat "$work/wm.log")"

LANG=C LC_ALL=C QT_QPA_PLATFORM=xcb "$program" >"$work/program.log" 2>&1 &
program_pid=$!
pids+=($program_pid)

shown_windows() { xdotool search --onlyvisible --class Kestrune 2>/dev/null || true; }
# Waits until the program shows the given number of windows, and prints the newest.
wait_for_windows() {
    for _ in $(seq 200); do
        local found
        found=$(shown_windows)
        if [[ $(grep -c . <<<"$found") -eq $1 ]]; then
            grep -vx "${2:-none}" <<<"$found" | tail -n1
            return 0
        fi
        sleep 0.1
    done
    fail "expected $1 window(s), found: $(shown_windows | tr '\n' ' ')$(cat "$work/program.log")"
}
# The text of a property, as a UTF-8 reader sees it.
property() { LC_ALL=C.UTF-8 xprop -id "$1" "$2" | sed -n 's/^[^=]* = //p'; }

# The outer rectangle, frame included, as "left top width height".
outer_rectangle() {
    local x y width height extents l r t b
    read -r x y width height < <(xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $NF}
        /Absolute upper-left Y/ {y = $NF} /Width:/ {w = $NF} /Height:/ {h = $NF}
        END {print x, y, w, h}')
    extents=$(property "$1" _NET_FRAME_EXTENTS | tr -d ' ')
    IFS=, read -r l r t b <<<"${extents:-0,0,0,0}"
    echo "$((x - l)) $((y - t)) $((width + l + r)) $((height + t + b))"
}

check_window() {
    local window=$1 name=$2 title net_title actions functions
    title=$(property "$window" WM_NAME)
    net_title=$(property "$window" _NET_WM_NAME)
    [[ -n $net_title && $title == "$net_title" ]] ||
        fail "the $name's WM_NAME reads $title, its _NET_WM_NAME $net_title"
    xprop -len 16 -id "$window" _NET_WM_ICON | grep -q '^_NET_WM_ICON(CARDINAL)' ||
        fail "the $name has no icon (_NET_WM_ICON)"
    # Motif hints: flags, functions, decorations; the functions must name neither minimize
    # (0x8) nor maximize (0x10), nor all (0x1).
    functions=$(property "$window" _MOTIF_WM_HINTS | cut -d, -f2)
    (((functions & 0x19) == 0)) || fail "the $name's Motif functions $functions allow more than they should"
    actions=$(property "$window" _NET_WM_ALLOWED_ACTIONS)
    [[ $actions != *MAXIMIZE* ]] || fail "$wm offers to maximize the $name: $actions"
    # openbox offers minimize on every window whatever the hints say (by design); xfwm4 follows
    # the hints.
    if [[ $wm == xfwm4 && $actions == *MINIMIZE* ]]; then
        fail "$wm offers to minimize the $name: $actions"
    fi
}

# Checks that the outer rectangle $1 is centred in the rectangle $2, to within a pixel or two.
check_centred() {
    local what=$1 l t w h al at aw ah
    read -r l t w h <<<"$2"
    read -r al at aw ah <<<"$3"
    local dx=$((2 * l + w - 2 * al - aw)) dy=$((2 * t + h - 2 * at - ah))
    ((dx >= -3 && dx <= 3 && dy >= -3 && dy <= 3)) ||
        fail "the help window ($2) is not centred $what ($3)"
}

open_help() {
    xdotool windowactivate --sync "$main" 2>/dev/null || true
    xdotool key F1
    wait_for_windows 2 "$main"
}

close_help() {
    xdotool windowactivate --sync "$1" 2>/dev/null || true
    xdotool key Return
    wait_for_windows 1 >/dev/null
}

main=$(wait_for_windows 1)
check_window "$main" "main window"

help=$(open_help)
check_window "$help" "help window"
owner=$(xprop -id "$help" WM_TRANSIENT_FOR | sed -n 's/.*window id # //p')
[[ -n $owner ]] && ((owner == main)) ||
    fail "the help window does not belong to the main window (WM_TRANSIENT_FOR)"
check_centred "on the screen" "$(outer_rectangle "$help")" "0 0 $screen_width $screen_height"
close_help "$help"

# Moved as a user does: the title bar dragged up and to the left. A window manager on a busy
# machine may take the press only once the pointer has moved on; it then drags from where the
# button went down. So, with the button held, the pointer moves on to the end of the drag, a
# pixel to and fro, until the window follows, then rests there until the window stands where the
# drag puts it.
read -r left top width _ <<<"$(outer_rectangle "$main")"
start_x=$((left + width / 2)) start_y=$((top + 8))
end_x=$((start_x - 240)) end_y=$((start_y - 150))
xdotool mousemove --sync "$start_x" "$start_y"
xdotool mousedown 1
for step in 1 2 3 4 5 6; do
    xdotool mousemove --sync $((start_x - 40 * step)) $((start_y - 25 * step))
done
nudge=0
following() {
    nudge=$((1 - nudge))
    xdotool mousemove --sync $((end_x + nudge)) "$end_y"
    [[ $(outer_rectangle "$main") != "$left $top "* ]]
}
poll 100 following || fail "the main window did not follow the drag from $left,$top"
xdotool mousemove --sync "$end_x" "$end_y"
moved() { [[ $(outer_rectangle "$main") == "$((left - 240)) $((top - 150)) "* ]]; }
poll 100 moved || fail "the main window was not dragged from $left,$top: $(outer_rectangle "$main")"
xdotool mouseup 1
help=$(open_help)
check_centred "over the moved main window" "$(outer_rectangle "$help")" "$(outer_rectangle "$main")"
close_help "$help"

xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool key ctrl+q
status=0
timeout 10 tail --pid="$program_pid" -f /dev/null || fail "the program did not end on Ctrl+Q"
wait "$program_pid" || status=$?
((status == 0)) || fail "the program ended with status $status: $(cat "$work/program.log")"
echo "window manager check ($wm): passed"
