// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main/frm_main.h"
#include "main/main_window_layout.h"
#include "main/past_draw_record.h"
#include "platform/platform_services.h"
#include "window_fakes.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace kestrune;
using namespace kestrune::ui;
using namespace kestrune::testing;

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The main window, whose first pick draws 03 07 12 19 25 31 + 08 at the first attempt.
struct MainWindow {
    ScriptedRandom random{acceptedAtOnce({3, 7, 12, 19, 25, 31}, 8)};
    RecordingServices services;
    frmMain window{random, services};
};

QPlainTextEdit* recordBox(const frmMain& window, int k) {
    return window.findChild<QPlainTextEdit*>(QStringLiteral("txtRecord_%1").arg(k));
}

} // namespace

class PastDrawRecordTest : public QObject {
    Q_OBJECT

private slots:
    void theBundledRecordIsTheRecordByteForByte();
    void everyYearLandsInItsBoxWithItsLinesInOrder_data();
    void everyYearLandsInItsBoxWithItsLinesInOrder();
    void linesKeepTheirOwnOrderOfReds();
    void malformedLinesAreReportedAndKeptOut();
    void aLineIsADrawOnlyInTheRecordFormat_data();
    void aLineIsADrawOnlyInTheRecordFormat();
    void theBoxesLieOutsideTheVisibleAreaAndOutOfTheTabCycle();
    void typingChangesAFocusedBoxButAPickChangesNone();
};

void PastDrawRecordTest::theBundledRecordIsTheRecordByteForByte() {
    const QByteArray bundled = bundledRecord();
    QCOMPARE(bundled.size(), 34'230);
    QCOMPARE(bundled.count("\r\n"), 1'141);
    QCOMPARE(bundled, readFile(QStringLiteral(KESTRUNE_SOURCE_DIR "/assets/past-draws.txt")));
    // The digest of the record as it was delivered, so that an edit of assets/ shows here.
    QCOMPARE(QCryptographicHash::hash(bundled, QCryptographicHash::Sha256).toHex(),
             QByteArray("2771737f58bf1c916b2c4b997e133ef31e366573a1e76b7cd81a41625baa51a5"));
}

void PastDrawRecordTest::everyYearLandsInItsBoxWithItsLinesInOrder_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    const int lines[] = {89, 122, 153, 154, 153, 154, 154, 153, 9};
    for (int k = 0; k < recordBoxCount; ++k) {
        const QString year = QString::number(2003 + k);
        QTest::addRow("%d", 2003 + k)
            << k << lines[k] << year + QStringLiteral("001")
            << year + QStringLiteral("%1").arg(lines[k], 3, 10, QChar(u'0'));
    }
}

void PastDrawRecordTest::everyYearLandsInItsBoxWithItsLinesInOrder() {
    QFETCH(int, box);
    QFETCH(int, lines);
    QFETCH(QString, first);
    QFETCH(QString, last);
    const RecordSplit split = splitRecordByYear(bundledRecord());
    QVERIFY2(split.malformed.isEmpty(), qPrintable(split.malformed.join(u'\n')));
    const QString text = split.boxes[static_cast<std::size_t>(box)];
    QVERIFY(text.endsWith(u'\n'));
    QVERIFY(!text.contains(u'\r'));
    QStringList boxLines = text.split(u'\n');
    boxLines.removeLast();
    QCOMPARE(boxLines.size(), lines);
    for (qsizetype i = 0; i < boxLines.size(); ++i) {
        QCOMPARE(boxLines[i].size(), 28);
        QCOMPARE(boxLines[i].left(7).toInt(), first.toInt() + i);
    }
    QVERIFY(boxLines.first().startsWith(first));
    QVERIFY(boxLines.last().startsWith(last));
}

void PastDrawRecordTest::linesKeepTheirOwnOrderOfReds() {
    const RecordSplit split = splitRecordByYear(bundledRecord());
    QVERIFY(split.boxes[0].startsWith(QStringLiteral("2003001 10 11 12 13 26 28 11\n")));
    QVERIFY(split.boxes[0].contains(QStringLiteral("\n2003035 10 04 05 08 11 03 08\n")));
    QVERIFY(split.boxes[2].contains(QStringLiteral("\n2005021 31 24 26 30 06 02 16\n")));
    QVERIFY(split.boxes[4].startsWith(QStringLiteral("2007001 26 02 20 10 09 04 14\n")));
    QVERIFY(split.boxes[8].endsWith(QStringLiteral("\n2011009 17 18 23 24 25 26 04\n")));
}

void PastDrawRecordTest::malformedLinesAreReportedAndKeptOut() {
    const QByteArray record = "2003001 10 11 12 13 26 28 11\r\n"
                              "2003002 10 11 12 13 26 28\r\n"    // a number short
                              "2003003 10 11 12 13 26 34 11\r\n" // no red 34
                              "2012001 01 02 03 04 05 06 07\r\n" // a year without a box
                              "2003004 01 02 03 04 05 06 07\n"   // a bare line feed
                              "2004001 01 02 03 04 05 06 17\r\n" // no blue 17
                              "2004002 01 02 03 04 05 06 16\r\n";
    const RecordSplit split = splitRecordByYear(record);
    QCOMPARE(split.boxes[0], QStringLiteral("2003001 10 11 12 13 26 28 11\n"));
    QCOMPARE(split.boxes[1], QStringLiteral("2004002 01 02 03 04 05 06 16\n"));
    // The bare line feed joins its line and the next into one malformed piece.
    QCOMPARE(split.malformed.size(), 4);
    QVERIFY(split.malformed.first().startsWith(QStringLiteral("line 2:")));

    const RecordSplit empty = splitRecordByYear(QByteArray());
    QVERIFY(empty.malformed.isEmpty());
    QVERIFY(splitRecordByYear("no line end").malformed.size() == 1);
}

// The edges of the line format: each number's lowest and highest value, and one beyond.
void PastDrawRecordTest::aLineIsADrawOnlyInTheRecordFormat_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("isADraw");
    QTest::newRow("reds 01 and 33, blue 16") << QByteArray("2003001 01 02 03 04 05 33 16") << true;
    QTest::newRow("blue 01") << QByteArray("2003001 10 11 12 13 26 28 01") << true;
    QTest::newRow("red 00") << QByteArray("2003001 00 02 03 04 05 06 07") << false;
    QTest::newRow("red 34") << QByteArray("2003001 01 02 03 04 05 34 07") << false;
    QTest::newRow("blue 00") << QByteArray("2003001 01 02 03 04 05 06 00") << false;
    QTest::newRow("blue 17") << QByteArray("2003001 01 02 03 04 05 06 17") << false;
    QTest::newRow("a red of one digit") << QByteArray("2003001 1 02 03 04 05 06 07") << false;
    QTest::newRow("two spaces") << QByteArray("2003001  01 02 03 04 05 06 07") << false;
    QTest::newRow("seven reds") << QByteArray("2003001 01 02 03 04 05 06 07 08") << false;
}

