# Sourced by the Windows checks: a private X display with openbox and a fresh wine prefix, both
# gone when the check ends, in the temporary folder $work; poll waits for a condition. The caller
# defines fail (message, exit 1) before sourcing.

for tool in wine wineserver Xvfb openbox xdotool import convert python3 strings; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps --windows)"
done

work=$(mktemp -d)
pids=()
cleanup() {
    [ -n "${WINEPREFIX:-}" ] && wineserver --kill 2>/dev/null || true
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
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

# A private display; Xvfb picks a free number and says which.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
poll 100 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")"
openbox >/dev/null 2>&1 &
pids+=($!)

export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot --init >/dev/null 2>&1 || fail "wineboot could not make a prefix"
wineserver --wait
