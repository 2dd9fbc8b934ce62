// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The help window's three links: what a click, a key or a screen reader's press action follows,
// with a recording stand-in for the platform services, and what a link that fails says.

#include "help/frm_help.h"
#include "help/publisher.h"
#include "help_window_helpers.h"
#include "platform/platform_services.h"
#include "window_fakes.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <utility>

using namespace kestrune::testing;
using kestrune::ui::frmHelp;
namespace publisher = kestrune::ui::publisher;

namespace {

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

} // namespace

class HelpLinksTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    // Links
    void aClickFollowsTheLink_data();
    void aClickFollowsTheLink();
    void eachClickFollowsTheLinkOnce();
    void keysFollowTheFocusedLinkAsAClickDoes_data();
    void keysFollowTheFocusedLinkAsAClickDoes();
    void linksAreExposedWithAPressAction();
    void otherLinesDoNothingWhenClicked_data();
    void otherLinesDoNothingWhenClicked();
    void aPressOnOneLinkAndReleaseOnAnotherIsNoClick();

    // Failing links
    void failingLinksSayWhy_data();
    void failingLinksSayWhy();
};

void HelpLinksTest::initTestCase() {
    QVERIFY2(AccessibilitySpy::install(), "this platform has no accessibility to spy on");
    useStartColour();
}

void HelpLinksTest::cleanup() {
    QCOMPARE(openHelpWindow(), nullptr);
}

// A followed link calls exactly its services, opens no message box and is announced to a
// screen reader, which would hear nothing else. The mail goes out exactly as written (not
// percent-encoded), and the messenger's path is the install value and the program's name
// run together, whatever they hold.
void HelpLinksTest::aClickFollowsTheLink_data() {
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

void HelpLinksTest::aClickFollowsTheLink() {
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

    AccessibilitySpy::clear();
    QCOMPARE(clickAndAnswerMessage(information(window, line)), QString());
    // Told once.
    QCOMPARE(AccessibilitySpy::news(), QStringList{news});
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
    QCOMPARE(QAccessible::queryAccessibleInterface(newsLabel)->role(), QAccessible::Notification);
    QCOMPARE(newsLabel->accessibleName(), news);
    // Shown for a moment only, so that no review of the window finds it afterwards.
    QTRY_VERIFY(!newsLabel->isVisible());
}

void HelpLinksTest::eachClickFollowsTheLinkOnce() {
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

void HelpLinksTest::keysFollowTheFocusedLinkAsAClickDoes_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addRow("mail by Return") << 2 << int(Qt::Key_Return) << Qt::KeyboardModifiers();
    QTest::addRow("home page by keypad Enter")
        << 3 << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier);
    QTest::addRow("messenger by Space") << 4 << int(Qt::Key_Space) << Qt::KeyboardModifiers();
}

void HelpLinksTest::keysFollowTheFocusedLinkAsAClickDoes() {
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
void HelpLinksTest::linksAreExposedWithAPressAction() {
    RecordingServices services;
    frmHelp window(services);
    QVERIFY(showAndActivate(window));
    QAccessibleInterface* dialog = QAccessible::queryAccessibleInterface(&window);
    for (int index = 0; index < kestrune::ui::helpLineCount; ++index) {
        QVERIFY(
            dialog->text(QAccessible::Description).contains(information(window, index)->text()));
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

void HelpLinksTest::otherLinesDoNothingWhenClicked_data() {
    QTest::addColumn<int>("index");
    for (int index : {0, 1, 5, 6, 7}) {
        QTest::addRow("lblInformation(%d)", index) << index;
    }
}

void HelpLinksTest::otherLinesDoNothingWhenClicked() {
    QFETCH(int, index);
    RecordingServices services;
    frmHelp window(services);
    QVERIFY(showAndActivate(window));
    clickOn(information(window, index));
    QCOMPARE(services.callCount(), 0);
    QVERIFY(window.isVisible());
}

void HelpLinksTest::aPressOnOneLinkAndReleaseOnAnotherIsNoClick() {
    RecordingServices services;
    frmHelp window(services);
    QVERIFY(showAndActivate(window));
    QTest::mousePress(window.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      windowPoint(information(window, 2)));
    QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                        windowPoint(information(window, 3)));
    QCOMPARE(services.callCount(), 0);
}

// A link that fails says why in a message box (which a screen reader reads as an alert); the
// window goes on, and the next click simply tries again.
void HelpLinksTest::failingLinksSayWhy_data() {
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

void HelpLinksTest::failingLinksSayWhy() {
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
    AccessibilitySpy::clear();
    for (int attempt = 1; attempt <= 2; ++attempt) {
        const QString said = clickAndAnswerMessage(information(window, line));
        QVERIFY2(said.contains(words), qPrintable(said));
        QCOMPARE(services.callCount(),
                 (line == 4 ? 1 + int(failure == QLatin1String("start fails")) : 1) * attempt);
        QVERIFY(window.isVisible());
    }
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    // Each failure is an alert, and nothing is announced as followed.
    QCOMPARE(AccessibilitySpy::toldAbout(QStringLiteral("linkFailureBox"))
                 .filter(QStringLiteral(" alert"))
                 .size(),
             2);
    QCOMPARE(AccessibilitySpy::news(), QStringList());
}

QTEST_MAIN(HelpLinksTest)
#include "help_links_test.moc"
