#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Checks a window's UI Automation tree, as read_uia.exe prints it, against what a Windows screen
reader should find: every element's control type and name, nested as in the window.

    compare_uia_tree.py start|picked|help TREE-FILE VERSION

The names are those the AT-SPI check reads on Linux (tests/accessibility/read_pick.py): the same
accessible objects, read through the other bridge. Exits 1 with the first difference.

The toggle states: Qt gives every checkable object the Toggle pattern, so on Windows a ball
reads as checked while it is marked. Wine 10's client answers no pattern property (its
GetCurrentPropertyValue fails for them), so read_uia prints "?" there; a state that can be
read is checked, and the check says plainly when none could be.
"""
import sys

BOARD = (("红色球", "红球", 33), ("兰色球", "蓝球", 16))
MARK = " 已选中"


def main_window(version, marked):
    tree = [(0, "Window", "Kestrune %s 彩票机选" % version)]
    for frame, ball, count in BOARD:
        tree.append((1, "Group", frame))
        tree += [(2, "Image", "%s %02d%s" % (ball, n, MARK if (ball, n) in marked else ""))
                 for n in range(1, count + 1)]
    tree += [(1, "Edit", "号码统计"), (1, "Edit", "机选号码")]
    tree += [(1, "Button", name) for name in ("机选", "退出", "帮助")]
    return tree


HELP = [(0, "Window", "Kestrune 帮助")] + [(1, kind, name) for kind, name in (
    ("Text", "一、软件信息："),
    ("Text", "Publisher:林晓风(Lin Xiaofeng)"),
    ("Hyperlink", "eMail:xf@example.com"),
    ("Hyperlink", "Home Page:http://www.example.org/"),
    ("Hyperlink", "QQ:2606"),
    ("Text", "二、温馨提示："),
    ("Text", "确定以某次选择为准即可，犹豫、多选无益。"),
    ("Text", "若中奖，望告知；你得利，我留名。"),
    ("Button", "确定"),
)]


def fail(message):
    print("UI Automation check: " + message, file=sys.stderr)
    sys.exit(1)


def read(path):
    elements = []
    with open(path, encoding="utf-8") as tree:
        for line in tree.read().splitlines():
            indent = len(line) - len(line.lstrip(" "))
            kind, name, toggle = line.lstrip(" ").split("\t")
            elements.append((indent // 2, kind, name, toggle))
    return elements


def marked_balls(elements):
    marked = set()
    for _, kind, name, _ in elements:
        if kind == "Image" and name.endswith(MARK):
            ball, number = name[: -len(MARK)].split(" ")
            marked.add((ball, int(number)))
    return marked


def check_toggles(elements):
    """The toggle states, where the client can read them: on exactly for the marked balls, and
    no Toggle pattern on anything but a ball."""
    readable = [e for e in elements if e[3] != "?"]
    for _, kind, name, toggle in readable:
        want = ("on" if name.endswith(MARK) else "off") if kind == "Image" else "-"
        if toggle != want:
            fail("%s %r reads toggle state %r, not %r" % (kind, name, toggle, want))
    if not readable:
        print("toggle states: not readable by this UI Automation client (wine's pattern"
              " properties are not implemented); not checked")


def main():
    phase, path, version = sys.argv[1:4]
    elements = read(path)
    marked = marked_balls(elements)
    if phase == "start":
        if marked:
            fail("balls are named as picked before any pick: %s" % sorted(marked))
        expected = main_window(version, set())
    elif phase == "picked":
        reds = [n for ball, n in marked if ball == "红球"]
        blues = [n for ball, n in marked if ball == "蓝球"]
        if len(reds) != 6 or len(blues) != 1:
            fail("after 机选, %d red and %d blue balls are named as picked" % (len(reds), len(blues)))
        expected = main_window(version, marked)
    elif phase == "help":
        expected = HELP
    else:
        fail("unknown phase %r" % phase)
    found = [e[:3] for e in elements]
    if found != expected:
        for index, (got, want) in enumerate(zip(found + [None] * len(expected),
                                                expected + [None] * len(found))):
            if got != want:
                fail("element %d (depth, type, name) is %r where a reader should find %r"
                     % (index, got, want))
    check_toggles(elements)
    print("UI Automation %s: %d elements as expected" % (phase, len(elements)))


main()
