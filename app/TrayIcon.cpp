#include "TrayIcon.h"

#include <cwchar>

TrayIcon::TrayIcon() : m_data() {}

TrayIcon::~TrayIcon() {
    Remove();
}

bool TrayIcon::Add(HWND window, HICON icon, const wchar_t* tip) {
    Remove();
    m_data = NOTIFYICONDATAW();
    // The record's size tells the shell which layout it gets; a 32-bit size is refused here.
    m_data.cbSize = sizeof(NOTIFYICONDATAW);
    m_data.hWnd = window;
    m_data.uID = 0;
    m_data.hIcon = icon;
    m_data.uCallbackMessage = kTrayCallbackMessage;
    m_data.uFlags = NIF_MESSAGE | NIF_ICON;
    if (tip != nullptr) {
        m_data.uFlags |= NIF_TIP;
        const size_t capacity = sizeof(m_data.szTip) / sizeof(m_data.szTip[0]);
        wcsncpy(m_data.szTip, tip, capacity - 1);
        m_data.szTip[capacity - 1] = L'\0';
    }
    m_window = window;
    m_icon = icon;
    return Shell_NotifyIconW(NIM_ADD, &m_data) != FALSE;
}

void TrayIcon::Remove() {
    if (m_data.hWnd != nullptr) {
        Shell_NotifyIconW(NIM_DELETE, &m_data);
        m_data = NOTIFYICONDATAW();
    }
    m_window = nullptr;
    m_icon = nullptr;
}
