// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window from the keyboard and as a screen reader sees it through QAccessible: one
// object per ball, named boxes, nothing hidden in the tree, no flood of events during a pick,
// and the keys that press the buttons. The help window's links are tested with the window.

#include "help/frm_help.h"
#include "main/frm_main.h"
#include "platform/platform_services.h"
#include "window_fakes.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

using namespace kestrune;
using namespace kestrune::ui;
using namespace kestrune::testing;

namespace {

const QString acceptedTicket = QStringLiteral("03 07 12 19 25 31 08");

// The values that pick the ticket, written as the ticket field shows it, at the first attempt.
std::vector<float> scriptFor(const QString& ticket) {
    std::vector<float> script;
    const QStringList numbers = ticket.split(u' ');
    for (qsizetype i = 0; i < 6; ++i) {
        script.push_back(valueFor(numbers[i].toInt(), 33));
    }
    const std::vector<float> rest = acceptedAtOnce({}, numbers[6].toInt());
    script.insert(script.end(), rest.begin(), rest.end());
    return script;
}

// What a screen reader hears once a pick accepts the ticket.
QString newsOf(const QString& ticket) {
    return QStringLiteral("红球 %1，蓝球 %2").arg(ticket.left(17), ticket.right(2));
}

// A ball's object name ("imgRed_3") and its accessible name when (un)marked.
QString ballName(const QString& ball, bool marked) {
    const QStringList parts = ball.mid(3).split(u'_');
    return QStringLiteral("%1 %2%3")
        .arg(parts[0] == QLatin1String("Red") ? QStringLiteral("红球") : QStringLiteral("蓝球"))
        .arg(parts[1].toInt(), 2, 10, QLatin1Char('0'))
        .arg(marked ? QStringLiteral(" 已选中") : QString());
}

// Every accessible object under `root`, depth first.
QList<QAccessibleInterface*> tree(QAccessibleInterface* root) {
    QList<QAccessibleInterface*> all{root};
    for (int i = 0; i < root->childCount(); ++i) {
        all << tree(root->child(i));
    }
    return all;
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void theTreeHoldsOneObjectPerBallAndNothingHidden();
    void aPickReportsItsTicketOnceWhenItEnds();
    void aSecondPickLeavesNoMarkOfTheFirst();
    void theTicketFieldReadsInParts();
    void theBoxesReadWholeAndFromTheTop();
    void keysPressTheButtons_data();
    void keysPressTheButtons();
    void theFocusOnMachinePickShowsAtStart();
    void theTicketFieldTellsItsFocusAlone();
    void aPickTellsEachChangeOnceWhenItEnds_data();
    void aPickTellsEachChangeOnceWhenItEnds();
    void aPickThatEndsOtherwiseTellsNoNews_data();
    void aPickThatEndsOtherwiseTellsNoNews();

private:
    std::unique_ptr<frmMain> makeWindow() {
        auto window = std::make_unique<frmMain>(random_, services_);
        window->show();
        if (!QTest::qWaitForWindowActive(window.get())) {
            qWarning("the main window did not become active");
        }
        return window;
    }

    template <typename T = QWidget> static T* child(QWidget* window, const char* name) {
        return window->findChild<T*>(QString::fromLatin1(name));
    }

    // Each ball is checked, and its name ends in "已选中", exactly when the ticket holds it.
    static void compareMarks(QWidget* window, const QString& ticket) {
        const QStringList picked = ticket.split(u' ');
        for (const auto& [colour, count] : {std::pair{"Red", 33}, std::pair{"Blue", 16}}) {
            for (int n = 1; n <= count; ++n) {
                const QString name = QStringLiteral("img%1_%2").arg(QLatin1String(colour)).arg(n);
                QAccessibleInterface* ball =
                    QAccessible::queryAccessibleInterface(child(window, qPrintable(name)));
                const QString number = QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
                const bool marked = std::string_view(colour) == "Red"
                                        ? picked.mid(0, 6).contains(number)
                                        : picked.last() == number;
                QVERIFY2(ball->state().checked == marked, qPrintable(name));
                QVERIFY2(ball->text(QAccessible::Name).endsWith(QStringLiteral(" 已选中")) ==
                             marked,
                         qPrintable(name));
            }
        }
    }

    ScriptedRandom random_{rejectedThenAccepted(), ScriptedRandom::AtEnd::repeat};
    RecordingServices services_;
};

void AccessibilityTest::initTestCase() {
    QVERIFY2(AccessibilitySpy::install(), "this platform has no accessibility to spy on");
    QApplication::setQuitOnLastWindowClosed(false);
}

void AccessibilityTest::init() {
    random_ = ScriptedRandom(rejectedThenAccepted(), ScriptedRandom::AtEnd::repeat);
    // A case that ended the program outside the application's loop leaves Qt's quit pending,
    // and the next loop (a message box's) would return at once; one round of the application's
    // own loop takes it.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QApplication::exec();
}

void AccessibilityTest::theTreeHoldsOneObjectPerBallAndNothingHidden() {
    auto window = makeWindow();
    QStringList names;
    QStringList objects;
    for (QAccessibleInterface* node : tree(QAccessible::queryAccessibleInterface(window.get()))) {
        names << node->text(QAccessible::Name);
        objects << node->object()->objectName();
        // A screen reader stops on whatever is shown; nothing shown goes without a name.
        QVERIFY2(node->state().invisible || !names.last().isEmpty(),
                 qPrintable(node->object()->objectName()));
    }
    const QRegularExpression hidden(QStringLiteral("^(txtRecord_|lblRed_|lblBlue_|img.*Ball$)"));
    QCOMPARE(objects.filter(hidden), QStringList());
    QVERIFY(names.contains(QStringLiteral("机选号码")));
    QVERIFY(names.contains(QStringLiteral("号码统计")));

    for (const auto& [frame, count, prefix] :
         {std::tuple{"fraRed", 33, "红球"}, std::tuple{"fraBlue", 16, "蓝球"}}) {
        QAccessibleInterface* board =
            QAccessible::queryAccessibleInterface(child(window.get(), frame));
        QCOMPARE(board->childCount(), count);
        for (int n = 1; n <= count; ++n) {
            QAccessibleInterface* ball = board->child(n - 1);
            QCOMPARE(ball->text(QAccessible::Name), QStringLiteral("%1 %2")
                                                        .arg(QString::fromUtf8(prefix))
                                                        .arg(n, 2, 10, QLatin1Char('0')));
            QCOMPARE(ball->role(), QAccessible::Graphic);
            QVERIFY(ball->state().checkable);
            QVERIFY(!ball->state().checked);
            // The number drawn over the ball is part of it: the point finds the ball.
            const QPoint number =
                child(window.get(), qPrintable(ball->object()->objectName().replace(
                                        QStringLiteral("img"), QStringLiteral("lbl"))))
                    ->mapToGlobal(QPoint(2, 2));
            QCOMPARE(board->childAt(number.x(), number.y())->object(), ball->object());
        }
    }
}

// The board changes at every attempt, but assistive technology hears of the marks, the
// ticket and the statistics only when the pick ends, and of txtSelect once per attempt.
void AccessibilityTest::aPickReportsItsTicketOnceWhenItEnds() {
    auto window = makeWindow();
    QWidget* cmdSelect = child(window.get(), "cmdSelect");
    QWidget* red1 = child(window.get(), "imgRed_1");
    QList<bool> red1CheckedDuringPick;
    QTimer watcher;
    watcher.setInterval(0);
    connect(&watcher, &QTimer::timeout, window.get(), [&] {
        if (window->selection().busy()) {
            red1CheckedDuringPick << QAccessible::queryAccessibleInterface(red1)->state().checked;
        }
    });
    watcher.start();
    // Every change of a box reaches a screen reader as an edit.
    QSignalSpy selectEdits(child<QLineEdit>(window.get(), "txtSelect"), &QLineEdit::textChanged);
    QSignalSpy dataEdits(child<QTextEdit>(window.get(), "txtData"), &QTextEdit::textChanged);
    QTest::mouseClick(qobject_cast<QPushButton*>(cmdSelect), Qt::LeftButton);
    watcher.stop();
    QCOMPARE(random_.drawn, 8 + 16);
    // The first attempt marked red 1; it was never reported.
    QCOMPARE(red1CheckedDuringPick, (QList<bool>{false, false}));

    const auto attempts = 2;
    compareMarks(window.get(), acceptedTicket);
    if (QTest::currentTestFailed()) {
        return;
    }
    QWidget* txtSelect = child(window.get(), "txtSelect");
    QCOMPARE(qobject_cast<QLineEdit*>(txtSelect)->text(), acceptedTicket);
    QVERIFY2(selectEdits.size() <= attempts, qPrintable(QString::number(selectEdits.size())));
    QVERIFY2(dataEdits.size() <= 1, qPrintable(QString::number(dataEdits.size())));
    // What a screen reader speaks without a focus change: the notification's words.
    QWidget* news = child(window.get(), "pickNews");
    QCOMPARE(news->isVisible(), notificationShows);
    QAccessibleInterface* newsInterface = QAccessible::queryAccessibleInterface(news);
    QCOMPARE(newsInterface->role(), QAccessible::Notification);
    QCOMPARE(newsInterface->text(QAccessible::Name),
             QStringLiteral("红球 03 07 12 19 25 31，蓝球 08"));
}

// What the first pick marked and announced is undone by a second pick of another ticket,
// where that ticket does not hold it; a ball both hold stays marked.
void AccessibilityTest::aSecondPickLeavesNoMarkOfTheFirst() {
    std::vector<float> script = acceptedAtOnce({3, 7, 12, 19, 25, 31}, 8);
    const std::vector<float> second = acceptedAtOnce({1, 12, 20, 26, 30, 33}, 16);
    script.insert(script.end(), second.begin(), second.end());
    random_ = ScriptedRandom(script);
    auto window = makeWindow();
    auto* cmdSelect = child<QPushButton>(window.get(), "cmdSelect");
    QTest::mouseClick(cmdSelect, Qt::LeftButton);
    QCOMPARE(child<QLineEdit>(window.get(), "txtSelect")->text(), acceptedTicket);
    QTest::mouseClick(cmdSelect, Qt::LeftButton);

    const QString secondTicket = QStringLiteral("01 12 20 26 30 33 16");
    QCOMPARE(child<QLineEdit>(window.get(), "txtSelect")->text(), secondTicket);
    compareMarks(window.get(), secondTicket);
    if (QTest::currentTestFailed()) {
        return;
    }
    QAccessibleTextInterface* ticket =
        QAccessible::queryAccessibleInterface(child(window.get(), "txtSelect"))->textInterface();
    QCOMPARE(ticket->text(0, ticket->characterCount()), secondTicket);
    QCOMPARE(QAccessible::queryAccessibleInterface(child(window.get(), "pickNews"))
                 ->text(QAccessible::Name),
             QStringLiteral("红球 01 12 20 26 30 33，蓝球 16"));
}

// A screen reader reads the ticket field in parts as well: a range, a word, a character,
// the selection; and finds a character by its place on the screen.
void AccessibilityTest::theTicketFieldReadsInParts() {
    auto window = makeWindow();
    QTest::mouseClick(child<QPushButton>(window.get(), "cmdSelect"), Qt::LeftButton);
    auto* line = child<QLineEdit>(window.get(), "txtSelect");
    QAccessibleTextInterface* ticket = QAccessible::queryAccessibleInterface(line)->textInterface();
    QVERIFY(ticket != nullptr);
    struct Range {
        int start;
        int end;
        const char* text;
    };
    for (const auto& [start, end, text] :
         {Range{0, 2, "03"}, Range{3, 5, "07"}, Range{2, 3, " "}, Range{18, 20, "08"},
          Range{6, 14, "12 19 25"}, Range{5, 5, ""}}) {
        QCOMPARE(ticket->text(start, end), QString::fromLatin1(text));
    }

    int start = -1;
    int end = -1;
    QCOMPARE(ticket->textAtOffset(4, QAccessible::WordBoundary, &start, &end),
             QStringLiteral("07"));
    QCOMPARE(std::pair(start, end), std::pair(3, 5));
    QCOMPARE(ticket->textAtOffset(19, QAccessible::CharBoundary, &start, &end),
             QStringLiteral("8"));
    QCOMPARE(std::pair(start, end), std::pair(19, 20));

    ticket->setSelection(0, 6, 11);
    QCOMPARE(line->selectedText(), QStringLiteral("12 19"));
    QCOMPARE(ticket->selectionCount(), 1);
    ticket->selection(0, &start, &end);
    QCOMPARE(std::pair(start, end), std::pair(6, 11));
    ticket->removeSelection(0);
    QCOMPARE(ticket->selectionCount(), 0);

    // A point in the first quarter of a character is nearest the boundary before it.
    for (int offset = 0; offset < ticket->characterCount(); ++offset) {
        const QRect character = ticket->characterRect(offset);
        const QPoint inside(character.left() + character.width() / 4, character.center().y());
        QCOMPARE(ticket->offsetAtPoint(inside), offset);
    }
}

// Orca reads a text run by run and drops the last character of an empty run; the ticket
// field is one run. The statistics box is read from its first line after a pick.
void AccessibilityTest::theBoxesReadWholeAndFromTheTop() {
    auto window = makeWindow();
    QTest::mouseClick(child<QPushButton>(window.get(), "cmdSelect"), Qt::LeftButton);
    QAccessibleTextInterface* ticket =
        QAccessible::queryAccessibleInterface(child(window.get(), "txtSelect"))->textInterface();
    QVERIFY(ticket != nullptr);
    QCOMPARE(ticket->text(0, ticket->characterCount()), acceptedTicket);
    for (int offset : {0, 10, 19}) {
        int start = -1;
        int end = -1;
        ticket->attributes(offset, &start, &end);
        QCOMPARE(std::pair(start, end), std::pair(0, 20));
    }
    QVERIFY(ticket->characterRect(19).isValid());
    QCOMPARE(child<QTextEdit>(window.get(), "txtData")->textCursor().position(), 0);
    QCOMPARE(QAccessible::queryAccessibleInterface(window.get())->text(QAccessible::Name),
             window->windowTitle() + QStringLiteral(" 彩票机选"));
}

void AccessibilityTest::keysPressTheButtons_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("outcome");
    const Qt::KeyboardModifiers none;
    QTest::addRow("Return on 机选 picks") << "cmdSelect" << int(Qt::Key_Return) << none << "pick";
    QTest::addRow("keypad Enter on 机选 picks")
        << "cmdSelect" << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier) << "pick";
    QTest::addRow("Space on 机选 picks") << "cmdSelect" << int(Qt::Key_Space) << none << "pick";
    QTest::addRow("Return on 帮助 opens help")
        << "cmdHelp" << int(Qt::Key_Return) << none << "help";
    QTest::addRow("F1 opens help") << "cmdSelect" << int(Qt::Key_F1) << none << "help";
    QTest::addRow("Return on 退出 ends") << "cmdExit" << int(Qt::Key_Return) << none << "end";
    QTest::addRow("Ctrl+Q ends") << "cmdSelect" << int(Qt::Key_Q)
                                 << Qt::KeyboardModifiers(Qt::ControlModifier) << "end";
    QTest::addRow("Shift+Return on 机选 does nothing")
        << "cmdSelect" << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ShiftModifier)
        << "nothing";
}

