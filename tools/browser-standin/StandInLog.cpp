#include "StandInLog.h"

#include "StandInProtocol.h"

#include <windows.h>

std::wstring StandInLog::Path() {
    wchar_t buffer[MAX_PATH * 2];
    DWORD length = GetEnvironmentVariableW(StandIn::kLogPathVariable, buffer, MAX_PATH * 2);
    if (length > 0 && length < MAX_PATH * 2) return std::wstring(buffer, length);
    length = GetTempPathW(MAX_PATH * 2, buffer);
    if (length == 0 || length >= MAX_PATH * 2) return std::wstring();
    return std::wstring(buffer, length) + StandIn::kDefaultLogName;
}

void StandInLog::Write(const char* event, const std::wstring& argument) {
    std::string line = event;
    if (!argument.empty()) {
        const int wideLength = static_cast<int>(argument.size());
        const int size = WideCharToMultiByte(CP_UTF8, 0, argument.data(), wideLength, nullptr, 0,
                                             nullptr, nullptr);
        if (size > 0) {
            std::string utf8(static_cast<size_t>(size), '\0');
            WideCharToMultiByte(CP_UTF8, 0, argument.data(), wideLength, &utf8[0], size, nullptr,
                                nullptr);
            line += ' ';
            line += utf8;
        }
    }
    line += '\n';

    const std::wstring path = Path();
    if (path.empty()) return;
    // Opened per line with append access: each line lands whole even when two
    // processes of one prefix share the file.
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}
