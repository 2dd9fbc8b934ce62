#!/usr/bin/env bash
# The Windows setup program under wine, on a fresh prefix and a private X display:
#   - a silent install (/S) puts the program into Program Files, an entry into Apps & features
#     (the uninstall key, with name, version, publisher, icon, size and uninstall command) and a
#     shortcut into the Start menu that points at the installed program;
#   - started from that shortcut, the program picks (Return on 机选) and ends with Ctrl+Q,
#     status 0;
#   - a second install over the first leaves one entry;
#   - a silent uninstall leaves nothing of it in Program Files, the Start menu or the registry;
#   - installed into C:\程序\彩票 (/D=), it lands there and uninstalls cleanly;
#   - on Windows 7 and 8.1 (wine's version set with winecfg) it installs nothing: silent, it ends
#     with status 1; shown, it says in a message box that it needs Windows 10 version 1809.
# Prints how long the install and the uninstall took.
# Usage: run_installer.sh SETUP.exe READ_BOARD_PY READ_UIA.exe
set -euo pipefail
setup=$1
[ -f "$setup" ] || { echo "windows installer: no setup program at $setup (scripts/build-windows packs it)" >&2; exit 1; }
read_board=$(realpath "$2")
read_uia=$(realpath "$3")

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
cp "$read_uia" "$work/read_uia.exe"

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
# Debian's wine 10 without its 32-bit half (wine32) cannot follow a shortcut ("it looks like
# wine32 is missing"); Windows can, so the program starts as the shortcut's target, which the
# check above has read from the shortcut.
# shellcheck source=board_shots.sh
source "$(dirname "$0")/board_shots.sh"
window_gone() { ! window_viewable "$window"; }
# Starts the program in folder $1, picks, and ends it with Ctrl+Q.
start_and_pick() {
    local folder=$1
    cd "$work"
    wine start /wait /unix "$folder/kestrune.exe" >"$work/program.out" 2>&1 &
    local runner=$!
    window=$(find_window 600 --onlyvisible --name '^Kestrune 2') ||
        fail "the installed program showed no window: $(tr -d '\r' <"$work/program.out")"
    activate "$window"
    poll 100 settled || fail "the installed program's window did not settle: $(settled 2>&1)"
    send_keys "$window" Return
    poll 300 picked || fail "the installed program's board shows $(board), not a picked ticket"
    send_keys "$window" ctrl+q
    wait_for_end "$runner" 100 "Ctrl+Q did not end the program installed in $folder"
    [ "$end_status" -eq 0 ] ||
        fail "the installed program ended with status $end_status: $(tr -d '\r' <"$work/program.out")"
    poll 100 window_gone || fail "Ctrl+Q left the installed program's window on the screen"
}
start_and_pick "$folder"

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

# Into a folder with a Chinese name (/D=, as the directory page gives it): the program and the
# uninstall key land there, and the uninstall leaves nothing. (The program started from such a
# folder is the end-to-end check's. Started here as a second program of the session, it picks
# but then takes no more keys under wine: seen, not understood.)
folder="$drive/程序/彩票"
wine_run wine "$work/setup.exe" /S '/D=C:\程序\彩票' >/dev/null
[ -f "$folder/kestrune.exe" ] || fail "no kestrune.exe in C:\程序\彩票: $(ls -R "$drive/程序" 2>&1)"
# reg's console output turns Chinese into question marks; regedit's export file keeps it.
wine_run wine regedit /E "$(wine_run winepath --windows "$work/key.reg")" \
    'HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrune' >/dev/null
iconv -f UTF-16 -t UTF-8 "$work/key.reg" | tr -d '\r' | grep -qxF '"InstallLocation"="C:\\程序\\彩票"' ||
    fail "the uninstall key reads: $(iconv -f UTF-16 -t UTF-8 "$work/key.reg" | grep InstallLocation)"
wine_run wine "$folder/Uninstall.exe" /S
poll 300 uninstalled || fail "the uninstall from C:\程序\彩票 left: $(ls -A "$folder" 2>&1); key $(key_state)"

# Last, too old a Windows: nothing installed, silent or shown. Wine's version is that of the
# Windows it reports to programs (the build number the setup program reads). The message is read
# from the message box's own text control: wine's UI Automation has no proxies for plain Windows
# dialogs, through which a screen reader reads them on Windows.
folder="$drive/Program Files/Kestrune"
nothing_installed() {
    [ ! -e "$folder" ] && [ ! -e "$shortcut" ] && [ "$(entries)" -eq 0 ] ||
        fail "on $1 the setup program installed something"
}
for version in win7 win81; do
    wine_run wine winecfg -v "$version" >/dev/null
    status=0
    wine "$work/setup.exe" /S </dev/null >"$work/old.out" 2>&1 || status=$?
    [ "$status" -eq 1 ] || fail "on $version the silent setup ended with status $status, not 1"
    nothing_installed "$version"
done
wine "$work/setup.exe" </dev/null >"$work/old.out" 2>&1 &
runner=$!
box=$(find_window 300 --onlyvisible --name '^Kestrune') || fail "on win81 the setup program showed no message"
said() {
    wine "$work/read_uia.exe" --win32 Kestrune >"$work/box.txt" 2>&1 &&
        grep -q 'needs Windows 10 version 1809 or later' "$work/box.txt"
}
poll 100 said || fail "on win81 the setup program's message reads: $(cat "$work/box.txt")"
send_keys "$box" Return
wait_for_end "$runner" 100 "the setup program did not end after its message"
[ "$end_status" -eq 1 ] || fail "on win81 the setup ended with status $end_status after its message"
nothing_installed win81

awk -v i="$((installed - started))" -v u="$((uninstalled - uninstalling))" 'BEGIN {
    printf "windows installer: passed (install %.1f s, uninstall %.1f s under wine)\n", i / 1000, u / 1000
}'
