// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "console.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <cstdio>
#include <io.h>
#include <memory>
#include <windows.h>

namespace kestrune::app {

namespace {

bool isRedirected(DWORD standardHandle) {
    const HANDLE handle = GetStdHandle(standardHandle);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

} // namespace

ConsoleOutput& ConsoleOutput::instance() {
    static ConsoleOutput output;
    return output;
}

ConsoleOutput::ConsoleOutput() {
    if (isRedirected(STD_OUTPUT_HANDLE) || isRedirected(STD_ERROR_HANDLE)) {
        return;
    }
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        // The console's prompt has already come back, since it never waits for a program with
        // windows: start on a line of our own.
        if (std::freopen("CONOUT$", "w", stdout) != nullptr &&
            std::freopen("CONOUT$", "w", stderr) != nullptr) {
            std::fputs("\n", stdout);
            return;
        }
    }
    const QString file =
        QDir(QDir::tempPath())
            .filePath(QStringLiteral("kestrune-%1.txt").arg(GetCurrentProcessId()));
    if (_wfreopen(reinterpret_cast<const wchar_t*>(file.utf16()), L"w", stdout) == nullptr) {
        return;
    }
    if (_dup2(_fileno(stdout), _fileno(stderr)) == 0) {
        std::setvbuf(stderr, nullptr, _IONBF, 0);
    }
    captureFile_ = file;
}

ConsoleOutput::~ConsoleOutput() {
    if (!captureFile_.isEmpty()) {
        std::fclose(stdout);
        QFile::remove(captureFile_);
    }
}

void ConsoleOutput::showWhatWasWritten(int exitStatus) {
    if (captureFile_.isEmpty()) {
        return;
    }
    std::fflush(stdout);
    std::fflush(stderr);
    QFile file(captureFile_);
    if (!file.open(QIODevice::ReadOnly)) {
        return;
    }
    const QString text = QString::fromLocal8Bit(file.readAll()).trimmed();
    if (text.isEmpty()) {
        return;
    }
    // Before the windows start, no application object exists yet.
    static int argc = 1;
    static char name[] = "kestrune";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<QApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        application = std::make_unique<QApplication>(argc, argv);
    }
    const QString title = QStringLiteral("Kestrune");
    if (exitStatus == 0) {
        QMessageBox::information(nullptr, title, text);
    } else {
        QMessageBox::critical(nullptr, title, text);
    }
}

} // namespace kestrune::app
