#pragma once

// A window's controls as designed, one row each: the single place where a control's caption,
// position, size and face are written down. The window builds itself from its table, and the
// layout tests read the same table instead of repeating its numbers.

#include "common/twips.h"

#include <QRect>
#include <QStringView>
#include <array>
#include <cstddef>
#include <stdexcept>
#include <string_view>

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

} // namespace kestrune::ui
