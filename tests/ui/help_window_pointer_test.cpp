// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The help window's hover rule for the OK button: a move over the button is never a move over
// the bare window, whichever mouse button is held down on the way.

#include "help/frm_help.h"
#include "platform/platform_services.h"
#include "window_fakes.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWindow>

using namespace kestrune::ui;
using namespace kestrune::testing;

namespace {

QColor textColour(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

} // namespace

class HelpWindowPointerTest : public QObject {
    Q_OBJECT

private slots:
    void aDragOverOkLeavesALinkGreen_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::newRow("left") << Qt::LeftButton;
        QTest::newRow("right") << Qt::RightButton;
        QTest::newRow("middle") << Qt::MiddleButton;
    }

    void aDragOverOkLeavesALinkGreen() {
        QFETCH(Qt::MouseButton, button);
        RecordingServices services;
        frmHelp window(services);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* link = window.findChild<QLabel*>(QStringLiteral("lblInformation_4"));
        auto* ok = window.findChild<QPushButton*>(QStringLiteral("cmdOk"));
        QVERIFY(link != nullptr && ok != nullptr);
        QTest::mouseMove(window.windowHandle(), link->mapTo(&window, link->rect().center()));
        QCOMPARE(textColour(link), QColor(0, 255, 0));

        const QPoint inOk = ok->mapTo(&window, ok->rect().center());
        QTest::mousePress(window.windowHandle(), button, Qt::NoModifier, inOk);
        QTest::mouseMove(window.windowHandle(), inOk + QPoint(3, 2));
        QCOMPARE(textColour(link), QColor(0, 255, 0));
        // Let go outside the button, so that a left press is no click on OK.
        QTest::mouseRelease(window.windowHandle(), button, Qt::NoModifier, QPoint(-5, -5));
    }
};

QTEST_MAIN(HelpWindowPointerTest)
#include "help_window_pointer_test.moc"
