# shellcheck shell=bash
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the Windows checks: a private X display (display_session.sh) with openbox and
# a fresh wine prefix, all gone when the check ends, in the temporary folder $work; poll waits for
# a condition. The caller defines fail (message, exit 1) before sourcing, and is run again from
# its start where it does not yet run without address space randomization (wine_fixed_layout.sh).
# A caller may define prepare_prefix, which runs once the prefix is made, before the wine server
# that serves the check starts: the place for settings wine reads only when its server starts.
#
# The wine server of the prefix, with its socket in a temporary folder of the check's own, stays
# up for the whole check, and the check begins only once it answers a registry read. Wine
# commands whose failure matters go through wine_run, which names the command and its output
# when it fails. Keys go through send_keys, which stays right when the keys end the window they
# are sent to.

# shellcheck source=wine_fixed_layout.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine_fixed_layout.sh"

for tool in wine wineserver Xvfb openbox xdotool xwininfo import convert python3 strings; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps --windows)"
done

# Wine names its X windows through the locale: in one that is not UTF-8 (no LANG, as on a fresh
# system or under env -i) a Chinese title becomes "Kestrune ??" in WM_NAME, where xdotool looks
# for it. A Chinese desktop runs in a UTF-8 locale; so do the checks.
if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
    export LC_ALL=C.UTF-8
fi

# shellcheck source=display_session.sh
source "$(dirname "${BASH_SOURCE[0]}")/display_session.sh"
before_cleanup() {
    [ -z "${WINEPREFIX:-}" ] || wineserver --kill 2>/dev/null
}
openbox >/dev/null 2>&1 &
pids+=($!)

# Runs a wine command; when it fails, the check fails with the command and what it printed on
# either channel. Its standard output is passed on.
wine_run() {
    local status=0
    "$@" >"$work/wine_run.out" 2>"$work/wine_run.err" || status=$?
    if ((status != 0)); then
        fail "'$*' ended with status $status: $(cat "$work/wine_run.out" "$work/wine_run.err" | tr -d '\r')"
    fi
    tr -d '\r' <"$work/wine_run.out"
}

# The wine server's socket stays in wine's own folder under /tmp: Debian's wine 10 aborts at its
# start ("free(): invalid pointer") with TMPDIR set to a folder of the check's own.
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine_run wineboot --init >/dev/null
# What the caller sets before the server starts for good (prepare_prefix, where it defines one).
if declare -F prepare_prefix >/dev/null; then
    prepare_prefix
fi
wineserver --wait
# One server for the whole check; it ends with the cleanup. Its services start with the first
# program and keep no output of the check open.
wineserver --persistent=600
wine_ready() { wine reg query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion' /v CurrentVersion; }
poll 600 wine_ready </dev/null || fail "the wine server never answered a registry read: $(wine_ready 2>&1 | tr -d '\r')"

window_exists() { xwininfo -id "$1" >/dev/null 2>&1; }
window_viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }

# Gives window $1 the keyboard: through the window manager, else straight from the X server.
activate() {
    timeout 10 xdotool windowactivate --sync "$1" 2>/dev/null ||
        timeout 10 xdotool windowfocus --sync "$1" 2>"$work/focus.err" ||
        fail "window $1 could not be given the keyboard: $(cat "$work/focus.err")"
}

# Sends the keys to the X window $1 itself, as events addressed to it (xdotool key --window). A key that ends the window (Return on 确定, Ctrl+Q) can destroy it
# between the key's press and its release; xdotool then dies on the X error of the release.
# That is no failure as long as the window is gone: the caller checks what the keys were to
# bring about. With the window still there, a failure of xdotool fails the check.
send_keys() {
    local window=$1
    shift
    xdotool key --window "$window" "$@" 2>"$work/keys.err" && return 0
    ! window_exists "$window" ||
        fail "xdotool could not send $* to window $window: $(cat "$work/keys.err")"
}

# Waits up to $2 tenths of a second for the process $1 (a child of the check) to end and puts
# its exit status into end_status; fails with the message $3 when it does not end.
wait_for_end() {
    local pid=$1
    process_ended() { ! kill -0 "$pid"; }
    poll "$2" process_ended || fail "$3"
    end_status=0
    wait "$pid" || end_status=$?
}
