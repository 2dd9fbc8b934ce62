// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the screenshots of the software-centre listing into the folder given on the command
// line, from the program's real windows on the display it runs on (an Xvfb server, through the
// `screenshots` target):
//
//     make_screenshots <folder>
//
// main-window.png is the main window after one machine pick, help-window.png the help window
// over it. The pick draws from the real random source with a fixed seed and a stopped clock, so
// the ticket, and with the same fonts the pictures, come out the same on every run. The pictures
// are what the window system shows of each window, read back from the display.

#include "common/fonts.h"
#include "main/frm_main.h"
#include "platform/desktop_platform_services.h"
#include "timer_random_source.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cstdint>
#include <cstdio>

namespace {

bool save(QWidget& window, const QString& file) {
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "make_screenshots: the window %s never showed\n",
                     qPrintable(window.objectName()));
        return false;
    }
    // Let the last repaints reach the display before it is read back.
    QCoreApplication::processEvents();
    QTest::qWait(0);
    const QPixmap picture = window.screen()->grabWindow(window.winId());
    if (picture.isNull() || !picture.save(file, "PNG")) {
        std::fprintf(stderr, "make_screenshots: cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s: %dx%d\n", qPrintable(file), picture.width(), picture.height());
    return true;
}

QWidget* helpWindow() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->objectName() == QLatin1String("frmHelp") && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (QApplication::arguments().size() != 2) {
        std::fprintf(stderr, "usage: make_screenshots <folder>\n");
        return 2;
    }
    const QDir folder(QApplication::arguments().at(1));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "make_screenshots: cannot make %s\n", qPrintable(folder.path()));
        return 1;
    }
    QApplication::setFont(kestrune::ui::uiFont());

    kestrune::TimerRandomSource random([] { return std::uint64_t{0}; }, 20261207);
    kestrune::ui::DesktopPlatformServices services;
    kestrune::ui::frmMain window(random, services);
    window.show();
    auto* pick = window.findChild<QPushButton*>(QStringLiteral("cmdSelect"));
    auto* help = window.findChild<QPushButton*>(QStringLiteral("cmdHelp"));
    if (pick == nullptr || help == nullptr || !QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "make_screenshots: the main window did not come up\n");
        return 1;
    }
    // A pick runs to its end inside the click.
    pick->click();
    if (!save(window, folder.filePath(QStringLiteral("main-window.png")))) {
        return 1;
    }

    // The help window runs its own event loop until it is closed, so it is read back from
    // inside that loop.
    bool helpSaved = false;
    QTimer::singleShot(0, &window, [&] {
        if (!QTest::qWaitFor([] { return helpWindow() != nullptr; }, 5000)) {
            std::fprintf(stderr, "make_screenshots: the help window did not open\n");
            QCoreApplication::exit(1);
            return;
        }
        QWidget* shown = helpWindow();
        helpSaved = save(*shown, folder.filePath(QStringLiteral("help-window.png")));
        shown->close();
    });
    help->click();
    if (!helpSaved) {
        std::fprintf(stderr, "make_screenshots: the help window was not saved\n");
        return 1;
    }
    return 0;
}