void PastDrawRecordTest::aLineIsADrawOnlyInTheRecordFormat() {
    QFETCH(QByteArray, line);
    QFETCH(bool, isADraw);
    const RecordSplit split = splitRecordByYear(line + "\r\n");
    QCOMPARE(split.boxes[0], isADraw ? QString::fromLatin1(line + '\n') : QString());
    QCOMPARE(split.malformed.size(), isADraw ? 0 : 1);
}

void PastDrawRecordTest::theBoxesLieOutsideTheVisibleAreaAndOutOfTheTabCycle() {
    MainWindow main;
    frmMain& window = main.window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    const RecordSplit split = splitRecordByYear(bundledRecord());
    for (int k = 0; k < recordBoxCount; ++k) {
        const QPlainTextEdit* box = recordBox(window, k);
        // Box k holds the year 2003 + k, whole.
        QCOMPARE(box->toPlainText(), split.boxes[static_cast<std::size_t>(k)]);
        QVERIFY(box->toPlainText().startsWith(QString::number(2003 + k) + QStringLiteral("001 ")));
        QCOMPARE(box->geometry(), main_window::recordBoxRect(k));
        QVERIFY(!box->isHidden());
        QVERIFY(box->x() >= window.width());
        QVERIFY(!box->isReadOnly());
        QCOMPARE(box->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }

    // Nobody can see them, so the focus never goes there: Tab from the last visible control
    // comes back to the first.
    window.findChild<QPushButton*>(QStringLiteral("cmdHelp"))->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdSelect"));
}

void PastDrawRecordTest::typingChangesAFocusedBoxButAPickChangesNone() {
    MainWindow main;
    frmMain& window = main.window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* box4 = recordBox(window, 4);
    const QString before = box4->toPlainText();
    box4->setFocus();
    QTest::keyClicks(box4, QStringLiteral("x"));
    QCOMPARE(box4->toPlainText().size(), before.size() + 1);

    QStringList texts;
    for (int k = 0; k < recordBoxCount; ++k) {
        texts << recordBox(window, k)->toPlainText();
    }
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdSelect")), Qt::LeftButton);
    QCOMPARE(window.selection().selectionText(), std::string("03 07 12 19 25 31 08"));
    for (int k = 0; k < recordBoxCount; ++k) {
        QCOMPARE(recordBox(window, k)->toPlainText(), texts[k]);
    }
}

QTEST_MAIN(PastDrawRecordTest)
#include "past_draw_record_test.moc"
