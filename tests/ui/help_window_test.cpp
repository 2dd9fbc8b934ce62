// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The help window itself: its layout held against the design, its lines and their looks, cmdOk
// and the keys, the hover colouring of the lines, and its modal opening. What its links do is in
// help_links_test.cpp. Cases that differ only in their data are rows of one table.

#include "common/control_layout.h"
#include "common/fonts.h"
#include "common/twips.h"
#include "help/frm_help.h"
#include "help/help_window_layout.h"
#include "help/publisher.h"
#include "help_window_helpers.h"
#include "main/frm_main.h"
#include "platform/platform_services.h"
#include "window_fakes.h"

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <functional>

using namespace kestrune::testing;
using kestrune::ui::ControlLayout;
using kestrune::ui::frmHelp;
using kestrune::ui::sizeFromTwips;
namespace help_window = kestrune::ui::help_window;
namespace publisher = kestrune::ui::publisher;

namespace {

bool isExampleDomain(const QString& host) {
    for (const char* reserved : {"example.com", "example.org", "example.net"}) {
        const QLatin1String name(reserved);
        if (host == name || host.endsWith(QLatin1Char('.') + name)) {
            return true;
        }
    }
    return false;
}

// The lines' colours as letters, one a line: s the start colour, G green and underlined, K
// black. Any other colour, or an underline on another colour, shows as another letter.
QString colourLetters(const QWidget& window) {
    QString letters;
    for (int index = 0; index < kestrune::ui::helpLineCount; ++index) {
        const QLabel* label = information(window, index);
        const QColor colour = textColour(label);
        const bool underlined = label->font().underline();
        const QChar letter = colour == green         ? (underlined ? u'G' : u'g')
                             : underlined            ? u'_'
                             : colour == black       ? u'K'
                             : colour == startColour ? u's'
                                                     : u'?';
        letters += letter;
    }
    return letters;
}

// One step of the pointer, as the hover table writes it (see pointerMovesColourTheLines_data).
void pointerStep(QWidget& window, const QString& step) {
    if (step == QLatin1String("bare left") || step == QLatin1String("bare right")) {
        const QPoint point = step == QLatin1String("bare left") ? bareLeft : bareRight;
        QCOMPARE(window.childAt(point), nullptr);
        moveOverSurface(window, point);
        return;
    }
    if (step == QLatin1String("outside")) {
        const QPoint outside = window.frameGeometry().bottomRight() + QPoint(20, 20);
        QVERIFY(window.screen()->geometry().contains(outside));
        QCursor::setPos(window.screen(), outside);
        QTRY_COMPARE(QCursor::pos(window.screen()), outside);
        return;
    }
    static const QRegularExpression pattern(QStringLiteral(
        "^(click )?(?:line (\\d)|OK)( at top left| at bottom right|, sent to it)?$"));
    const QRegularExpressionMatch match = pattern.match(step);
    QVERIFY2(match.hasMatch(), qPrintable(step));
    QWidget* control = match.captured(2).isEmpty() ? static_cast<QWidget*>(okButton(window))
                                                   : information(window, match.captured(2).toInt());
    QVERIFY(control != nullptr);
    const QString where = match.captured(3);
    if (!match.captured(1).isEmpty()) {
        QTest::mouseClick(control, Qt::LeftButton);
    } else if (where == QLatin1String(", sent to it")) {
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), control->mapToGlobal(QPointF(2, 2)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(control, &move);
    } else {
        const QPoint local = where == QLatin1String(" at top left") ? QPoint(1, 1)
                             : where == QLatin1String(" at bottom right")
                                 ? control->rect().bottomRight() - QPoint(1, 1)
                                 : control->rect().center();
        QTest::mouseMove(window.windowHandle(), windowPoint(control, local));
    }
}

// Something done to the window: a key, a click.
using WindowAction = std::function<void(frmHelp&)>;

} // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    // The window and its lines
    void windowIsAFixedToolWindowWithoutOwner();
    void controlsStandAsTheTableSays_data();
    void controlsStandAsTheTableSays();
    void linesHaveTheirLooks_data();
    void linesHaveTheirLooks();
    void everyTextShowsInOneSimplifiedChineseFace();
    void linesDoNotOverlap();
    void publisherValuesReachNobody();

    // cmdOk, focus and keys
    void okButtonHasTheFocusAndLeadsTheTabOrder();
    void onlyOkAndTheCloseBoxClose_data();
    void onlyOkAndTheCloseBoxClose();

    // Hover colouring
    void pointerMovesColourTheLines_data();
    void pointerMovesColourTheLines();
    void aDragOverOkLeavesALinkGreen_data();
    void aDragOverOkLeavesALinkGreen();

    // Opening
    void opensModalCentredAndFreshEachTime();
    void activatingTheBlockedMainWindowBringsHelpBack();
};

