#include "MircroClientWebFrame.h"

#include <new>

#include "ExeTailRecord.h"
#include "MicroClientConfig.h"
#include "MicroClientLogin.h"
#include "MircroClientPlayFrame.h"
#include "activex/WebBrowserUI.h"

using namespace SkinUI;

namespace {

// The game window's style: WS_OVERLAPPEDWINDOW | WS_VISIBLE.
constexpr DWORD kPlayWindowStyle = 0x10CF0000;
// Pixels of this colour show the login picture through the window.
constexpr COLORREF kTransparentKey = RGB(0, 255, 0);

} // namespace

CMircroClientWebFrame::~CMircroClientWebFrame() {
    if (m_hPlayWnd != nullptr && ::IsWindow(m_hPlayWnd)) ::DestroyWindow(m_hPlayWnd);
}

BOOL CMircroClientWebFrame::FollowOwner(int left, int top, int right, int bottom) {
    if (m_offsetX == 0 && m_offsetY == 0) {
        m_offsetX = left;
        m_offsetY = top;
        m_width = right - left;
        m_height = bottom - top;
        return ::SetWindowPos(m_hWnd, HWND_TOP, left, top, m_width, m_height, SWP_SHOWWINDOW);
    }
    return ::SetWindowPos(m_hWnd, HWND_TOP, left + m_offsetX, top + m_offsetY, m_width, m_height,
                          SWP_SHOWWINDOW);
}

void CMircroClientWebFrame::OnFinalMessage(HWND hWnd) {
    // The frame that carries this window, which need not be the process's login frame.
    if (m_pLoginFrame != nullptr) m_pLoginFrame->ForgetWebWindow(this);
    m_pLoginFrame = nullptr;
    CMicroClientFrame::OnFinalMessage(hWnd);
}

LRESULT CMircroClientWebFrame::OnCreate(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    WindowImplBase::OnCreate(message, wParam, lParam, handled);
    LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    style &= ~(WS_CAPTION | WS_CLIPCHILDREN);
    ::SetWindowLongW(m_hWnd, GWL_STYLE, style | WS_CLIPSIBLINGS | WS_POPUP);
    LONG exStyle = ::GetWindowLongW(m_hWnd, GWL_EXSTYLE);
    exStyle &= ~(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_STATICEDGE | WS_EX_APPWINDOW |
                 WS_EX_LAYOUTRTL | 0x00800000L);
    ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    ::SetLayeredWindowAttributes(m_hWnd, kTransparentKey, 0, LWA_COLORKEY);
    return 0;
}

void CMircroClientWebFrame::InitWindow() {
    auto* browser = static_cast<CWebBrowserUI*>(m_PaintManager.FindControl(L"WebBrowser"));
    if (browser == nullptr) return;
    // Without a login address the page stays blank and the game cannot be entered.
    const CSkinString loginAddress = ReadTailRecordField(0);
    if (loginAddress.IsEmpty()) return;
    browser->SetHomePage(loginAddress);
    browser->SetWebBrowserEventHandler(this);
    if (!browser->IsVisible()) browser->SetVisible(true);
}

void CMircroClientWebFrame::BeforeNavigate2(IDispatch*, VARIANT*& url, VARIANT*&, VARIANT*&,
                                            VARIANT*&, VARIANT*&, VARIANT_BOOL*& Cancel) {
    if (url == nullptr) return;
    const wchar_t* address = url->vt == VT_BSTR ? url->bstrVal : nullptr;
    if (url->vt == (VT_BYREF | VT_VARIANT) && url->pvarVal != nullptr &&
        url->pvarVal->vt == VT_BSTR)
        address = url->pvarVal->bstrVal;
    const CSkinString target(address != nullptr ? address : L"");
    if (target.Find(GetMicroClientConfig().playGamekeyWord) < 0) return;
    if (Cancel != nullptr) *Cancel = VARIANT_TRUE;
    EnterGame(target);
}

CSkinString CMircroClientWebFrame::GameAddressFrom(const CSkinString& target) {
    const int http = target.Find(L"http://");
    return http > 0 ? target.Mid(http) : target;
}

void CMircroClientWebFrame::EnterGame(const CSkinString& target) {
    if (m_pPlayFrame == nullptr) {
        auto* playFrame = new (std::nothrow) CMircroClientPlayFrame;
        if (playFrame == nullptr) return;
        playFrame->SetGameAddress(GameAddressFrom(target));
        m_hPlayWnd = playFrame->Create(nullptr, L"Varnel", kPlayWindowStyle, 0, 0, 0, 0, 0);
        if (m_hPlayWnd == nullptr) {
            delete playFrame;
            return;
        }
        m_pPlayFrame = playFrame;
        m_pPlayFrame->CenterWindow();
    }
    CMicroClientLogin* login = m_pLoginFrame != nullptr ? m_pLoginFrame : FindLoginFrame();
    if (login != nullptr) login->ShowWindow(false, true);
    ShowWindow(false, true);
    ::SendMessageW(m_hPlayWnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
}

CSkinString CMircroClientWebFrame::GetSkinXmlName() {
    return L"loginWebWnd.xml";
}
