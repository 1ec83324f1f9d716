#include "support/DialogWatcher.h"

namespace {

struct Search {
    const std::wstring* caption;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 255);
    if (*search->caption != text) return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

DialogWatcher::DialogWatcher(const wchar_t* caption, int button)
    : caption_(caption), button_(button), thread_(&DialogWatcher::Run, this) {}

DialogWatcher::~DialogWatcher() {
    stop_ = true;
    thread_.join();
}

std::vector<std::wstring> DialogWatcher::Texts() {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
}

void DialogWatcher::Run() {
    while (!stop_) {
        Search search{&caption_, nullptr};
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            wchar_t text[1024] = {};
            // The static text of a message box has the id 0xFFFF.
            GetDlgItemTextW(search.found, 0xFFFF, text, 1023);
            {
                std::lock_guard<std::mutex> lock(mutex_);
                texts_.push_back(text);
            }
            SendMessageW(search.found, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED), 0);
            // Wait until the dialog is gone before looking for the next one.
            for (int i = 0; i < 200 && IsWindow(search.found); ++i)
                Sleep(10);
        }
        Sleep(20);
    }
}
