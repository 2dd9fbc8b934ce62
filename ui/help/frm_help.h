// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The help window: the publisher's contact lines and two lines of advice. The mail, home-page
// and messenger lines are links; they turn green under the pointer and go back to black when
// the pointer moves over the bare window.

#include "help/help_lines.h"

#include <QDialog>
#include <array>

class QLabel;
class QPushButton;

namespace kestrune::ui {

class PlatformServices;

class frmHelp : public QDialog {
    Q_OBJECT

public:
    // A window of its own, without an owner; the links go through the given services, which
    // must outlive the window.
    explicit frmHelp(PlatformServices& services);

    // Moves the window, frame included, to the middle of the primary screen. An X11 window
    // manager frames a window only once it is shown; until then the frame of a window already
    // shown (framedLike, when given) stands in for the window's own.
    void centreOnScreen(const QWidget* framedLike = nullptr);
    // Moves the window, frame included, to the middle of the given window's frame, but not off
    // the screen that window is on.
    void centreOver(const QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void centreIn(const QRect& area, const QWidget* framedLike);
    int informationIndexOf(const QObject* object) const;
    void lblInformationMouseMove(int index);
    void lblInformationClick(int index);

    PlatformServices& services_;
    std::array<QLabel*, helpLineCount> lblInformation_{};
    QPushButton* cmdOk_ = nullptr;
    // Tells a screen reader that a link was followed; hidden between announcements.
    QLabel* linkNews_ = nullptr;
    int pressedIndex_ = -1;
};

// Opens a fresh help window, modal to the whole application, and returns once the user has
// closed it; the window is deleted then. The window stands centred on the screen, or centred
// over the main window when overMainWindow is set. The window system is told that the help
// window belongs to the given main window (its transient parent).
void showHelpWindow(PlatformServices& services, QWidget* mainWindow, bool overMainWindow = false);

} // namespace kestrune::ui
