// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The windows' face under zh_CN, where the font database lists WenQuanYi Micro Hei by its
// Chinese name 文泉驿微米黑. fontconfig takes the language from the environment, whether or not
// the C library has that locale, so the test sets it before the application starts.

#include "common/fonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QTest>

using kestrune::ui::simplifiedChineseFamily;
using kestrune::ui::uiFont;

class FontsTest : public QObject {
    Q_OBJECT

private slots:
    void thePreferredFaceIsFoundByAnyOfItsNames();
};

// WenQuanYi Micro Hei, the package's first font dependency, comes first in every locale,
// found by whichever of its names the database lists.
void FontsTest::thePreferredFaceIsFoundByAnyOfItsNames() {
    const QString english = QStringLiteral("WenQuanYi Micro Hei");
    // Read first: the database learns the faces' other names as it fills.
    const QStringList installed = QFontDatabase::families();
    QVERIFY2(QFontDatabase::hasFamily(english), "fonts-wqy-microhei is not installed");
    QVERIFY2(!installed.contains(english),
             "the database lists the face by its English name: the locale did not take");
    QFont wenQuanYi(english);
    wenQuanYi.setStyleStrategy(QFont::NoFontMerging);
    const QString listed = QFontInfo(wenQuanYi).family();
    QVERIFY(installed.contains(listed));

    QCOMPARE(simplifiedChineseFamily(), listed);
    QCOMPARE(QFontInfo(uiFont()).family(), listed);
}

int main(int argc, char** argv) {
    qputenv("LC_ALL", "zh_CN.UTF-8");
    qputenv("LANG", "zh_CN.UTF-8");
    QApplication app(argc, argv);
    FontsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "fonts_test.moc"
