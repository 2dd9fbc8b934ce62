#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program alone in an empty folder with a Chinese name, unpacked from the zip, under
# wine on a private X display with a window manager, for a user whose temporary folder has a
# Chinese name too, as does the profile folder, driven by the keyboard as a user would:
#   - the command line answers --version into a redirection, and names a bad option, status 1;
#   - 机选 (Return on the focused button) marks six red balls and one blue ball on the board, read
#     back from a screenshot of the window;
#   - F1 opens the help window, whose three links (Tab, Return) reach recording stand-ins: the mail
#     program and the browser through the shell's associations, the messenger through the
#     registry value HKLM\SOFTWARE\Tencent\qq\Install; all three lie in folders with Chinese
#     names; nothing real opens;
#   - 确定 closes the help window, Ctrl+Q ends the program with status 0;
#   - the program wrote nothing into its folder.
# Every run gets a fresh wine prefix.
# Usage: run_end_to_end.sh PORTABLE.zip RECORD_START.exe READ_BOARD_PY
set -euo pipefail
zip=$(realpath "$1")
record_start=$(realpath "$2")
read_board=$(realpath "$3")

check_name="windows end-to-end"
# shellcheck source=../support/report_failure.sh
source "$(dirname "$0")/../support/report_failure.sh"

# A user whose profile folder has a Chinese name: wine names it after $USER.
export USER=张三
# shellcheck source=../support/wine_session.sh
source "$(dirname "$0")/../support/wine_session.sh"

# The program alone in an empty folder, and the stand-ins for what the links start.
app="$work/程序/彩票"
stand_ins=("邮件/mail.exe" "浏览器/browser.exe" "腾讯 QQ/QQ.exe")
mkdir -p "$app" "$work/邮件" "$work/浏览器" "$work/腾讯 QQ" "$work/临时"
python3 -m zipfile -e "$zip" "$app"
[ "$(ls -A "$app")" = kestrune.exe ] || fail "the zip holds $(ls -A "$app"), not the program alone"
for stand_in in "${stand_ins[@]}"; do
    cp "$record_start" "$work/$stand_in"
done
windows_path() { wine_run winepath --windows "$1"; }
reg() { wine_run wine reg "$@" >/dev/null; }
mail=$(windows_path "$work/${stand_ins[0]}")
browser=$(windows_path "$work/${stand_ins[1]}")
qq_folder=$(windows_path "$work/腾讯 QQ")\\
for scheme in mailto http https; do
    stand_in=$browser
    [ $scheme = mailto ] && stand_in=$mail
    reg add "HKCR\\$scheme" /ve /d "URL:$scheme" /f
    reg add "HKCR\\$scheme" /v "URL Protocol" /d "" /f
    reg add "HKCR\\$scheme\\shell\\open\\command" /ve /d "\"$stand_in\" \"%1\"" /f
done
reg add 'HKLM\SOFTWARE\Tencent\qq' /v Install /d "$qq_folder" /f
temp=$(windows_path "$work/临时")
reg add 'HKCU\Environment' /v TEMP /d "$temp" /f
reg add 'HKCU\Environment' /v TMP /d "$temp" /f
# What a program started now finds in TEMP and as its profile folder, told through a stand-in
# (the console would turn the Chinese into question marks).
wine_run wine cmd /c "$(windows_path "$work/邮件/mail.exe")" %TEMP% %USERPROFILE% >/dev/null
found=$(cat "$work/邮件/mail.exe.log")
[[ $found == *" $temp "* ]] || fail "TEMP is not $temp: $found"
[[ $found == *' C:\users\张三' ]] || fail "the profile folder is not C:\users\张三: $found"
rm "$work/邮件/mail.exe.log"

cd "$app"

# The command line: the version into a redirection, a bad option named, with status 1.
version=$(wine kestrune.exe --version 2>&1 | tr -d '\r') || fail "--version ended with $?: $version"
[[ $version == *"kestrune (Kestrune) 2."* ]] || fail "--version printed '$version'"
status=0
wine kestrune.exe --bogus >"$work/bogus.out" 2>&1 || status=$?
[ "$status" -eq 1 ] || fail "--bogus ended with status $status, not 1"
grep -q -- "bogus" "$work/bogus.out" || fail "--bogus was not named: $(cat "$work/bogus.out")"

wine kestrune.exe >"$work/program.out" 2>&1 &
program_pid=$!
window=$(find_window 600 --onlyvisible --name '^Kestrune 2') || fail "the main window did not appear"
activate "$window"

# shellcheck source=../support/board_shots.sh
source "$(dirname "$0")/../support/board_shots.sh"
poll 100 settled || fail "the main window did not settle: $(settled 2>&1)"
[ "$(board)" = "red=0 blue=0 gray=49" ] || fail "at start the board shows $(board)"

send_keys "$window" Return
poll 300 picked || fail "after 机选 the board shows $(board), not six red and one blue ball"

# The help window and its links.
send_keys "$window" F1
help=$(find_window 300 --onlyvisible --name '^Kestrune 帮助$') ||
    fail "F1 opened no help window; shown: $(xdotool search --onlyvisible --name . getwindowname %@ 2>&1 | tr '\n' '|'); the program printed: $(tr -d '\r' <"$work/program.out")"
activate "$help"
for stand_in in "${stand_ins[@]}"; do
    send_keys "$help" Tab Return
    poll 150 test -s "$work/$stand_in.log" || fail "the link did not start $stand_in"
done
grep -q 'mailto:xf@example.com' "$work/${stand_ins[0]}.log" ||
    fail "the mail link handed over $(cat "$work/${stand_ins[0]}.log")"
grep -q 'http://www.example.org/' "$work/${stand_ins[1]}.log" ||
    fail "the home-page link handed over $(cat "$work/${stand_ins[1]}.log")"
for log in "${stand_ins[@]}"; do
    [ "$(wc -l <"$work/$log.log")" -eq 1 ] || fail "$log was started more than once"
done

# Tab comes back round to 确定, which closes the window; Ctrl+Q then ends the program.
send_keys "$help" Tab Return
help_closed() { ! window_viewable "$help"; }
poll 100 help_closed || fail "确定 did not close the help window"
kill -0 "$program_pid" 2>/dev/null || fail "the program ended when the help window closed"
# As for a user, Ctrl+Q goes to the main window once the keyboard is back there.
activate "$window"
send_keys "$window" ctrl+q
wait_for_end "$program_pid" 100 "Ctrl+Q did not end the program"
[ "$end_status" -eq 0 ] || fail "the program ended with status $end_status"

left=$(ls -A "$app")
[ "$left" = kestrune.exe ] || fail "the program wrote into its folder: $left"
echo "windows end-to-end: passed"
