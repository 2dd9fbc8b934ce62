// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the two window benchmarks share beyond what they share with the widget tests
// (tests/support/window_support.h): the resident memory of the process.

#include <fstream>
#include <string>

namespace kestrune::bench {

// VmRSS in kilobytes, or -1 where there is no /proc.
inline long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

} // namespace kestrune::bench
