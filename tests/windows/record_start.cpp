// SPDX-FileCopyrightText: 2026 Kestrune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the programs that the help window's links start (the mail program, the browser,
// the messenger): it appends the command line it was started with, as one UTF-8 line, to a file
// beside itself named after it ("QQ.exe" writes "QQ.exe.log"), and ends. Nothing real opens.
#include <string>
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::wstring log(MAX_PATH, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, log.data(), static_cast<DWORD>(log.size()));
    if (length == 0 || length >= log.size()) {
        return 2;
    }
    log.resize(length);
    log += L".log";

    const wchar_t* commandLine = GetCommandLineW();
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, nullptr, 0, nullptr, nullptr);
    std::string line(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, line.data(), bytes, nullptr, nullptr);
    line.back() = '\n'; // in place of the terminating zero

    const HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == line.size() ? 0 : 1;
}
