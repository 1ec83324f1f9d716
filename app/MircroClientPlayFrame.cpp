#include "MircroClientPlayFrame.h"

#include <mshtml.h>
#include <shellapi.h>

#include "ExeTailRecord.h"
#include "MicroClientConfig.h"
#include "MicroClientLogin.h"
#include "activex/WebBrowserUI.h"
#include "control/ControlUI.h"
#include "core/Handles.h"
#include "render/RenderEngine.h"

using namespace SkinUI;

namespace {

// Client size of the restored game window.
constexpr int kRestoredWidth = 1286;
constexpr int kRestoredHeight = 768;
// Application icon group and tray menu resources.
constexpr WORD kIconResource = 103;
constexpr WORD kTrayMenuResource = 105;
// Name the logo bitmap is cached under.
constexpr wchar_t kLogoImage[] = L"Logo.png";

} // namespace

CMircroClientPlayFrame::~CMircroClientPlayFrame() {
    m_trayIcon.Remove();
}

bool CMircroClientPlayFrame::IsWebAddress(const wchar_t* address) {
    if (address == nullptr) return false;
    return _wcsnicmp(address, L"http://", 7) == 0 || _wcsnicmp(address, L"https://", 8) == 0;
}

void CMircroClientPlayFrame::InitWindow() {
    // The skin's size box resizes the window; a system frame would draw over the skin.
    const LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    ::SetWindowLongW(m_hWnd, GWL_STYLE, style & ~WS_THICKFRAME);

    m_pBrowser = static_cast<CWebBrowserUI*>(m_PaintManager.FindControl(L"WebBrowser"));
    if (m_pBrowser != nullptr) {
        m_pBrowser->SetHomePage(m_gameAddress);
        if (!m_pBrowser->IsVisible()) m_pBrowser->SetVisible(true);
        m_pBrowser->SetWebBrowserEventHandler(this);
    }
    m_pMaxBtn = m_PaintManager.FindControl(L"maxbtn");
    m_pRestoreBtn = m_PaintManager.FindControl(L"restorebtn");
    ResizeClient(kRestoredWidth, kRestoredHeight);

    // Loaded without LR_SHARED, so it is this window's to destroy.
    m_icon.Reset(static_cast<HICON>(::LoadImageW(
        CPaintManagerUI::GetInstance(), MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
        ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
    m_trayIcon.Add(m_hWnd, m_icon.Get(), GetMicroClientConfig().clientName);
    ShowLogo(m_icon.Get());
}

void CMircroClientPlayFrame::ShowLogo(HICON icon) {
    TImageInfo* image = CRenderEngine::LoadImageFromHICON(icon);
    if (image == nullptr) return;
    const bool added = m_PaintManager.AddImage(kLogoImage, image->bitmap, image->width,
                                               image->height, false) != nullptr;
    // The bitmap now belongs to the image cache, which also frees it when it refuses it.
    image->bitmap = nullptr;
    CRenderEngine::FreeImage(image);
    if (!added) return;
    if (CControlUI* logo = m_PaintManager.FindControl(L"logo")) logo->SetBkImage(kLogoImage);
}

void CMircroClientPlayFrame::OnClick(TNotifyUI& msg) {
    if (msg.sender == nullptr) return;
    const CSkinString name = msg.sender->GetName();
    if (name == L"restorebtn") {
        msg.sender->SetVisible(false);
        if (m_pMaxBtn != nullptr) m_pMaxBtn->SetVisible(true);
        ::ShowWindow(m_hWnd, SW_RESTORE);
    } else if (name == L"maxbtn") {
        msg.sender->SetVisible(false);
        if (m_pRestoreBtn != nullptr) m_pRestoreBtn->SetVisible(true);
        ::ShowWindow(m_hWnd, SW_MAXIMIZE);
    } else if (name == L"kefubtn") {
        OpenServiceCenter();
    } else if (name == L"minbtn") {
        ::ShowWindow(m_hWnd, SW_MINIMIZE);
    } else if (name == L"closebtn") {
        ConfirmQuit();
    } else if (name == L"refreshbtn") {
        if (m_pBrowser != nullptr) m_pBrowser->Refresh2(REFRESH_COMPLETELY);
    }
}

void CMircroClientPlayFrame::OpenServiceCenter() {
    const CSkinString address = ReadTailRecordField(1);
    if (!IsWebAddress(address)) return;
    ::ShellExecuteW(nullptr, L"open", address, nullptr, nullptr, SW_SHOW);
}

LRESULT CMircroClientPlayFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kTrayCallbackMessage:
        switch (static_cast<UINT>(lParam)) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            ShowIfHidden();
            break;
        case WM_RBUTTONDOWN:
            ShowTrayMenu();
            break;
        default:
            break;
        }
        return 1;
    case WM_COMMAND:
        if (LOWORD(wParam) == kShowGameCommand)
            ShowIfHidden();
        else if (LOWORD(wParam) == kQuitGameCommand)
            ConfirmQuit();
        break;
    case WM_CLOSE:
        // Every way of closing asks first; the window never closes on its own.
        ConfirmQuit();
        return 1;
    default:
        break;
    }
    return WindowImplBase::HandleMessage(message, wParam, lParam);
}

