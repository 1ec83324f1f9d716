#include "activex/DocHostUIHandler.h"

#include "activex/DocHostCommand.h"

namespace SkinUI {

CDocHostUIHandler::CDocHostUIHandler(bool border, bool scrollbar)
    : m_refs(1), m_bBorder(border), m_bScrollbar(scrollbar) {}

STDMETHODIMP CDocHostUIHandler::QueryInterface(REFIID riid, void** ppvObject) {
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, __uuidof(IDocHostUIHandler)) ||
        IsEqualIID(riid, __uuidof(IDocHostUIHandler2)))
        *ppvObject = static_cast<IDocHostUIHandler2*>(this);
    else if (IsEqualIID(riid, IID_IOleCommandTarget))
        *ppvObject = static_cast<IOleCommandTarget*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CDocHostUIHandler::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&m_refs));
}

STDMETHODIMP_(ULONG) CDocHostUIHandler::Release() {
    const LONG left = InterlockedDecrement(&m_refs);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP CDocHostUIHandler::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) {
    return S_OK;
}

STDMETHODIMP CDocHostUIHandler::GetHostInfo(DOCHOSTUIINFO* info) {
    if (info == nullptr) return E_INVALIDARG;
    info->dwFlags |= DOCHOSTUIFLAG_NO3DOUTERBORDER;
    if (!m_bBorder) info->dwFlags |= DOCHOSTUIFLAG_NO3DBORDER;
    if (!m_bScrollbar) info->dwFlags |= DOCHOSTUIFLAG_SCROLL_NO;
    return S_OK;
}

STDMETHODIMP CDocHostUIHandler::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*,
                                       IOleInPlaceFrame*, IOleInPlaceUIWindow*) {
    return E_NOTIMPL;
}

STDMETHODIMP CDocHostUIHandler::HideUI() {
    return E_NOTIMPL;
}

STDMETHODIMP CDocHostUIHandler::UpdateUI() {
    return E_NOTIMPL;
}

STDMETHODIMP CDocHostUIHandler::EnableModeless(BOOL) {
    return E_NOTIMPL;
}

STDMETHODIMP CDocHostUIHandler::OnDocWindowActivate(BOOL) {
    return E_NOTIMPL;
}

STDMETHODIMP CDocHostUIHandler::OnFrameWindowActivate(BOOL) {
    return E_NOTIMPL;
}

STDMETHODIMP CDocHostUIHandler::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) {
    return E_NOTIMPL;
}

STDMETHODIMP CDocHostUIHandler::TranslateAccelerator(LPMSG, const GUID*, DWORD) {
    return E_NOTIMPL;
}

// Outputs are cleared on the way out: a caller must never read back garbage.
STDMETHODIMP CDocHostUIHandler::GetOptionKeyPath(LPOLESTR* key, DWORD) {
    if (key != nullptr) *key = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CDocHostUIHandler::GetDropTarget(IDropTarget*, IDropTarget** replacement) {
    if (replacement != nullptr) *replacement = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CDocHostUIHandler::GetExternal(IDispatch** external) {
    if (external != nullptr) *external = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CDocHostUIHandler::TranslateUrl(DWORD, LPWSTR, LPWSTR* translated) {
    if (translated != nullptr) *translated = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CDocHostUIHandler::FilterDataObject(IDataObject*, IDataObject** filtered) {
    if (filtered != nullptr) *filtered = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CDocHostUIHandler::GetOverrideKeyPath(LPOLESTR* key, DWORD) {
    if (key != nullptr) *key = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CDocHostUIHandler::QueryStatus(const GUID*, ULONG, OLECMD*, OLECMDTEXT*) {
    return E_NOTIMPL;
}

STDMETHODIMP CDocHostUIHandler::Exec(const GUID* group, DWORD commandId, DWORD, VARIANT* input,
                                     VARIANT* output) {
    return ExecDocHostCommand(group, commandId, input, output);
}

} // namespace SkinUI
