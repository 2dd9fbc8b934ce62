// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A window's controls as designed, one row each: the single place where a control's caption,
// position, size and face are written down. Each window builds its controls from its table
// through makeControl, and the tests read the same table; only the design test writes the
// design's numbers out again, to hold the table to them.

#include "common/fonts.h"
#include "common/twips.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QRect>
#include <QString>
#include <QStringView>
#include <QWidget>
#include <array>
#include <cstddef>
#include <stdexcept>
#include <string_view>
#include <type_traits>

namespace kestrune::ui {

// One control: its object name, its caption (empty for a control without one), its place and
// size in twips from the top-left corner of the window's client area, and its face's point size
// (0 where the control keeps the window's face).
struct ControlLayout {
    const char* name;
    QStringView caption;
    double left;
    double top;
    double width;
    double height;
    double pointSize = 0;
    bool bold = false;
};

// The row of the named control in a window's table. A name that the table lacks throws, and so
// does not compile where the row is looked up while compiling.
template <std::size_t count>
constexpr const ControlLayout& controlIn(const std::array<ControlLayout, count>& table,
                                         std::string_view name) {
    for (const ControlLayout& row : table) {
        if (name == row.name) {
            return row;
        }
    }
    throw std::out_of_range("the window has no control of that name");
}

inline QRect rectOf(const ControlLayout& control) {
    return rectFromTwips(control.left, control.top, control.width, control.height);
}

// A control named, placed and sized as its row says, with the row's caption where the control
// shows one (a frame's title, a button's text), and in the row's face where the row has one.
template <typename Control> Control* makeControl(QWidget* parent, const ControlLayout& row) {
    auto* control = new Control(parent);
    control->setObjectName(QString::fromLatin1(row.name));
    control->setGeometry(rectOf(row));
    if (row.pointSize > 0) {
        control->setFont(uiFont(row.pointSize, row.bold));
    }
    if constexpr (std::is_base_of_v<QGroupBox, Control>) {
        control->setTitle(row.caption.toString());
    } else if constexpr (std::is_base_of_v<QAbstractButton, Control>) {
        control->setText(row.caption.toString());
    }
    return control;
}

} // namespace kestrune::ui
