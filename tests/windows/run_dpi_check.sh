#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program at 100 %, 125 % and 150 % (the display's DPI, LogPixels 96, 120 and 144 in
# HKCU\Control Panel\Desktop, as Windows' display settings write it), under wine on a private X
# display: the main window is 1, 1.25 and 1.5 times its size at 100 %, and its balls are drawn
# from the 32-, 40- and 48-pixel pictures as they are, not from a smaller one resampled (read
# from a screenshot by compare_ball_picture.py).
# Usage: run_dpi_check.sh PROGRAM.exe ASSETS_DIR CHECK_BALL_PICTURE_PY
set -euo pipefail
program=$(realpath "$1")
assets=$(realpath "$2")
check_ball=$(realpath "$3")

check_name="windows DPI check"
# shellcheck source=../support/report_failure.sh
source "$(dirname "$0")/../support/report_failure.sh"

# Wine reads the DPI when its server starts, as Windows does at sign-in: each scale gets a
# session of its own, in a run of this script with --at DPI, which prints the window's size and
# what compare_ball_picture.py says of its first ball.
if [ "${4:-}" = --at ]; then
    dpi=$5
    prepare_prefix() {
        wine_run wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
    }
    # shellcheck source=../support/wine_session.sh
    source "$(dirname "$0")/../support/wine_session.sh"
    mkdir "$work/app"
    cp "$program" "$work/app/kestrune.exe"
    cd "$work/app"
    # The window's client area, once it has painted itself: two screenshots in a row alike.
    screenshot() { import -window "$window" "$work/$1.png" && convert "$work/$1.png" -alpha on "$work/$1.pam"; }
    settled() { screenshot start && screenshot again && cmp -s "$work/start.pam" "$work/again.pam"; }
    wine kestrune.exe >"$work/program.out" 2>&1 &
    program_pid=$!
    window=$(find_window 600 --onlyvisible --name '^Kestrune 2') || fail "at $dpi DPI the main window did not appear"
    activate "$window"
    poll 100 settled || fail "at $dpi DPI the main window did not settle"
    identify -format '%w %h\n' "$work/start.png"
    case $dpi in 96) picture=gray-ball.png ;; *) picture=gray-ball-$((dpi / 3)).png ;; esac
    convert "$assets/$picture" "$work/picture.pam"
    python3 "$check_ball" "$work/start.pam" "$work/picture.pam" 2>&1 || fail "at $dpi DPI: the first ball is not $picture"
    send_keys "$window" ctrl+q
    wait_for_end "$program_pid" 100 "at $dpi DPI Ctrl+Q did not end the program"
    exit 0
fi

out=$(mktemp)
trap 'rm -f "$out" "$out.err"' EXIT
size_at_100=
for scale in 100:96 125:120 150:144; do
    IFS=: read -r percent dpi <<<"$scale"
    "$0" "$program" "$assets" "$check_ball" --at "$dpi" >"$out" 2>"$out.err" ||
        fail "at $percent %: $(cat "$out" "$out.err")"
    { read -r width height; read -r ball; } <"$out"
    [ -n "$size_at_100" ] || size_at_100="$width $height"
    read -r width_100 height_100 <<<"$size_at_100"
    # Qt rounds the scaled size of the window's client area to whole pixels.
    for pair in "$width:$width_100" "$height:$height_100"; do
        IFS=: read -r now base <<<"$pair"
        want=$(((base * percent + 50) / 100))
        ((now >= want - 1 && now <= want + 1)) ||
            fail "at $percent % the window is $width x $height, not $percent % of $width_100 x $height_100"
    done
    echo "at $percent %: window $width x $height; $ball"
done
echo "windows DPI check: passed"
