#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Kestrune developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Runs Debian's Orca for a test session through its command line alone, and keeps its log.

Orca runs as /usr/bin/orca with speech on but no speech server to reach: Speech Dispatcher's
client is pointed at an address where none listens and at a spawn command that does not exist
(its SPEECHD_ADDRESS and SPEECHD_CMD), so it neither reaches the user's own server nor starts
one. Orca then only logs each utterance ("SPEECH OUTPUT: '...'") in its debug file.
Orca writes that file through a buffer, which a file or a pipe would fill before the check
could read the last utterance; a terminal gets each line at once. So Orca's debug file is the
far end of a pseudo-terminal, and this copies every line from it into LOG as it comes.

Orca refuses to start while another Orca of the same user runs: it says so on its standard output
and ends with status 1, as this does. The check stops Orca with SIGTERM, which is passed on.

Usage: start_orca.py LOG [other Orca options]
"""
import os
import select
import signal
import subprocess
import sys
import tty

ORCA = "/usr/bin/orca"


def main():
    log_path = sys.argv[1]
    leader, follower = os.openpty()
    # Orca's lines as written, no line ends turned into carriage returns and line feeds.
    tty.setraw(follower)
    nowhere = os.path.join(os.path.dirname(os.path.abspath(log_path)), "no-speech-server")
    environment = dict(os.environ, SPEECHD_ADDRESS="unix_socket:" + nowhere,
                       SPEECHD_CMD=nowhere)
    orca = subprocess.Popen([ORCA, "--debug-file", os.ttyname(follower)] + sys.argv[2:],
                            stdin=subprocess.DEVNULL, env=environment)
    signal.signal(signal.SIGTERM, lambda *_: orca.terminate())
    # The terminal stays open here too, so that it lasts until Orca has opened it; the copy ends
    # once Orca has ended and nothing more waits to be read.
    with open(log_path, "ab", buffering=0) as log:
        while True:
            ready, _, _ = select.select([leader], [], [], 0.1)
            if ready:
                log.write(os.read(leader, 65536))
            elif orca.poll() is not None:
                break
    return orca.returncode


if __name__ == "__main__":
    sys.exit(main())
