// Widget tests of the help window: its lines, hover colouring, links, keys and modal opening,
// with a recording stand-in for the platform services, plus the real services' registry
// stand-in and program start.
//
// Pointer moves and clicks go through the window system (the QWindow overloads of QTest), so
// that Qt chooses the receiver as it does for a real pointer: the widget under the point, with
// the event handed on to the parent when the widget does not take it. The QWidget overload of
// QTest::mouseMove only moves the cursor, and would deliver nothing to a particular label.

#include "common/fonts.h"
#include "common/palettes.h"
#include "help/frm_help.h"
#include "help/publisher.h"
#include "platform/desktop_platform_services.h"
#include "platform/platform_services.h"

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
#include <QScopeGuard>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <optional>
#include <stdexcept>

using kestrune::ui::DesktopPlatformServices;
using kestrune::ui::frmHelp;
using kestrune::ui::PlatformServices;
namespace publisher = kestrune::ui::publisher;

namespace {

struct OpenCall {
    QString operation;
    QString target;

    friend bool operator==(const OpenCall&, const OpenCall&) = default;
};

// Records every call; its answers are set by the test.
class RecordingServices final : public PlatformServices {
public:
    bool openTarget(const QString& operation, const QString& target) override {
        opened.append({operation, target});
        if (throwOnOpen) {
            throw std::runtime_error("no program for this target");
        }
        return openSucceeds;
    }
    std::optional<QString> readRegistryValue(const QString& path) override {
        registryReads.append(path);
        if (throwOnRead) {
            throw std::runtime_error("registry unavailable");
        }
        return registryValue;
    }
    bool startProgram(const QString& program) override {
        started.append(program);
        return startSucceeds;
    }

    qsizetype callCount() const { return opened.size() + registryReads.size() + started.size(); }

    QList<OpenCall> opened;
    QStringList registryReads;
    QStringList started;

    std::optional<QString> registryValue = QStringLiteral("C:\\Program Files\\Tencent\\QQ\\Bin\\");
    bool openSucceeds = true;
    bool startSucceeds = true;
    bool throwOnOpen = false;
    bool throwOnRead = false;
};

char* toString(const OpenCall& call) {
    return QTest::toString(
        QStringLiteral("openTarget(\"%1\", \"%2\")").arg(call.operation, call.target));
}

// An optional text as something QCOMPARE can show (the registry stand-in checks, not on Windows).
[[maybe_unused]] QString orNone(const std::optional<QString>& text) {
    return text ? QStringLiteral("\"%1\"").arg(*text) : QStringLiteral("<none>");
}

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
    for (int index = 0; index < frmHelp::informationCount; ++index) {
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

frmHelp* openHelpWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("frmHelp") && widget->isVisible()) {
            return qobject_cast<frmHelp*>(widget);
        }
    }
    return nullptr;
}

// Not used where the messenger stand-in cannot be a shell script (Windows).
[[maybe_unused]] QString fileText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

