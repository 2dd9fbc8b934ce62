#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Drives the program by keyboard while Orca runs, and checks what Orca says.

Runs inside the session that run_atspi_check.sh --orca starts; Orca logs every utterance as
"SPEECH OUTPUT: '...'" in $ORCA_LOG. Each step presses keys, then takes what Orca said until it
has been quiet for a moment. Every misheard thing is reported, and the check goes on to the
next step; it exits non-zero when there was any. The last step presses Ctrl+Q; the calling
script checks the exit status.
"""
import os
import re
import sys
import time

import pyatspi

import keyboard

TITLE = "Kestrune 2.0.0"
LOG = os.environ["ORCA_LOG"]
QUIET_SECONDS = 1.0
STEP_LIMIT_SECONDS = 20
# An utterance, then the voice: a dictionary, or a list of them.
SPEECH = re.compile(r"SPEECH OUTPUT: '(.*?)'\s*(?:voice=\w+)?\[?\{")


problems = []


def fail(message, heard=None):
    problems.append(message)
    print("Orca check: " + message, file=sys.stderr)
    if heard is not None:
        print("    Orca said: %r" % heard, file=sys.stderr)


def stop(message):
    fail(message)
    sys.exit(1)


class Log:
    """Orca's debug log, read on from where the last step stopped."""

    def __init__(self, path):
        self.file = open(path, encoding="utf-8", errors="replace")
        self.file.seek(0, os.SEEK_END)
        self.partial = ""

    def new_lines(self):
        self.partial += self.file.read()
        lines = self.partial.split("\n")
        self.partial = lines.pop()
        return lines


log = Log(LOG)


def utterances(lines):
    return [m.group(1) for m in map(SPEECH.search, lines) if m]


def press(*keys, until=None):
    """Presses the keys; returns what Orca said, once `until` (a test of the utterances so far)
    holds and the log has been quiet for a moment, or at the step's time limit."""
    log.new_lines()
    for key in keys:
        if key.startswith("Insert+"):
            keyboard.press_with_insert(key[7:])
        else:
            keyboard.press(key)
    heard = []
    deadline = time.monotonic() + STEP_LIMIT_SECONDS
    quiet_since = time.monotonic()
    while time.monotonic() < deadline:
        lines = log.new_lines()
        if lines:
            heard += utterances(lines)
            quiet_since = time.monotonic()
        elif (until is None or until(heard)) and time.monotonic() - quiet_since >= QUIET_SECONDS:
            return heard
        time.sleep(0.05)
    if until is not None and not until(heard):
        fail("no %s heard within %d s after %s"
             % (getattr(until, "what", "expected words"), STEP_LIMIT_SECONDS, keys), heard)
    return heard


def answer_message_box(link):
    """Presses the focused button of a message box. No window manager gives the keyboard back
    to the help window when the box closes; the script does."""
    heard = press("space")
    keyboard.focus("Kestrune 帮助")
    return heard + press(until=saying(link))


def saying(text):
    def test(heard):
        return any(text in u for u in heard)
    test.what = repr(text)
    return test


def numbers(utterance):
    return re.findall(r"\d+", utterance)


def times_heard_whole(ticket, heard):
    """How often the seven numbers are heard in a row, within one utterance."""
    count = 0
    for utterance in heard:
        found = numbers(utterance)
        count += sum(1 for i in range(len(found)) if found[i:i + 7] == ticket)
    return count


def find(root, role, name=None):
    for node in pyatspi.findAllDescendants(root, lambda n: n.getRole() == role):
        if name is None or node.name == name:
            return node
    stop("no %s named %r" % (role, name))


def window():
    for _ in range(300):
        for app in pyatspi.Registry.getDesktop(0):
            for node in app or []:
                if node is not None and TITLE in node.name:
                    return node
        time.sleep(0.1)
    stop("no window named %r on the AT-SPI bus" % TITLE)


main = window()
keyboard.focus(TITLE, only_visible=False)
press(until=saying("Kestrune"))

# 2. The empty ticket field says its name; leaving it says nothing of a selection.
heard = press("Tab", until=saying("机选号码"))
print("Tab into the empty ticket field:", heard)
heard = press("Tab", until=saying("退出"))
if any("取消选中" in u for u in heard):
    fail("leaving the empty ticket field speaks of a selection", heard)
press("shift+Tab", "shift+Tab", until=saying("机选"))

# 1. After the pick the whole ticket is heard once.
heard = press("Return", until=saying("蓝球"))
ticket = next((numbers(u) for u in heard if "蓝球" in u), [])
if len(ticket) != 7:
    stop("the pick's announcement does not hold seven numbers: %r" % heard)
