# shellcheck shell=bash
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced first by everything that runs wine (scripts/test-windows, the Windows checks, the
# Windows tests' emulator): runs the caller again, with the same arguments, without address
# space randomization (setarch -R), which every process it starts inherits.
#
# Debian's wine has no preloader to keep its fixed addresses free, so a randomly placed library
# now and then takes the address where a new wine process must map its shared user data
# (0x7ffe0000). That process then ends before it runs at all ("failed to map the shared user
# data", an error that WINEDEBUG=-all hides), and whoever started it sees only "Internal error":
# start.exe's "ShellExecuteEx failed", a reg query that reads nothing, or a fresh prefix whose
# wineboot could not start rundll32 and so has no kernel32.dll. Windows places a program's
# libraries by its own rules; this is wine's start-up alone.
addr_no_randomize=16#0040000 # ADDR_NO_RANDOMIZE, the bit setarch -R sets
if (((16#$(</proc/self/personality) & addr_no_randomize) == 0)); then
    # A container whose seccomp profile forbids the personality call keeps randomization.
    if ! command -v setarch >/dev/null; then
        echo "$(basename "$0"): setarch (util-linux) is missing; wine runs with randomized" \
            "addresses and may now and then fail to start a process" >&2
    elif setarch "$(uname -m)" -R true 2>/dev/null; then
        exec setarch "$(uname -m)" -R "$0" "$@"
    else
        echo "$(basename "$0"): setarch -R is not permitted here; wine runs with randomized" \
            "addresses and may now and then fail to start a process" >&2
    fi
fi
