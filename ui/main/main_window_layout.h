// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The main window as designed, in twips: one row per control, and the rules that place the
// controls that come many of a kind (the 49 balls and their numbers, the nine record boxes).
// frmMain builds itself from here and the tests read the same numbers, so a place is changed
// here and nowhere else; main_window_layout_test pins the designed numbers once.

#include "common/control_layout.h"
#include "selection_state.h"

#include <QColor>
#include <QPointF>
#include <array>
#include <string_view>

namespace kestrune::ui::main_window {

// The window was designed with an outer size of 5985 x 5985 twips around a classic frame of
// 3-pixel borders and a 24-pixel title bar. The client area is fixed to what that frame leaves,
// so that on every platform (also one that draws no frame at all) it shows fraRed to its right
// edge (5775) and the buttons to their bottom edge (5415), but neither the record boxes (from
// 6120) nor the template images (from 5760); the checks at the end of this file hold it to that.
inline constexpr double outerWidth = 5985;
inline constexpr double outerHeight = 5985;
inline constexpr double clientWidth = outerWidth - 2 * 45;
inline constexpr double clientHeight = outerHeight - 2 * 45 - 360;

inline constexpr double ballSize = 480;

// The controls of which there is one, by object name. A row without a point size keeps the
// window's face (uiFont()). The three ball templates, whose pictures the balls show, lie below
// the visible client area, and so does the pick's news, a notification that is never seen.
// clang-format off
inline constexpr auto controls = std::to_array<ControlLayout>({
    // name          caption    left  top   width     height    points
    {"fraRed",       u"红色球", 120,  120,  5655,     2295},
    {"fraBlue",      u"兰色球", 120,  2490, 4095,     1695},
    {"txtData",      {},        4320, 2580, 1455,     2235,     9.75},
    {"txtSelect",    {},        120,  4320, 4095,     495,      13.5},
    {"cmdSelect",    u"机选",   840,  4920, 1095,     495},
    {"cmdExit",      u"退出",   2460, 4920, 1095,     495},
    {"cmdHelp",      u"帮助",   4080, 4920, 1095,     495},
    {"imgRedBall",   {},        3600, 5760, ballSize, ballSize},
    {"imgBlueBall",  {},        4080, 5760, ballSize, ballSize},
    {"imgGrayBall",  {},        4560, 5760, ballSize, ballSize},
    {"pickNews",     {},        120,  5760, 15,       15},
});
// clang-format on

// The row of the control with the given object name (see controlIn).
constexpr const ControlLayout& control(std::string_view name) {
    return controlIn(controls, name);
}

// Left and top of ball n (imgRed_n, imgBlue_n) within its frame, in twips: rows of eleven reds
// and of eight blues, 480 twips apart, the rows 600 apart. The first row of reds, and the last
// row but for its first ball, stand 45 twips further right: red ball 23 stands 525 twips left of
// ball 24.
constexpr QPointF ballTopLeft(BallColour colour, int n) {
    if (colour == BallColour::red) {
        const int row = (n - 1) / 11;
        const int column = (n - 1) % 11;
        const bool shifted = row == 0 || (row == 2 && column > 0);
        return {(shifted ? 165.0 : 120.0) + 480.0 * column, 360.0 + 600.0 * row};
    }
    const int row = (n - 1) / 8;
    const int column = (n - 1) % 8;
    return {120.0 + 480.0 * column, 360.0 + 600.0 * row};
}

inline QRect ballRect(BallColour colour, int n) {
    const QPointF at = ballTopLeft(colour, n);
    return rectFromTwips(at.x(), at.y(), ballSize, ballSize);
}

// A ball's number (lblRed_n, lblBlue_n) stands this far right of and below the ball's corner,
// in white at 14 points. Before the first reset of the board, which the window makes before
// it is shown, the numbers read 01 at 13.5 points, red 33 at 9.75.
inline constexpr double ballNumberOffset = 30;
inline constexpr QColor ballNumberColour(255, 255, 255); // white
inline constexpr double ballNumberPointSize = 14;
inline constexpr double numberPointSizeBeforeReset = 13.5;
inline constexpr double lastRedNumberPointSizeBeforeReset = 9.75;

// The number's place for a ball image that stands at the given place: the sums are formed in
// single precision, from wherever the image stands now, so repeated resets do not accumulate.
inline QPoint ballNumberTopLeft(QPoint imageTopLeft) {
    const float offset = float{ballNumberOffset};
    const float left = static_cast<float>(twipsOf(imageTopLeft.x())) + offset;
    const float top = static_cast<float>(twipsOf(imageTopLeft.y())) + offset;
    return pointFromTwips(left, top);
}

inline QPoint ballNumberTopLeft(BallColour colour, int n) {
    return ballNumberTopLeft(ballRect(colour, n).topLeft());
}

// Record box k (txtRecord_k, one per year) right of the visible client area, in four columns
// 2760 twips apart and rows 1440 apart.
inline constexpr double recordBoxWidth = 2760;
inline constexpr double recordBoxHeight = 1335;

constexpr QPointF recordBoxTopLeft(int k) {
    return {6120.0 + 2760.0 * (k % 4), 240.0 + 1440.0 * (k / 4)};
}

inline QRect recordBoxRect(int k) {
    const QPointF at = recordBoxTopLeft(k);
    return rectFromTwips(at.x(), at.y(), recordBoxWidth, recordBoxHeight);
}

// What the client area shows and what it hides, as the frame's comment above says.
static_assert(clientWidth >= control("fraRed").left + control("fraRed").width);
static_assert(clientWidth < recordBoxTopLeft(0).x());
static_assert(clientHeight >= control("cmdHelp").top + control("cmdHelp").height);
static_assert(clientHeight < control("imgRedBall").top);

} // namespace kestrune::ui::main_window
