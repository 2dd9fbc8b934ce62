#include "command_line.h"
#include "common/fonts.h"
#include "main/frm_main.h"
#include "platform/desktop_platform_services.h"
#include "timer_random_source.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>

int main(int argc, char* argv[]) {
    kestrune::app::describeApplication();
    if (const std::optional<int> status = kestrune::app::answerWithoutDisplay(argc, argv)) {
        return *status;
    }
    QApplication app(argc, argv);
    if (const std::optional<int> status = kestrune::app::rejectUnknownArguments(app)) {
        return *status;
    }
    QApplication::setFont(kestrune::ui::defaultUiFont());

    kestrune::TimerRandomSource random;
    kestrune::ui::DesktopPlatformServices services;
    try {
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
