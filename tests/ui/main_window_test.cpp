// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main/frm_main.h"
#include "main/main_window_layout.h"
#include "platform/platform_services.h"
#include "window_fakes.h"

#include <QAccessible>
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <utility>

using namespace kestrune;
using namespace kestrune::ui;
using namespace kestrune::testing;

namespace {

// The statistics box's kind of widget.
using StatisticsBox = QTextEdit;

// Reds 3 7 7 12 19 25 31 (the second 7 drawn again), blue 8: accepted at the first attempt.
std::vector<float> acceptedScript() {
    return acceptedAtOnce({3, 7, 7, 12, 19, 25, 31}, 8);
}

// Reds 1 2 3 4 5 7 (five odd), blue 1, and a first filter value that rejects: every attempt
// draws these eight values and is rejected.
std::vector<float> rejectedForeverScript() {
    return rejectedAtRow({1, 2, 3, 4, 5, 7}, 1, 1);
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void titleAndClientAreaShowTheBoardButNotTheHiddenParts();
    void controlsStandWhereTheyWereDesigned();
    void everyTextShowsInOneSimplifiedChineseFace();
    void labelsStayInFrontOfTheirBalls();
    void resetRestoresADisturbedLabel();
    void startsAllGrayWithEmptyBoxesAndFocusOnMachinePick();
    void tabCyclesThroughTheVisibleControlsInDesignOrder();
    void aClickPicksTheScriptedTicket();
    void statisticsLinesShowWholeInEveryChineseFace_data();
    void statisticsLinesShowWholeInEveryChineseFace();
    void typingIntoTheBoxesChangesNothingButCopyWorks();
    void aSecondPressDuringAPickIsDropped_data();
    void aSecondPressDuringAPickIsDropped();
    void theWindowShowsEachRejectedTicketWhileThePickRuns();
    void exitInTheMiddleOfAPickEndsAtOnceWithStatusZero();
    void theCloseBoxInTheMiddleOfAPickEndsTheSameWay();
    void clicksOnBallsAndLabelsChangeNothing();
    void anErrorInAPickIsShownAndTheProgramGoesOn();

private:
    std::unique_ptr<frmMain> makeWindow(RandomSource& random) {
        return shownMainWindow(random, services_);
    }

    template <typename T> static T* child(QWidget* window, const QString& name) {
        auto* found = window->findChild<T*>(name);
        if (found == nullptr) {
            qFatal("no child %s", qPrintable(name));
        }
        return found;
    }

    static QPushButton* button(QWidget* window, const char* name) {
        return child<QPushButton>(window, QString::fromLatin1(name));
    }

    static qint64 pictureKey(QWidget* window, const QString& image) {
        return child<QLabel>(window, image)->pixmap().cacheKey();
    }

    // Counts the balls of one colour that show the given template's picture.
    static int ballsShowing(QWidget* window, const char* colour, int count, const char* image) {
        const qint64 key = pictureKey(window, QString::fromLatin1(image));
        int showing = 0;
        for (int n = 1; n <= count; ++n) {
            showing += pictureKey(window, QStringLiteral("img%1_%2").arg(colour).arg(n)) == key;
        }
        return showing;
    }

    // What a screen reader and the eye can take from the window: both boxes, every ball's
    // picture and accessible state, and the notification.
    static QStringList windowNow(QWidget* window) {
        QStringList now{
            child<QLineEdit>(window, QStringLiteral("txtSelect"))->text(),
            child<StatisticsBox>(window, QStringLiteral("txtData"))->toPlainText(),
            QString::number(child<QWidget>(window, QStringLiteral("pickNews"))->isVisible())};
        for (const auto& [colour, count] : {std::pair{"Red", 33}, std::pair{"Blue", 16}}) {
            for (int n = 1; n <= count; ++n) {
                const QString name = QStringLiteral("img%1_%2").arg(QLatin1String(colour)).arg(n);
                QAccessibleInterface* ball =
                    QAccessible::queryAccessibleInterface(child<QWidget>(window, name));
                now << QStringLiteral("%1 %2 %3 %4")
                           .arg(name)
                           .arg(pictureKey(window, name))
                           .arg(ball->state().checked)
                           .arg(ball->text(QAccessible::Name));
            }
        }
        return now;
    }

    RecordingServices services_;
    QTimer watchdog_;
    QStringList unexpectedBoxes_;
};

void MainWindowTest::initTestCase() {
    // The windows end the program through QCoreApplication::exit; a quit posted by the
    // last window closing would end a later test's event loop early.
    QApplication::setQuitOnLastWindowClosed(false);
    watchdog_.setInterval(200);
    connect(&watchdog_, &QTimer::timeout, this, [this] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            unexpectedBoxes_ << box->text() + u' ' + box->informativeText();
            box->reject();
        }
    });
}

