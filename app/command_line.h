// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>

class QCoreApplication;

namespace kestrune::app {

// The program's names for Qt: application name and version, and the ID of its desktop entry,
// which Wayland compositors and docks use to match the window to the entry and its icon. Needs no
// application object.
void describeApplication();

// Reads the whole command line, Qt's own options included, before any window system is touched:
// answers --help and --version, refuses an unknown option or a stray argument, and refuses to
// start without a display, each with a message and never by an abort. Returns the exit status
// when the program must not go on to start; otherwise nothing, and until the window system is up
// a failure to reach it ends the program with a message and status 1.
std::optional<int> answerWithoutDisplay(int argc, char* argv[]);

// Once QApplication has taken its own options (-platform, -style, ...), rejects whatever else is
// left on the command line with a message, such as a value that Qt did not take. Returns the
// exit status when the program must not start.
std::optional<int> rejectUnknownArguments(const QCoreApplication& application);

} // namespace kestrune::app
