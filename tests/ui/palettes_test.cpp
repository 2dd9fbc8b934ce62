// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Readable in every colour scheme: the contrast ratio of the accessibility guidelines, and the
// help window's lines, which keep a light face where the scheme is dark.

#include "common/palettes.h"
#include "help/frm_help.h"
#include "help_window_helpers.h"
#include "window_fakes.h"

#include <QApplication>
#include <QColor>
#include <QLabel>
#include <QPalette>
#include <QScopeGuard>
#include <QTest>

using namespace kestrune::testing;
using kestrune::ui::frmHelp;

class PalettesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void contrastRatioFollowsTheAccessibilityGuidelines_data();
    void contrastRatioFollowsTheAccessibilityGuidelines();
    void linesStayReadableInADarkTheme_data();
    void linesStayReadableInADarkTheme();
};

void PalettesTest::initTestCase() {
    useStartColour();
}

void PalettesTest::contrastRatioFollowsTheAccessibilityGuidelines_data() {
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<double>("ratio");
    QTest::newRow("black on white") << black << QColor(Qt::white) << 21.0;
    QTest::newRow("white on black") << QColor(Qt::white) << black << 21.0;
    QTest::newRow("equal grays") << QColor(0x80, 0x80, 0x80) << QColor(0x80, 0x80, 0x80) << 1.0;
    QTest::newRow("#767676 on white") << QColor(0x76, 0x76, 0x76) << QColor(Qt::white) << 4.54;
    QTest::newRow("green on light gray") << green << QColor(0xF0, 0xF0, 0xF0) << 1.20;
}

void PalettesTest::contrastRatioFollowsTheAccessibilityGuidelines() {
    QFETCH(QColor, text);
    QFETCH(QColor, background);
    QFETCH(double, ratio);
    QVERIFY2(qAbs(kestrune::ui::contrastRatio(text, background) - ratio) < 0.01,
             qPrintable(QString::number(kestrune::ui::contrastRatio(text, background))));
}

void PalettesTest::linesStayReadableInADarkTheme_data() {
    QTest::addColumn<QColor>("window");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("button");
    // Window, text and button face of three dark schemes.
    QTest::newRow("Breeze Dark") << QColor(0x31, 0x36, 0x3b) << QColor(0xfc, 0xfc, 0xfc)
                                 << QColor(0x31, 0x36, 0x3b);
    QTest::newRow("Adwaita dark") << QColor(0x24, 0x24, 0x24) << QColor(Qt::white)
                                  << QColor(0x35, 0x35, 0x35);
    QTest::newRow("qt6ct darker") << QColor(0x22, 0x20, 0x20) << QColor(Qt::white)
                                  << QColor(0x42, 0x42, 0x45);
}

// At the start and after moves over the bare surface (all black), every line keeps a
// readable contrast with its own background; a link under the pointer is green and
// underlined, and loses the underline when it turns black.
void PalettesTest::linesStayReadableInADarkTheme() {
    QFETCH(QColor, window);
    QFETCH(QColor, text);
    QFETCH(QColor, button);
    const QPalette saved = QApplication::palette();
    const auto restore = qScopeGuard([&] { QApplication::setPalette(saved); });
    QPalette dark(text, button, button.lighter(150), button.darker(150), button.darker(120), text,
                  text, QColor(0x1b, 0x1e, 0x20), window);
    QApplication::setPalette(dark);

    RecordingServices services;
    frmHelp helpWindow(services);
    QVERIFY(showAndActivate(helpWindow));
    const auto checkReadable = [&](const char* when) {
        for (int index = 0; index < kestrune::ui::helpLineCount; ++index) {
            const QLabel* label = information(helpWindow, index);
            const QColor background = label->palette().color(label->backgroundRole());
            const double ratio = kestrune::ui::contrastRatio(textColour(label), background);
            QVERIFY2(
                ratio >= 4.5,
                qPrintable(QStringLiteral("%1, line %2: %3 : 1").arg(when).arg(index).arg(ratio)));
            QVERIFY(!label->font().underline());
        }
    };
    checkReadable("at the start");
    moveOverSurface(helpWindow, bareRight);
    checkReadable("after a move over the bare surface");
    moveOver(information(helpWindow, 3));
    QCOMPARE(textColour(information(helpWindow, 3)), green);
    QVERIFY(information(helpWindow, 3)->font().underline());
    moveOverSurface(helpWindow, bareLeft);
    checkReadable("after a link and the bare surface again");
}

QTEST_MAIN(PalettesTest)
#include "palettes_test.moc"