void MainWindowTest::init() {
    unexpectedBoxes_.clear();
    watchdog_.start();
}

void MainWindowTest::cleanup() {
    watchdog_.stop();
    QVERIFY2(unexpectedBoxes_.isEmpty(), qPrintable(unexpectedBoxes_.join(u'\n')));
}

void MainWindowTest::titleAndClientAreaShowTheBoardButNotTheHiddenParts() {
    ScriptedRandom random(acceptedScript(), ScriptedRandom::AtEnd::repeat);
    auto window = makeWindow(random);
    QCOMPARE(window->windowTitle(), QStringLiteral("Kestrune 2.0.0"));
    QVERIFY(!window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(window->minimumSize(), window->maximumSize());

    const QRect client = window->rect();
    const QRect fraRed = child<QGroupBox>(window.get(), QStringLiteral("fraRed"))->geometry();
    QVERIFY(client.right() >= fraRed.right());
    QVERIFY(client.bottom() >= button(window.get(), "cmdHelp")->geometry().bottom());
    for (const char* name : {"imgRedBall", "imgBlueBall", "imgGrayBall"}) {
        QLabel* image = child<QLabel>(window.get(), QString::fromLatin1(name));
        QVERIFY(!image->isHidden());
        QVERIFY2(image->y() >= client.height(), name);
    }
}

void MainWindowTest::controlsStandWhereTheyWereDesigned() {
    ScriptedRandom random(acceptedScript(), ScriptedRandom::AtEnd::repeat);
    auto window = makeWindow(random);
    QWidget* fraRed = child<QGroupBox>(window.get(), QStringLiteral("fraRed"));
    QWidget* fraBlue = child<QGroupBox>(window.get(), QStringLiteral("fraBlue"));

    QLabel* red7 = child<QLabel>(window.get(), QStringLiteral("lblRed_7"));
    QCOMPARE(red7->parentWidget(), fraRed);
    QCOMPARE(red7->pos(), main_window::ballNumberTopLeft(BallColour::red, 7));
    QCOMPARE(red7->text(), QStringLiteral("07"));
    QCOMPARE(red7->palette().color(QPalette::WindowText), main_window::ballNumberColour);
    QCOMPARE(red7->font().pointSizeF(), main_window::ballNumberPointSize);

    QCOMPARE(child<QLabel>(window.get(), QStringLiteral("lblRed_23"))->pos(),
             main_window::ballNumberTopLeft(BallColour::red, 23));
    QCOMPARE(child<QLabel>(window.get(), QStringLiteral("imgRed_24"))->pos(),
             main_window::ballRect(BallColour::red, 24).topLeft());
    QLabel* blue16 = child<QLabel>(window.get(), QStringLiteral("lblBlue_16"));
    QCOMPARE(blue16->parentWidget(), fraBlue);
    QCOMPARE(blue16->pos(), main_window::ballNumberTopLeft(BallColour::blue, 16));
    QCOMPARE(blue16->text(), QStringLiteral("16"));

    QCOMPARE(button(window.get(), "cmdExit")->geometry(), rectOf(main_window::control("cmdExit")));
    QCOMPARE(button(window.get(), "cmdExit")->text(),
             main_window::control("cmdExit").caption.toString());
    QCOMPARE(child<StatisticsBox>(window.get(), QStringLiteral("txtData"))->geometry(),
             rectOf(main_window::control("txtData")));
}

// Captions, buttons, ball numbers and boxes share one face that writes simplified Chinese,
// so that neither the locale nor per-glyph fallback mixes faces or picks Japanese forms.
void MainWindowTest::everyTextShowsInOneSimplifiedChineseFace() {
    ScriptedRandom random(acceptedScript(), ScriptedRandom::AtEnd::repeat);
    auto window = makeWindow(random);
    QSet<QString> faces;
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        const auto* label = qobject_cast<const QLabel*>(widget);
        if (label == nullptr || !label->text().isEmpty()) {
            faces.insert(QFontInfo(widget->font()).family());
        }
    }
    QCOMPARE(faces.size(), 1);
    QVERIFY2(
        QFontDatabase::writingSystems(*faces.begin()).contains(QFontDatabase::SimplifiedChinese),
        qPrintable(*faces.begin()));
}

