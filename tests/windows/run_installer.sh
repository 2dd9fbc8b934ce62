#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows setup program under wine, on a fresh prefix and a private X display, for a user
# whose profile folder has a Chinese name (wine names it after $USER):
#   - a silent install (/S) by an administrator (under wine every user is one) is for all users:
#     it puts the program into Program Files, an entry into Apps & features (the uninstall key
#     under HKLM, with name, version, publisher, icon, size, folder and uninstall command) and a
#     shortcut into all users' Start menu that points at the installed program;
#   - started from that shortcut, the program picks (Return on 机选) and ends with Ctrl+Q,
#     status 0;
#   - a second install over the first leaves one entry;
#   - /CurrentUser installs for the user alone, beside it: into %LOCALAPPDATA%\Programs, the
#     user's Start menu and HKCU; a second such install leaves one entry there;
#   - the user's uninstaller, started from its folder, takes away the user's install and nothing
#     of the one for all users; that one's uninstaller then leaves nothing of it either;
#   - installed for all users into C:\程序\彩票 (/AllUsers /D=), it lands there and uninstalls
#     cleanly;
#   - on Windows 7 and 8.1 (wine's version set with winecfg) it installs nothing: silent, it ends
#     with status 1; shown, it says in a message box that it needs Windows 10 version 1809.
# Prints how long the install and the uninstall took.
# Not under wine: a user without administrator rights, for whom the setup program chooses the
# install for that user alone, and refuses /AllUsers; wine has no such user.
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

export USER=李四
# shellcheck source=../support/wine_session.sh
source "$(dirname "$0")/../support/wine_session.sh"

drive=$WINEPREFIX/drive_c
uninstall_keys='Software\Microsoft\Windows\CurrentVersion\Uninstall'
# Where each kind of install goes: folder, Start-menu shortcut, uninstall key.
all_users=("$drive/Program Files/Kestrune"
    "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Kestrune.lnk"
    "HKEY_LOCAL_MACHINE\\$uninstall_keys\\Kestrune")
current_user=("$drive/users/$USER/AppData/Local/Programs/Kestrune"
    "$drive/users/$USER/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Kestrune.lnk"
    "HKEY_CURRENT_USER\\$uninstall_keys\\Kestrune")
cp "$setup" "$work/setup.exe"
cp "$read_uia" "$work/read_uia.exe"

# The setup program waits for everything it starts (the older version's uninstaller runs in
# place), so the check goes on once it has ended.
install() {
    wine_run wine "$work/setup.exe" /S "$@"
}
# Prints the registry key $1 (reg query, with the options that follow) and ends with status 0;
# ends with 1, printing nothing, where the key is not there, and with 2, printing what reg said,
# where the query failed otherwise.
query() {
    local listing
    listing=$(wine reg query "$@" /reg:64 </dev/null 2>&1 | tr -d '\r') && { echo "$listing"; return 0; }
    grep -q 'Unable to find' <<<"$listing" && return 1
    echo "$listing"
    return 2
}
# How many entries Apps & features has for Kestrune in hive $1 (HKLM or HKCU); a new user has
# no Uninstall key at all.
entries() {
    local listing status=0
    listing=$(query "$1\\$uninstall_keys" /s) || status=$?
    ((status != 2)) || fail "reading the entries of $1 failed: $listing"
    grep -c 'DisplayName.*REG_SZ[[:space:]]*Kestrune$' <<<"$listing" || true
}
# The uninstall key $1, read once; a read that fails names itself and its output. reg's console
# output turns Chinese into question marks, so the key is read from regedit's export.
read_key() {
    wine_run wine regedit /E "$(wine_run winepath --windows "$work/key.reg")" "$1" >/dev/null
    key_values=$(iconv -f UTF-16 -t UTF-8 "$work/key.reg" | tr -d '\r')
}
# A value of the key as it reads: regedit writes a string quoted, with \\ and \" escaped, and a
# number as dword:0000abcd.
value() {
    sed -n "s/^\"$1\"=//p" <<<"$key_values" |
        sed -e 's/^dword:0*/0x/' -e 's/^"\(.*\)"$/\1/' -e 's/\\\(.\)/\1/g'
}
# Whether the shortcut $1 names the program $2 (a Windows path); a shortcut's paths are UTF-16.
points_at() {
    python3 -c 'import sys
data = open(sys.argv[1], "rb").read()
texts = [data[start:].decode("utf-16-le", "ignore").casefold() for start in (0, 1)]
sys.exit(not any(sys.argv[2].casefold() in text for text in texts))' "$@"
}
# The install of kind $1 (AllUsers, CurrentUser) in the folder, shortcut and key of $2..$4, at
# the Windows path $5.
check_install() {
    local kind=$1 folder=$2 shortcut=$3 key=$4 at=$5
    [ -f "$folder/kestrune.exe" ] || fail "no kestrune.exe in $at: $(ls -R "$(dirname "$folder")" 2>&1)"
    [ -f "$folder/Uninstall.exe" ] || fail "no uninstaller beside the program in $at"
    read_key "$key"
    [ "$(value DisplayVersion)" = 2.0.0 ] || fail "DisplayVersion is '$(value DisplayVersion)'"
    [ "$(value Publisher)" = Kestrune ] || fail "Publisher is '$(value Publisher)'"
    [ "$(value InstallLocation)" = "$at" ] || fail "InstallLocation is '$(value InstallLocation)', not $at"
    [ "$(value DisplayIcon)" = "$at\kestrune.exe,0" ] || fail "DisplayIcon is '$(value DisplayIcon)'"
    [ "$(value UninstallString)" = "\"$at\Uninstall.exe\" /$kind" ] ||
        fail "UninstallString is '$(value UninstallString)'"
    [ "$(value QuietUninstallString)" = "\"$at\Uninstall.exe\" /$kind /S" ] ||
        fail "QuietUninstallString is '$(value QuietUninstallString)'"
    [[ $(value EstimatedSize) =~ ^0x[0-9a-f]+$ ]] && (($(value EstimatedSize) > 1000)) ||
        fail "EstimatedSize is '$(value EstimatedSize)' KB"
    [ -f "$shortcut" ] || fail "no Start-menu shortcut at $shortcut"
    points_at "$shortcut" "$at\kestrune.exe" ||
        fail "the shortcut does not point at the program installed in $at"
}

