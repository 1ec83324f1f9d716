// What the stand-in browser shows and reports, for the tests and scripts that
// drive it from outside (they include this header; they never link the DLL).
//
// Pages, chosen by address when a navigation completes:
//   "about:blank"                      -> blank page, title empty
//   an address containing "login"      -> mock login page, title kLoginTitle
//   (any case)
//   an address whose host ends in      -> NavigateError (status kNotFoundStatus); unless
//   ".invalid"                            cancelled, an error page, title kErrorTitle
//   anything else                      -> mock game page showing the address, title kGameTitle
// Clicking the "log in" button (mouse up inside LoginButtonRect) navigates to
// kGameAddress, which carries the client's keyword "client=pc".
//
// Reports:
//   - the browser window (class kWindowClass) has the current address as its text;
//   - every call and event appends one UTF-8 line "<event>[ <argument>]" to the
//     log file: the path in the environment variable kLogPathVariable, else
//     kDefaultLogName in the temporary folder. Events are the kLog* names below.
#pragma once

#include <windows.h>

namespace StandIn {

// Window class of the in-place browser window; its text is the current address.
constexpr wchar_t kWindowClass[] = L"VarnelStandInBrowser";
// IWebBrowser2::get_Name, tells the stand-in from the system browser.
constexpr wchar_t kBrowserName[] = L"Varnel stand-in browser";
// Environment variable naming the log file; read at every write.
constexpr wchar_t kLogPathVariable[] = L"VARNEL_STANDIN_LOG";
// Log file name in the temporary folder when the variable is not set.
constexpr wchar_t kDefaultLogName[] = L"varnel-standin.log";
// Environment variable, read at every call, naming what the stand-in refuses so that tests
// can watch a host cope: kRefuseAdvise makes its events point refuse every sink
// (CONNECT_E_ADVISELIMIT, logged as "Advise refused").
constexpr wchar_t kRefuseVariable[] = L"VARNEL_STANDIN_REFUSE";
constexpr wchar_t kRefuseAdvise[] = L"Advise";

// Address the login page's button navigates to.
constexpr wchar_t kGameAddress[] = L"http://www.varnel.example/game/play?client=pc&server=1";
// Document titles of the mock pages.
constexpr wchar_t kLoginTitle[] = L"Varnel login";
constexpr wchar_t kGameTitle[] = L"Varnel";
constexpr wchar_t kErrorTitle[] = L"Page not found";
// StatusCode of NavigateError (INET_E_RESOURCE_NOT_FOUND).
constexpr LONG kNotFoundStatus = static_cast<LONG>(0x800C0005L);

// Log events. The argument follows after one space.
constexpr char kLogCreate[] = "Create";                       // object created
constexpr char kLogInitNew[] = "InitNew";                     // IPersistStreamInit::InitNew
constexpr char kLogDoVerb[] = "DoVerb";                       // verb number
constexpr char kLogInPlaceActive[] = "InPlaceActive";         // window created on the site's window
constexpr char kLogUIActive[] = "UIActive";                   // UI-activated
constexpr char kLogUIDeactivate[] = "UIDeactivate";           // UI-deactivated
constexpr char kLogInPlaceDeactivate[] = "InPlaceDeactivate"; // window destroyed
constexpr char kLogObjectRects[] = "SetObjectRects";          // "left,top,right,bottom"
constexpr char kLogClose[] = "Close";                         // IOleObject::Close
constexpr char kLogAdvise[] = "Advise";                       // cookie of a new sink, or "refused"
constexpr char kLogUnadvise[] = "Unadvise";                   // cookie
constexpr char kLogNavigate[] = "Navigate";                   // address asked for
constexpr char kLogNavigate2[] = "Navigate2";                 // address asked for
constexpr char kLogBeforeNavigate2[] = "BeforeNavigate2";     // "<address> allowed|cancelled"
constexpr char kLogNavigateError[] = "NavigateError";         // "<address> shown|cancelled"
constexpr char kLogNavigateComplete2[] = "NavigateComplete2"; // address
constexpr char kLogDocumentComplete[] = "DocumentComplete";   // address
constexpr char kLogRefresh[] = "Refresh";                     // IWebBrowser2::Refresh
constexpr char kLogRefresh2[] = "Refresh2";                   // level (3 = completely)
constexpr char kLogStop[] = "Stop";                           // pending navigations dropped
constexpr char kLogGoBack[] = "GoBack";                       // IWebBrowser2::GoBack
constexpr char kLogGoForward[] = "GoForward";                 // IWebBrowser2::GoForward
constexpr char kLogGoHome[] = "GoHome";             // IWebBrowser2::GoHome (to about:blank)
constexpr char kLogSilent[] = "Silent";             // put_Silent value, 0 or 1
constexpr char kLogExecWB[] = "ExecWB";             // command id
constexpr char kLogLoginClicked[] = "LoginClicked"; // the page's button was clicked
constexpr char kLogSetUIHandler[] = "SetUIHandler"; // ICustomDoc, "set" or "cleared"
constexpr char kLogHostInfo[] = "HostInfo";         // handler's DOCHOSTUIINFO flags, hex
constexpr char kLogBodyScroll[] = "BodyScroll";     // IHTMLBodyElement::put_scroll value
constexpr char kLogStyle[] = "Style";               // "<property> <value>" of a body style put
constexpr char kLogTranslateAccelerator[] = "TranslateAccelerator"; // "<message> <wParam>", hex

// Mock login form, centred in the page; the button sits at its bottom.
constexpr int kLoginPanelWidth = 320;
constexpr int kLoginPanelHeight = 240;

// The login panel in a page of the given client size.
inline RECT LoginPanelRect(int width, int height) {
    const int left = width > kLoginPanelWidth ? (width - kLoginPanelWidth) / 2 : 0;
    const int top = height > kLoginPanelHeight ? (height - kLoginPanelHeight) / 2 : 0;
    return RECT{left, top, left + kLoginPanelWidth, top + kLoginPanelHeight};
}

// The "log in" button in a page of the given client size.
inline RECT LoginButtonRect(int width, int height) {
    const RECT panel = LoginPanelRect(width, height);
    return RECT{panel.left + 40, panel.top + 180, panel.right - 40, panel.top + 216};
}

} // namespace StandIn
