#!/usr/bin/env bash
# Starts a display (Xvfb), a D-Bus session bus and the AT-SPI bus, runs the program on them and
# lets read_pick.py press 机选 with Return and read the ticket back through AT-SPI.
# Usage: run_atspi_check.sh PROGRAM READ_PICK_PY
set -euo pipefail
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

work=$(mktemp -d)
pids=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# Waits up to ten seconds for a server to write its address into the file.
wait_for_line() {
    for _ in $(seq 100); do
        [[ -s $1 ]] && return 0
        sleep 0.1
    done
    return 1
}

# A display of its own: Xvfb picks a free number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for_line "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$(head -n1 "$work/display")

# A session bus of its own; the AT-SPI bus launcher registers on it.
dbus-daemon --session --nofork --nopidfile --print-address=4 4>"$work/bus" 2>"$work/dbus.log" &
pids+=($!)
wait_for_line "$work/bus" || fail "the D-Bus session bus did not start: $(cat "$work/dbus.log")"
export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
export XDG_RUNTIME_DIR=$work
export NO_AT_BRIDGE=0

"$launcher" --launch-immediately >"$work/atspi.log" 2>&1 &
pids+=($!)
# The launcher publishes the accessibility bus on the X root window and the session bus.
for _ in $(seq 100); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1 && break
    sleep 0.1
done
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
    >/dev/null 2>&1 || fail "the AT-SPI bus did not start: $(cat "$work/atspi.log")"

QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb QT_ACCESSIBILITY=1 \
    "$program" >"$work/program.log" 2>&1 &
program_pid=$!
pids+=($program_pid)

status=0
timeout 90 "$python" "$reader" || status=$?
if ((status != 0)); then
    echo "--- program output" >&2
    cat "$work/program.log" >&2
    exit "$status"
fi
