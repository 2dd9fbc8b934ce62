#pragma once

#include <QFont>

namespace kestrune::ui {

// "MS Sans Serif" at the given size, falling back to the nearest sans-serif faces of the
// platform (and a CJK face for Chinese captions) where it is missing.
QFont msSansSerif(double pointSize, bool bold = false);

// The windows' default user-interface font: a sans-serif face that shows simplified Chinese.
QFont defaultUiFont();

} // namespace kestrune::ui