void MainWindowTest::labelsStayInFrontOfTheirBalls() {
    ScriptedRandom random(acceptedScript(), ScriptedRandom::AtEnd::repeat);
    auto window = makeWindow(random);
    QTest::mouseClick(button(window.get(), "cmdSelect"), Qt::LeftButton);
    for (int n = 1; n <= 33; ++n) {
        QLabel* label = child<QLabel>(window.get(), QStringLiteral("lblRed_%1").arg(n));
        QWidget* frame = label->parentWidget();
        const QPoint inside = label->geometry().center();
        QCOMPARE(frame->childAt(inside), label);
    }
}

// A reset skips what a label already has; what it lacks comes back.
void MainWindowTest::resetRestoresADisturbedLabel() {
    ScriptedRandom random(acceptedScript(), ScriptedRandom::AtEnd::repeat);
    auto window = makeWindow(random);
    QLabel* label = child<QLabel>(window.get(), QStringLiteral("lblRed_12"));
    QLabel* image = child<QLabel>(window.get(), QStringLiteral("imgRed_12"));
    const QRect placed = label->geometry();
    image->raise();
    label->setText(QStringLiteral("x"));
    label->setFont(QFont(QStringLiteral("Serif"), 30));
    label->adjustSize();
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    label->move(0, 0);

    window->resetBallLabel(kestrune::BallColour::red, 12);
    QCOMPARE(label->text(), QStringLiteral("12"));
    QCOMPARE(label->font().pointSizeF(), main_window::ballNumberPointSize);
    QCOMPARE(label->palette().color(QPalette::WindowText), main_window::ballNumberColour);
    QCOMPARE(label->geometry(), placed);
    QCOMPARE(label->parentWidget()->childAt(placed.center()), label);

    // A second reset changes nothing and leaves the label in front.
    window->resetBallLabel(kestrune::BallColour::red, 12);
    QCOMPARE(label->geometry(), placed);
    QCOMPARE(label->parentWidget()->childAt(placed.center()), label);
}

void MainWindowTest::startsAllGrayWithEmptyBoxesAndFocusOnMachinePick() {
    ScriptedRandom random(acceptedScript(), ScriptedRandom::AtEnd::repeat);
    auto window = makeWindow(random);
    QCOMPARE(ballsShowing(window.get(), "Red", 33, "imgGrayBall"), 33);
    QCOMPARE(ballsShowing(window.get(), "Blue", 16, "imgGrayBall"), 16);
    QVERIFY(child<QLineEdit>(window.get(), QStringLiteral("txtSelect"))->text().isEmpty());
    QVERIFY(child<StatisticsBox>(window.get(), QStringLiteral("txtData"))->toPlainText().isEmpty());
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QCOMPARE(QApplication::focusWidget(), button(window.get(), "cmdSelect"));
    // Its focus frame shows from the start.
    QVERIFY(window->testAttribute(Qt::WA_KeyboardFocusChange));
    QCOMPARE(random.drawn, 0);
}

// The record boxes lie outside the visible area, so the cycle leaves them out.
void MainWindowTest::tabCyclesThroughTheVisibleControlsInDesignOrder() {
    ScriptedRandom random(acceptedScript(), ScriptedRandom::AtEnd::repeat);
    auto window = makeWindow(random);
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    const QStringList cycle{"txtSelect", "cmdExit", "txtData", "cmdHelp", "cmdSelect"};
    QStringList visited;
    for (qsizetype i = 0; i < cycle.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, cycle);
}

