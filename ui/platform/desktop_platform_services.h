// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/platform_services.h"

namespace kestrune::ui {

// The real services: Qt's desktop services and process start, and the Windows registry. Where
// there is no registry, a small INI file in the user's configuration folder stands in for it
// (see registryStandInFile).
class DesktopPlatformServices final : public PlatformServices {
public:
    bool openTarget(const QString& operation, const QString& target) override;
    std::optional<QString> readRegistryValue(const QString& path) override;
    bool startProgram(const QString& program) override;

    // The INI file that holds registry values on systems without a registry:
    // <generic configuration folder>/kestrune/registry.ini, e.g. ~/.config/kestrune/registry.ini.
    // The hive is the section and the rest of the path the key, with backslashes as in the
    // registry:
    //
    //     [HKLM]
    //     SOFTWARE\Tencent\qq\Install="/opt/tencent-qq/"
    static QString registryStandInFile();
};

} // namespace kestrune::ui
