#include "activex/ActiveXFrameWnd.h"

#include "activex/ActiveXCtrl.h"
#include "activex/ActiveXUI.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

CActiveXFrameWnd::CActiveXFrameWnd(CActiveXCtrl* site) : m_pSite(site) {}

CActiveXFrameWnd::~CActiveXFrameWnd() = default;

STDMETHODIMP CActiveXFrameWnd::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IOleWindow) &&
        !IsEqualIID(iid, IID_IOleInPlaceUIWindow) && !IsEqualIID(iid, IID_IOleInPlaceFrame))
        return E_NOINTERFACE;
    *object = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CActiveXFrameWnd::AddRef() {
    return static_cast<ULONG>(++m_dwRef);
}

STDMETHODIMP_(ULONG) CActiveXFrameWnd::Release() {
    const LONG left = --m_dwRef;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP CActiveXFrameWnd::GetWindow(HWND* window) {
    if (window == nullptr) return E_POINTER;
    *window = nullptr;
    CActiveXUI* owner = m_pSite ? m_pSite->GetOwner() : nullptr;
    if (owner == nullptr || owner->GetManager() == nullptr) return E_UNEXPECTED;
    *window = owner->GetManager()->GetPaintWindow();
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::ContextSensitiveHelp(BOOL) {
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::GetBorder(LPRECT) {
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::RequestBorderSpace(LPCBORDERWIDTHS) {
    return INPLACE_E_NOTOOLSPACE;
}

STDMETHODIMP CActiveXFrameWnd::SetBorderSpace(LPCBORDERWIDTHS) {
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::SetActiveObject(IOleInPlaceActiveObject* activeObject, LPCOLESTR) {
    m_pActiveObject = CComPtr<IOleInPlaceActiveObject>(activeObject);
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) {
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::SetMenu(HMENU, HOLEMENU, HWND) {
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::RemoveMenus(HMENU) {
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::SetStatusText(LPCOLESTR) {
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::EnableModeless(BOOL) {
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::TranslateAccelerator(LPMSG, WORD) {
    return S_FALSE;
}

} // namespace SkinUI