void MainWindowTest::aClickPicksTheScriptedTicket() {
    ScriptedRandom random(acceptedScript(), ScriptedRandom::AtEnd::repeat);
    auto window = makeWindow(random);
    QTest::mouseClick(button(window.get(), "cmdSelect"), Qt::LeftButton);

    QCOMPARE(random.drawn, 16);
    QCOMPARE(random.reseeds, 16);
    QCOMPARE(child<QLineEdit>(window.get(), QStringLiteral("txtSelect"))->text(),
             QStringLiteral("03 07 12 19 25 31 08"));
    const QString statistics =
        child<StatisticsBox>(window.get(), QStringLiteral("txtData"))->toPlainText();
    QCOMPARE(statistics.split(u'\n'),
             (QStringList{"奇偶比：5:1", "大小比：3:3", "质合比：4:2", "AC值：8", "总和：97",
                          "尾和：27", "跨距：28", "三段分布：222"}));
    QVERIFY(!statistics.contains(u'\r'));

    QCOMPARE(ballsShowing(window.get(), "Red", 33, "imgRedBall"), 6);
    QCOMPARE(ballsShowing(window.get(), "Red", 33, "imgGrayBall"), 27);
    QCOMPARE(ballsShowing(window.get(), "Blue", 16, "imgBlueBall"), 1);
    for (const int n : {3, 7, 12, 19, 25, 31}) {
        QCOMPARE(pictureKey(window.get(), QStringLiteral("imgRed_%1").arg(n)),
                 pictureKey(window.get(), QStringLiteral("imgRedBall")));
    }
    QCOMPARE(pictureKey(window.get(), QStringLiteral("imgBlue_8")),
             pictureKey(window.get(), QStringLiteral("imgBlueBall")));
    QVERIFY(!window->selection().busy());
}

void MainWindowTest::statisticsLinesShowWholeInEveryChineseFace_data() {
    QTest::addColumn<QString>("family");
    QTest::newRow("the window's own face") << QString();
    const QStringList families = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    for (const QString& family : families) {
        QTest::newRow(qPrintable(family)) << family;
    }
    if (families.isEmpty()) {
        QTest::newRow("no face for simplified Chinese is installed") << QStringLiteral("?");
    }
}

// Each of the eight lines stays on one line, and its glyphs lie whole inside the box and
// clear of the next line's, whatever face the box uses (same size).
void MainWindowTest::statisticsLinesShowWholeInEveryChineseFace() {
    QFETCH(QString, family);
    QVERIFY2(family != QStringLiteral("?"), "install fonts-noto-cjk or fonts-wqy-microhei");
    ScriptedRandom random(acceptedScript(), ScriptedRandom::AtEnd::repeat);
    auto window = makeWindow(random);
    auto* txtData = child<StatisticsBox>(window.get(), QStringLiteral("txtData"));
    if (!family.isEmpty()) {
        QFont font = txtData->font();
        font.setFamilies({family});
        txtData->setFont(font);
    }
    QTest::mouseClick(button(window.get(), "cmdSelect"), Qt::LeftButton);

    const QFontMetricsF metrics(txtData->font());
    const QRectF viewport = txtData->viewport()->rect();
    qreal previousBottom = viewport.top();
    int lines = 0;
    for (QTextBlock block = txtData->document()->begin(); block.isValid();
         block = block.next(), ++lines) {
        QVERIFY2(block.layout()->lineCount() == 1, qPrintable(block.text()));
        const QTextLine line = block.layout()->lineAt(0);
        const QRect cursor = txtData->cursorRect(QTextCursor(block));
        const QRectF ink = metrics.tightBoundingRect(block.text())
                               .translated(cursor.left(), cursor.top() + line.ascent());
        const QString where = QStringLiteral("%1: glyphs at %2..%3, box 0..%4")
                                  .arg(block.text())
                                  .arg(ink.top())
                                  .arg(ink.bottom())
                                  .arg(viewport.height());
        QVERIFY2(viewport.contains(ink), qPrintable(where));
        QVERIFY2(ink.top() >= previousBottom, qPrintable(where));
        previousBottom = ink.bottom();
    }
    QCOMPARE(lines, statisticsLineCount);
}

void MainWindowTest::typingIntoTheBoxesChangesNothingButCopyWorks() {
    ScriptedRandom random(acceptedScript(), ScriptedRandom::AtEnd::repeat);
    auto window = makeWindow(random);
    QTest::mouseClick(button(window.get(), "cmdSelect"), Qt::LeftButton);
    auto* txtSelect = child<QLineEdit>(window.get(), QStringLiteral("txtSelect"));
    auto* txtData = child<StatisticsBox>(window.get(), QStringLiteral("txtData"));
    const QString statistics = txtData->toPlainText();

    txtSelect->setFocus();
    QTest::keyClicks(txtSelect, QStringLiteral("99"));
    QTest::keyClick(txtSelect, Qt::Key_Backspace);
    QCOMPARE(txtSelect->text(), QStringLiteral("03 07 12 19 25 31 08"));
    txtData->setFocus();
    QTest::keyClicks(txtData, QStringLiteral("xyz"));
    QTest::keyClick(txtData, Qt::Key_Delete);
    QCOMPARE(txtData->toPlainText(), statistics);

    txtSelect->selectAll();
    QCOMPARE(txtSelect->selectedText(), QStringLiteral("03 07 12 19 25 31 08"));
}

