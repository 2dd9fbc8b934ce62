// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// How the windows look to assistive technology (a screen reader reads them through AT-SPI).
// A few widgets are marked here; a factory, installed once, gives the marked widgets and their
// parents accessible objects of their own. Marks must be set before the window is first shown.

class QDialog;
class QLineEdit;
class QMessageBox;
class QString;
class QTextEdit;
class QWidget;

namespace kestrune::ui {

// Installs the factory; later calls do nothing.
void installAccessibleFactory();

// The widget leaves the accessibility tree; it stays where it is and is still drawn.
void hideFromAccessibility(QWidget* widget);

// The picture stands for a whole ball, picture and number together: one graphic named `name`,
// checkable and checked while marked. While marked, its name ends in "已选中", so that a screen
// reader's review of the window, which reads names but no states, tells the marks too.
void exposeAsBall(QWidget* picture, const QString& name);
// Tells assistive technology of a change of mark; a mark it already has sends nothing.
void setBallMarked(QWidget* picture, bool marked);
bool isBallMarked(const QWidget* picture);

// While held, the widget's text, caret and value changes do not reach assistive technology, so
// that a text redrawn many times in a row does not flood a screen reader. The release sends one
// change from the text at the hold to the text now, if they differ.
void holdTextEvents(QWidget* widget);
void releaseTextEvents(QWidget* widget);

// The widget is a notification: a screen reader speaks its name each time it is shown. It is
// meant to stay hidden between announcements.
void exposeAsNotification(QWidget* widget);
// Names the notification (a label shows the words as well) and has a screen reader speak the
// words once. With Qt 6.8 or later that is an announcement, and the notification stays hidden;
// with Qt 6.4, which has no announcement, the notification shows for a moment: long enough to be
// spoken, short enough that no review of the window finds it afterwards.
void announce(QWidget* notification, const QString& words);

// The read-only line reads to a screen reader as one run of text. (Qt gives a line edit an empty
// run at each offset, and Orca drops the last character of such a run: "… 23 1" for "… 23 13".)
// The selection and caret moves that come with the focus are no news either: a screen reader
// reads the line, or its name when empty, once on focus, and says nothing when the focus leaves.
void exposeAsTextLine(QLineEdit* line);

// The box reads as its text alone. Qt gives it its viewport as an unnamed child, on which a
// Windows screen reader stops as an unnamed group; the viewport is marked invisible to assistive
// technology, as Qt marks the box's hidden scroll bars.
void exposeAsTextBox(QTextEdit* box);

// The dialog tells assistive technology that it is modal while it is.
void exposeAsDialog(QDialog* dialog);

// The message box's text reaches a screen reader when the box opens. Orca 48 reads a box's loose
// labels only when they hold three words or more, which Chinese without spaces never does, and
// reads its description instead; Orca 43 reads the labels and the description both, so the text
// would be said twice. The description is set where Qt is 6.8 or later on Linux and the BSDs:
// the systems that have Qt 6.8 (Debian 13) come with Orca 48, those with Qt 6.4 (Debian 12) with
// Orca 43. Call once the box has its text and informative text.
void describeMessageBox(QMessageBox& box);

// The label is a link named by its text. Its press action sends it the Return key, so it does
// what the keyboard does.
void exposeAsLink(QWidget* label);

} // namespace kestrune::ui