// The pixel position of each line, from its top in twips (15 twips a pixel).
struct LinePlace {
    int index;
    int topTwips;
    int topPixels;
};
constexpr LinePlace linePlaces[] = {{0, 120, 8},   {1, 454, 30},   {2, 795, 53},   {3, 1125, 75},
                                    {4, 1455, 97}, {5, 1785, 119}, {6, 2130, 142}, {7, 2520, 168}};

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
        // Client area 4335 x 3375 twips, and no way to resize it.
        QCOMPARE(window.size(), QSize(289, 225));
        QCOMPARE(window.minimumSize(), QSize(289, 225));
        QCOMPARE(window.maximumSize(), QSize(289, 225));
        QVERIFY(!window.isSizeGripEnabled());
        QCOMPARE(
            window.findChildren<QLabel*>(QRegularExpression(QStringLiteral("^lblInformation_")))
                .size(),
            frmHelp::informationCount);
    }

    void linesHaveTheirTexts() {
        RecordingServices services;
        frmHelp window(services);
        QCOMPARE(information(window, 0)->text(), QStringLiteral("一、软件信息："));
        QCOMPARE(information(window, 1)->text(), QStringLiteral("Publisher:") +
                                                     publisher::chineseName + QStringLiteral("(") +
                                                     publisher::latinName + QStringLiteral(")"));
        QCOMPARE(information(window, 2)->text(), QStringLiteral("eMail:") + publisher::mailAddress);
        QCOMPARE(information(window, 3)->text(),
                 QStringLiteral("Home Page:") + publisher::homePage);
        QCOMPARE(information(window, 4)->text(),
                 QStringLiteral("QQ:") + publisher::messengerAccount);
        QCOMPARE(information(window, 5)->text(), QStringLiteral("二、温馨提示："));
        QCOMPARE(information(window, 6)->text(),
                 QStringLiteral("确定以某次选择为准即可，犹豫、多选无益。"));
        QCOMPARE(information(window, 7)->text(),
                 QStringLiteral("若中奖，望告知；你得利，我留名。"));
    }

    void linesHaveTheirPlacesAndLooks_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("topPixels");
        for (const LinePlace& place : linePlaces) {
            QTest::addRow("lblInformation(%d) at top %d", place.index, place.topTwips)
                << place.index << place.topPixels;
        }
    }

    void linesHaveTheirPlacesAndLooks() {
        QFETCH(int, index);
        QFETCH(int, topPixels);
        RecordingServices services;
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        const QLabel* label = information(window, index);
        QVERIFY(label != nullptr);

        QCOMPARE(label->pos(), QPoint(32, topPixels)); // left 480 twips
        QVERIFY(!label->wordWrap());
        QCOMPARE(label->size(), label->sizeHint());
        QVERIFY(label->height() < 2 * label->fontMetrics().lineSpacing());
        QVERIFY(window.rect().contains(label->geometry()));
        QVERIFY(label->autoFillBackground());
        QCOMPARE(label->backgroundRole(), QPalette::Window);
        QCOMPARE(label->palette().color(QPalette::Window),
                 window.palette().color(QPalette::Window));
        // Only the links take the focus, and only from the keyboard.
        QCOMPARE(label->focusPolicy(), index >= 2 && index <= 4 ? Qt::TabFocus : Qt::NoFocus);
        QCOMPARE(textColour(label), startColour);

        const bool heading = index == 0 || index == 5;
        const QFont expected = heading ? kestrune::ui::uiFont(8.25, true) : kestrune::ui::uiFont();
        QCOMPARE(label->font().families(), expected.families());
        QCOMPARE(label->font().pointSizeF(), expected.pointSizeF());
        QCOMPARE(label->font().bold(), heading);
    }

    // Headings, lines and button in one face that writes simplified Chinese.
    void everyTextShowsInOneSimplifiedChineseFace() {
        RecordingServices services;
        frmHelp window(services);
        QSet<QString> faces{QFontInfo(okButton(window)->font()).family()};
        for (int index = 0; index < frmHelp::informationCount; ++index) {
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
        for (int index = 1; index < frmHelp::informationCount; ++index) {
            QVERIFY2(information(window, index - 1)->geometry().bottom() <
                         information(window, index)->geometry().top(),
                     qPrintable(QStringLiteral("line %1").arg(index)));
        }
        QVERIFY(information(window, 7)->geometry().bottom() < okButton(window)->geometry().top());
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

    void okButtonHasItsPlaceAndFocus() {
        RecordingServices services;
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        QPushButton* ok = okButton(window);
        QVERIFY(ok != nullptr);
        QCOMPARE(ok->text(), QStringLiteral("确    定"));
        QCOMPARE(ok->geometry(), QRect(112, 192, 76, 24)); // 1680, 2880, 1140 x 360 twips
        QCOMPARE(ok->font().families(), kestrune::ui::uiFont().families());
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

    void escapeDoesNotClose() {
        RecordingServices services;
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        QTRY_COMPARE(QApplication::focusWidget(), okButton(window));
        QTest::keyClick(window.windowHandle(), Qt::Key_Escape);
        QVERIFY(window.isVisible());
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(window.isVisible());
        QCOMPARE(services.callCount(), 0);
    }

    void enterElsewhereDoesNotClose() {
        RecordingServices services;
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        for (const int index : {0, 1, 5, 6, 7}) {
            QTest::keyClick(information(window, index), Qt::Key_Return);
            QTest::keyClick(information(window, index), Qt::Key_Enter, Qt::KeypadModifier);
        }
        QTest::keyClick(&window, Qt::Key_Return);
        QVERIFY(window.isVisible());
        QCOMPARE(services.callCount(), 0);
    }

    void enterOnFocusedOkCloses() {
        RecordingServices services;
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        QTRY_COMPARE(QApplication::focusWidget(), okButton(window));
        QTest::keyClick(window.windowHandle(), Qt::Key_Return);
        QVERIFY(!window.isVisible());
    }

    void okButtonCloses() {
        RecordingServices services;
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        clickOn(okButton(window));
        QVERIFY(!window.isVisible());
        QCOMPARE(services.callCount(), 0);
    }

    void closeBoxCloses() {
        RecordingServices services;
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        // What the title bar's close box does: the window system asks the window to close.
        QVERIFY(window.windowHandle()->close());
        QVERIFY(!window.isVisible());
    }

    // --- Hover colouring ---------------------------------------------------------------------

    void linksTurnGreenUnderThePointer_data() {
        QTest::addColumn<int>("index");
        QTest::newRow("mail") << 2;
        QTest::newRow("home page") << 3;
        QTest::newRow("messenger") << 4;
    }

    void linksTurnGreenUnderThePointer() {
        QFETCH(int, index);
        RecordingServices services;
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        moveOver(information(window, index));
        QList<QColor> expected(frmHelp::informationCount, startColour);
        expected[index] = green;
        QCOMPARE(allColours(window), expected);
        QCOMPARE(services.callCount(), 0);
    }

    void otherLinesKeepTheirColour() {
        RecordingServices services;
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        const QList<QColor> atStart(frmHelp::informationCount, startColour);
        for (int index : {0, 1, 5, 6, 7}) {
            moveOver(information(window, index));
            QCOMPARE(allColours(window), atStart);
        }
        moveOverSurface(window, bareLeft);
        const QList<QColor> allBlack(frmHelp::informationCount, black);
        QCOMPARE(allColours(window), allBlack);
        for (int index : {0, 1, 5, 6, 7}) {
            moveOver(information(window, index));
            QCOMPARE(allColours(window), allBlack);
        }
    }

    void bareSurfaceTurnsAllBlack() {
        RecordingServices services;
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        QCOMPARE(window.childAt(bareLeft), nullptr);
        QCOMPARE(window.childAt(bareRight), nullptr);

        // A quick move from one link to the next, with no move over the surface in between,
        // leaves both green.
        moveOver(information(window, 2));
        moveOver(information(window, 3));
        QCOMPARE(textColour(information(window, 2)), green);
        QCOMPARE(textColour(information(window, 3)), green);

        // The first move over the surface turns all eight black, headings included.
        moveOverSurface(window, bareRight);
        QCOMPARE(allColours(window), QList<QColor>(frmHelp::informationCount, black));

        // And again after the next link.
        moveOver(information(window, 4));
        QCOMPARE(textColour(information(window, 4)), green);
        moveOverSurface(window, bareLeft);
        QCOMPARE(allColours(window), QList<QColor>(frmHelp::informationCount, black));
    }

    void aMoveOverALineIsNoMoveOverTheSurface() {
        RecordingServices services;
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        moveOver(information(window, 2));
        // Over another line, at several places along it: the label takes the move, the window
        // behind it never sees it.
        const QLabel* advice = information(window, 6);
        for (const QPoint local :
             {QPoint(1, 1), advice->rect().center(), advice->rect().bottomRight() - QPoint(1, 1)}) {
            QTest::mouseMove(window.windowHandle(), windowPoint(advice, local));
            QCOMPARE(textColour(information(window, 2)), green);
            QCOMPARE(textColour(information(window, 6)), startColour);
        }
        // The same for a move sent straight to a line, which Qt would hand on to the window
        // were the line not to keep it.
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), advice->mapToGlobal(QPointF(2, 2)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(information(window, 6), &move);
        QCOMPARE(textColour(information(window, 2)), green);
    }

    void aLinkStaysGreenWhenThePointerGoesToOk() {
        RecordingServices services;
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        moveOver(information(window, 4));
        QCOMPARE(textColour(information(window, 4)), green);
        const QPushButton* ok = okButton(window);
        for (const QPoint local :
             {QPoint(1, 1), ok->rect().center(), ok->rect().bottomRight() - QPoint(1, 1)}) {
            QTest::mouseMove(window.windowHandle(), windowPoint(ok, local));
            QCOMPARE(textColour(information(window, 4)), green);
        }
        QList<QColor> expected(frmHelp::informationCount, startColour);
        expected[4] = green;
        QCOMPARE(allColours(window), expected);
    }

    void aLinkStaysGreenWhenThePointerLeavesTheWindow() {
        RecordingServices services;
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        moveOver(information(window, 3));
        QCOMPARE(textColour(information(window, 3)), green);
        const QPoint outside = window.frameGeometry().bottomRight() + QPoint(20, 20);
        QVERIFY(window.screen()->geometry().contains(outside));
        QCursor::setPos(window.screen(), outside);
        QTRY_COMPARE(QCursor::pos(window.screen()), outside);
        QCOMPARE(textColour(information(window, 3)), green);
    }

    void aClickChangesNoColour() {
        RecordingServices services;
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        // Presses and releases straight on the lines, without any move.
        for (int index = 0; index < frmHelp::informationCount; ++index) {
            QTest::mouseClick(information(window, index), Qt::LeftButton);
        }
        QCOMPARE(allColours(window), QList<QColor>(frmHelp::informationCount, startColour));
        QCOMPARE(services.opened.size(), 2);
    }

    // --- Links -----------------------------------------------------------------------------

    void mailLinkOpensANewMail() {
        RecordingServices services;
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        clickOn(information(window, 2));
        // Exactly as written: not percent-encoded.
        const QString expected = QStringLiteral("mailto:") + publisher::mailAddress +
                                 QStringLiteral("?subject=致意&body=") + publisher::personalName +
                                 QStringLiteral("，你好！");
        QCOMPARE(services.opened, (QList<OpenCall>{{QStringLiteral("open"), expected}}));
        QVERIFY(!services.opened.front().target.contains(u'%'));
        // The address is the one the line shows.
        QCOMPARE(information(window, 2)->text(),
                 QStringLiteral("eMail:") +
                     services.opened.front().target.mid(7).section(u'?', 0, 0));
        QVERIFY(services.registryReads.isEmpty());
        QVERIFY(services.started.isEmpty());
        QVERIFY(window.isVisible());
    }

    void homePageLinkOpensTheHomePage() {
        RecordingServices services;
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        clickOn(information(window, 3));
        QCOMPARE(services.opened.size(), 1);
        QVERIFY(services.opened.front().operation.isEmpty());
        QCOMPARE(services.opened.front().target, publisher::homePage);
        QCOMPARE(information(window, 3)->text(),
                 QStringLiteral("Home Page:") + services.opened.front().target);
        QVERIFY(services.registryReads.isEmpty());
        QVERIFY(services.started.isEmpty());
    }

    void messengerLinkStartsTheInstalledMessenger() {
        RecordingServices services;
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        clickOn(information(window, 4));
        QCOMPARE(services.registryReads, QStringList{installValuePath});
        QCOMPARE(services.started,
                 QStringList{QStringLiteral("C:\\Program Files\\Tencent\\QQ\\Bin\\QQ.exe")});
        QVERIFY(services.opened.isEmpty());
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
        QCOMPARE(allColours(window), QList<QColor>(frmHelp::informationCount, startColour));
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
        for (int index = 0; index < frmHelp::informationCount; ++index) {
            QVERIFY(dialog->text(QAccessible::Description)
                        .contains(information(window, index)->text()));
        }
        for (int index = 0; index < frmHelp::informationCount; ++index) {
            QAccessibleInterface* line =
                QAccessible::queryAccessibleInterface(information(window, index));
            const bool isLink = index >= 2 && index <= 4;
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
        QCOMPARE(allColours(window), QList<QColor>(frmHelp::informationCount, startColour));
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

    void aFollowedLinkIsAnnouncedAndShowsNoMessage() {
        RecordingServices services;
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        auto* news = window.findChild<QLabel*>(QStringLiteral("linkNews"));
        QVERIFY(news != nullptr && !news->isVisible());
        QCOMPARE(clickAndAnswerMessage(information(window, 4)), QString());
        QCOMPARE(services.started,
                 QStringList{QStringLiteral("C:\\Program Files\\Tencent\\QQ\\Bin\\QQ.exe")});
        QVERIFY(news->isVisible());
        QCOMPARE(QAccessible::queryAccessibleInterface(news)->role(), QAccessible::Notification);
        QCOMPARE(news->accessibleName(), QStringLiteral("已启动 QQ"));
        // Shown for a moment only, so that no review of the window finds it afterwards.
        QTRY_VERIFY(!news->isVisible());
    }

    void installValueWithoutSeparatorRunsTogether() {
        RecordingServices services;
        services.registryValue = QStringLiteral("C:\\QQ");
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        clickOn(information(window, 4));
        QCOMPARE(services.started, QStringList{QStringLiteral("C:\\QQQQ.exe")});
    }

    void shellMetacharactersArePassedAsAPlainPath() {
        RecordingServices services;
        const QString hostile =
            QStringLiteral("C:\\x\" & del /q *.* | calc ; rm -rf ~ $(reboot) `id` %PATH% ^> nul\\");
        services.registryValue = hostile;
        frmHelp window(services);
        QVERIFY(showAndActivate(window));
        clickOn(information(window, 4));
        QCOMPARE(services.started, QStringList{hostile + QStringLiteral("QQ.exe")});
    }

    // --- The real services -------------------------------------------------------------------

    void registryStandInLivesInTheConfigurationFolder() {
#ifdef Q_OS_WIN
        QSKIP("Windows reads the registry itself");
#else
        QTemporaryDir config;
        QVERIFY(config.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        QCOMPARE(DesktopPlatformServices::registryStandInFile(),
                 config.filePath(QStringLiteral("kestrune/registry.ini")));
#endif
    }

    void registryStandInReadsTheInstallValue() {
#ifdef Q_OS_WIN
        QSKIP("Windows reads the registry itself");
#else
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
#endif
    }

    void realStartRunsTheAssembledPathAndNoShell() {
#ifndef Q_OS_UNIX
        QSKIP("uses a shell script as the stand-in messenger");
#else
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
#endif
    }

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
            for (int index = 0; index < frmHelp::informationCount; ++index) {
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
                // Whatever happens here, the window closes, so that the opening returns.
                const auto closeAtEnd = qScopeGuard([] {
                    if (frmHelp* open = openHelpWindow()) {
                        open->close();
                    }
                });
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
                QCOMPARE(allColours(*help), QList<QColor>(frmHelp::informationCount, startColour));
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
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