if times_heard_whole(ticket, heard) != 1:
    fail("the ticket %s is not heard whole, and once, after the pick" % ticket, heard)
print("after the pick:", heard)

# 1. Tab into the ticket field: its name, and the whole ticket once, never cut short.
heard = press("Tab", until=saying("机选号码"))
if times_heard_whole(ticket, heard) != 1:
    fail("the ticket %s is not heard whole, and once, on Tab into its field" % ticket, heard)
cut = [u for u in heard if ticket[0] in numbers(u) and times_heard_whole(ticket, [u]) == 0]
if cut:
    fail("the ticket field is read cut short: %s" % cut, heard)
print("Tab into the ticket field:", heard)
heard = press("Tab", until=saying("退出"))
if any("取消选中" in u for u in heard):
    fail("leaving the ticket field speaks of a selection", heard)

# 3. The statistics box is read from its first line; Down goes to the second.
statistics = find(main, pyatspi.ROLE_TEXT, "号码统计").queryText()
lines = statistics.getText(0, statistics.characterCount).split("\n")
heard = press("Tab", until=saying("号码统计"))
said = " ".join(heard)
if lines[0] not in said or any(line in said for line in lines[1:]):
    fail("the statistics box does not open on its first line %r" % lines[0], heard)
heard = press("Down", until=saying(lines[1]))
print("the statistics box:", said, "| Down:", heard)

# 4. Flat review of the board tells the picked balls, from the top of the window down.
marked = ["红球 " + n for n in ticket[:6]] + ["蓝球 " + ticket[6]]
def anything(heard):
    return bool(heard)


anything.what = "review line"
heard = press("Insert+KP_Home", until=anything)
for _ in range(12):
    if any("蓝球 16" in u for u in heard):
        break
    heard += press("KP_Page_Up", until=anything)
said = " ".join(heard)
missing = [ball for ball in marked if ball + " 已选中" not in said]
if missing:
    fail("flat review does not tell that %s are picked" % missing, heard)
if any(("球 %02d 已选中" % n) in said and ("%02d" % n) not in ticket for n in range(1, 34)):
    fail("flat review tells an unpicked ball as picked", heard)
print("flat review, the picked balls:", [u for u in heard if "已选中" in u])

# 6, 5. The help window: 确定 without blanks, then the links say what became of them.
heard = press("F1", until=saying("确定 按钮"))
print("the help window:", heard)
if any("确    定" in u for u in heard):
    fail("the OK button is read with its blanks", heard)
help_windows = [node for app in pyatspi.Registry.getDesktop(0) for node in app or []
                if node is not None and node.name == "Kestrune 帮助"]
if not help_windows or not help_windows[0].getState().contains(pyatspi.STATE_MODAL):
    fail("the help window is not marked modal")
heard = press("Tab", until=saying("eMail"))
heard = press("Return", until=saying("邮件"))
print("the mail link:", heard)
if any("未能" in u for u in heard):
    answer_message_box("eMail")
heard = press("Tab", until=saying("Home Page"))
heard = press("Tab", until=saying("QQ"))
heard = press("Return", until=saying("未能"))
print("the messenger link, not configured:", heard)
if any("未能" in u for u in heard):
    answer_message_box("QQ")
# A stand-in messenger that starts and ends at once.
folder = os.path.join(os.environ["HOME"], "messenger")
os.makedirs(folder, exist_ok=True)
with open(os.path.join(folder, "QQ.exe"), "w") as program:
    program.write("#!/bin/sh\nexit 0\n")
os.chmod(os.path.join(folder, "QQ.exe"), 0o755)
os.makedirs(os.path.join(os.environ["XDG_CONFIG_HOME"], "kestrune"), exist_ok=True)
with open(os.path.join(os.environ["XDG_CONFIG_HOME"], "kestrune", "registry.ini"), "w") as ini:
    ini.write('[HKLM]\nSOFTWARE\\Tencent\\qq\\Install="%s/"\n' % folder)
heard = press("Return", until=saying("已启动"))
print("the messenger link, configured:", heard)

# Back to 确定 and out; Ctrl+Q then ends the program.
heard = press("Tab", until=saying("确定 按钮"))
press("Return")
keyboard.focus(TITLE)
press(until=saying(TITLE))
keyboard.press("ctrl+q")
if problems:
    print("Orca check: %d things misheard" % len(problems), file=sys.stderr)
    sys.exit(1)
print("Orca heard the ticket, the statistics, the board and the links as expected")