void HelpWindowTest::initTestCase() {
    useStartColour();
}

void HelpWindowTest::cleanup() {
    QCOMPARE(openHelpWindow(), nullptr);
}

void HelpWindowTest::windowIsAFixedToolWindowWithoutOwner() {
    RecordingServices services;
    frmHelp window(services);
    QCOMPARE(window.objectName(), QStringLiteral("frmHelp"));
    QCOMPARE(window.parentWidget(), nullptr);
    QCOMPARE(window.windowType(), Qt::Tool);
    QVERIFY(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!window.windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
    QVERIFY(!window.windowTitle().isEmpty());
    // The program's icon of its own: the test sets no application icon to fall back on.
    QVERIFY(!window.windowIcon().isNull());
    // The client area of the layout, and no way to resize it.
    const QSize client = sizeFromTwips(help_window::clientWidth, help_window::clientHeight);
    QCOMPARE(window.size(), client);
    QCOMPARE(window.minimumSize(), client);
    QCOMPARE(window.maximumSize(), client);
    QVERIFY(!window.isSizeGripEnabled());
    QCOMPARE(
        window.findChildren<QLabel*>(QRegularExpression(QStringLiteral("^lblInformation_"))).size(),
        kestrune::ui::helpLineCount);
}

// Each control stands as its row of the table says, in its row's face; the lines show the
// texts of their table, each sized to its text.
void HelpWindowTest::controlsStandAsTheTableSays_data() {
    QTest::addColumn<int>("row");
    for (std::size_t row = 0; row < help_window::controls.size(); ++row) {
        QTest::newRow(help_window::controls[row].name) << static_cast<int>(row);
    }
}

void HelpWindowTest::controlsStandAsTheTableSays() {
    QFETCH(int, row);
    RecordingServices services;
    frmHelp window(services);
    QVERIFY(showAndActivate(window));
    const ControlLayout& place = help_window::controls[static_cast<std::size_t>(row)];
    const auto* control = window.findChild<QWidget*>(QString::fromLatin1(place.name));
    QVERIFY(control != nullptr);
    QCOMPARE(control->pos(), rectOf(place).topLeft());
    if (row < kestrune::ui::helpLineCount) {
        QCOMPARE(information(window, row)->text(), kestrune::ui::helpLines()[row].text);
    } else {
        QCOMPARE(control->size(), rectOf(place).size());
    }
    if (const auto* button = qobject_cast<const QPushButton*>(control)) {
        QCOMPARE(button->text(), place.caption.toString());
    }
    const QFont expected = place.pointSize > 0 ? kestrune::ui::uiFont(place.pointSize, place.bold)
                                               : kestrune::ui::uiFont();
    QCOMPARE(control->font().families(), expected.families());
    QCOMPARE(control->font().pointSizeF(), expected.pointSizeF());
    QCOMPARE(control->font().bold(), place.bold);
}

void HelpWindowTest::linesHaveTheirLooks_data() {
    QTest::addColumn<int>("index");
    for (int index = 0; index < kestrune::ui::helpLineCount; ++index) {
        QTest::addRow("lblInformation(%d)", index) << index;
    }
}

void HelpWindowTest::linesHaveTheirLooks() {
    QFETCH(int, index);
    RecordingServices services;
    frmHelp window(services);
    QVERIFY(showAndActivate(window));
    const QLabel* label = information(window, index);
    QVERIFY(label != nullptr);

    QVERIFY(!label->wordWrap());
    QCOMPARE(label->size(), label->sizeHint());
    QVERIFY(label->height() < 2 * label->fontMetrics().lineSpacing());
    QVERIFY(window.rect().contains(label->geometry()));
    QVERIFY(label->autoFillBackground());
    QCOMPARE(label->backgroundRole(), QPalette::Window);
    QCOMPARE(label->palette().color(QPalette::Window), window.palette().color(QPalette::Window));
    // Only the links take the focus, and only from the keyboard.
    QCOMPARE(label->focusPolicy(), isLinkLine(index) ? Qt::TabFocus : Qt::NoFocus);
    QCOMPARE(textColour(label), startColour);
    QVERIFY(!label->font().underline());
}

// Headings, lines and button in one face that writes simplified Chinese.
void HelpWindowTest::everyTextShowsInOneSimplifiedChineseFace() {
    RecordingServices services;
    frmHelp window(services);
    QSet<QString> faces{QFontInfo(okButton(window)->font()).family()};
    for (int index = 0; index < kestrune::ui::helpLineCount; ++index) {
        faces.insert(QFontInfo(information(window, index)->font()).family());
    }
    QCOMPARE(faces.size(), 1);
    QVERIFY2(
        QFontDatabase::writingSystems(*faces.begin()).contains(QFontDatabase::SimplifiedChinese),
        qPrintable(*faces.begin()));
}

void HelpWindowTest::linesDoNotOverlap() {
    RecordingServices services;
    frmHelp window(services);
    for (int index = 1; index < kestrune::ui::helpLineCount; ++index) {
        QVERIFY2(information(window, index - 1)->geometry().bottom() <
                     information(window, index)->geometry().top(),
                 qPrintable(QStringLiteral("line %1").arg(index)));
    }
    QVERIFY(information(window, kestrune::ui::helpLineCount - 1)->geometry().bottom() <
            okButton(window)->geometry().top());
}

void HelpWindowTest::publisherValuesReachNobody() {
    // Reserved example domains (RFC 2606) and an account number that no account can have.
    QVERIFY(isExampleDomain(publisher::mailAddress.section(u'@', 1)));
    const QUrl homePage(publisher::homePage, QUrl::StrictMode);
    QVERIFY(homePage.isValid());
    QVERIFY(homePage.scheme() == QLatin1String("http") ||
            homePage.scheme() == QLatin1String("https"));
    QVERIFY(isExampleDomain(homePage.host()));
    QVERIFY(publisher::homePage.endsWith(u'/'));
    bool isNumber = false;
    const int account = publisher::messengerAccount.toInt(&isNumber);
    QVERIFY(isNumber);
    QVERIFY(account > 0 && account < 10000);
    QCOMPARE(publisher::mailGreeting(), publisher::personalName + QStringLiteral("，你好！"));
    QVERIFY(publisher::chineseName.contains(publisher::personalName));
}

void HelpWindowTest::okButtonHasTheFocusAndLeadsTheTabOrder() {
    RecordingServices services;
    frmHelp window(services);
    QVERIFY(showAndActivate(window));
    QPushButton* ok = okButton(window);
    QVERIFY(ok != nullptr);
    QVERIFY(!ok->isDefault());
    QVERIFY(!ok->autoDefault());
    QTRY_COMPARE(QApplication::focusWidget(), ok);
    // Its focus frame shows from the start, and a screen reader reads no blanks.
    QVERIFY(window.testAttribute(Qt::WA_KeyboardFocusChange));
    QCOMPARE(QAccessible::queryAccessibleInterface(ok)->text(QAccessible::Name),
             QStringLiteral("确定"));
    // Tab goes on through the three links and back.
    QStringList visited;
    for (int press = 0; press < 4; ++press) {
        QTest::keyClick(window.windowHandle(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited,
             (QStringList{"lblInformation_2", "lblInformation_3", "lblInformation_4", "cmdOk"}));
    QVERIFY(window.isVisible());
}

// Only cmdOk and the close box close the window: Esc never does, Enter only on cmdOk.
void HelpWindowTest::onlyOkAndTheCloseBoxClose_data() {
    QTest::addColumn<WindowAction>("action");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Esc with the focus on OK") << WindowAction([](frmHelp& window) {
        QTest::keyClick(window.windowHandle(), Qt::Key_Escape);
    }) << false;
    QTest::newRow("Esc sent to the window")
        << WindowAction([](frmHelp& window) { QTest::keyClick(&window, Qt::Key_Escape); }) << false;
    for (const int index : {0, 1, 5, 6, 7}) {
        QTest::addRow("Return on lblInformation_%d", index)
            << WindowAction([index](frmHelp& window) {
                   QTest::keyClick(information(window, index), Qt::Key_Return);
               })
            << false;
        QTest::addRow("keypad Enter on lblInformation_%d", index)
            << WindowAction([index](frmHelp& window) {
                   QTest::keyClick(information(window, index), Qt::Key_Enter, Qt::KeypadModifier);
               })
            << false;
    }
    QTest::newRow("Return sent to the window")
        << WindowAction([](frmHelp& window) { QTest::keyClick(&window, Qt::Key_Return); }) << false;
    QTest::newRow("Return with the focus on OK") << WindowAction([](frmHelp& window) {
        QTest::keyClick(window.windowHandle(), Qt::Key_Return);
    }) << true;
    QTest::newRow("a click on OK")
        << WindowAction([](frmHelp& window) { clickOn(okButton(window)); }) << true;
    // What the title bar's close box does: the window system asks the window to close.
    QTest::newRow("the close box")
        << WindowAction([](frmHelp& window) { QVERIFY(window.windowHandle()->close()); }) << true;
}

void HelpWindowTest::onlyOkAndTheCloseBoxClose() {
    QFETCH(WindowAction, action);
    QFETCH(bool, closes);
    RecordingServices services;
    frmHelp window(services);
    QVERIFY(showAndActivate(window));
    QTRY_COMPARE(QApplication::focusWidget(), okButton(window));
    action(window);
    if (QTest::currentTestFailed()) {
        return;
    }
    QCOMPARE(window.isVisible(), !closes);
    QCOMPARE(services.callCount(), 0);
}

// Each row moves the pointer step by step and gives the eight lines' colours after every
// step: s the start colour, G green, K black. A green line is underlined, no other one.
// The steps: "line N" (its middle, or "at top left" / "at bottom right" inside it), "line N,
// sent to it" (a move event straight to the label), "OK" (likewise), "bare left" and "bare
// right" (two points of the window over no control), "outside" the window, and "click line
// N" (a press and release on the label, without a move).
void HelpWindowTest::pointerMovesColourTheLines_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("colours");
    QTest::addColumn<int>("opens");
    QTest::addColumn<int>("calls");
    QTest::newRow("mail turns green under the pointer")
        << QStringList{"line 2"} << QStringList{"ssGsssss"} << 0 << 0;
    QTest::newRow("home page turns green under the pointer")
        << QStringList{"line 3"} << QStringList{"sssGssss"} << 0 << 0;
    QTest::newRow("messenger turns green under the pointer")
        << QStringList{"line 4"} << QStringList{"ssssGsss"} << 0 << 0;
    QTest::newRow("other lines keep their colour")
        << QStringList{"line 0", "line 1", "line 5", "line 6", "line 7", "bare left",
                       "line 0", "line 1", "line 5", "line 6", "line 7"}
        << QStringList{"ssssssss", "ssssssss", "ssssssss", "ssssssss", "ssssssss", "KKKKKKKK",
                       "KKKKKKKK", "KKKKKKKK", "KKKKKKKK", "KKKKKKKK", "KKKKKKKK"}
        << 0 << 0;
    // A quick move from one link to the next, with no move over the surface in between,
    // leaves both green; the first move over the surface turns all eight black, headings
    // included, and again after the next link.
    QTest::newRow("the bare surface turns all black")
        << QStringList{"line 2", "line 3", "bare right", "line 4", "bare left"}
        << QStringList{"ssGsssss", "ssGGssss", "KKKKKKKK", "KKKKGKKK", "KKKKKKKK"} << 0 << 0;
    // Over another line, at several places along it, the label takes the move and the
    // window behind it never sees it; also when the move is sent straight to the line,
    // which Qt would hand on to the window were the line not to keep it.
    QTest::newRow("a move over a line is no move over the surface")
        << QStringList{"line 2", "line 6 at top left", "line 6", "line 6 at bottom right",
                       "line 6, sent to it"}
        << QStringList{"ssGsssss", "ssGsssss", "ssGsssss", "ssGsssss", "ssGsssss"} << 0 << 0;
    QTest::newRow("a link stays green when the pointer goes to OK")
        << QStringList{"line 4", "OK at top left", "OK", "OK at bottom right"}
        << QStringList{"ssssGsss", "ssssGsss", "ssssGsss", "ssssGsss"} << 0 << 0;
    QTest::newRow("a link stays green when the pointer leaves the window")
        << QStringList{"line 3", "outside"} << QStringList{"sssGssss", "sssGssss"} << 0 << 0;
    // The clicks follow the three links: two targets opened, the messenger started.
    QTest::newRow("a click changes no colour")
        << QStringList{"click line 0", "click line 1", "click line 2", "click line 3",
                       "click line 4", "click line 5", "click line 6", "click line 7"}
        << QStringList{"ssssssss", "ssssssss", "ssssssss", "ssssssss",
                       "ssssssss", "ssssssss", "ssssssss", "ssssssss"}
        << 2 << 4;
}

