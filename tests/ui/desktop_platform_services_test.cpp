// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The real platform services: the registry and its stand-in off Windows, the start of a program
// under the exact path it is given, and what they refuse.

#include "help/frm_help.h"
#include "help/publisher.h"
#include "help_window_helpers.h"
#include "platform/desktop_platform_services.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
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
    void realOpenRefusesWhatItCannotOpen();

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

void DesktopPlatformServicesTest::realOpenRefusesWhatItCannotOpen() {
    // Neither reaches the desktop: an operation Qt does not offer, and no target at all.
    DesktopPlatformServices services;
    QVERIFY(!services.openTarget(QStringLiteral("print"), publisher::homePage));
    QVERIFY(!services.openTarget(QStringLiteral("open"), QString()));
}

QTEST_MAIN(DesktopPlatformServicesTest)
#include "desktop_platform_services_test.moc"
