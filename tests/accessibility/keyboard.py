# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""The keyboard of a check's X display, through xdotool.

No window manager runs in these checks: a window gets the keyboard straight from the X server.
"""
import subprocess
import time


def focus(name, only_visible=True, seconds=20):
    """Gives the keyboard to the window whose name matches `name`, once there is one.

    Debian 12's xdotool dies on an X error when any window goes away in the middle of its search
    (as the help window or a message box does right after the key that closes it), so a search
    that fails is made again, until the time is up."""
    command = ["xdotool", "search"] + (["--onlyvisible"] if only_visible else [])
    command += ["--name", name, "windowfocus", "--sync"]
    deadline = time.monotonic() + seconds
    while True:
        try:
            result = subprocess.run(command, capture_output=True, text=True,
                                    timeout=max(1.0, deadline - time.monotonic()))
            if result.returncode == 0:
                return
            error = result.stderr.strip()
        except subprocess.TimeoutExpired:
            error = "xdotool did not finish"
        if time.monotonic() >= deadline:
            raise SystemExit("no window named %r could be given the keyboard within %d s: %s"
                             % (name, seconds, error))
        time.sleep(0.1)


def press(*keys):
    """Presses the keys, one after the other, through the X server's test extension: the keys
    reach whatever window has the keyboard, even one that a key ends."""
    subprocess.run(["xdotool", "key"] + list(keys), check=True, timeout=20)


def press_with_insert(key):
    """Presses the key while Insert, Orca's own modifier, is held down."""
    subprocess.run(["xdotool", "keydown", "Insert", "key", key, "keyup", "Insert"],
                   check=True, timeout=20)