void AccessibilityTest::keysPressTheButtons() {
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, outcome);
    auto window = makeWindow();
    QWidget* target = child(window.get(), qPrintable(focus));
    target->setFocus();
    bool helpOpened = false;
    QTimer closer;
    closer.setInterval(10);
    connect(&closer, &QTimer::timeout, window.get(), [&] {
        if (auto* help = qobject_cast<frmHelp*>(QApplication::activeModalWidget())) {
            helpOpened = true;
            help->close();
        }
    });
    closer.start();
    QTest::keyClick(window->windowHandle(), Qt::Key(key), modifiers);
    closer.stop();

    if (outcome == "pick" || outcome == "nothing") {
        QCOMPARE(QApplication::focusWidget(), target);
    }
    QCOMPARE(qobject_cast<QLineEdit*>(child(window.get(), "txtSelect"))->text(),
             outcome == "pick" ? acceptedTicket : QString());
    QCOMPARE(helpOpened, outcome == "help");
    QCOMPARE(window->isEnding(), outcome == "end");
}

// Before any key is pressed, the focus on 机选 shows.
void AccessibilityTest::theFocusOnMachinePickShowsAtStart() {
    auto window = makeWindow();
    auto* cmdSelect = child<QPushButton>(window.get(), "cmdSelect");
    QCOMPARE(QApplication::focusWidget(), cmdSelect);
    const QImage focused = cmdSelect->grab().toImage();
    window->setFocus();
    QVERIFY(cmdSelect->grab().toImage() != focused);
}

