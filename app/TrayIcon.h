// The client's icon in the notification area: one icon per window, id 0, reporting mouse
// actions to its window as kTrayCallbackMessage.
#pragma once

#include <windows.h>

#include <shellapi.h>

// Message the tray sends to the owner window; lParam carries the mouse message.
constexpr UINT kTrayCallbackMessage = WM_USER + 1;

class TrayIcon {
public:
    TrayIcon();
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    /// Shows icon in the notification area for window, with tip when it is not null (cut
    /// to what the record holds). Returns whether the shell took it.
    bool Add(HWND window, HICON icon, const wchar_t* tip);
    /// Takes the icon out of the notification area, if it was added; safe to repeat.
    void Remove();

    HWND GetWindow() const { return m_window; }
    /// The record given to the shell.
    const NOTIFYICONDATAW& GetData() const { return m_data; }

private:
    HWND m_window = nullptr; ///< owner of the icon, null when none is shown
    HICON m_icon = nullptr;  ///< icon shown
    NOTIFYICONDATAW m_data;  ///< the record, sized for this platform
};
