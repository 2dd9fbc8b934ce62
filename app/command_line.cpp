// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line.h"

#include "kestrune/version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

namespace kestrune::app {

namespace {

// The options Qt's application objects and the X11 and Wayland plugins take themselves, with
// whether they take a value. They are known here so that a command line can be checked whole
// before any window system is touched; Qt removes them again when it starts.
struct QtOption {
    const char* name;
    bool takesValue;
};
constexpr QtOption qtOptions[] = {
    {"platform", true},
    {"platformpluginpath", true},
    {"platformtheme", true},
    {"plugin", true},
    {"qwindowgeometry", true},
    {"geometry", true},
    {"qwindowtitle", true},
    {"title", true},
    {"qwindowicon", true},
    {"icon", true},
    {"session", true},
    {"display", true},
    {"name", true},
    {"visual", true},
    {"style", true},
    {"stylesheet", true},
    {"qmljsdebugger", true},
    {"reverse", false},
    {"nograb", false},
    {"dograb", false},
    {"widgetcount", false},
    {"testability", false},
};

struct Parser {
    QCommandLineParser parser;
    QCommandLineOption help;
    QCommandLineOption version;

    Parser() : help(parser.addHelpOption()), version(parser.addVersionOption()) {
        parser.setApplicationDescription(QStringLiteral(
            "Makes a machine pick for a red-and-blue number lottery. At the press of the "
            "machine-pick button the program draws six distinct red numbers from 1 to 33 and one "
            "blue number from 1 to 16, judges the reds by eight statistics and redraws until a "
            "ticket passes a soft random filter, then shows the ticket on a board of balls, as "
            "one line of text and as eight lines of statistics.\n\n"
            "Besides the options below, the standard options of Qt programs are accepted, such "
            "as -platform NAME (for example -platform wayland or -platform xcb) and "
            "-style NAME."));
    }

    // Also knows Qt's own options, hidden from --help, and reads -platform as one option, as Qt
    // does.
    void acceptQtOptions() {
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        for (const QtOption& qt : qtOptions) {
            QCommandLineOption option(QString::fromLatin1(qt.name));
            if (qt.takesValue) {
                option.setValueName(QStringLiteral("value"));
            }
            option.setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(option);
        }
    }
};

// Reads the arguments; an unknown option, an option without its value or a stray argument is
// told to the user and ends the program with status 1.
std::optional<int> refuseBadArguments(QCommandLineParser& parser, const QStringList& arguments) {
    const char* const tryHelp = "Try 'kestrune --help' for the options.";
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "kestrune: %s\n%s\n", qPrintable(parser.errorText()), tryHelp);
        return 1;
    }
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "kestrune takes no arguments, but was given '%s'.\n%s\n",
                     qPrintable(parser.positionalArguments().join(QStringLiteral("' '"))), tryHelp);
        return 1;
    }
    return std::nullopt;
}

// The window system the program would start on: -platform, else QT_QPA_PLATFORM, else the
// default. Each entry of a fallback list ("wayland;xcb") names a plugin, perhaps with options
// after a colon. The X11 and Wayland plugins need a display; the others (offscreen, vnc,
// linuxfb, ...) and the default outside X11 and Wayland systems do not.
bool needsDisplay(const QString& platform) {
    if (platform.isEmpty()) {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
        return false;
#else
        return true;
#endif
    }
    const QStringList entries = platform.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& entry : entries) {
        const QString plugin = entry.section(QLatin1Char(':'), 0, 0);
        if (plugin != QLatin1String("xcb") && !plugin.startsWith(QLatin1String("wayland"))) {
            return false;
        }
    }
    return true;
}

// An X11 display named by DISPLAY or -display, a Wayland one named by WAYLAND_DISPLAY or the
// compositor's default socket.
bool displayNamed(const QCommandLineParser& parser) {
    if (!qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
        parser.isSet(QStringLiteral("display"))) {
        return true;
    }
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/wayland-0"));
}

// Until the window system is up, Qt's fatal errors (no display reachable, no such platform
// plugin) are the user's to fix, not crashes: one line naming the cause and status 1 instead
// of an abort. Everything else goes on to Qt's own handler.
QtMessageHandler qtHandler = nullptr;

void reportStartFailure(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg && QGuiApplication::platformName().isEmpty()) {
        std::fprintf(stderr, "kestrune: cannot open a window: %s\n",
                     qPrintable(text.section(QLatin1Char('\n'), 0, 0)));
        std::_Exit(1);
    }
    if (qtHandler != nullptr) {
        qtHandler(type, context, text);
    }
}

} // namespace

void describeApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Kestrune"));
    QCoreApplication::setOrganizationName(QStringLiteral("Kestrune"));
    QCoreApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(version::major).arg(version::minor).arg(version::revision));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Kestrune"));
}

std::optional<int> answerWithoutDisplay(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    Parser parser;
    parser.acceptQtOptions();
    if (const std::optional<int> status = refuseBadArguments(parser.parser, arguments)) {
        return status;
    }
    const bool helpAll = parser.parser.isSet(QStringLiteral("help-all"));
    if (!parser.parser.isSet(parser.help) && !parser.parser.isSet(parser.version) && !helpAll) {
        const QString platform = parser.parser.isSet(QStringLiteral("platform"))
                                     ? parser.parser.values(QStringLiteral("platform")).constLast()
                                     : qEnvironmentVariable("QT_QPA_PLATFORM");
        if (needsDisplay(platform) && !displayNamed(parser.parser)) {
            std::fputs("kestrune: no display to open the window on: neither DISPLAY nor "
                       "WAYLAND_DISPLAY is set (start it in a desktop session)\n",
                       stderr);
            return 1;
        }
        qtHandler = qInstallMessageHandler(reportStartFailure);
        return std::nullopt;
    }
    // The texts need an application object, but not one that connects to a display. It gets
    // the bare program name, so the usage line reads the same wherever the program lies. The
    // help text comes from a parser without Qt's options, which --help does not list.
    QByteArray name = QFileInfo(arguments.constFirst()).fileName().toLocal8Bit();
    int applicationArgc = 1;
    char* applicationArgv[] = {name.data(), nullptr};
    QCoreApplication application(applicationArgc, applicationArgv);
    Parser texts;
    if (helpAll) {
        texts.parser.process(
            QStringList{QString::fromLocal8Bit(name), QStringLiteral("--help-all")});
    }
    if (parser.parser.isSet(parser.help)) {
        std::fputs(qPrintable(texts.parser.helpText()), stdout);
    } else {
        // The GNU form "command (package) version", which help2man reads for the manual page.
        std::printf("kestrune (%s) %s\n", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()));
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

std::optional<int> rejectUnknownArguments(const QCoreApplication& application) {
    Parser parser;
    return refuseBadArguments(parser.parser, application.arguments());
}

} // namespace kestrune::app
