// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Widget tests of the help window: its layout held against the design, its lines, hover
// colouring, links, keys and modal opening, with a recording stand-in for the platform services,
// plus the real services' registry stand-in and program start. Cases that differ only in their
// data are rows of one table.
//
// Pointer moves and clicks go through the window system (the QWindow overloads of QTest), so
// that Qt chooses the receiver as it does for a real pointer: the widget under the point, with
// the event handed on to the parent when the widget does not take it. The QWidget overload of
// QTest::mouseMove only moves the cursor, and would deliver nothing to a particular label.

#include "common/control_layout.h"
#include "common/fonts.h"
#include "common/palettes.h"
#include "common/twips.h"
#include "help/frm_help.h"
#include "help/help_window_layout.h"
#include "help/publisher.h"
#include "main/frm_main.h"
#include "platform/desktop_platform_services.h"
#include "platform/platform_services.h"
#include "window_fakes.h"

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPalette>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <functional>
#include <optional>
#include <stdexcept>
#include <utility>

using kestrune::testing::closingHelpWindowAtEnd;
using kestrune::testing::notificationShows;
using kestrune::testing::OpenCall;
using kestrune::testing::openHelpWindow;
using kestrune::testing::RecordingServices;
using kestrune::ui::ControlLayout;
using kestrune::ui::DesktopPlatformServices;
using kestrune::ui::frmHelp;
using kestrune::ui::PlatformServices;
using kestrune::ui::sizeFromTwips;
namespace help_window = kestrune::ui::help_window;
namespace publisher = kestrune::ui::publisher;

namespace {

#ifndef Q_OS_WIN
// An optional text as something QCOMPARE can show.
QString orNone(const std::optional<QString>& text) {
    return text ? QStringLiteral("\"%1\"").arg(*text) : QStringLiteral("<none>");
}
#endif

bool isExampleDomain(const QString& host) {
    for (const char* reserved : {"example.com", "example.org", "example.net"}) {
        const QLatin1String name(reserved);
        if (host == name || host.endsWith(QLatin1Char('.') + name)) {
            return true;
        }
    }
    return false;
}

const QString installValuePath = QStringLiteral("HKLM\\SOFTWARE\\Tencent\\qq\\Install");

const QColor green(0, 255, 0);
const QColor black(0, 0, 0);
// The application's button-text colour in these tests: neither green nor black, so that the
// start colour can be told apart from both.
const QColor startColour(0x12, 0x34, 0x56);

bool isLinkLine(int index) {
    return kestrune::ui::helpLines()[static_cast<std::size_t>(index)].link.has_value();
}

QLabel* information(const QWidget& window, int index) {
    return window.findChild<QLabel*>(QStringLiteral("lblInformation_%1").arg(index));
}

QPushButton* okButton(const QWidget& window) {
    return window.findChild<QPushButton*>(QStringLiteral("cmdOk"));
}

QColor textColour(const QLabel* label) {
    return label->palette().color(label->foregroundRole());
}

QList<QColor> allColours(const QWidget& window) {
    QList<QColor> colours;
    for (int index = 0; index < kestrune::ui::helpLineCount; ++index) {
        colours.append(textColour(information(window, index)));
    }
    return colours;
}

// The point of a widget, in the coordinates of its window, where the pointer goes.
QPoint windowPoint(const QWidget* widget, QPoint local) {
    return widget->mapTo(widget->window(), local);
}
QPoint windowPoint(const QWidget* widget) {
    return windowPoint(widget, widget->rect().center());
}

void moveOver(const QWidget* widget) {
    QTest::mouseMove(widget->window()->windowHandle(), windowPoint(widget));
}

void clickOn(const QWidget* widget) {
    QTest::mouseClick(widget->window()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      windowPoint(widget));
}

// Clicks the widget and answers the message box that the click opens; returns the box's words,
// or nothing when no box opened.
QString clickAndAnswerMessage(const QWidget* widget) {
    QString said;
    QTimer answer;
    answer.setInterval(10);
    QObject::connect(&answer, &QTimer::timeout, &answer, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            said = box->text();
            box->done(QMessageBox::Ok);
        }
    });
    answer.start();
    clickOn(widget);
    return said;
}

