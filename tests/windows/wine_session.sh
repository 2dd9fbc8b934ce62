# Sourced by the Windows checks: a private X display (tests/display_session.sh) with openbox and
# a fresh wine prefix, all gone when the check ends, in the temporary folder $work; poll waits for
# a condition. The caller defines fail (message, exit 1) before sourcing.

for tool in wine wineserver Xvfb openbox xdotool import convert python3 strings; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps --windows)"
done

# shellcheck source=../display_session.sh
source "$(dirname "${BASH_SOURCE[0]}")/../display_session.sh"
before_cleanup() {
    [ -z "${WINEPREFIX:-}" ] || wineserver --kill 2>/dev/null
}
openbox >/dev/null 2>&1 &
pids+=($!)

export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot --init >/dev/null 2>&1 || fail "wineboot could not make a prefix"
wineserver --wait
