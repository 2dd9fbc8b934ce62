# shellcheck shell=bash
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the Windows checks that run the program, before wine_session.sh: fail ends the
# check with "$check_name: MESSAGE" and what the program printed into $work/program.out, if
# anything.
fail() {
    echo "$check_name: $*" >&2
    [ -f "${work:-/nonexistent}/program.out" ] && sed 's/^/  program: /' "$work/program.out" >&2
    exit 1
}