void CMircroClientPlayFrame::ShowIfHidden() {
    if (!::IsWindowVisible(m_hWnd)) ::ShowWindow(m_hWnd, SW_SHOW);
}

void CMircroClientPlayFrame::ShowTrayMenu() {
    const CMenu menu(
        ::LoadMenuW(CPaintManagerUI::GetInstance(), MAKEINTRESOURCEW(kTrayMenuResource)));
    if (!menu) return;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    // Without the foreground the menu would not close when the player clicks elsewhere.
    ::SetForegroundWindow(m_hWnd);
    ::TrackPopupMenu(::GetSubMenu(menu.Get(), 0), TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, m_hWnd,
                     nullptr);
}

void CMircroClientPlayFrame::ConfirmQuit() {
    if (m_bAskingToQuit) return;
    m_bAskingToQuit = true;
    const int answer =
        ::MessageBoxW(m_hWnd, L"正在游戏是否退出？", L"提示", MB_YESNO | MB_ICONINFORMATION);
    m_bAskingToQuit = false;
    if (answer != IDYES) return;
    if (CMicroClientLogin* login = GetLoginFrame()) login->Close(1);
}

void CMircroClientPlayFrame::NavigateComplete2(IDispatch*, VARIANT*&, const wchar_t*) {
    if (m_pBrowser == nullptr) return;
    IWebBrowser2* browser = m_pBrowser->GetWebBrowser2();
    if (browser == nullptr) return;
    CComPtr<IDispatch> document;
    if (FAILED(browser->get_Document(document.Receive())) || !document) return;
    CComPtr<IHTMLDocument2> htmlDocument;
    if (FAILED(htmlDocument.QueryFrom(document.Get(), IID_IHTMLDocument2))) return;
    CBstr title;
    if (SUCCEEDED(htmlDocument->get_title(title.Receive())) && title.Get() != nullptr &&
        title.Get()[0] != L'\0') {
        if (CControlUI* label = m_PaintManager.FindControl(L"titelLabel"))
            label->SetText(L"Varnel");
    }
}

CSkinString CMircroClientPlayFrame::GetSkinXmlName() {
    return L"playGameWindow.xml";
}

LRESULT CMircroClientPlayFrame::ResponseDefaultKeyEvent(WPARAM) {
    return 0;
}

LRESULT CMircroClientPlayFrame::OnDestroy(UINT message, WPARAM wParam, LPARAM lParam,
                                          BOOL& handled) {
    // The shell finds the icon by its window; once the window is gone it stays behind.
    m_trayIcon.Remove();
    return CMicroClientFrame::OnDestroy(message, wParam, lParam, handled);
}
