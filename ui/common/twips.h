// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Layout numbers stay in twips, as designed (1/1440 inch); this is the one place where they
// become logical pixels: 15 twips are one pixel at 96 dots per inch.

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QSizeF>
#include <cmath>

namespace kestrune::ui {

inline constexpr double twipsPerPixel = 15.0;

inline int pixels(double twips) {
    return static_cast<int>(std::lround(twips / twipsPerPixel));
}
inline double twipsOf(int pixels) {
    return pixels * twipsPerPixel;
}

inline QPoint pointFromTwips(double left, double top) {
    return {pixels(left), pixels(top)};
}
inline QSize sizeFromTwips(double width, double height) {
    return {pixels(width), pixels(height)};
}
inline QRect rectFromTwips(double left, double top, double width, double height) {
    return {pointFromTwips(left, top), sizeFromTwips(width, height)};
}

// Top-left corner, in twips, that centres a window of the given outer size on a screen. The
// halves are formed in single precision and kept with their fractions.
inline QPointF centredTopLeft(QSizeF screenTwips, QSizeF windowTwips) {
    const float left =
        (static_cast<float>(screenTwips.width()) - static_cast<float>(windowTwips.width())) / 2.0f;
    const float top =
        (static_cast<float>(screenTwips.height()) - static_cast<float>(windowTwips.height())) /
        2.0f;
    return {left, top};
}

// Where a window of the given outer size in twips goes, in pixels, to stand centred in an area
// of the screen (the screen itself, or another window's frame): centredTopLeft within the
// area, rounded to pixels only at the end.
inline QPoint centredIn(const QRect& area, QSizeF windowTwips) {
    const QPointF topLeft =
        centredTopLeft(QSizeF(twipsOf(area.width()), twipsOf(area.height())), windowTwips);
    return area.topLeft() + pointFromTwips(topLeft.x(), topLeft.y());
}

} // namespace kestrune::ui
