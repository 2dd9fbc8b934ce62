// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace kestrune::ui {

namespace {

// Faces drawn for simplified Chinese. The windows lay out from the metrics of the face in use,
// so the order is not about fit: WenQuanYi Micro Hei (the package's first font dependency) comes
// before Noto Sans CJK because the window starts and repaints faster with it and uses less
// memory (window_bench, run with either face, shows by how much).
//
// Windows: Microsoft YaHei UI, the face of a Chinese Windows's own dialogs, then Microsoft YaHei,
// SimSun and SimHei, which every Windows since Vista has; the free faces after them are the ones
// wine offers from the system it runs on.
const QStringList& preferredFamilies() {
#ifdef Q_OS_WIN
    static const QStringList families{
        "Microsoft YaHei UI", "Microsoft YaHei",   "SimSun", "SimHei", "WenQuanYi Micro Hei",
        "Noto Sans CJK SC",   "Source Han Sans SC"};
#else
    static const QStringList families{"WenQuanYi Micro Hei",
                                      "Noto Sans CJK SC",
                                      "Source Han Sans SC",
                                      "Source Han Sans CN",
                                      "WenQuanYi Zen Hei",
                                      "Microsoft YaHei",
                                      "SimHei",
                                      "SimSun"};
#endif
    return families;
}

// A face named for another CJK writing (Noto Sans CJK JP, Source Han Sans TC, ...) covers the
// simplified characters too, but with that writing's glyph forms.
bool namesAnotherWriting(const QString& family) {
    for (const char* suffix : {" JP", " KR", " TC", " HK", " J", " K"}) {
        if (family.endsWith(QLatin1String(suffix))) {
            return true;
        }
    }
    return false;
}

// The name under which the font database lists an installed face, found by any of the face's
// names; empty when no face has that name. The database lists a face under its name in the
// user's language (WenQuanYi Micro Hei is 文泉驿微米黑 under zh_CN and 文泉驛微米黑 under zh_TW)
// and knows its other names as aliases, once the list has been read.
QString listedName(const QStringList& installed, const QString& family) {
    if (installed.contains(family)) {
        return family;
    }
    if (!QFontDatabase::hasFamily(family)) {
        return {};
    }
    QFont font(family);
    font.setStyleStrategy(QFont::NoFontMerging);
    return QFontInfo(font).family();
}

QString findSimplifiedChineseFamily() {
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : preferredFamilies()) {
        if (const QString listed = listedName(installed, family); !listed.isEmpty()) {
            return listed;
        }
    }
    const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    for (const QString& family : chinese) {
        if (!namesAnotherWriting(family) && !QFontDatabase::isFixedPitch(family)) {
            return family;
        }
    }
    return chinese.isEmpty() ? QString() : chinese.first();
}

} // namespace

QString simplifiedChineseFamily() {
    // The installed fonts do not change while the program runs.
    static const QString family = findSimplifiedChineseFamily();
    return family;
}

QFont uiFont(double pointSize, bool bold) {
    QFont font;
    const QString family = simplifiedChineseFamily();
    if (!family.isEmpty()) {
        font.setFamilies({family});
    }
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    return font;
}

} // namespace kestrune::ui
