#include "fonts.h"

#include <QStringList>

namespace kestrune::ui {

namespace {

const QStringList& sansSerifFallbacks() {
    // WenQuanYi Micro Hei before Noto Sans CJK: its tighter line height lets the eight lines of
    // the statistics box fit the box, as they did with the original bitmap face.
    static const QStringList families{"Microsoft Sans Serif", "DejaVu Sans",      "Noto Sans",
                                      "WenQuanYi Micro Hei",  "Noto Sans CJK SC", "SimSun"};
    return families;
}

} // namespace

QFont msSansSerif(double pointSize, bool bold) {
    QFont font;
    font.setFamilies(QStringList{"MS Sans Serif"} + sansSerifFallbacks());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    return font;
}

QFont defaultUiFont() {
    QFont font;
    font.setFamilies(
        {"Noto Sans CJK SC", "WenQuanYi Micro Hei", "Microsoft YaHei", "SimSun", "DejaVu Sans"});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(9.0);
    return font;
}

} // namespace kestrune::ui
