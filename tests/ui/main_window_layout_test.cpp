// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's layout on a 1024 x 768 screen, its help button, and help opened in the
// middle of a pick. Runs on the offscreen platform with a screen of that size.

#include "common/fonts.h"
#include "common/twips.h"
#include "help/frm_help.h"
#include "main/frm_main.h"
#include "main/main_window_layout.h"
#include "main/past_draw_record.h"
#include "platform/platform_services.h"
#include "window_fakes.h"
#include "window_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryFile>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>

using namespace kestrune;
using namespace kestrune::ui;
using namespace kestrune::testing;

namespace {

QString captionOf(const QWidget* widget) {
    if (const auto* frame = qobject_cast<const QGroupBox*>(widget)) {
        return frame->title();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text();
    }
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    if (const auto* line = qobject_cast<const QLineEdit*>(widget)) {
        return line->text();
    }
    if (const auto* box = qobject_cast<const QTextEdit*>(widget)) {
        return box->toPlainText();
    }
    return QStringLiteral("<no caption>");
}

} // namespace

class MainWindowLayoutTest : public QObject {
    Q_OBJECT

    std::unique_ptr<frmMain> makeWindow(RandomSource& random) {
        return shownMainWindow(random, services_);
    }

    template <typename T> static T* child(QWidget& window, const char* name) {
        auto* found = window.findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr) {
            qFatal("no child %s", name);
        }
        return found;
    }

    RecordingServices services_;

private slots:
    void initTestCase();
    void centringKeepsHalfTwips_data();
    void centringKeepsHalfTwips();
    void theWindowStandsCentredOnTheScreen();
    void everyControlStandsAsTheTableSays_data();
    void everyControlStandsAsTheTableSays();
    void aResetOfAnUnchangedBoardRepaintsNothing();
    void theHelpButtonOpensTheHelpWindow();
    void theHelpWindowStandsCentredOnTheScreen();
    void theHelpWindowFollowsAMovedMainWindow_data();
    void theHelpWindowFollowsAMovedMainWindow();
    void theFixedWindowsRefuseStatesTheyDoNotOffer_data();
    void theFixedWindowsRefuseStatesTheyDoNotOffer();
    void helpInTheMiddleOfAPickHoldsThePickUntilItCloses();
};

void MainWindowLayoutTest::initTestCase() {
    QApplication::setQuitOnLastWindowClosed(false);
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    QVERIFY2(screen == QSize(1024, 768), "the offscreen screen was not configured");
}

// A window of 5985 x 5985 twips centred in areas of the screen: the corner in twips, and in
// pixels within the area, which may stand anywhere on the desktop.
void MainWindowLayoutTest::centringKeepsHalfTwips_data() {
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QPointF>("topLeft");
    QTest::addColumn<QPoint>("pixels");
    // (15360 - 5985) / 2 and (11520 - 5985) / 2; 312.5 and 184.5 pixels, halves round up.
    QTest::newRow("1024x768") << QRect(0, 0, 1024, 768) << QPointF(4687.5, 2767.5)
                              << QPoint(313, 185);
    QTest::newRow("800x600") << QRect(1024, 0, 800, 600) << QPointF(3007.5, 1507.5)
                             << QPoint(1024 + 201, 101);
    QTest::newRow("as_large_as_the_window")
        << QRect(-399, 20, 399, 399) << QPointF(0, 0) << QPoint(-399, 20);
    // Halves of negative pixels round away from zero as well.
    QTest::newRow("smaller_than_the_window")
        << QRect(0, 0, 320, 240) << QPointF(-592.5, -1192.5) << QPoint(-40, -80);
}

void MainWindowLayoutTest::centringKeepsHalfTwips() {
    QFETCH(QRect, area);
    QFETCH(QPointF, topLeft);
    QFETCH(QPoint, pixels);
    const QSizeF window(5985, 5985);
    const QPointF centred =
        centredTopLeft(QSizeF(twipsOf(area.width()), twipsOf(area.height())), window);
    // Compared exactly: a half twip lost on the way is the fault looked for.
    QVERIFY2(centred == topLeft,
             qPrintable(QStringLiteral("%1, %2").arg(centred.x()).arg(centred.y())));
    QCOMPARE(centredIn(area, window), pixels);
}

