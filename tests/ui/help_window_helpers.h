// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the help window's tests share: its controls by name, the lines' colours, and the pointer
// driven through the window system (the QWindow overloads of QTest), so that Qt chooses the
// receiver as it does for a real pointer: the widget under the point, with the event handed on
// to the parent when the widget does not take it. The QWidget overload of QTest::mouseMove only
// moves the cursor, and would deliver nothing to a particular label.

#include "help/frm_help.h"
#include "help/help_lines.h"

#include <QApplication>
#include <QColor>
#include <QLabel>
#include <QList>
#include <QPalette>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <cstddef>

namespace kestrune::testing {

inline const QColor green(0, 255, 0);
inline const QColor black(0, 0, 0);
// The application's button-text colour in these tests: neither green nor black, so that the
// start colour can be told apart from both.
inline const QColor startColour(0x12, 0x34, 0x56);

inline const QString installValuePath = QStringLiteral("HKLM\\SOFTWARE\\Tencent\\qq\\Install");

// Gives the application the start colour; call once, before any window is made.
inline void useStartColour() {
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::ButtonText, startColour);
    QApplication::setPalette(palette);
}

inline bool isLinkLine(int index) {
    return ui::helpLines()[static_cast<std::size_t>(index)].link.has_value();
}

inline QLabel* information(const QWidget& window, int index) {
    return window.findChild<QLabel*>(QStringLiteral("lblInformation_%1").arg(index));
}

inline QPushButton* okButton(const QWidget& window) {
    return window.findChild<QPushButton*>(QStringLiteral("cmdOk"));
}

inline QColor textColour(const QLabel* label) {
    return label->palette().color(label->foregroundRole());
}

inline QList<QColor> allColours(const QWidget& window) {
    QList<QColor> colours;
    for (int index = 0; index < ui::helpLineCount; ++index) {
        colours.append(textColour(information(window, index)));
    }
    return colours;
}

// Shows a fresh window and waits until it can take input.
inline bool showAndActivate(ui::frmHelp& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowExposed(&window) && QTest::qWaitForWindowActive(&window);
}

// The point of a widget, in the coordinates of its window, where the pointer goes.
inline QPoint windowPoint(const QWidget* widget, QPoint local) {
    return widget->mapTo(widget->window(), local);
}
inline QPoint windowPoint(const QWidget* widget) {
    return windowPoint(widget, widget->rect().center());
}

inline void moveOver(const QWidget* widget) {
    QTest::mouseMove(widget->window()->windowHandle(), windowPoint(widget));
}

inline void clickOn(const QWidget* widget) {
    QTest::mouseClick(widget->window()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      windowPoint(widget));
}

// Two points of the bare window surface (over no label and not over the button).
inline const QPoint bareLeft(10, 12);
inline const QPoint bareRight(280, 80);

inline void moveOverSurface(QWidget& window, QPoint point) {
    QTest::mouseMove(window.windowHandle(), point);
}

} // namespace kestrune::testing