void MainWindowTest::aSecondPressDuringAPickIsDropped_data() {
    QTest::addColumn<int>("attempt");
    QTest::addColumn<QString>("press");
    QTest::addRow("a click at the first attempt") << 1 << "click";
    QTest::addRow("a click at the third attempt") << 3 << "click";
    QTest::addRow("Return at the third attempt") << 3 << "Return";
    QTest::addRow("Space at the fourth attempt") << 4 << "Space";
}

// Pressed again while the pick runs, at whatever attempt, 机选 starts nothing, changes
// nothing on the board or in the boxes, and tells a screen reader nothing; the running pick
// goes on to its ticket.
void MainWindowTest::aSecondPressDuringAPickIsDropped() {
    QFETCH(int, attempt);
    QFETCH(QString, press);
    std::vector<float> script;
    for (int rejected = 1; rejected < attempt; ++rejected) {
        const auto once = rejectedForeverScript();
        script.insert(script.end(), once.begin(), once.end());
    }
    const auto accepted = acceptedScript();
    script.insert(script.end(), accepted.begin(), accepted.end());
    ScriptedRandom random(script);
    auto window = makeWindow(random);
    QPushButton* cmdSelect = button(window.get(), "cmdSelect");
    cmdSelect->setFocus();
    const int drawnBefore = 8 * (attempt - 1);
    QStringList before;
    QStringList after;
    // A zero timer fires whenever the pick lets events run, at the head of every attempt.
    QTimer presser;
    presser.setInterval(0);
    connect(&presser, &QTimer::timeout, window.get(), [&] {
        if (random.drawn != drawnBefore || !before.isEmpty()) {
            return;
        }
        before = windowNow(window.get());
        if (press == "click") {
            QTest::mouseClick(cmdSelect, Qt::LeftButton);
        } else {
            QTest::keyClick(cmdSelect, press == "Return" ? Qt::Key_Return : Qt::Key_Space);
        }
        after = windowNow(window.get());
    });
    presser.start();
    QTest::mouseClick(cmdSelect, Qt::LeftButton);
    presser.stop();
    QVERIFY(!before.isEmpty());
    QCOMPARE(after, before);
    QCOMPARE(random.drawn, int(script.size())); // only the first pick drew
    QCOMPARE(child<QLineEdit>(window.get(), QStringLiteral("txtSelect"))->text(),
             QStringLiteral("03 07 12 19 25 31 08"));
}

void MainWindowTest::theWindowShowsEachRejectedTicketWhileThePickRuns() {
    ScriptedRandom random(rejectedForeverScript(), ScriptedRandom::AtEnd::repeat);
    auto window = makeWindow(random);
    auto* txtSelect = child<QLineEdit>(window.get(), QStringLiteral("txtSelect"));
    // A zero timer fires whenever the pick lets events run, at the head of every attempt.
    QStringList seen;
    QList<int> redBallsSeen;
    QTimer watcher;
    watcher.setInterval(0);
    connect(&watcher, &QTimer::timeout, window.get(), [&] {
        seen << txtSelect->text();
        redBallsSeen << ballsShowing(window.get(), "Red", 33, "imgRedBall");
        if (seen.size() == 4) {
            button(window.get(), "cmdExit")->click();
        }
    });
    watcher.start();
    QTest::mouseClick(button(window.get(), "cmdSelect"), Qt::LeftButton);
    watcher.stop();
    QCOMPARE(seen, (QStringList{"", "01 02 03 04 05 07 01", "01 02 03 04 05 07 01",
                                "01 02 03 04 05 07 01"}));
    QCOMPARE(redBallsSeen, (QList<int>{0, 6, 6, 6}));
    QCOMPARE(random.drawn, 3 * 8);
}

