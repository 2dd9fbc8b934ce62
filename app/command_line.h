#pragma once

#include <optional>

class QCoreApplication;

namespace kestrune::app {

// The program's names for Qt: application name and version, and the ID of its desktop entry,
// which Wayland compositors and docks use to match the window to the entry and its icon. Needs no
// application object.
void describeApplication();

// Answers --help and --version before any window system is touched, so they work without a
// display. Returns the exit status when one of them was asked for, nothing otherwise.
std::optional<int> answerWithoutDisplay(int argc, char* argv[]);

// Once QApplication has taken its own options (-platform, -style, ...), rejects whatever else is
// on the command line with a message. Returns the exit status when the program must not start.
std::optional<int> rejectUnknownArguments(const QCoreApplication& application);

} // namespace kestrune::app