// 4687.5 and 2767.5 twips are 312.5 and 184.5 pixels; halves round up. The client area is
// what a classic frame leaves of 5985 x 5985 twips: 5895 x 5535.
void MainWindowLayoutTest::theWindowStandsCentredOnTheScreen() {
    ScriptedRandom random;
    auto window = makeWindow(random);
    QCOMPARE(window->frameGeometry().topLeft(), QPoint(313, 185));
    QCOMPARE(window->size(), QSize(393, 369));
}

// Every control stands as its row of the table, or the rule for its kind, says.
void MainWindowLayoutTest::everyControlStandsAsTheTableSays_data() {
    QTest::addColumn<QRect>("geometry"); // an empty size: only the place is checked
    QTest::addColumn<QString>("caption");
    QTest::addColumn<double>("pointSize");
    QTest::addColumn<bool>("bold");

    for (const ControlLayout& row : main_window::controls) {
        QTest::newRow(row.name) << rectOf(row) << row.caption.toString()
                                << (row.pointSize > 0 ? row.pointSize : defaultPointSize)
                                << row.bold;
    }
    const auto addBalls = [](BallColour colour, int count, const char* prefix) {
        for (int n = 1; n <= count; ++n) {
            QTest::addRow("img%s_%d", prefix, n)
                << main_window::ballRect(colour, n) << QString() << defaultPointSize << false;
            QTest::addRow("lbl%s_%d", prefix, n)
                << QRect(main_window::ballNumberTopLeft(colour, n), QSize())
                << QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'))
                << main_window::ballNumberPointSize << false;
        }
    };
    addBalls(BallColour::red, redBallCount, "Red");
    addBalls(BallColour::blue, blueBallCount, "Blue");
    for (int k = 0; k < recordBoxCount; ++k) {
        QTest::addRow("txtRecord_%d", k) << main_window::recordBoxRect(k) << QStringLiteral("<any>")
                                         << defaultPointSize << false;
    }
}

void MainWindowLayoutTest::everyControlStandsAsTheTableSays() {
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QFETCH(double, pointSize);
    QFETCH(bool, bold);
    ScriptedRandom random;
    auto window = makeWindow(random);
    const auto* control = child<QWidget>(*window, QTest::currentDataTag());

    if (geometry.size().isEmpty()) {
        QCOMPARE(control->pos(), geometry.topLeft());
    } else {
        QCOMPARE(control->geometry(), geometry);
    }
    if (caption != QLatin1String("<any>")) {
        QCOMPARE(captionOf(control), caption);
    }
    const QFont font = control->font();
    QCOMPARE(font.pointSizeF(), pointSize);
    QCOMPARE(font.bold(), bold);
    QCOMPARE(font.families(), window->font().families());
    QVERIFY(!font.italic());
    QVERIFY(!font.underline());
    if (QString(QTest::currentDataTag()).startsWith(QLatin1String("lbl"))) {
        QCOMPARE(control->palette().color(QPalette::WindowText), main_window::ballNumberColour);
    }
}

// The board repaints only what an attempt changes: a reset of a board that already shows
// the reset state schedules no repaint at all.
void MainWindowLayoutTest::aResetOfAnUnchangedBoardRepaintsNothing() {
    ScriptedRandom random;
    auto window = makeWindow(random);
    PaintCounter board;
    for (const char* frame : {"fraRed", "fraBlue"}) {
        for (QWidget* ball : child<QGroupBox>(*window, frame)->findChildren<QWidget*>()) {
            board.watch(ball);
        }
    }
    QCoreApplication::processEvents();
    board.paints = 0;

    for (const auto& [colour, count] :
         {std::pair{BallColour::red, redBallCount}, {BallColour::blue, blueBallCount}}) {
        for (std::int16_t n = 1; n <= count; ++n) {
            window->resetBallLabel(colour, n);
            window->showBallPicture(colour, n, BallPicture::gray);
        }
    }
    QCoreApplication::processEvents();
    QCOMPARE(board.paints, 0);

    // The counter does see a change.
    window->showBallPicture(BallColour::red, 5, BallPicture::markedRed);
    QCoreApplication::processEvents();
    QVERIFY(board.paints > 0);
}