void MainWindowTest::exitInTheMiddleOfAPickEndsAtOnceWithStatusZero() {
    ScriptedRandom random(rejectedForeverScript(), ScriptedRandom::AtEnd::repeat);
    auto window = makeWindow(random);
    int drawnAtExit = -1;
    random.onValue = [&](int drawn) {
        if (drawn == 8 * 5) {
            QTimer::singleShot(0, window.get(), [&] {
                drawnAtExit = random.drawn;
                button(window.get(), "cmdExit")->click();
            });
        }
    };
    QTimer::singleShot(0, window.get(), [&] {
        QTest::mouseClick(button(window.get(), "cmdSelect"), Qt::LeftButton);
    });
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(drawnAtExit, 8 * 6);
    QCOMPARE(random.drawn, drawnAtExit); // no attempt after exit
    QVERIFY(window->isEnding());
    QVERIFY(!window->isVisible());
    QVERIFY(!window->selection().busy());
}

void MainWindowTest::theCloseBoxInTheMiddleOfAPickEndsTheSameWay() {
    ScriptedRandom random(rejectedForeverScript(), ScriptedRandom::AtEnd::repeat);
    auto window = makeWindow(random);
    int drawnAtClose = -1;
    random.onValue = [&](int drawn) {
        if (drawn == 8 * 2) {
            QTimer::singleShot(0, window.get(), [&] {
                drawnAtClose = random.drawn;
                window->close();
            });
        }
    };
    QTimer::singleShot(0, window.get(), [&] {
        QTest::mouseClick(button(window.get(), "cmdSelect"), Qt::LeftButton);
    });
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(random.drawn, drawnAtClose);
    QVERIFY(!window->isVisible());
}

void MainWindowTest::clicksOnBallsAndLabelsChangeNothing() {
    ScriptedRandom random(acceptedScript(), ScriptedRandom::AtEnd::repeat);
    auto window = makeWindow(random);
    QTest::mouseClick(button(window.get(), "cmdSelect"), Qt::LeftButton);
    const QString text = child<QLineEdit>(window.get(), QStringLiteral("txtSelect"))->text();
    for (const QString& name : {QStringLiteral("imgRed_3"), QStringLiteral("lblRed_3"),
                                QStringLiteral("imgBlue_8"), QStringLiteral("lblBlue_1")}) {
        QTest::mouseClick(child<QLabel>(window.get(), name), Qt::LeftButton);
    }
    QCOMPARE(ballsShowing(window.get(), "Red", 33, "imgRedBall"), 6);
    QCOMPARE(ballsShowing(window.get(), "Blue", 16, "imgBlueBall"), 1);
    QCOMPARE(child<QLineEdit>(window.get(), QStringLiteral("txtSelect"))->text(), text);
    QCOMPARE(random.drawn, 16);
}

void MainWindowTest::anErrorInAPickIsShownAndTheProgramGoesOn() {
    // 1.0 is outside what a random source may return: the red index would be 34.
    std::vector<float> script{1.0f};
    const auto accepted = acceptedScript();
    script.insert(script.end(), accepted.begin(), accepted.end());
    ScriptedRandom random(script, ScriptedRandom::AtEnd::repeat);
    auto window = makeWindow(random);

    QString shown;
    random.onValue = [&](int drawn) {
        if (drawn != 0) {
            return;
        }
        // Fires in the message box's own event loop.
        QTimer::singleShot(0, window.get(), [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box != nullptr) {
                shown = box->text() + u'\n' + box->informativeText();
                box->accept();
            }
        });
    };
    QTest::mouseClick(button(window.get(), "cmdSelect"), Qt::LeftButton);
    QVERIFY2(shown.contains(QStringLiteral("机选")), qPrintable(shown));
    // It says what went wrong: the engine's own words for the value it refused.
    QString engineSays;
    try {
        kestrune::ballIndex(1.0f, 33);
    } catch (const std::exception& error) {
        engineSays = QString::fromLocal8Bit(error.what());
    }
    QVERIFY(!engineSays.isEmpty());
    QVERIFY2(shown.contains(engineSays), qPrintable(shown));
    QVERIFY(!window->selection().busy());

    QTest::mouseClick(button(window.get(), "cmdSelect"), Qt::LeftButton);
    QCOMPARE(child<QLineEdit>(window.get(), QStringLiteral("txtSelect"))->text(),
             QStringLiteral("03 07 12 19 25 31 08"));
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
