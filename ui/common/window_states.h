// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QWidget;

namespace kestrune::ui {

// Title bars that the program does not control may offer maximize and minimize whatever the
// window flags say: Qt's own title bar on Wayland compositors that leave decorations to the
// program (GNOME) always draws both buttons, and openbox offers minimize on every window. The
// windows refuse those states themselves.

// A fixed-size window goes back from maximized or full screen to its own size at once.
void keepFixedSize(QWidget& window);

// A modal window closes when it is minimized: hidden, it would leave the windows it blocks
// without input and without a visible reason, and not every window system lets a program
// restore a minimized window itself.
void closeWhenMinimized(QWidget& window);

// Activating a window that a modal window blocks (a click on it, a window switcher) brings the
// modal window back in front, restored if minimized: the blocked window cannot answer, and the
// modal window shows why. A Wayland compositor may minimize the modal window without telling
// the program, so this is the only way back that the program has there; KWin activates the
// blocked window as soon as it has minimized the modal one, which then comes straight back.
void bringBackModalOnActivation(QWidget& owner);

// Styles draw a control's focus only after a focus move by keyboard, and opening or activating
// a window counts as none; yet a keyboard user must see from the start where Enter goes. So the
// first time the given control takes the focus, its window shows the focus as after such a move.
void showFocusFromStart(QWidget& control);

} // namespace kestrune::ui
