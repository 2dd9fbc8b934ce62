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

int main(int argc, char* argv[]) {
#ifdef Q_OS_WIN
    kestrune::app::ConsoleOutput::instance();
#endif
    kestrune::app::describeApplication();
    if (const std::optional<int> status = kestrune::app::answerWithoutDisplay(argc, argv)) {
        return answered(*status);
    }
    QApplication app(argc, argv);
    if (const std::optional<int> status = kestrune::app::rejectUnknownArguments(app)) {
        return answered(*status);
    }
    QApplication::setFont(kestrune::ui::defaultUiFont());

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