// Tab into the ticket field and out again reaches a screen reader as the focus alone: the
// selection and caret moves that come with the focus are no news (Orca would take a caret move
// for the focus arriving, and then say nothing of the focus itself).
void AccessibilityTest::theTicketFieldTellsItsFocusAlone() {
    auto window = makeWindow();
    QTest::mouseClick(child<QPushButton>(window.get(), "cmdSelect"), Qt::LeftButton);
    auto* line = child<QLineEdit>(window.get(), "txtSelect");
    AccessibilitySpy::clear();
    QTest::keyClick(window->windowHandle(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), line);
    QVERIFY(line->hasSelectedText());
    QTest::keyClick(window->windowHandle(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdExit"));
    QCOMPARE(AccessibilitySpy::toldAbout(QStringLiteral("txtSelect")),
             QStringList{QStringLiteral("txtSelect focused")});
}

// What a pick changes reaches assistive technology as events, once, when the pick ends: for each
// ball whose mark changed its checked state and its new name, for the ticket field one update
// from its old text to its new one, and the accepted ticket as news. Nothing is told during the
// pick, whose first attempt is rejected here; nothing about a ball whose mark stays.
void AccessibilityTest::aPickTellsEachChangeOnceWhenItEnds_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("ticket");
    QTest::addColumn<QStringList>("marked");
    QTest::addColumn<QStringList>("unmarked");
    QTest::newRow("the first pick")
        << QString() << acceptedTicket
        << QStringList{"imgRed_3",  "imgRed_7",  "imgRed_12", "imgRed_19",
                       "imgRed_25", "imgRed_31", "imgBlue_8"}
        << QStringList{};
    QTest::newRow("a pick of another ticket")
        << acceptedTicket << QStringLiteral("01 12 20 26 30 33 16")
        << QStringList{"imgRed_1", "imgRed_20", "imgRed_26", "imgRed_30", "imgRed_33", "imgBlue_16"}
        << QStringList{"imgRed_3", "imgRed_7", "imgRed_19", "imgRed_25", "imgRed_31", "imgBlue_8"};
    QTest::newRow("the same ticket again")
        << acceptedTicket << acceptedTicket << QStringList{} << QStringList{};
}

void AccessibilityTest::aPickTellsEachChangeOnceWhenItEnds() {
    QFETCH(QString, before);
    QFETCH(QString, ticket);
    QFETCH(QStringList, marked);
    QFETCH(QStringList, unmarked);
    std::vector<float> script = before.isEmpty() ? std::vector<float>{} : scriptFor(before);
    const std::vector<float> rejected = rejectedAtRow({1, 2, 3, 4, 5, 7}, 1, 1);
    script.insert(script.end(), rejected.begin(), rejected.end());
    const std::vector<float> accepted = scriptFor(ticket);
    script.insert(script.end(), accepted.begin(), accepted.end());
    random_ = ScriptedRandom(script);
    auto window = makeWindow();
    auto* cmdSelect = child<QPushButton>(window.get(), "cmdSelect");
    if (!before.isEmpty()) {
        QTest::mouseClick(cmdSelect, Qt::LeftButton);
        QCOMPARE(child<QLineEdit>(window.get(), "txtSelect")->text(), before);
    }
    AccessibilitySpy::clear();
    const QString watched = QStringLiteral("img(Red|Blue)_\\d+|txtSelect");
    QStringList toldDuringThePick;
    QTimer watcher;
    watcher.setInterval(0);
    connect(&watcher, &QTimer::timeout, window.get(), [&] {
        if (window->selection().busy()) {
            toldDuringThePick << AccessibilitySpy::toldAbout(watched) << AccessibilitySpy::news();
        }
    });
    watcher.start();
    QTest::mouseClick(cmdSelect, Qt::LeftButton);
    watcher.stop();
    QCOMPARE(random_.valuesLeft(), std::size_t(0));
    QCOMPARE(toldDuringThePick, QStringList());

    QStringList expected;
    for (const QString& ball : marked) {
        expected << ball + QStringLiteral(" checked changed")
                 << ball + QStringLiteral(" named ") + ballName(ball, true);
    }
    for (const QString& ball : unmarked) {
        expected << ball + QStringLiteral(" checked changed")
                 << ball + QStringLiteral(" named ") + ballName(ball, false);
    }
    if (before != ticket) {
        expected << QStringLiteral("txtSelect text \"%1\" -> \"%2\"").arg(before, ticket);
    }
    QStringList told = AccessibilitySpy::toldAbout(watched);
    told.sort();
    expected.sort();
    QCOMPARE(told, expected);
    QCOMPARE(AccessibilitySpy::news(), QStringList{newsOf(ticket)});
}

// A pick that ends in an error or is left when the program ends tells no ticket, and the news of
// an earlier pick is gone once the next pick starts. The error is reported as an alert.
void AccessibilityTest::aPickThatEndsOtherwiseTellsNoNews_data() {
    QTest::addColumn<bool>("afterAPick");
    QTest::addColumn<QString>("ending");
    QTest::newRow("an error in the first pick") << false << "error";
    QTest::newRow("an error right after an accepted pick") << true << "error";
    QTest::newRow("exit in the middle of the first pick") << false << "exit";
    QTest::newRow("exit in the middle of the next pick") << true << "exit";
}

void AccessibilityTest::aPickThatEndsOtherwiseTellsNoNews() {
    QFETCH(bool, afterAPick);
    QFETCH(QString, ending);
    std::vector<float> script = afterAPick ? scriptFor(acceptedTicket) : std::vector<float>{};
    const std::size_t firstPick = script.size();
    if (ending == QLatin1String("error")) {
        // 1.0 is outside what a random source may return.
        script.push_back(1.0f);
    } else {
        for (int attempt = 0; attempt < 5; ++attempt) {
            const std::vector<float> rejected = rejectedAtRow({1, 2, 3, 4, 5, 7}, 1, 1);
            script.insert(script.end(), rejected.begin(), rejected.end());
        }
    }
    random_ = ScriptedRandom(script);
    auto window = makeWindow();
    auto* cmdSelect = child<QPushButton>(window.get(), "cmdSelect");
    QWidget* news = child(window.get(), "pickNews");
    if (afterAPick) {
        QTest::mouseClick(cmdSelect, Qt::LeftButton);
        QCOMPARE(AccessibilitySpy::news(), QStringList{newsOf(acceptedTicket)});
    }
    AccessibilitySpy::clear();

    bool newsShownAtTheEnd = true;
    if (ending == QLatin1String("error")) {
        QTimer answer;
        answer.setInterval(10);
        connect(&answer, &QTimer::timeout, window.get(), [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                newsShownAtTheEnd = news->isVisible();
                box->accept();
            }
        });
        answer.start();
        QTest::mouseClick(cmdSelect, Qt::LeftButton);
        QCOMPARE(AccessibilitySpy::toldAbout(QStringLiteral("errorBox"))
                     .filter(QStringLiteral(" alert"))
                     .size(),
                 1);
    } else {
        random_.onValue = [&](int drawn) {
            if (drawn == int(firstPick) + 8 * 2) {
                QTimer::singleShot(0, window.get(), [&] {
                    newsShownAtTheEnd = news->isVisible();
                    child<QPushButton>(window.get(), "cmdExit")->click();
                });
            }
        };
        QTimer::singleShot(0, window.get(), [&] { QTest::mouseClick(cmdSelect, Qt::LeftButton); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(window->isEnding());
    }
    QVERIFY(!newsShownAtTheEnd);
    QCOMPARE(AccessibilitySpy::news(), QStringList());
    QVERIFY(!window->selection().busy());
}

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
