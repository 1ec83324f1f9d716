// Input events that the paint manager delivers to one control.
#pragma once

#include <windows.h>

namespace SkinUI {

class CControlUI;

// Event types. Mouse events are exactly 9..18 and keyboard events 3..6:
// controls test those ranges.
enum {
    UIEVENT_KEYDOWN = 3,
    UIEVENT_KEYUP = 4,
    UIEVENT_CHAR = 5,
    UIEVENT_SYSKEY = 6,
    UIEVENT_MOUSEMOVE = 9,
    UIEVENT_MOUSELEAVE = 10,
    UIEVENT_MOUSEENTER = 11,
    UIEVENT_MOUSEHOVER = 12,
    UIEVENT_BUTTONDOWN = 13,
    UIEVENT_BUTTONUP = 14,
    UIEVENT_RBUTTONDOWN = 15,
    UIEVENT_DBLCLICK = 16,
    UIEVENT_CONTEXTMENU = 17,
    UIEVENT_SCROLLWHEEL = 18,
    UIEVENT_KILLFOCUS = 20,
    UIEVENT_SETFOCUS = 21,
    UIEVENT_WINDOWSIZE = 22,
    UIEVENT_SETCURSOR = 23,
    UIEVENT_TIMER = 24,
};

// Key-state bits made from the live keyboard state. Button messages carry the
// native mouse-key mask instead, where the left button is 0x01.
enum {
    UIKEYSTATE_RBUTTON = 0x01,
    UIKEYSTATE_LBUTTON = 0x02,
    UIKEYSTATE_SHIFT = 0x04,
    UIKEYSTATE_CONTROL = 0x08,
    UIKEYSTATE_ALT = 0x20,
};

inline bool IsMouseEvent(int type) {
    return type >= UIEVENT_MOUSEMOVE && type <= UIEVENT_SCROLLWHEEL;
}
inline bool IsKeyEvent(int type) {
    return type >= UIEVENT_KEYDOWN && type <= UIEVENT_SYSKEY;
}

// The key state from GetKeyState: right button 0x01, left 0x02, Shift 0x04,
// Ctrl 0x08, Alt 0x20.
WORD MapKeyState();

struct TEventUI {
    int type = 0;                 ///< UIEVENT_*
    CControlUI* sender = nullptr; ///< the control concerned; null for keys and set-cursor
    DWORD timestamp = 0;          ///< GetTickCount() when made
    POINT mousePos{};             ///< client coordinates
    wchar_t key = 0;              ///< virtual key or character
    WORD keyState = 0;            ///< UIKEYSTATE_* or the native mouse-key mask
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

} // namespace SkinUI
