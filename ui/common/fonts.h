#pragma once

#include <QFont>
#include <QString>

namespace kestrune::ui {

// The one face of both windows: an installed simplified-Chinese face, named explicitly so that
// the locale never decides (under a non-Chinese locale the platform would take a Japanese face
// for the Chinese texts), and used for Latin letters and digits too, so that each window shows
// a single face. Empty when no face for simplified Chinese is installed at all.
QString simplifiedChineseFamily();

// The stand-in for "MS Sans Serif" at the given size: the simplified-Chinese face, regular or
// bold, never italic or underlined.
QFont msSansSerif(double pointSize, bool bold = false);

// The windows' default user-interface font: the simplified-Chinese face at 9 points, whose
// Chinese characters are 12 pixels (180 twips) wide at 96 dots per inch.
QFont defaultUiFont();

} // namespace kestrune::ui
