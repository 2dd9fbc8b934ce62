// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace kestrune::app {

// A Windows program with windows starts without a console, so what the command line prints
// (--help, --version, a bad option) would go nowhere. Made at the start of main, this sends it
// where a Windows user expects it: into a file or pipe when the output is redirected; into the
// console the program was started from (cmd.exe or PowerShell); and otherwise, when the program
// was started from Explorer or a shortcut, into a message box, shown by showWhatWasWritten().
// There is one, for the process's standard output; the first call of instance() connects it, at
// the start of main.
class ConsoleOutput {
public:
    static ConsoleOutput& instance();
    ~ConsoleOutput();
    ConsoleOutput(const ConsoleOutput&) = delete;
    ConsoleOutput& operator=(const ConsoleOutput&) = delete;

    // Where neither a console nor a redirection took the output, shows what the program wrote
    // so far in a message box, as an error when the exit status is not 0.
    void showWhatWasWritten(int exitStatus);

private:
    ConsoleOutput();

    QString captureFile_;
};

} // namespace kestrune::app