void HelpWindowTest::pointerMovesColourTheLines() {
    QFETCH(QStringList, steps);
    QFETCH(QStringList, colours);
    QFETCH(int, opens);
    QFETCH(int, calls);
    QCOMPARE(colours.size(), steps.size());
    RecordingServices services;
    frmHelp window(services);
    QVERIFY(showAndActivate(window));
    for (qsizetype step = 0; step < steps.size(); ++step) {
        pointerStep(window, steps[step]);
        if (QTest::currentTestFailed()) {
            return;
        }
        QCOMPARE(colourLetters(window), colours[step]);
    }
    QCOMPARE(services.opened.size(), opens);
    QCOMPARE(services.callCount(), calls);
}

// A move over the button is never a move over the bare window, whichever mouse button is
// held down on the way.
void HelpWindowTest::aDragOverOkLeavesALinkGreen_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void HelpWindowTest::aDragOverOkLeavesALinkGreen() {
    QFETCH(Qt::MouseButton, button);
    RecordingServices services;
    frmHelp window(services);
    QVERIFY(showAndActivate(window));
    QLabel* link = information(window, 4);
    moveOver(link);
    QCOMPARE(textColour(link), green);

    const QPoint inOk = windowPoint(okButton(window));
    QTest::mousePress(window.windowHandle(), button, Qt::NoModifier, inOk);
    QTest::mouseMove(window.windowHandle(), inOk + QPoint(3, 2));
    QCOMPARE(textColour(link), green);
    // Let go outside the button, so that a left press is no click on OK.
    QTest::mouseRelease(window.windowHandle(), button, Qt::NoModifier, QPoint(-5, -5));
    QCOMPARE(services.callCount(), 0);
    QVERIFY(window.isVisible());
}