void MainWindowLayoutTest::theHelpButtonOpensTheHelpWindow() {
    ScriptedRandom random;
    auto window = makeWindow(random);
    bool openedModal = false;
    QPointer<frmHelp> seen;
    QTimer::singleShot(0, window.get(), [&] {
        seen = openHelpWindow();
        if (seen) {
            openedModal = QApplication::activeModalWidget() == seen;
            seen->close();
        }
    });
    QTest::mouseClick(child<QPushButton>(*window, "cmdHelp"), Qt::LeftButton);
    QVERIFY(openedModal);
    QVERIFY2(seen.isNull(), "the help window is deleted once closed");
    QCOMPARE(openHelpWindow(), nullptr);
}

// Centred on the whole screen from its outer size in twips, half pixels rounded up: of an
// odd number of pixels left over, the extra one goes before the window. Opened with no other
// window shown, where the toolkit's own placement of a dialog would guess a wider frame.
void MainWindowLayoutTest::theHelpWindowStandsCentredOnTheScreen() {
    // With the pointer on the second screen, the toolkit's own placement would go there.
    QCursor::setPos(1400, 300);
    QRect outer;
    QTimer::singleShot(0, this, [&] {
        if (frmHelp* help = openHelpWindow()) {
            outer = help->frameGeometry();
            help->close();
        }
    });
    showHelpWindow(services_, nullptr);
    QVERIFY(outer.isValid());
    QCOMPARE(outer.x(), (1024 - outer.width() + 1) / 2);
    QCOMPARE(outer.y(), (768 - outer.height() + 1) / 2);
}

// The help button centres the help window on the screen while the main window stands where
// it started, and over the main window once the user has moved it, but never off the screen.
void MainWindowLayoutTest::theHelpWindowFollowsAMovedMainWindow_data() {
    QTest::addColumn<QPoint>("moveBy");
    QTest::addColumn<bool>("overMainWindow");
    QTest::newRow("where_it_started") << QPoint(0, 0) << false;
    QTest::newRow("moved_left_and_down") << QPoint(-250, 120) << true;
    QTest::newRow("moved_past_the_top_left_corner") << QPoint(-600, -400) << true;
}

void MainWindowLayoutTest::theHelpWindowFollowsAMovedMainWindow() {
    QFETCH(QPoint, moveBy);
    QFETCH(bool, overMainWindow);
    ScriptedRandom random;
    auto window = makeWindow(random);
    window->move(window->pos() + moveBy);
    QRect help;
    QTimer::singleShot(0, window.get(), [&] {
        if (frmHelp* open = openHelpWindow()) {
            help = open->frameGeometry();
            open->close();
        }
    });
    QTest::mouseClick(child<QPushButton>(*window, "cmdHelp"), Qt::LeftButton);
    QVERIFY(help.isValid());

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect main = window->frameGeometry();
    const QRect expected = overMainWindow ? main : screen;
    const QPoint centred((expected.width() - help.width() + 1) / 2 + expected.x(),
                         (expected.height() - help.height() + 1) / 2 + expected.y());
    const QPoint onScreen(std::clamp(centred.x(), 0, screen.width() - help.width()),
                          std::clamp(centred.y(), 0, screen.height() - help.height()));
    QCOMPARE(help.topLeft(), onScreen);
}

// Title bars that offer maximize or minimize anyway find the fixed windows refusing: the
// main window and the help window go back to their own size, the help window closes when
// minimized, as it would otherwise hide and leave the main window blocked.
void MainWindowLayoutTest::theFixedWindowsRefuseStatesTheyDoNotOffer_data() {
    QTest::addColumn<bool>("help");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("closes");
    QTest::newRow("main_maximized") << false << int(Qt::WindowMaximized) << false;
    QTest::newRow("main_full_screen") << false << int(Qt::WindowFullScreen) << false;
    QTest::newRow("help_maximized") << true << int(Qt::WindowMaximized) << false;
    QTest::newRow("help_minimized") << true << int(Qt::WindowMinimized) << true;
}

