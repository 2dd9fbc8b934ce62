#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Presses 机选 with Return and reads the ticket back through AT-SPI, as a screen reader does.

Runs inside the display and buses that run_atspi_check.sh starts. Exits non-zero with a message
on the first thing a screen reader would miss.
"""
import sys
import time

import pyatspi
from gi.repository import GLib

import keyboard

TITLE = "Kestrune 2.0.0"


def fail(message):
    print("accessibility check: " + message, file=sys.stderr)
    sys.exit(1)


def pump(seconds):
    """Lets AT-SPI events arrive for the given time."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.iteration(False):
            pass
        time.sleep(0.01)


def find_window():
    for _ in range(300):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is None:
                continue
            for window in app:
                # The accessible name goes on to say what the program is.
                if window is not None and window.name.startswith(TITLE + " "):
                    return window
        time.sleep(0.1)
    fail("no window named %r on the AT-SPI bus (is the Qt AT-SPI bridge on?)" % TITLE)


def descendants(root):
    return pyatspi.findAllDescendants(root, lambda node: True)


def text_of(node):
    text = node.queryText()
    return text.getText(0, text.characterCount)


window = find_window()
nodes = descendants(window)
balls = [n for n in nodes if n.name[:2] in ("红球", "蓝球")]
if len(balls) != 49:
    fail("expected 49 balls, found %d: %s" % (len(balls), [b.name for b in balls]))
if any(n.getRoleName() == "label" and n.name.isdigit() for n in nodes):
    fail("the number labels are exposed besides their balls")
images = [n for n in nodes if n.getRole() == pyatspi.ROLE_IMAGE]
if len(images) != 49:
    fail("expected the 49 balls as the only images, found %d" % len(images))
texts = [n for n in nodes if n.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY)]
if sorted(n.name for n in texts) != ["号码统计", "机选号码"]:
    fail("expected the two named boxes as the only text fields (no record box), found %s"
         % [n.name for n in texts])
ticket_field = next(n for n in texts if n.name == "机选号码")
buttons = [n for n in nodes if n.getRole() == pyatspi.ROLE_PUSH_BUTTON]
select = next((b for b in buttons if b.name == "机选"), None)
if select is None:
    fail("no button named 机选 among %s" % [b.name for b in buttons])
if any(b.getState().contains(pyatspi.STATE_CHECKED) for b in balls):
    fail("a ball is checked before any pick")

events = []
def record(event):
    words = event.any_data if isinstance(event.any_data, str) else ""
    events.append((event.type, event.source.name if event.source else "", event.detail1, words))

pyatspi.Registry.registerEventListener(
    record, "object:text-changed", "object:state-changed:checked",
    "object:property-change:accessible-description", "object:text-caret-moved",
    "object:state-changed:showing", "object:announcement")
pump(0.5)
events.clear()

keyboard.focus(TITLE, only_visible=False)
for _ in range(100):
    if select.getState().contains(pyatspi.STATE_FOCUSED):
        break
    pump(0.05)
else:
    fail("机选 does not have the focus when the window gets the keyboard")
events.clear()
keyboard.press("Return")

def count(kind, source=None):
    return sum(1 for t, s, *_ in events if t.startswith(kind) and (source is None or s == source))

# Orca speaks an announcement (Qt 6.8) or a notification that appears (Qt 6.4, which has no
# announcement); not a text change in a box without the focus.
for _ in range(200):
    pump(0.05)
    if count("object:state-changed:showing") or count("object:announcement"):
        break
pump(1.0)

ticket = text_of(ticket_field).split()
if len(ticket) != 7:
    fail("the ticket field reads %r after the pick" % text_of(ticket_field))
checked = sorted(b.name for b in balls if b.getState().contains(pyatspi.STATE_CHECKED))
# A marked ball's name tells the mark, for a review that reads names and no states.
expected = sorted(["红球 %s 已选中" % n for n in ticket[:6]] + ["蓝球 %s 已选中" % ticket[6]])
if checked != expected:
    fail("checked balls %s do not match the ticket %s" % (checked, ticket))
marked_names = sorted(b.name for b in balls if b.name.endswith(" 已选中"))
if marked_names != expected:
    fail("the balls named as picked %s do not match the ticket %s" % (marked_names, ticket))
spoken = "红球 %s，蓝球 %s" % (" ".join(ticket[:6]), ticket[6])
# Spoken once: either announced, or in a notification that shows for a moment only, so that no
# review finds it afterwards; never both.
announced = [e[3] for e in events if e[0].startswith("object:announcement")]
shown = [e for e in events if e[0].startswith("object:state-changed:showing") and e[2]]
notices = [n for n in descendants(window) if n.getRole() == pyatspi.ROLE_NOTIFICATION]
if announced:
    if announced != [spoken] or shown:
        fail("the pick announced %s, not %r once (and showed %s)" % (announced, spoken, shown))
    news = "announcement: " + announced[0]
elif [n.name for n in notices] != [spoken] or len(shown) != 1:
    fail("no announcement and no notification %r appeared when the pick ended (showing: %s, "
         "events: %s)" % (spoken, [n.name for n in notices], shown))
else:
    news = "notification: " + notices[0].name
if not select.getState().contains(pyatspi.STATE_FOCUSED):
    fail("the focus left 机选 during the pick")

checked_events = count("object:state-changed:checked")
if checked_events != 7:
    fail("%d checked-state events for one pick from a gray board, expected 7" % checked_events)
# A screen reader drops a flood of events; the ticket field is heard once, with the last ticket.
if count("object:text-changed:insert", "机选号码") > 1 or count("object:text-caret-moved") > 2:
    fail("the ticket field sent %d inserts and %d caret moves for one pick"
         % (count("object:text-changed:insert", "机选号码"), count("object:text-caret-moved")))

print("ticket field:", " ".join(ticket))
print("checked balls:", ", ".join(checked))
print(news)
print("events during the pick: %d text inserts and %d deletes on 机选号码, %d on 号码统计, "
      "%d caret moves, %d checked-state changes"
      % (count("object:text-changed:insert", "机选号码"), count("object:text-changed:delete", "机选号码"),
         count("object:text-changed", "号码统计"), count("object:text-caret-moved"), checked_events))
