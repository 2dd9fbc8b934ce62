// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The help window's eight lines, top to bottom, and what each link among them does. The table
// and the links are in help_lines.cpp: the one place to change a line's words, to make a line a
// link or to change where a link leads and what a screen reader hears of it. Where the lines
// stand and which face they wear (the headings' bold) is in help_window_layout.h; the
// publisher's values that they show, in publisher.h.

#include <QString>
#include <array>
#include <optional>

namespace kestrune::ui {

class PlatformServices;

struct HelpLink {
    // Follows the link through the given services; returns why it could not be followed, or
    // nothing when it was. What the services throw passes through.
    QString (*follow)(PlatformServices& services);
    // What a screen reader hears once the link was followed, as it would hear nothing else: the
    // program the link starts opens a window of its own, or none at all.
    QString followedNews;
};

struct HelpLine {
    QString text;
    // Set for a link: it turns green under the pointer, takes the focus by Tab and is followed
    // on a click, Enter or the space bar.
    std::optional<HelpLink> link;
};

inline constexpr int helpLineCount = 8;

// The lines, made on the first call.
const std::array<HelpLine, helpLineCount>& helpLines();

} // namespace kestrune::ui
