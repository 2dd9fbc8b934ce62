#!/usr/bin/env python3
"""Starts Debian's Orca for a test session: no speech server, nothing shared with the machine.

Orca (/usr/bin/orca) refuses to start while any other Orca of the same user runs, on any display,
and its --replace kills that one; a check run beside another session must do neither. This runs
Orca's own launcher with that search turned off and under its own process name, so that other
sessions do not see it either. No speech server is asked for: Orca then only logs each utterance
("SPEECH OUTPUT: '...'") in the file given with --debug-file.

Usage: start_orca.py --debug-file FILE [other Orca options]
"""
import importlib.machinery
import importlib.util
import sys

LAUNCHER = "/usr/bin/orca"

loader = importlib.machinery.SourceFileLoader("orca_launcher", LAUNCHER)
module_spec = importlib.util.spec_from_loader("orca_launcher", loader)
launcher = importlib.util.module_from_spec(module_spec)
loader.exec_module(launcher)
launcher.otherOrcas = lambda: []
launcher.setProcessName = lambda name: False

from orca import debug, settings  # noqa: E402 (the launcher sets up the import path first)

# An empty factory name is "no speech server"; Orca does not fall back to speech-dispatcher then.
settings.speechServerFactory = ""
settings.speechFactoryModules = []

# Each line reaches the log at once: the check reads it while Orca runs.
print_line = debug.println


def println_flushed(*args, **kwargs):
    print_line(*args, **kwargs)
    if debug.debugFile is not None:
        debug.debugFile.flush()


debug.println = println_flushed

sys.exit(launcher.main())
