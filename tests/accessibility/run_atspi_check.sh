#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts a display (Xvfb), a D-Bus session bus and the AT-SPI bus, runs the program on them and
# lets a check script drive it: read_pick.py presses 机选 with Return and reads the ticket back
# through AT-SPI. With --orca, the screen reader Orca runs too, in a simplified-Chinese session
# with a home folder of its own, and the check (hear_orca.py) reads what Orca says from Orca's
# log (in $ORCA_LOG); that check ends the program with Ctrl+Q, which must exit with status 0.
# Usage: run_atspi_check.sh [--orca LOCALE_CACHE_DIR] PROGRAM CHECK_PY
set -euo pipefail
orca=
if [[ ${1:-} == --orca ]]; then
    orca=1
    locale_cache=$2
    shift 2
fi
program=$1
reader=$2

fail() {
    echo "accessibility check: $*" >&2
    exit 1
}

# Debian's own Python, which holds pyatspi, even where another python3 comes first on the path.
python=/usr/bin/python3
[[ -x $python ]] || python=python3

for tool in Xvfb dbus-daemon dbus-send xdotool "$python"; do
    command -v "$tool" >/dev/null || fail "$tool is missing (install the packages of scripts/debian-packages.txt)"
done
launcher=/usr/libexec/at-spi-bus-launcher
[[ -x $launcher ]] || fail "$launcher is missing (Debian package at-spi2-core)"
"$python" -c 'import pyatspi' 2>/dev/null || fail "python3 cannot import pyatspi (Debian package python3-pyatspi)"
if [[ -n $orca ]]; then
    [[ -f /usr/bin/orca ]] || fail "/usr/bin/orca is missing (Debian package orca)"
    command -v localedef >/dev/null || fail "localedef is missing (Debian package libc-bin)"
fi

# A display of its own.
# shellcheck source=../support/display_session.sh
source "$(dirname "$0")/../support/display_session.sh"
# KESTRUNE_KEEP_ORCA_LOG=FILE keeps Orca's whole log for a closer look.
before_cleanup() {
    if [[ -n ${KESTRUNE_KEEP_ORCA_LOG:-} && -f $work/orca.log ]]; then
        cp "$work/orca.log" "$KESTRUNE_KEEP_ORCA_LOG"
    fi
}

# A session bus of its own; the AT-SPI bus launcher registers on it.
start_session_bus
export XDG_RUNTIME_DIR=$work
export NO_AT_BRIDGE=0
# Nothing of the user's own settings, and nothing written into them (Orca keeps its settings in
# the data folder; the program reads the messenger's folder from the configuration folder).
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_CACHE_HOME=$work/home/.cache GSETTINGS_BACKEND=memory
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"

"$launcher" --launch-immediately >"$work/atspi.log" 2>&1 &
pids+=($!)
# The launcher publishes the accessibility bus on the X root window and the session bus.
poll 100 dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
    org.a11y.Bus.GetAddress || fail "the AT-SPI bus did not start: $(cat "$work/atspi.log")"

if [[ -n $orca ]]; then
    # The session of a Chinese-speaking user. Debian generates only the locales chosen in
    # /etc/locale.gen; without zh_CN.UTF-8 there, it is made once into the cache folder.
    if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf-\?8'; then
        if [[ ! -f $locale_cache/zh_CN.UTF-8/LC_CTYPE ]]; then
            mkdir -p "$locale_cache"
            staging=$(mktemp -d "$locale_cache/making.XXXXXX")
            localedef -i zh_CN -f UTF-8 "$staging/zh_CN.UTF-8" >"$work/localedef.log" 2>&1 ||
                fail "localedef could not make zh_CN.UTF-8 (Debian package locales): $(cat "$work/localedef.log")"
            mv -T "$staging/zh_CN.UTF-8" "$locale_cache/zh_CN.UTF-8" 2>/dev/null || true
            rm -rf "$staging"
        fi
        export LOCPATH=$locale_cache
    fi
    export LANG=zh_CN.UTF-8 LANGUAGE=zh_CN LC_ALL=
    export ORCA_LOG=$work/orca.log
    # Orca will not start beside another Orca of the same user: a second check of this kind
    # waits for the first to end (a user's own Orca makes the check fail with Orca's word).
    exec 9>"${TMPDIR:-/tmp}/kestrune-orca-check-$(id -u).lock"
    flock --wait 600 9 || fail "another Orca check held its lock for ten minutes"
    "$python" "$(dirname "$0")/start_orca.py" "$ORCA_LOG" >"$work/orca.out" 2>&1 &
    pids+=($!)
    # Orca greets once it listens to the accessibility bus.
    poll 300 grep -aq "SPEECH OUTPUT: " "$ORCA_LOG" || fail "Orca did not start: $(tail -n 20 "$work/orca.out")"
fi

QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb QT_ACCESSIBILITY=1 \
    "$program" >"$work/program.log" 2>&1 &
program_pid=$!
pids+=($program_pid)

show_logs() {
    echo "--- program output" >&2
    cat "$work/program.log" >&2
    if [[ -n $orca ]]; then
        echo "--- what Orca said" >&2
        grep -a "SPEECH OUTPUT: " "$ORCA_LOG" >&2 || true
    fi
}

status=0
timeout 240 "$python" "$reader" || status=$?
if ((status != 0)); then
    show_logs
    exit "$status"
fi
if [[ -n $orca ]]; then
    # The check has pressed Ctrl+Q.
    program_ended() { ! kill -0 "$program_pid"; }
    poll 100 program_ended || fail "the program still runs 10 s after Ctrl+Q"
    status=0
    wait "$program_pid" || status=$?
    if ((status != 0)); then
        show_logs
        fail "the program ended with status $status after Ctrl+Q"
    fi
    echo "Ctrl+Q ended the program with status 0"
fi
