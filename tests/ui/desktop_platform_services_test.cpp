// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The real platform services: the registry and its stand-in off Windows, the start of a program
// under the exact path it is given, and what they refuse.

#include "help/frm_help.h"
#include "help/publisher.h"
#include "help_window_helpers.h"
#include "platform/desktop_platform_services.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <optional>

using namespace kestrune::testing;
using kestrune::ui::DesktopPlatformServices;
using kestrune::ui::frmHelp;
namespace publisher = kestrune::ui::publisher;

namespace {

#ifndef Q_OS_WIN
// An optional text as something QCOMPARE can show.
QString orNone(const std::optional<QString>& text) {
    return text ? QStringLiteral("\"%1\"").arg(*text) : QStringLiteral("<none>");
}
#endif

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

// Stands in for the desktop's openers of the schemes it is set for.
class OpenedUrls final : public QObject {
    Q_OBJECT

public:
    QStringList opened;

public slots:
    void open(const QUrl& url) { opened << url.toString(); }
};

} // namespace

class DesktopPlatformServicesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

#ifndef Q_OS_WIN
    void registryStandInLivesInTheConfigurationFolder();
    void registryStandInReadsTheInstallValue();
    void realStartRunsTheAssembledPathAndNoShell();

#endif

    void realStartOfAMissingProgramFails();
    void realOpenOpensOnlyWhatTheSystemCanOpen_data();
    void realOpenOpensOnlyWhatTheSystemCanOpen();

private:
    QByteArray savedConfigHome_;
    bool hadConfigHome_ = false;
};

void DesktopPlatformServicesTest::initTestCase() {
    hadConfigHome_ = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    savedConfigHome_ = qgetenv("XDG_CONFIG_HOME");
}

void DesktopPlatformServicesTest::cleanup() {
    if (hadConfigHome_) {
        qputenv("XDG_CONFIG_HOME", savedConfigHome_);
    } else {
        qunsetenv("XDG_CONFIG_HOME");
    }
}

#ifndef Q_OS_WIN
// Off Windows a file in the configuration folder stands in for the registry, and the
// messenger is a program a shell could misread. On Windows the program reads the registry
// itself, which the end-to-end run of the program under wine checks.
void DesktopPlatformServicesTest::registryStandInLivesInTheConfigurationFolder() {
    QTemporaryDir config;
    QVERIFY(config.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QCOMPARE(DesktopPlatformServices::registryStandInFile(),
             config.filePath(QStringLiteral("kestrune/registry.ini")));
}

void DesktopPlatformServicesTest::registryStandInReadsTheInstallValue() {
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
    QCOMPARE(
        orNone(services.readRegistryValue(QStringLiteral("hklm\\software\\tencent\\QQ\\install"))),
        QStringLiteral("\"/opt/tencent qq/bin/\""));
    QCOMPARE(
        orNone(services.readRegistryValue(QStringLiteral("HKLM\\SOFTWARE\\Tencent\\qq\\Missing"))),
        QStringLiteral("<none>"));
    QCOMPARE(
        orNone(services.readRegistryValue(QStringLiteral("HKCU\\SOFTWARE\\Tencent\\qq\\Install"))),
        QStringLiteral("<none>"));
    // A list is no text.
    QCOMPARE(orNone(services.readRegistryValue(QStringLiteral("HKLM\\SOFTWARE\\Other\\List"))),
             QStringLiteral("<none>"));
}

void DesktopPlatformServicesTest::realStartRunsTheAssembledPathAndNoShell() {
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

void DesktopPlatformServicesTest::realStartOfAMissingProgramFails() {
    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    DesktopPlatformServices services;
    QVERIFY(!services.startProgram(scratch.filePath(QStringLiteral("nowhere/QQ.exe"))));
    QVERIFY(!services.startProgram(QString()));
}

// What reaches the desktop is caught by handlers of the schemes used here, so that nothing is
// opened for real, whatever the services pass on: an operation the system does not offer, no
// target, a target without a scheme and one that is no address are refused before that.
void DesktopPlatformServicesTest::realOpenOpensOnlyWhatTheSystemCanOpen_data() {
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("opens");
    const QString address = QStringLiteral("https://www.example.org/");
    QTest::newRow("open") << "open" << address << true;
    QTest::newRow("OPEN in capitals") << "OPEN" << address << true;
    QTest::newRow("the default action") << QString() << publisher::homePage << true;
    QTest::newRow("a new mail") << "open"
                                << "mailto:a@example.org?subject=致意" << true;
    QTest::newRow("print") << "print" << publisher::homePage << false;
    QTest::newRow("no target") << "open" << QString() << false;
    QTest::newRow("no scheme") << "open"
                               << "www.example.org/" << false;
    QTest::newRow("no address") << "open"
                                << "https://[::1/" << false;
}

void DesktopPlatformServicesTest::realOpenOpensOnlyWhatTheSystemCanOpen() {
    QFETCH(QString, operation);
    QFETCH(QString, target);
    QFETCH(bool, opens);
    OpenedUrls desktop;
    const QStringList schemes{"https", "http", "mailto", QString()};
    for (const QString& scheme : schemes) {
        QDesktopServices::setUrlHandler(scheme, &desktop, "open");
    }
    const auto unset = qScopeGuard([&] {
        for (const QString& scheme : schemes) {
            QDesktopServices::unsetUrlHandler(scheme);
        }
    });
    DesktopPlatformServices services;
    QCOMPARE(services.openTarget(operation, target), opens);
    QCOMPARE(desktop.opened.size(), opens ? 1 : 0);
}

QTEST_MAIN(DesktopPlatformServicesTest)
#include "desktop_platform_services_test.moc"