// Two points of the bare window surface (over no label and not over the button).
const QPoint bareLeft(10, 12);
const QPoint bareRight(280, 80);

void moveOverSurface(QWidget& window, QPoint point) {
    QTest::mouseMove(window.windowHandle(), point);
}

// Used where the messenger stand-in can be a shell script (not on Windows).
[[maybe_unused]] QList<QWidget*> visibleTopLevels() {
    QList<QWidget*> visible;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible()) {
            visible.append(widget);
        }
    }
    return visible;
}

// Not used where the messenger stand-in cannot be a shell script (Windows).
[[maybe_unused]] QString fileText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll());
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

private:
    // Shows a fresh window and waits until it can take input.
    static bool showAndActivate(frmHelp& window) {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowExposed(&window) && QTest::qWaitForWindowActive(&window);
    }

    QByteArray savedConfigHome_;
    bool hadConfigHome_ = false;

private slots:
    void initTestCase() {
        QPalette palette = QApplication::palette();
        palette.setColor(QPalette::ButtonText, startColour);
        QApplication::setPalette(palette);
        hadConfigHome_ = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        savedConfigHome_ = qgetenv("XDG_CONFIG_HOME");
    }

    void cleanup() {
        if (hadConfigHome_) {
            qputenv("XDG_CONFIG_HOME", savedConfigHome_);
        } else {
            qunsetenv("XDG_CONFIG_HOME");
        }
        QCOMPARE(openHelpWindow(), nullptr);
    }

    // --- The window and its lines ---------------------------------------------------------

    void windowIsAFixedToolWindowWithoutOwner() {
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
            window.findChildren<QLabel*>(QRegularExpression(QStringLiteral("^lblInformation_")))
                .size(),
            kestrune::ui::helpLineCount);
    }

    // Each control stands as its row of the table says, in its row's face; the lines show the
    // texts of their table, each sized to its text.
    void controlsStandAsTheTableSays_data() {
        QTest::addColumn<int>("row");
        for (std::size_t row = 0; row < help_window::controls.size(); ++row) {
            QTest::newRow(help_window::controls[row].name) << static_cast<int>(row);
        }
    }

    void controlsStandAsTheTableSays() {
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
        const QFont expected = place.pointSize > 0
                                   ? kestrune::ui::uiFont(place.pointSize, place.bold)
                                   : kestrune::ui::uiFont();
        QCOMPARE(control->font().families(), expected.families());
        QCOMPARE(control->font().pointSizeF(), expected.pointSizeF());
        QCOMPARE(control->font().bold(), place.bold);
    }

    void linesHaveTheirLooks_data() {
        QTest::addColumn<int>("index");
        for (int index = 0; index < kestrune::ui::helpLineCount; ++index) {
            QTest::addRow("lblInformation(%d)", index) << index;
        }
    }

    void linesHaveTheirLooks() {
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
        QCOMPARE(label->palette().color(QPalette::Window),
                 window.palette().color(QPalette::Window));
        // Only the links take the focus, and only from the keyboard.
        QCOMPARE(label->focusPolicy(), isLinkLine(index) ? Qt::TabFocus : Qt::NoFocus);
        QCOMPARE(textColour(label), startColour);
        QVERIFY(!label->font().underline());
    }

    // Headings, lines and button in one face that writes simplified Chinese.
    void everyTextShowsInOneSimplifiedChineseFace() {
        RecordingServices services;
        frmHelp window(services);
        QSet<QString> faces{QFontInfo(okButton(window)->font()).family()};
        for (int index = 0; index < kestrune::ui::helpLineCount; ++index) {
            faces.insert(QFontInfo(information(window, index)->font()).family());
        }
        QCOMPARE(faces.size(), 1);
        QVERIFY2(QFontDatabase::writingSystems(*faces.begin())
                     .contains(QFontDatabase::SimplifiedChinese),
                 qPrintable(*faces.begin()));
    }

    void linesDoNotOverlap() {
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

    void publisherValuesReachNobody() {
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

    // --- cmdOk, focus and keys -------------------------------------------------------------

    void okButtonHasTheFocusAndLeadsTheTabOrder() {
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
        QCOMPARE(visited, (QStringList{"lblInformation_2", "lblInformation_3", "lblInformation_4",
                                       "cmdOk"}));
        QVERIFY(window.isVisible());
    }

    // Only cmdOk and the close box close the window: Esc never does, Enter only on cmdOk.
    void onlyOkAndTheCloseBoxClose_data() {
        QTest::addColumn<WindowAction>("action");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Esc with the focus on OK") << WindowAction([](frmHelp& window) {
            QTest::keyClick(window.windowHandle(), Qt::Key_Escape);
        }) << false;
        QTest::newRow("Esc sent to the window")
            << WindowAction([](frmHelp& window) { QTest::keyClick(&window, Qt::Key_Escape); })
            << false;
        for (const int index : {0, 1, 5, 6, 7}) {
            QTest::addRow("Return on lblInformation_%d", index)
                << WindowAction([index](frmHelp& window) {
                       QTest::keyClick(information(window, index), Qt::Key_Return);
                   })
                << false;
            QTest::addRow("keypad Enter on lblInformation_%d", index)
                << WindowAction([index](frmHelp& window) {
                       QTest::keyClick(information(window, index), Qt::Key_Enter,
                                       Qt::KeypadModifier);
                   })
                << false;
        }
        QTest::newRow("Return sent to the window")
            << WindowAction([](frmHelp& window) { QTest::keyClick(&window, Qt::Key_Return); })
            << false;
        QTest::newRow("Return with the focus on OK") << WindowAction([](frmHelp& window) {
            QTest::keyClick(window.windowHandle(), Qt::Key_Return);
        }) << true;
        QTest::newRow("a click on OK")
            << WindowAction([](frmHelp& window) { clickOn(okButton(window)); }) << true;
        // What the title bar's close box does: the window system asks the window to close.
        QTest::newRow("the close box")
            << WindowAction([](frmHelp& window) { QVERIFY(window.windowHandle()->close()); })
            << true;
    }

    void onlyOkAndTheCloseBoxClose() {
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

    // --- Hover colouring ---------------------------------------------------------------------

    // Each row moves the pointer step by step and gives the eight lines' colours after every
    // step: s the start colour, G green, K black. A green line is underlined, no other one.
    // The steps: "line N" (its middle, or "at top left" / "at bottom right" inside it), "line N,
    // sent to it" (a move event straight to the label), "OK" (likewise), "bare left" and "bare
    // right" (two points of the window over no control), "outside" the window, and "click line
    // N" (a press and release on the label, without a move).
    void pointerMovesColourTheLines_data() {
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

    void pointerMovesColourTheLines() {
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

    // --- Links -----------------------------------------------------------------------------

    // A followed link calls exactly its services, opens no message box and is announced to a
    // screen reader, which would hear nothing else. The mail goes out exactly as written (not
    // percent-encoded), and the messenger's path is the install value and the program's name
    // run together, whatever they hold.
    void aClickFollowsTheLink_data() {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("installValue");
        QTest::addColumn<QList<OpenCall>>("opens");
        QTest::addColumn<QStringList>("reads");
        QTest::addColumn<QStringList>("starts");
        QTest::addColumn<QString>("news");
        const QString installed = QStringLiteral("C:\\Program Files\\Tencent\\QQ\\Bin\\");
        const QString mail = QStringLiteral("mailto:") + publisher::mailAddress +
                             QStringLiteral("?subject=致意&body=") + publisher::personalName +
                             QStringLiteral("，你好！");
        QTest::newRow("mail opens a new mail")
            << 2 << installed << QList<OpenCall>{{QStringLiteral("open"), mail}} << QStringList{}
            << QStringList{} << QStringLiteral("已打开邮件程序");
        QTest::newRow("home page opens with the default action")
            << 3 << installed << QList<OpenCall>{{QString(), publisher::homePage}} << QStringList{}
            << QStringList{} << QStringLiteral("已打开主页");
        QTest::newRow("messenger starts from its install value")
            << 4 << installed << QList<OpenCall>{} << QStringList{installValuePath}
            << QStringList{installed + QStringLiteral("QQ.exe")} << QStringLiteral("已启动 QQ");
        QTest::newRow("install value without separator runs together")
            << 4 << QStringLiteral("C:\\QQ") << QList<OpenCall>{} << QStringList{installValuePath}
            << QStringList{QStringLiteral("C:\\QQQQ.exe")} << QStringLiteral("已启动 QQ");
        const QString hostile =
            QStringLiteral("C:\\x\" & del /q *.* | calc ; rm -rf ~ $(reboot) `id` %PATH% ^> nul\\");
        QTest::newRow("shell metacharacters are passed as a plain path")
            << 4 << hostile << QList<OpenCall>{} << QStringList{installValuePath}
            << QStringList{hostile + QStringLiteral("QQ.exe")} << QStringLiteral("已启动 QQ");
    }

    void aClickFollowsTheLink() {
        QFETCH(int, line);
        QFETCH(QString, installValue);
        QFETCH(QList<OpenCall>, opens);
        QFETCH(QStringList, reads);
        QFETCH(QStringList, starts);
        QFETCH(QString, news);
        RecordingServices services;
        services.registryValue = installValue;
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        auto* newsLabel = window.findChild<QLabel*>(QStringLiteral("linkNews"));
        QVERIFY(newsLabel != nullptr && !newsLabel->isVisible());

        QCOMPARE(clickAndAnswerMessage(information(window, line)), QString());
        QCOMPARE(services.opened, opens);
        QCOMPARE(services.registryReads, reads);
        QCOMPARE(services.started, starts);
        for (const OpenCall& call : std::as_const(services.opened)) {
            QVERIFY(!call.target.contains(u'%'));
            // The address opened is the one the line shows.
            const QString address = call.target.startsWith(QLatin1String("mailto:"))
                                        ? call.target.mid(7).section(u'?', 0, 0)
                                        : call.target;
            QCOMPARE(information(window, line)->text().section(u':', 1), address);
        }
        QVERIFY(window.isVisible());

        QCOMPARE(newsLabel->isVisible(), notificationShows);
        QCOMPARE(QAccessible::queryAccessibleInterface(newsLabel)->role(),
                 QAccessible::Notification);
        QCOMPARE(newsLabel->accessibleName(), news);
        // Shown for a moment only, so that no review of the window finds it afterwards.
        QTRY_VERIFY(!newsLabel->isVisible());
    }

    void eachClickFollowsTheLinkOnce() {
        RecordingServices services;
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        clickOn(information(window, 4));
        clickOn(information(window, 4));
        clickOn(information(window, 2));
        QCOMPARE(services.registryReads.size(), 2);
        QCOMPARE(services.started.size(), 2);
        QCOMPARE(services.opened.size(), 1);
    }

    void keysFollowTheFocusedLinkAsAClickDoes_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addRow("mail by Return") << 2 << int(Qt::Key_Return) << Qt::KeyboardModifiers();
        QTest::addRow("home page by keypad Enter")
            << 3 << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier);
        QTest::addRow("messenger by Space") << 4 << int(Qt::Key_Space) << Qt::KeyboardModifiers();
    }

    void keysFollowTheFocusedLinkAsAClickDoes() {
        QFETCH(int, index);
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        RecordingServices services;
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        QLabel* link = information(window, index);
        const QImage unfocused = link->grab().toImage();
        for (int press = 2; press <= index; ++press) {
            QTest::keyClick(window.windowHandle(), Qt::Key_Tab);
        }
        QCOMPARE(QApplication::focusWidget(), link);
        // The focus shows as more than a colour: the line looks different, its colour the same.
        QVERIFY(link->grab().toImage() != unfocused);

        QTest::keyClick(window.windowHandle(), Qt::Key(key), modifiers);
        QCOMPARE(services.callCount(), index == 4 ? 2 : 1);
        const RecordingServices byKey = services;
        QCOMPARE(allColours(window), QList<QColor>(kestrune::ui::helpLineCount, startColour));
        clickOn(link);
        QCOMPARE(services.opened.mid(byKey.opened.size()), byKey.opened);
        QCOMPARE(services.registryReads.mid(byKey.registryReads.size()), byKey.registryReads);
        QCOMPARE(services.started.mid(byKey.started.size()), byKey.started);
        QCOMPARE(QApplication::focusWidget(), link);
        QVERIFY(window.isVisible());
    }

    // A screen reader finds the links as links whose press action follows them, and reads the
    // window's text from its description on opening.
    void linksAreExposedWithAPressAction() {
        RecordingServices services;
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        QAccessibleInterface* dialog = QAccessible::queryAccessibleInterface(&window);
        for (int index = 0; index < kestrune::ui::helpLineCount; ++index) {
            QVERIFY(dialog->text(QAccessible::Description)
                        .contains(information(window, index)->text()));
        }
        for (int index = 0; index < kestrune::ui::helpLineCount; ++index) {
            QAccessibleInterface* line =
                QAccessible::queryAccessibleInterface(information(window, index));
            const bool isLink = isLinkLine(index);
            QCOMPARE(line->role() == QAccessible::Link, isLink);
            QCOMPARE(line->text(QAccessible::Name), information(window, index)->text());
            QCOMPARE(dialog->indexOfChild(line) >= 0, true);
            if (isLink) {
                QVERIFY(line->state().focusable);
                QVERIFY(line->actionInterface()->actionNames().contains(
                    QAccessibleActionInterface::pressAction()));
                line->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            }
        }
        QCOMPARE(services.opened.size(), 2);
        QCOMPARE(services.opened.at(0).operation, QStringLiteral("open"));
        QCOMPARE(services.opened.at(1).target, publisher::homePage);
        QCOMPARE(services.started.size(), 1);
        QCOMPARE(allColours(window), QList<QColor>(kestrune::ui::helpLineCount, startColour));
        QCOMPARE(QApplication::focusWidget(), okButton(window));
    }

    void otherLinesDoNothingWhenClicked_data() {
        QTest::addColumn<int>("index");
        for (int index : {0, 1, 5, 6, 7}) {
            QTest::addRow("lblInformation(%d)", index) << index;
        }
    }

    void otherLinesDoNothingWhenClicked() {
        QFETCH(int, index);
        RecordingServices services;
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        clickOn(information(window, index));
        QCOMPARE(services.callCount(), 0);
        QVERIFY(window.isVisible());
    }

    void aPressOnOneLinkAndReleaseOnAnotherIsNoClick() {
        RecordingServices services;
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        QTest::mousePress(window.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          windowPoint(information(window, 2)));
        QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                            windowPoint(information(window, 3)));
        QCOMPARE(services.callCount(), 0);
    }

    // --- Failing links -----------------------------------------------------------------------

    // A link that fails says why in a message box (which a screen reader reads as an alert); the
    // window goes on, and the next click simply tries again.
    void failingLinksSayWhy_data() {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("words");
        QTest::newRow("no install value") << 4 << "no value"
                                          << "安装位置";
        QTest::newRow("messenger does not start") << 4 << "start fails"
                                                  << "无法运行";
        QTest::newRow("no mail program") << 2 << "open fails"
                                         << "邮件程序";
        QTest::newRow("no web browser") << 3 << "open fails"
                                        << "网页浏览器";
        QTest::newRow("registry read throws") << 4 << "throws"
                                              << "registry unavailable";
        QTest::newRow("open throws") << 2 << "throws"
                                     << "no program for this target";
    }

    void failingLinksSayWhy() {
        QFETCH(int, line);
        QFETCH(QString, failure);
        QFETCH(QString, words);
        RecordingServices services;
        services.registryValue = QStringLiteral("D:\\QQ\\");
        if (failure == QLatin1String("no value")) {
            services.registryValue.reset();
        }
        services.startSucceeds = failure != QLatin1String("start fails");
        services.openSucceeds = failure != QLatin1String("open fails");
        services.throwOnOpen = services.throwOnRead = failure == QLatin1String("throws");
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        for (int attempt = 1; attempt <= 2; ++attempt) {
            const QString said = clickAndAnswerMessage(information(window, line));
            QVERIFY2(said.contains(words), qPrintable(said));
            QCOMPARE(services.callCount(),
                     (line == 4 ? 1 + int(failure == QLatin1String("start fails")) : 1) * attempt);
            QVERIFY(window.isVisible());
        }
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    // --- The real services -------------------------------------------------------------------

#ifndef Q_OS_WIN
    // Off Windows a file in the configuration folder stands in for the registry, and the
    // messenger is a program a shell could misread. On Windows the program reads the registry
    // itself, which the end-to-end run of the program under wine checks.
    void registryStandInLivesInTheConfigurationFolder() {
        QTemporaryDir config;
        QVERIFY(config.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        QCOMPARE(DesktopPlatformServices::registryStandInFile(),
                 config.filePath(QStringLiteral("kestrune/registry.ini")));
    }

    void registryStandInReadsTheInstallValue() {
        QTemporaryDir config;
        QVERIFY(config.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        DesktopPlatformServices services;
        QCOMPARE(orNone(services.readRegistryValue(installValuePath)), QStringLiteral("<none>"));

        QVERIFY(QDir(config.path()).mkpath(QStringLiteral("kestrune")));
        QFile file(DesktopPlatformServices::registryStandInFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[HKLM]\n"
                   "SOFTWARE\\Tencent\\qq\\Install=\"/opt/tencent qq/bin/\"\n"
                   "SOFTWARE\\Tencent\\qq\\Version=\"9.7\"\n"
                   "SOFTWARE\\Other\\List=a, b\n");
        file.close();
        QCOMPARE(orNone(services.readRegistryValue(installValuePath)),
                 QStringLiteral("\"/opt/tencent qq/bin/\""));
        // Key and value names ignore case, as in the registry.
        QCOMPARE(orNone(services.readRegistryValue(
                     QStringLiteral("hklm\\software\\tencent\\QQ\\install"))),
                 QStringLiteral("\"/opt/tencent qq/bin/\""));
        QCOMPARE(orNone(services.readRegistryValue(
                     QStringLiteral("HKLM\\SOFTWARE\\Tencent\\qq\\Missing"))),
                 QStringLiteral("<none>"));
        QCOMPARE(orNone(services.readRegistryValue(
                     QStringLiteral("HKCU\\SOFTWARE\\Tencent\\qq\\Install"))),
                 QStringLiteral("<none>"));
        // A list is no text.
        QCOMPARE(orNone(services.readRegistryValue(QStringLiteral("HKLM\\SOFTWARE\\Other\\List"))),
                 QStringLiteral("<none>"));
    }

    void realStartRunsTheAssembledPathAndNoShell() {
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratch.path()));
        const QString previousDirectory = QDir::currentPath();
        QVERIFY(QDir::setCurrent(scratch.path()));
        const auto restoreDirectory = qScopeGuard([&] { QDir::setCurrent(previousDirectory); });

        // A messenger folder whose name a shell would read as several commands.
        const QString folderName = QStringLiteral(
            "qq; touch pwned1 && touch pwned2 | $(touch pwned3) `touch pwned4` 'a' \"b\" > pwned5");
        const QString folder = scratch.filePath(folderName);
        QVERIFY(QDir().mkpath(folder));
        const QString marker = scratch.filePath(QStringLiteral("started-as"));
        const QString program = folder + QStringLiteral("/QQ.exe");
        QFile script(program);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s' \"$0\" > '" + QFile::encodeName(marker) + "'\n");
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

        {
            QVERIFY(QDir(scratch.path()).mkpath(QStringLiteral("kestrune")));
            QSettings standIn(DesktopPlatformServices::registryStandInFile(), QSettings::IniFormat);
            standIn.setValue(QStringLiteral("HKLM/SOFTWARE/Tencent/qq/Install"),
                             folder + QStringLiteral("/"));
            standIn.sync();
            QCOMPARE(standIn.status(), QSettings::NoError);
        }

        DesktopPlatformServices services;
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        clickOn(information(window, 4));

        const auto commandsRun = [&] {
            return QDir(scratch.path()).entryList({QStringLiteral("pwned*")}, QDir::AllEntries);
        };
        QTRY_VERIFY(QFile::exists(marker) || !commandsRun().isEmpty());
        // No part of the path ran as a command...
        QCOMPARE(commandsRun(), QStringList{});
        // ...and the program ran under exactly the assembled path.
        QTRY_COMPARE(fileText(marker), program);
        QVERIFY(visibleTopLevels() == QList<QWidget*>{&window});
    }

#endif

    void realStartOfAMissingProgramFails() {
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        DesktopPlatformServices services;
        QVERIFY(!services.startProgram(scratch.filePath(QStringLiteral("nowhere/QQ.exe"))));
        QVERIFY(!services.startProgram(QString()));
    }

    void realOpenRefusesWhatItCannotOpen() {
        // Neither reaches the desktop: an operation Qt does not offer, and no target at all.
        DesktopPlatformServices services;
        QVERIFY(!services.openTarget(QStringLiteral("print"), publisher::homePage));
        QVERIFY(!services.openTarget(QStringLiteral("open"), QString()));
    }

    // --- Readable in every theme -------------------------------------------------------------

    void contrastRatioFollowsTheAccessibilityGuidelines_data() {
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<double>("ratio");
        QTest::newRow("black on white") << black << QColor(Qt::white) << 21.0;
        QTest::newRow("white on black") << QColor(Qt::white) << black << 21.0;
        QTest::newRow("equal grays") << QColor(0x80, 0x80, 0x80) << QColor(0x80, 0x80, 0x80) << 1.0;
        QTest::newRow("#767676 on white") << QColor(0x76, 0x76, 0x76) << QColor(Qt::white) << 4.54;
        QTest::newRow("green on light gray") << green << QColor(0xF0, 0xF0, 0xF0) << 1.20;
    }

    void contrastRatioFollowsTheAccessibilityGuidelines() {
        QFETCH(QColor, text);
        QFETCH(QColor, background);
        QFETCH(double, ratio);
        QVERIFY2(qAbs(kestrune::ui::contrastRatio(text, background) - ratio) < 0.01,
                 qPrintable(QString::number(kestrune::ui::contrastRatio(text, background))));
    }

    void linesStayReadableInADarkTheme_data() {
        QTest::addColumn<QColor>("window");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("button");
        // Window, text and button face of three dark schemes.
        QTest::newRow("Breeze Dark")
            << QColor(0x31, 0x36, 0x3b) << QColor(0xfc, 0xfc, 0xfc) << QColor(0x31, 0x36, 0x3b);
        QTest::newRow("Adwaita dark")
            << QColor(0x24, 0x24, 0x24) << QColor(Qt::white) << QColor(0x35, 0x35, 0x35);
        QTest::newRow("qt6ct darker")
            << QColor(0x22, 0x20, 0x20) << QColor(Qt::white) << QColor(0x42, 0x42, 0x45);
    }

    // At the start and after moves over the bare surface (all black), every line keeps a
    // readable contrast with its own background; a link under the pointer is green and
    // underlined, and loses the underline when it turns black.
    void linesStayReadableInADarkTheme() {
        QFETCH(QColor, window);
        QFETCH(QColor, text);
        QFETCH(QColor, button);
        const QPalette saved = QApplication::palette();
        const auto restore = qScopeGuard([&] { QApplication::setPalette(saved); });
        QPalette dark(text, button, button.lighter(150), button.darker(150), button.darker(120),
                      text, text, QColor(0x1b, 0x1e, 0x20), window);
        QApplication::setPalette(dark);

        RecordingServices services;
        frmHelp helpWindow(services);
        QVERIFY(showAndActivate(helpWindow));
        const auto checkReadable = [&](const char* when) {
            for (int index = 0; index < kestrune::ui::helpLineCount; ++index) {
                const QLabel* label = information(helpWindow, index);
                const QColor background = label->palette().color(label->backgroundRole());
                const double ratio = kestrune::ui::contrastRatio(textColour(label), background);
                QVERIFY2(
                    ratio >= 4.5,
                    qPrintable(
                        QStringLiteral("%1, line %2: %3 : 1").arg(when).arg(index).arg(ratio)));
                QVERIFY(!label->font().underline());
            }
        };
        checkReadable("at the start");
        moveOverSurface(helpWindow, bareRight);
        checkReadable("after a move over the bare surface");
        moveOver(information(helpWindow, 3));
        QCOMPARE(textColour(information(helpWindow, 3)), green);
        QVERIFY(information(helpWindow, 3)->font().underline());
        moveOverSurface(helpWindow, bareLeft);
        checkReadable("after a link and the bare surface again");
    }

    // --- Opening -----------------------------------------------------------------------------

    void opensModalCentredAndFreshEachTime() {
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
                QVERIFY(qAbs(2 * outer.y() + outer.height() - 2 * screen.y() - screen.height()) <=
                        2);

                // Fresh: every line in the start colour, whatever the last window went through.
                QCOMPARE(allColours(*help),
                         QList<QColor>(kestrune::ui::helpLineCount, startColour));
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
    void activatingTheBlockedMainWindowBringsHelpBack() {
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
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
