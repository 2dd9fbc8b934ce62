// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/desktop_platform_services.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>
#include <QVariant>
#include <utility>

namespace kestrune::ui {

namespace {

// Registry values come in many kinds; callers only ever want text.
std::optional<QString> textOf(const QVariant& value) {
    if (value.typeId() != QMetaType::QString) {
        return std::nullopt;
    }
    return value.toString();
}

#ifdef Q_OS_WIN

QString fullHiveName(const QString& hive) {
    static const QList<std::pair<QString, QString>> abbreviations{{"HKLM", "HKEY_LOCAL_MACHINE"},
                                                                  {"HKCU", "HKEY_CURRENT_USER"},
                                                                  {"HKCR", "HKEY_CLASSES_ROOT"},
                                                                  {"HKU", "HKEY_USERS"},
                                                                  {"HKCC", "HKEY_CURRENT_CONFIG"}};
    for (const auto& [shortName, fullName] : abbreviations) {
        if (hive.compare(shortName, Qt::CaseInsensitive) == 0) {
            return fullName;
        }
    }
    return hive;
}

std::optional<QString> readNativeRegistry(const QString& path) {
    const qsizetype valueSeparator = path.lastIndexOf(u'\\');
    if (valueSeparator <= 0) {
        return std::nullopt;
    }
    const QString keyPath = path.left(valueSeparator);
    const QString valueName = path.mid(valueSeparator + 1);
    const qsizetype hiveEnd = keyPath.indexOf(u'\\');
    const QString hive = hiveEnd < 0 ? keyPath : keyPath.left(hiveEnd);
    const QString key = fullHiveName(hive) + keyPath.mid(hive.size());

    // A 64-bit build looks at the 64-bit view first; 32-bit installers, the messenger's among
    // them, write into the 32-bit view.
    for (const auto format : {QSettings::NativeFormat, QSettings::Registry32Format}) {
        const QSettings registry(key, format);
        if (auto text = textOf(registry.value(valueName))) {
            return text;
        }
    }
    return std::nullopt;
}

#else

std::optional<QString> readStandIn(const QString& path) {
    const QFileInfo file(DesktopPlatformServices::registryStandInFile());
    if (!file.isFile()) {
        return std::nullopt;
    }
    const QSettings standIn(file.filePath(), QSettings::IniFormat);
    if (standIn.status() != QSettings::NoError) {
        return std::nullopt;
    }

    // "HKLM\SOFTWARE\Tencent\qq\Install" is the key "SOFTWARE\Tencent\qq\Install" in the section
    // [HKLM]; QSettings separates the section by a slash.
    QString key = path;
    key.replace(u'\\', u'/');
    if (standIn.contains(key)) {
        return textOf(standIn.value(key));
    }
    // The registry ignores the case of key and value names; so does its stand-in.
    const QStringList keys = standIn.allKeys();
    for (const QString& candidate : keys) {
        if (candidate.compare(key, Qt::CaseInsensitive) == 0) {
            return textOf(standIn.value(candidate));
        }
    }
    return std::nullopt;
}

#endif

} // namespace

bool DesktopPlatformServices::openTarget(const QString& operation, const QString& target) {
    // Qt offers one action for a target, the system's default one, which is "open" for the
    // addresses the windows hand in.
    if (!operation.isEmpty() && operation.compare(u"open", Qt::CaseInsensitive) != 0) {
        return false;
    }
    // The target goes in as it is; QUrl does whatever encoding the system's opener needs.
    const QUrl url(target, QUrl::TolerantMode);
    if (!url.isValid() || url.scheme().isEmpty()) {
        return false;
    }
    return QDesktopServices::openUrl(url);
}

std::optional<QString> DesktopPlatformServices::readRegistryValue(const QString& path) {
#ifdef Q_OS_WIN
    return readNativeRegistry(path);
#else
    return readStandIn(path);
#endif
}

bool DesktopPlatformServices::startProgram(const QString& program) {
    if (program.isEmpty()) {
        return false;
    }
#ifdef Q_OS_WIN
    // Windows hands batch files to cmd.exe, which would read the path as a command line.
    if (program.endsWith(u".bat", Qt::CaseInsensitive) ||
        program.endsWith(u".cmd", Qt::CaseInsensitive)) {
        return false;
    }
#endif
    // The path is the program itself, with no arguments: no shell ever sees it.
    return QProcess::startDetached(program, QStringList{});
}

QString DesktopPlatformServices::registryStandInFile() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (folder.isEmpty()) {
        return {};
    }
    return QDir(folder).filePath(QStringLiteral("kestrune/registry.ini"));
}

} // namespace kestrune::ui
