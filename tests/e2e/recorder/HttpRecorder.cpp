// e2e_recorder: stands in for the system's web browser as the handler of http addresses
// (HKCR\http\shell\open\command in the end-to-end prefix). Appends each argument it was
// started with as one UTF-8 line to the file named by VARNEL_E2E_RECORD, then exits.
// A GUI program, so being started opens no console.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

constexpr wchar_t kRecordPathVariable[] = L"VARNEL_E2E_RECORD";

std::string Utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return std::string();
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], size, nullptr, nullptr);
    utf8.resize(static_cast<size_t>(size) - 1);
    return utf8;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    wchar_t path[MAX_PATH * 2] = {};
    const DWORD length = GetEnvironmentVariableW(kRecordPathVariable, path, MAX_PATH * 2);
    if (length == 0 || length >= MAX_PATH * 2) return 1;
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr) return 1;
    std::string lines;
    for (int i = 1; i < count; ++i)
        lines += Utf8(arguments[i]) + "\n";
    LocalFree(arguments);
    const HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    const BOOL wrote =
        WriteFile(file, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
    CloseHandle(file);
    return wrote ? 0 : 1;
}
