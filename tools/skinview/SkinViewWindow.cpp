#include "SkinViewWindow.h"

#include "control/ControlUI.h"
#include "core/DialogBuilder.h"
#include "window/PaintManagerUI.h"

namespace SkinView {

using SkinUI::CPaintManagerUI;

bool CheckSkin(const TSkinSource& source, CSkinString& reason) {
    CPaintManagerUI::SetResourcePath(source.folder);
    // Closing first makes the archive be read again as it is now.
    CPaintManagerUI::SetResourceZip(L"", false);
    if (!source.archive.IsEmpty()) CPaintManagerUI::SetResourceZip(source.archive, true);

    SkinUI::CDialogBuilder builder;
    SkinUI::CControlUI* root = builder.Create(SkinUI::STRINGorID(source.skin.GetData()));
    if (root != nullptr) {
        delete root;
        return true;
    }
    if (builder.GetMarkup()->IsValid()) {
        reason = builder.GetMarkup()->GetRoot().IsValid() ? L"no root control"
                                                          : L"the document holds no element";
        return false;
    }
    wchar_t message[100];
    wchar_t location[60];
    builder.GetLastErrorMessage(message, 100);
    builder.GetLastErrorLocation(location, 60);
    reason = message;
    if (location[0] != L'\0') {
        reason += L" at \"";
        reason += location;
        reason += L"\"";
    }
    return false;
}

HWND CSkinViewWindow::Open(SIZE size, bool show, const RECT* place) {
    if (Create(nullptr, L"skinview", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, 0) ==
        nullptr)
        return nullptr;
    if (size.cx > 0 && size.cy > 0) ResizeClient(size.cx, size.cy);
    if (place != nullptr)
        ::SetWindowPos(m_hWnd, nullptr, place->left, place->top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    else
        CenterWindow();
    if (show) ::ShowWindow(m_hWnd, SW_SHOW);
    return m_hWnd;
}

SkinUI::UILIB_RESOURCETYPE CSkinViewWindow::GetResourceType() const {
    return m_source.archive.IsEmpty() ? SkinUI::UILIB_FROM_FILE : SkinUI::UILIB_FROM_ZIP;
}

void CSkinViewWindow::OnFinalMessage(HWND hWnd) {
    WindowImplBase::OnFinalMessage(hWnd);
    if (m_quitWhenClosed) ::PostQuitMessage(0);
    delete this;
}

} // namespace SkinView
