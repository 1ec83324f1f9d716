// Answers the message boxes a test provokes: watches this process for dialogs
// with a given caption, records their text and presses a button.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class DialogWatcher {
public:
    DialogWatcher(const wchar_t* caption, int button);
    ~DialogWatcher();

    // Texts of the dialogs answered so far.
    std::vector<std::wstring> Texts();

private:
    void Run();

    std::wstring caption_;
    int button_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<std::wstring> texts_;
    std::thread thread_;
};