void MainWindowLayoutTest::theFixedWindowsRefuseStatesTheyDoNotOffer() {
    QFETCH(bool, help);
    QFETCH(int, state);
    QFETCH(bool, closes);
    ScriptedRandom random;
    auto window = makeWindow(random);
    const auto checkRefused = [&](QWidget& target) {
        const QSize size = target.size();
        target.setWindowState(Qt::WindowStates(state));
        QTRY_VERIFY(!target.isVisible() || target.windowState() == Qt::WindowNoState);
        QCOMPARE(target.size(), size);
    };
    if (!help) {
        checkRefused(*window);
        return;
    }
    bool stillOpen = false;
    QTimer::singleShot(0, window.get(), [&] {
        const auto closeAtEnd = closingHelpWindowAtEnd();
        frmHelp* open = openHelpWindow();
        QVERIFY(open != nullptr);
        QPointer<frmHelp> seen = open;
        checkRefused(*open);
        stillOpen = !seen.isNull() && seen->isVisible();
    });
    QTest::mouseClick(child<QPushButton>(*window, "cmdHelp"), Qt::LeftButton);
    QCOMPARE(stillOpen, !closes);
}

void MainWindowLayoutTest::helpInTheMiddleOfAPickHoldsThePickUntilItCloses() {
    ScriptedRandom random(rejectedThenAccepted(), ScriptedRandom::AtEnd::repeat);
    auto window = makeWindow(random);
    auto* txtSelect = child<QLineEdit>(*window, "txtSelect");
    auto* txtData = child<QTextEdit>(*window, "txtData");
    int drawnWhileOpen = -1;
    int drawnAfterWaiting = -1;
    QString shownWhileOpen;
    bool busyWhileOpen = false;

    // The rejecting value is the eighth; the next event processing is the head of the
    // second attempt, where help is clicked.
    random.onValue = [&](int drawn) {
        if (drawn != 7) {
            return;
        }
        QTimer::singleShot(0, window.get(), [&] {
            // Runs inside the help window's own event loop.
            QTimer::singleShot(0, window.get(), [&] {
                const auto closeAtEnd = closingHelpWindowAtEnd();
                QVERIFY(openHelpWindow() != nullptr);
                drawnWhileOpen = random.drawn;
                for (int i = 0; i < 20; ++i) {
                    QCoreApplication::processEvents();
                }
                // A click on the machine pick goes nowhere while help is open.
                QTest::mouseClick(child<QPushButton>(*window, "cmdSelect"), Qt::LeftButton);
                drawnAfterWaiting = random.drawn;
                shownWhileOpen = txtSelect->text();
                busyWhileOpen = window->selection().busy();
            });
            QTest::mouseClick(child<QPushButton>(*window, "cmdHelp"), Qt::LeftButton);
        });
    };
    QTest::mouseClick(child<QPushButton>(*window, "cmdSelect"), Qt::LeftButton);

    QCOMPARE(drawnWhileOpen, 8);
    QCOMPARE(drawnAfterWaiting, 8);
    QCOMPARE(shownWhileOpen, QStringLiteral("01 02 03 04 05 07 01"));
    QVERIFY(busyWhileOpen);
    // Closed, the pick went on with its second attempt and finished.
    QCOMPARE(random.drawn, 8 + 16);
    QCOMPARE(txtSelect->text(), QStringLiteral("03 07 12 19 25 31 08"));
    QVERIFY(txtData->toPlainText().startsWith(QStringLiteral("奇偶比：5:1")));
    QVERIFY(!window->selection().busy());
}

// The offscreen platform with a primary 1024 x 768 screen at 96 dots per inch and a second
// screen to its right.
int main(int argc, char** argv) {
    // In the working folder, named relative to it: the platform's options are separated by
    // colons, so the path must hold none (a Windows path names its drive with one).
    QTemporaryFile config(QStringLiteral("screens-XXXXXX.json"));
    if (!config.open()) {
        qFatal("cannot write the screen configuration");
    }
    config.write(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": 1024,
                   "height": 768, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},
                  {"name": "second", "x": 1024, "y": 0, "width": 800, "height": 600,
                   "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    config.flush();
    qputenv("QT_QPA_PLATFORM",
            "offscreen:configfile=" +
                QDir::current().relativeFilePath(config.fileName()).toLocal8Bit());
    QApplication app(argc, argv);
    MainWindowLayoutTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_window_layout_test.moc"
