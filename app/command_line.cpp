#include "command_line.h"

#include "kestrune/version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QString>
#include <QStringList>
#include <cstdio>

namespace kestrune::app {

namespace {

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
};

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
    // Qt's own options are unknown here (QApplication takes them later), so errors are ignored.
    parser.parser.parse(arguments);
    const bool helpAll = parser.parser.isSet(QStringLiteral("help-all"));
    if (!parser.parser.isSet(parser.help) && !parser.parser.isSet(parser.version) && !helpAll) {
        return std::nullopt;
    }
    // The texts need an application object, but not one that connects to a display. It gets
    // the bare program name, so the usage line reads the same wherever the program lies.
    QByteArray name = QFileInfo(arguments.constFirst()).fileName().toLocal8Bit();
    int applicationArgc = 1;
    char* applicationArgv[] = {name.data(), nullptr};
    QCoreApplication application(applicationArgc, applicationArgv);
    if (helpAll) {
        parser.parser.process(
            QStringList{QString::fromLocal8Bit(name), QStringLiteral("--help-all")});
    }
    if (parser.parser.isSet(parser.help)) {
        std::fputs(qPrintable(parser.parser.helpText()), stdout);
    } else {
        // The GNU form "command (package) version", which help2man reads for the manual page.
        std::printf("kestrune (%s) %s\n", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()));
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

std::optional<int> rejectUnknownArguments(const QCoreApplication& application) {
    Parser parser;
    if (!parser.parser.parse(application.arguments())) {
        std::fprintf(stderr, "%s\n%s\n", qPrintable(parser.parser.errorText()),
                     "Try 'kestrune --help' for the options.");
        return 1;
    }
    if (!parser.parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "kestrune takes no arguments, but was given '%s'.\n%s\n",
                     qPrintable(parser.parser.positionalArguments().join(QStringLiteral("' '"))),
                     "Try 'kestrune --help' for the options.");
        return 1;
    }
    return std::nullopt;
}

} // namespace kestrune::app
