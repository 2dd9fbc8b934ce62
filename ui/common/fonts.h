// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>
#include <QString>

namespace kestrune::ui {

// The one face of both windows: an installed simplified-Chinese face, named explicitly so that
// the locale never decides (under a non-Chinese locale the platform would take a Japanese face
// for the Chinese texts), and used for Latin letters and digits too, so that each window shows
// a single face. Empty when no face for simplified Chinese is installed at all.
QString simplifiedChineseFamily();

// The windows' own size of the face, which every control keeps unless it was designed with
// another: 9 points, at which a Chinese character is 12 pixels (180 twips) wide at 96 dots per
// inch.
inline constexpr double defaultPointSize = 9;

// The face at the given size (the stand-in for the design's "MS Sans Serif"), regular or bold,
// never italic or underlined.
QFont uiFont(double pointSize = defaultPointSize, bool bold = false);

} // namespace kestrune::ui
