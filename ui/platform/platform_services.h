// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the windows ask of the operating system beyond drawing: opening a document or address
// with its associated program, reading one registry value, and starting a program. The windows
// receive it from their creator, so that tests can hand in a recording stand-in.

#include <QString>
#include <optional>

namespace kestrune::ui {

class PlatformServices {
public:
    virtual ~PlatformServices() = default;

    // Opens the target (an address such as "mailto:..." or "https://...") with the program that
    // the system associates with it. The operation is "open" or empty for the system's default
    // action. Returns false when nothing could be opened.
    virtual bool openTarget(const QString& operation, const QString& target) = 0;

    // Reads one registry value, given as "HIVE\Key\Sub key\Value name" (for example
    // "HKLM\SOFTWARE\Tencent\qq\Install"). Returns the value's text, or nothing when the value is
    // missing or is not a text.
    virtual std::optional<QString> readRegistryValue(const QString& path) = 0;

    // Starts the program at the given path as a process of its own, without arguments and
    // without waiting for it. The path is taken literally, never as a command line. Returns
    // false when the program could not be started.
    virtual bool startProgram(const QString& program) = 0;
};

} // namespace kestrune::ui