started=$(date +%s%3N)
install
installed=$(date +%s%3N)
check_install AllUsers "${all_users[@]}" 'C:\Program Files\Kestrune'
[ "$(entries HKLM)" -eq 1 ] || fail "Apps & features has $(entries HKLM) entries for all users, not 1"
[ "$(entries HKCU)" -eq 0 ] || fail "the install for all users made an entry for the user"

# Started from the Start menu, it picks and ends with 0.
# Debian's wine 10 without its 32-bit half (wine32) cannot follow a shortcut ("it looks like
# wine32 is missing"); Windows can, so the program starts as the shortcut's target, which the
# check above has read from the shortcut.
# shellcheck source=../support/board_shots.sh
source "$(dirname "$0")/../support/board_shots.sh"
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
start_and_pick "${all_users[0]}"

# Once more over it: still one entry.
install
[ "$(entries HKLM)" -eq 1 ] || fail "after a second install Apps & features has $(entries HKLM) entries"

# For the user alone, beside the install for all users, twice: one entry of the user's.
user_folder="C:\\users\\$USER\\AppData\\Local\\Programs\\Kestrune"
install /CurrentUser
check_install CurrentUser "${current_user[@]}" "$user_folder"
install /CurrentUser
[ "$(entries HKCU)" -eq 1 ] || fail "after a second install for the user, $(entries HKCU) entries of the user's"
[ "$(entries HKLM)" -eq 1 ] || fail "the install for the user changed the entries for all users"

# Prints whether the uninstall key $1 is there: present, absent, or what a query that failed
# otherwise printed.
key_state() {
    local listing status=0
    listing=$(query "$1") || status=$?
    case $status in
    0) echo present ;;
    1) echo absent ;;
    *) echo "unreadable: $listing" ;;
    esac
}
# The install of folder, shortcut and key $1..$3 is gone.
uninstalled() { [ ! -e "$1" ] && [ ! -e "$2" ] && [ "$(key_state "$3")" = absent ]; }
# The uninstaller hands its work to a copy of itself and ends at once: the check waits for what
# the uninstall is to bring about, and then names what it left.
uninstall() {
    wine_run wine "$1/Uninstall.exe" /S
    poll 300 uninstalled "$@" || true
    [ ! -e "$1" ] || fail "the uninstall left in $1: $(ls -A "$1")"
    [ ! -e "$2" ] || fail "the uninstall left the Start-menu shortcut $2"
    local state
    state=$(key_state "$3")
    [ "$state" = absent ] || fail "the uninstall key $3 after the uninstall: $state"
}

# The user's uninstaller, started from its folder, takes the user's install only.
uninstall "${current_user[@]}"
[ "$(entries HKCU)" -eq 0 ] || fail "the user's Apps & features entry is left"
check_install AllUsers "${all_users[@]}" 'C:\Program Files\Kestrune'

uninstalling=$(date +%s%3N)
uninstall "${all_users[@]}"
uninstalled=$(date +%s%3N)
[ "$(entries HKLM)" -eq 0 ] || fail "the Apps & features entry is left"

# Into a folder with a Chinese name (/D=, as the directory page gives it): the program and the
# uninstall key land there, and the uninstall leaves nothing. (The program started from such a
# folder is the end-to-end check's. Started here as a second program of the session, it picks
# but then takes no more keys under wine: seen, not understood.)
chinese=("$drive/程序/彩票" "${all_users[1]}" "${all_users[2]}")
install /AllUsers '/D=C:\程序\彩票'
check_install AllUsers "${chinese[@]}" 'C:\程序\彩票'
uninstall "${chinese[@]}"

# Last, too old a Windows: nothing installed, silent or shown. Wine's version is that of the
# Windows it reports to programs (the build number the setup program reads). The message is read
# from the message box's own text control: wine's UI Automation has no proxies for plain Windows
# dialogs, through which a screen reader reads them on Windows.
nothing_installed() {
    [ ! -e "${all_users[0]}" ] && [ ! -e "${all_users[1]}" ] && [ "$(entries HKLM)" -eq 0 ] ||
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
