// Notifications from controls to the application, and their listener interface.
#pragma once

#include <windows.h>

#include "core/SkinString.h"

namespace SkinUI {

class CControlUI;

// Notification types the framework sends; receivers compare them exactly.
namespace NotifyType {
constexpr const wchar_t* kWindowInit = L"windowinit";
constexpr const wchar_t* kSetFocus = L"setfocus";
constexpr const wchar_t* kKillFocus = L"killfocus";
constexpr const wchar_t* kTimer = L"timer";
constexpr const wchar_t* kMenu = L"menu";
constexpr const wchar_t* kClick = L"click";
constexpr const wchar_t* kSelectChanged = L"selectchanged";
constexpr const wchar_t* kLink = L"link";
constexpr const wchar_t* kReturn = L"return";
constexpr const wchar_t* kTextChanged = L"textchanged";
constexpr const wchar_t* kValueChanged = L"valuechanged";
constexpr const wchar_t* kScroll = L"scroll";
constexpr const wchar_t* kDropDown = L"dropdown";
constexpr const wchar_t* kItemSelect = L"itemselect";
constexpr const wchar_t* kItemClick = L"itemclick";
constexpr const wchar_t* kItemActivate = L"itemactivate";
constexpr const wchar_t* kHeaderClick = L"headerclick";
constexpr const wchar_t* kItemDbClick = L"itemdbclick";
constexpr const wchar_t* kTabSelect = L"tabselect";
constexpr const wchar_t* kShowActiveX = L"showactivex";
} // namespace NotifyType

struct TNotifyUI {
    CSkinString type;             ///< one of NotifyType, compared exactly
    CSkinString virtualWnd;       ///< sender's virtual window, when the manager uses them
    CControlUI* sender = nullptr; ///< may be emptied while a queued notification waits
    DWORD timestamp = 0;          ///< GetTickCount() at sending
    POINT mousePos{};             ///< manager's last mouse position at sending
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// Receives every notification of the manager it is registered with.
class INotifyUI {
public:
    virtual void Notify(TNotifyUI& msg) = 0;

protected:
    ~INotifyUI() = default;
};

} // namespace SkinUI
