// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The help window's controls as designed, one row each: where each stands, in twips from the
// top-left corner of the client area, and the face it wears. The lines are sized to their texts,
// so their rows give no size; the texts, with what each link does, are in help_lines.cpp.

#include "common/control_layout.h"
#include "help/help_lines.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace kestrune::ui::help_window {

inline constexpr double clientWidth = 4335;
inline constexpr double clientHeight = 3375;

// The lines first, top to bottom (row n is lblInformation_n), then the button and the link's
// news, a notification beyond the client area that is never seen.
inline constexpr auto controls = std::to_array<ControlLayout>({
    {"lblInformation_0", {}, 480, 120, 0, 0, 8.25, true}, // heading
    {"lblInformation_1", {}, 480, 454, 0, 0},
    {"lblInformation_2", {}, 480, 795, 0, 0},
    {"lblInformation_3", {}, 480, 1125, 0, 0},
    {"lblInformation_4", {}, 480, 1455, 0, 0},
    {"lblInformation_5", {}, 480, 1785, 0, 0, 8.25, true}, // heading
    {"lblInformation_6", {}, 480, 2130, 0, 0},
    {"lblInformation_7", {}, 480, 2520, 0, 0},
    // The blanks only space the caption out.
    {"cmdOk", u"确    定", 1680, 2880, 1140, 360},
    {"linkNews", {}, clientWidth, clientHeight, 15, 15},
});

// The row of the named control (see controlIn).
constexpr const ControlLayout& control(std::string_view name) {
    return controlIn(controls, name);
}

// Row n is the row of line n, for each of the help lines.
constexpr bool linesComeFirst() {
    constexpr std::string_view prefix = "lblInformation_";
    for (int n = 0; n < helpLineCount; ++n) {
        const std::string_view name = controls[static_cast<std::size_t>(n)].name;
        if (name.size() != prefix.size() + 1 || !name.starts_with(prefix) ||
            name.back() != '0' + n) {
            return false;
        }
    }
    return true;
}
static_assert(helpLineCount < 10 && linesComeFirst());

} // namespace kestrune::ui::help_window