void HelpWindowTest::opensModalCentredAndFreshEachTime() {
    // A stand-in for the main window, to see that it takes no input meanwhile.
    QWidget mainWindow;
    mainWindow.resize(300, 200);
    auto* helpButton = new QPushButton(QStringLiteral("帮助"), &mainWindow);
    helpButton->setGeometry(20, 20, 100, 30);
    int mainClicks = 0;
    connect(helpButton, &QPushButton::clicked, &mainWindow, [&] { ++mainClicks; });
    mainWindow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
    clickOn(helpButton);
    QCOMPARE(mainClicks, 1);

    RecordingServices services;
    for (int opening = 1; opening <= 2; ++opening) {
        bool returned = false;
        bool checked = false;
        QPointer<frmHelp> seen;
        QTimer::singleShot(0, &mainWindow, [&] {
            const auto closeAtEnd = closingHelpWindowAtEnd();
            QTRY_VERIFY(openHelpWindow() != nullptr);
            frmHelp* help = openHelpWindow();
            seen = help;
            QVERIFY(QTest::qWaitForWindowExposed(help));
            QVERIFY(!returned);

            // Modal to the whole application, without an owner widget, but placed by the
            // window system as a window of the main window.
            QCOMPARE(help->parentWidget(), nullptr);
            QCOMPARE(help->windowHandle()->transientParent(), mainWindow.windowHandle());
            QVERIFY(help->isModal());
            QVERIFY(QAccessible::queryAccessibleInterface(help)->state().modal);
            QCOMPARE(help->windowModality(), Qt::ApplicationModal);
            QCOMPARE(QApplication::activeModalWidget(), help);
            clickOn(helpButton);
            QCOMPARE(mainClicks, 1);

            // Centred: the outer rectangle, frame included, in the middle of the screen.
            const QRect screen = QGuiApplication::primaryScreen()->geometry();
            const QRect outer = help->frameGeometry();
            QVERIFY(outer.width() >= help->width() && outer.height() >= help->height());
            QVERIFY(qAbs(2 * outer.x() + outer.width() - 2 * screen.x() - screen.width()) <= 2);
            QVERIFY(qAbs(2 * outer.y() + outer.height() - 2 * screen.y() - screen.height()) <= 2);

            // Fresh: every line in the start colour, whatever the last window went through.
            QCOMPARE(allColours(*help), QList<QColor>(kestrune::ui::helpLineCount, startColour));
            QVERIFY(QTest::qWaitForWindowActive(help));
            QTRY_COMPARE(QApplication::focusWidget(), okButton(*help));
            moveOver(information(*help, 2 + opening));
            moveOverSurface(*help, opening == 1 ? bareLeft : bareRight);
            moveOver(information(*help, 2));
            help->move(0, 0);

            checked = true;
            clickOn(okButton(*help));
        });
        kestrune::ui::showHelpWindow(services, &mainWindow);
        returned = true;
        QVERIFY(checked);
        // Closed and deleted.
        QVERIFY(seen.isNull());
        QCOMPARE(openHelpWindow(), nullptr);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }
    QCOMPARE(services.callCount(), 0);
    // The main window takes input again.
    clickOn(helpButton);
    QCOMPARE(mainClicks, 2);
}

// A Wayland compositor may minimize the help window without telling the program; the main
// window it blocks, once activated, brings it back in front.
void HelpWindowTest::activatingTheBlockedMainWindowBringsHelpBack() {
    RecordingServices services;
    kestrune::testing::ScriptedRandom random;
    const auto mainWindow = kestrune::testing::shownMainWindow(random, services);
    bool broughtBack = false;
    QTimer::singleShot(0, mainWindow.get(), [&] {
        const auto closeAtEnd = closingHelpWindowAtEnd();
        frmHelp* help = openHelpWindow();
        QVERIFY(help != nullptr);
        QVERIFY(QTest::qWaitForWindowActive(help));
        QSignalSpy focusMoves(qApp, &QGuiApplication::focusWindowChanged);
        mainWindow->activateWindow();
        QTRY_VERIFY(!focusMoves.isEmpty());
        QTRY_COMPARE(QApplication::activeWindow(), help);
        broughtBack = help->isVisible();
    });
    kestrune::ui::showHelpWindow(services, mainWindow.get());
    QVERIFY(broughtBack);
}

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
