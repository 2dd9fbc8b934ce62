#pragma once

// What the two window benchmarks share: platform services that do nothing (no link is clicked)
// and the resident memory of the process.

#include "platform/platform_services.h"

#include <QString>
#include <fstream>
#include <optional>
#include <string>

namespace kestrune::bench {

class NoPlatformServices final : public ui::PlatformServices {
public:
    bool openTarget(const QString&, const QString&) override { return false; }
    std::optional<QString> readRegistryValue(const QString&) override { return std::nullopt; }
    bool startProgram(const QString&) override { return false; }
};

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
