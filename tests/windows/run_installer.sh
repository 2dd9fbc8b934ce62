#!/usr/bin/env bash
# The Windows setup program under wine, on a fresh prefix and a private X display:
#   - a silent install (/S) puts the program into Program Files, an entry into Apps & features
#     (the uninstall key, with name, version, publisher, icon, size and uninstall command) and a
#     shortcut into the Start menu that points at the installed program;
#   - started from that shortcut, the program picks (Return on 机选) and ends with Ctrl+Q,
#     status 0;
#   - a second install over the first leaves one entry;
#   - a silent uninstall leaves nothing of it in Program Files, the Start menu or the registry.
# Prints how long the install and the uninstall took.
# Usage: run_installer.sh SETUP.exe READ_BOARD_PY
set -euo pipefail
setup=$1
[ -f "$setup" ] || { echo "windows installer: no setup program at $setup (scripts/build-windows packs it)" >&2; exit 1; }
read_board=$(realpath "$2")

fail() {
    echo "windows installer: $*" >&2
    exit 1
}

# shellcheck source=wine_session.sh
source "$(dirname "$0")/wine_session.sh"

drive=$WINEPREFIX/drive_c
folder="$drive/Program Files/Kestrune"
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Kestrune.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrune'
cp "$setup" "$work/setup.exe"

# The setup program waits for everything it starts (the older version's uninstaller runs in
# place); the uninstaller hands its work to a copy of itself and ends at once, so the check waits
# for what the uninstall is to bring about.
install() {
    wine_run wine "$work/setup.exe" /S
}
entries() {
    wine_run wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s /reg:64 |
        grep -c 'DisplayName.*REG_SZ[[:space:]]*Kestrune$' || true
}
# The uninstall key, read once after an install; a read that fails names itself and its output.
read_key() { key_values=$(wine_run wine reg query "$key" /reg:64); }
value() {
    awk -v name="$1" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print }' <<<"$key_values"
}

started=$(date +%s%3N)
install
installed=$(date +%s%3N)

[ -f "$folder/kestrune.exe" ] || fail "no kestrune.exe in Program Files: $(ls -R "$drive/Program Files")"
[ -f "$folder/Uninstall.exe" ] || fail "no uninstaller beside the program"
[ "$(entries)" -eq 1 ] || fail "Apps & features has $(entries) entries for Kestrune, not 1"
read_key
[ "$(value DisplayVersion)" = 2.0.0 ] || fail "DisplayVersion is '$(value DisplayVersion)'"
[ "$(value Publisher)" = Kestrune ] || fail "Publisher is '$(value Publisher)'"
[[ $(value DisplayIcon) == *'Program Files\Kestrune\kestrune.exe,0' ]] ||
    fail "DisplayIcon is '$(value DisplayIcon)'"
[[ $(value UninstallString) == *'Program Files\Kestrune\Uninstall.exe"' ]] ||
    fail "UninstallString is '$(value UninstallString)'"
[[ $(value EstimatedSize) =~ ^0x[0-9a-f]+$ ]] && (($(value EstimatedSize) > 1000)) ||
    fail "EstimatedSize is '$(value EstimatedSize)' KB"
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
strings -el "$shortcut" | grep -qi 'Program Files\\Kestrune\\kestrune.exe' ||
    fail "the shortcut does not point at the installed program"

# Started from the Start menu, it picks and ends with 0.
cd "$work"
# Debian's wine 10 without its 32-bit half (wine32) cannot follow a shortcut ("it looks like
# wine32 is missing"); Windows can, so the program starts as the shortcut's target, which the
# check above has read from the shortcut.
wine start /wait /unix "$folder/kestrune.exe" >"$work/program.out" 2>&1 &
runner=$!
window=$(find_window 600 --onlyvisible --name '^Kestrune 2') ||
    fail "the installed program showed no window: $(tr -d '\r' <"$work/program.out")"
activate "$window"
screenshot() { import -window "$window" "$work/$1.png" && convert "$work/$1.png" "$work/$1.ppm"; }
settled() {
    screenshot start && screenshot again && cmp -s "$work/start.ppm" "$work/again.ppm" &&
        python3 "$read_board" "$work/start.ppm" "$work/again.ppm"
}
poll 100 settled || fail "the installed program's window did not settle: $(settled 2>&1)"
send_keys "$window" Return
picked() {
    screenshot now && [ "$(python3 "$read_board" "$work/start.ppm" "$work/now.ppm")" = "red=6 blue=1 gray=42" ]
}
poll 300 picked || fail "the installed program did not show a picked ticket"
send_keys "$window" ctrl+q
wait_for_end "$runner" 100 "Ctrl+Q did not end the installed program"
[ "$end_status" -eq 0 ] ||
    fail "the installed program ended with status $end_status: $(tr -d '\r' <"$work/program.out")"
window_gone() { ! window_viewable "$window"; }
poll 100 window_gone || fail "Ctrl+Q left the installed program's window on the screen"

# Once more over it: still one entry.
install
[ "$(entries)" -eq 1 ] || fail "after a second install Apps & features has $(entries) entries"

uninstalling=$(date +%s%3N)
wine_run wine "$folder/Uninstall.exe" /S
# Prints whether the uninstall key is there: present, absent, or what a query that failed
# otherwise printed.
key_state() {
    if wine reg query "$key" /reg:64 </dev/null >"$work/key.out" 2>&1; then
        echo present
    elif grep -q 'Unable to find' "$work/key.out"; then
        echo absent
    else
        echo "unreadable: $(tr -d '\r' <"$work/key.out")"
    fi
}
uninstalled() { [ ! -e "$folder" ] && [ ! -e "$shortcut" ] && [ "$(key_state)" = absent ]; }
poll 300 uninstalled || true
uninstalled=$(date +%s%3N)
[ ! -e "$folder" ] || fail "left in Program Files: $(ls -A "$folder")"
[ ! -e "$shortcut" ] || fail "the Start-menu shortcut is left"
[ "$(entries)" -eq 0 ] || fail "the Apps & features entry is left"
state=$(key_state)
[ "$state" = absent ] || fail "the uninstall key after the uninstall: $state"

awk -v i="$((installed - started))" -v u="$((uninstalled - uninstalling))" 'BEGIN {
    printf "windows installer: passed (install %.1f s, uninstall %.1f s under wine)\n", i / 1000, u / 1000
}'
