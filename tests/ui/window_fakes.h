// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the window tests hand the windows instead of the real services: platform services that
// record what they were asked (window_support.h, shared with the benchmarks), and a random source
// that plays a script (scripted_random.h, shared with the engine tests); and the main window made
// with them.

#include "help/frm_help.h"
#include "machine_pick.h"
#include "main/frm_main.h"
#include "platform/platform_services.h"
#include "scripted_random.h"
#include "window_support.h"

#include <QApplication>
#include <QScopeGuard>
#include <QTest>
#include <memory>
#include <vector>

namespace kestrune::testing {

// With Qt 6.8 and later a screen reader hears an announcement and the notification stays
// hidden; with Qt 6.4, which has no announcement, the notification shows for a moment.
inline constexpr bool notificationShows = QT_VERSION < QT_VERSION_CHECK(6, 8, 0);

// How QCOMPARE shows a call of the recording services.
inline char* toString(const OpenCall& call) {
    return QTest::toString(
        QStringLiteral("openTarget(\"%1\", \"%2\")").arg(call.operation, call.target));
}

// Reds 1 2 3 4 5 7 and blue 1, rejected by the first row (five odd reds); then reds 3 7 7 12 19
// 25 31 (the second 7 drawn again) and blue 8, accepted with eight zeros.
inline std::vector<float> rejectedThenAccepted() {
    std::vector<float> script = rejectedAtRow({1, 2, 3, 4, 5, 7}, 1, 1);
    const std::vector<float> accepted = acceptedAtOnce({3, 7, 7, 12, 19, 25, 31}, 8);
    script.insert(script.end(), accepted.begin(), accepted.end());
    return script;
}

// A main window on the given stand-ins, shown and exposed.
inline std::unique_ptr<ui::frmMain> shownMainWindow(RandomSource& random,
                                                    ui::PlatformServices& services) {
    auto window = std::make_unique<ui::frmMain>(random, services);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) {
        qWarning("the main window was not exposed");
    }
    return window;
}

// The help window that is open, or none.
inline ui::frmHelp* openHelpWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* help = qobject_cast<ui::frmHelp*>(widget); help != nullptr && help->isVisible()) {
            return help;
        }
    }
    return nullptr;
}

// For a check that runs inside the help window's own event loop: whatever the check finds (a
// failing QVERIFY returns early), the help window closes when the guard goes, so that the
// opening returns.
[[nodiscard]] inline auto closingHelpWindowAtEnd() {
    return qScopeGuard([] {
        if (ui::frmHelp* open = openHelpWindow()) {
            open->close();
        }
    });
}

} // namespace kestrune::testing
