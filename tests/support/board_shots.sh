# shellcheck shell=bash
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the Windows checks that read the main window's board: screenshots of the X window
# $window into $work, counted by colour by $read_board (read_board.py).
#   settled: the screenshot at start, once the window has painted itself (two in a row alike);
#   board:   the balls by colour now, against the screenshot at start;
#   picked:  a pick has ended: it may take many attempts, each shown on the board, so the board
#            stands still with six red balls and one blue.
screenshot() { import -window "$window" "$work/$1.png" && convert "$work/$1.png" "$work/$1.ppm"; }
board() { screenshot now && python3 "$read_board" "$work/start.ppm" "$work/now.ppm"; }
settled() {
    screenshot start && screenshot again && cmp -s "$work/start.ppm" "$work/again.ppm" &&
        python3 "$read_board" "$work/start.ppm" "$work/again.ppm"
}
picked() {
    screenshot before && [ "$(board)" = "red=6 blue=1 gray=42" ] &&
        cmp -s "$work/before.ppm" "$work/now.ppm"
}
