#include "MicroClientLogin.h"

#include <new>

#include "MicroClientConfig.h"
#include "MircroClientWebFrame.h"
#include "control/ControlUI.h"

using namespace SkinUI;

namespace {

CMicroClientLogin* g_loginFrame = nullptr;
// Set once the frame has been destroyed, so late callers do not make a second one.
bool g_loginFrameGone = false;

// Style the web window is created with; its own creation turns it into a layered pop-up.
constexpr DWORD kWebWindowStyle = 0x96C80000;

} // namespace

CMicroClientLogin* GetLoginFrame() {
    if (g_loginFrame == nullptr && !g_loginFrameGone)
        g_loginFrame = new (std::nothrow) CMicroClientLogin;
    return g_loginFrame;
}

CMicroClientLogin* FindLoginFrame() {
    return g_loginFrame;
}

CMicroClientLogin::~CMicroClientLogin() {
    // A web window still open must not tell a frame that is gone.
    if (m_pWebWnd != nullptr) m_pWebWnd->SetLoginFrame(nullptr);
    if (g_loginFrame == this) {
        g_loginFrame = nullptr;
        g_loginFrameGone = true;
    }
}

void CMicroClientLogin::ForgetWebWindow(CMircroClientWebFrame* webWindow) {
    if (m_pWebWnd == webWindow) m_pWebWnd = nullptr;
}

LRESULT CMicroClientLogin::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // A minimised frame sits far off screen; following it there would show the web window
    // that minimising has just hidden.
    if ((message == WM_SIZE || message == WM_MOVE) && m_pWebWnd != nullptr && !::IsIconic(m_hWnd))
        MoveWebWindow();
    // Hidden on the way into the game, the frame is not shown again: its decoded picture
    // goes (it loads again should the frame ever be painted).
    if (message == WM_SHOWWINDOW && wParam == FALSE && lParam == 0)
        m_PaintManager.RemoveAllImages();
    if (message == WM_PAINT) {
        const LRESULT result = WindowImplBase::HandleMessage(message, wParam, lParam);
        RaiseWebWindowOnce();
        return result;
    }
    return WindowImplBase::HandleMessage(message, wParam, lParam);
}

void CMicroClientLogin::InitWindow() {
    const MicroClientConfig& config = GetMicroClientConfig();
    SetIcon(103);
    ResizeClient(config.loginFrameSize.cx, config.loginFrameSize.cy);
    // Only the bottom is set: the band reaches below the frame, so the whole picture
    // outside the controls drags the window.
    RECT caption{0, 0, 0, config.loginFrameSize.cx};
    m_PaintManager.SetCaptionRect(caption);

    m_pWebWnd = new (std::nothrow) CMircroClientWebFrame;
    if (m_pWebWnd != nullptr) {
        const RECT& web = config.loginWebRect;
        m_pWebWnd->SetLoginFrame(this);
        m_pWebWnd->FollowOwner(web.left, web.top, web.right, web.bottom);
        if (m_pWebWnd->Create(m_hWnd, L"KestoWindow", kWebWindowStyle, 0, 0, 0, 0, 0) == nullptr) {
            // Never bound to a window, so nothing else will free it.
            delete m_pWebWnd;
            m_pWebWnd = nullptr;
        } else {
            m_pWebWnd->ShowWindow(true, true);
        }
    }
    PlaceButton(L"minbtn", config.miniRect);
    PlaceButton(L"closebtn", config.closeRect);
}

void CMicroClientLogin::PlaceButton(const wchar_t* name, const RECT& rect) {
    CControlUI* button = m_PaintManager.FindControl(name);
    if (button == nullptr) return;
    if (!button->IsFloat()) button->SetFloat(true);
    button->SetFixedXY(SIZE{rect.left, rect.top});
    button->SetFixedWidth(rect.right - rect.left);
    button->SetFixedHeight(rect.bottom - rect.top);
}

void CMicroClientLogin::RaiseWebWindowOnce() {
    if (m_bWebWindowRaised || m_pWebWnd == nullptr || !::IsWindowVisible(*m_pWebWnd)) return;
    m_bWebWindowRaised = true;
    // Through the topmost band, so the order really changes and reaches the screen. Hiding
    // and showing it would stall there: hiding waits two seconds for a window manager.
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    ::SetWindowPos(*m_pWebWnd, HWND_TOPMOST, 0, 0, 0, 0, flags);
    ::SetWindowPos(*m_pWebWnd, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
}

void CMicroClientLogin::MoveWebWindow() {
    RECT frame{};
    ::GetWindowRect(m_hWnd, &frame);
    m_pWebWnd->FollowOwner(frame.left, frame.top, frame.right, frame.bottom);
}

void CMicroClientLogin::OnClick(TNotifyUI& msg) {
    if (msg.sender == nullptr) return;
    const CSkinString name = msg.sender->GetName();
    if (name == L"minbtn")
        ::SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else if (name == L"closebtn")
        Close(1);
}

CSkinString CMicroClientLogin::GetSkinXmlName() {
    return L"login.xml";
}

LRESULT CMicroClientLogin::ResponseDefaultKeyEvent(WPARAM) {
    return 0;
}

LRESULT CMicroClientLogin::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    ::PostQuitMessage(0);
    handled = FALSE;
    return 0;
}
