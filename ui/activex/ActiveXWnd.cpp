#include "activex/ActiveXWnd.h"

#include "activex/ActiveXCtrl.h"
#include "activex/ActiveXUI.h"

namespace SkinUI {

HWND CActiveXWnd::Init(CActiveXCtrl* site, HWND parent) {
    m_pOwner = site;
    return Create(parent, L"UIActiveX", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                  0, 0, 0, 0, 0);
}

const wchar_t* CActiveXWnd::GetWndClassName() const {
    return L"ActiveXWnd";
}

void CActiveXWnd::DoVerb(LONG verb) {
    CActiveXUI* owner = m_pOwner != nullptr ? m_pOwner->GetOwner() : nullptr;
    if (owner == nullptr) return;
    CComPtr<IOleObject> object;
    if (FAILED(owner->GetControl(IID_IOleObject, object.ReceiveAsVoid())) || !object) return;
    CComPtr<IOleClientSite> clientSite;
    clientSite.QueryFrom(m_pOwner, IID_IOleClientSite);
    object->DoVerb(verb, nullptr, clientSite.Get(), 0, m_hWnd, &owner->GetPos());
}

LRESULT CActiveXWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pOwner == nullptr) return CWindowWnd::HandleMessage(message, wParam, lParam);
    switch (message) {
    case WM_SETFOCUS:
        m_pOwner->SetFocused(true);
        if (!m_pOwner->IsUIActive()) DoVerb(OLEIVERB_UIACTIVATE);
        break;
    case WM_KILLFOCUS:
        m_pOwner->SetFocused(false);
        break;
    case WM_MOUSEACTIVATE: {
        CActiveXUI* owner = m_pOwner->GetOwner();
        CComPtr<IOleObject> object;
        if (owner != nullptr &&
            SUCCEEDED(owner->GetControl(IID_IOleObject, object.ReceiveAsVoid())) && object) {
            DWORD misc = 0;
            object->GetMiscStatus(DVASPECT_CONTENT, &misc);
            object.Reset();
            if ((misc & OLEMISC_NOUIACTIVATE) != 0) return 0;
        }
        if (!m_pOwner->IsInPlaceActive()) DoVerb(OLEIVERB_INPLACEACTIVATE);
        break;
    }
    case WM_PAINT: {
        // The object paints its own window; this one only validates.
        const CPaintScope paint(m_hWnd);
        return 0;
    }
    case WM_ERASEBKGND:
        if (m_pOwner->GetViewObject() != nullptr) return 1;
        break;
    case WM_MOUSEWHEEL:
        return 0;
    default:
        break;
    }
    return CWindowWnd::HandleMessage(message, wParam, lParam);
}

} // namespace SkinUI
