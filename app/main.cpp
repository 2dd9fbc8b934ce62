// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line.h"
#include "common/fonts.h"
#include "main/frm_main.h"
#include "platform/desktop_platform_services.h"
#include "timer_random_source.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>
#include <optional>

#ifdef Q_OS_WIN
#include "windows/console.h"
#endif

namespace {

// What the command line answered (help, version, a bad option) has reached the user.
int answered(int status) {
#ifdef Q_OS_WIN
    kestrune::app::ConsoleOutput::instance().showWhatWasWritten(status);
#endif
    return status;
}

} // namespace

#if defined(Q_OS_UNIX)
#include <clocale>
#include <cstring>
#include <langinfo.h>
#include <string>
#endif

namespace {

// Qt reads and writes every local 8-bit text as UTF-8, whatever the locale says, but Xlib
// encodes the legacy title property WM_NAME in the character set of the C library's locale: under
// LANG=C a window manager would read the Chinese titles as Latin-1 mojibake. So the character
// type follows Qt's UTF-8 (the language of messages, numbers and so on stays as it is).
void useUtf8CharacterType() {
#if defined(Q_OS_UNIX)
    const char* codeset = nl_langinfo(CODESET);
    if (std::strcmp(codeset, "UTF-8") == 0) {
        return;
    }
    std::string language = std::setlocale(LC_CTYPE, nullptr);
    language = language.substr(0, language.find_first_of(".@"));
    for (const std::string& candidate : {language + ".UTF-8", std::string("C.UTF-8")}) {
        if (std::setlocale(LC_CTYPE, candidate.c_str()) != nullptr) {
            return;
        }
    }
#endif
}

} // namespace

int main(int argc, char* argv[]) {
#ifdef Q_OS_WIN
    kestrune::app::ConsoleOutput::instance();
#endif
    kestrune::app::describeApplication();
    if (const std::optional<int> status = kestrune::app::answerWithoutDisplay(argc, argv)) {
        return answered(*status);
    }
    QApplication app(argc, argv);
    // After QApplication, which applies the environment's locale.
    useUtf8CharacterType();
    if (const std::optional<int> status = kestrune::app::rejectUnknownArguments(app)) {
        return answered(*status);
    }
    QApplication::setFont(kestrune::ui::uiFont());

    try {
        kestrune::TimerRandomSource random;
        kestrune::ui::DesktopPlatformServices services;
        kestrune::ui::frmMain window(random, services);
        window.show();
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(
            nullptr, QStringLiteral("Kestrune"),
            QStringLiteral("程序无法启动：%1").arg(QString::fromLocal8Bit(error.what())));
        return 1;
    }
}
