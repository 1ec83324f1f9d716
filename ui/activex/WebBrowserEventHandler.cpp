#include "activex/WebBrowserEventHandler.h"

namespace SkinUI {

void CWebBrowserEventHandler::BeforeNavigate2(IDispatch*, VARIANT*&, VARIANT*&, VARIANT*&,
                                              VARIANT*&, VARIANT*&, VARIANT_BOOL*&) {}

void CWebBrowserEventHandler::NavigateError(IDispatch*, VARIANT*&, VARIANT*&, VARIANT*&,
                                            VARIANT_BOOL*&) {}

void CWebBrowserEventHandler::NavigateComplete2(IDispatch*, VARIANT*&, const wchar_t*) {}

void CWebBrowserEventHandler::ProgressChange(LONG, LONG) {}

void CWebBrowserEventHandler::NewWindow3(IDispatch**, VARIANT_BOOL*&, DWORD, BSTR, BSTR) {}

void CWebBrowserEventHandler::CommandStateChange(LONG, VARIANT_BOOL) {}

HRESULT CWebBrowserEventHandler::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) {
    return S_OK;
}

HRESULT CWebBrowserEventHandler::GetHostInfo(DOCHOSTUIINFO* info) {
    if (info != nullptr) info->dwFlags |= DOCHOSTUIFLAG_NO3DBORDER;
    return S_OK;
}

HRESULT CWebBrowserEventHandler::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*,
                                        IOleInPlaceFrame*, IOleInPlaceUIWindow*) {
    return S_FALSE;
}

HRESULT CWebBrowserEventHandler::HideUI() {
    return S_OK;
}

HRESULT CWebBrowserEventHandler::UpdateUI() {
    return S_OK;
}

HRESULT CWebBrowserEventHandler::EnableModeless(BOOL) {
    return S_OK;
}

HRESULT CWebBrowserEventHandler::OnDocWindowActivate(BOOL) {
    return S_OK;
}

HRESULT CWebBrowserEventHandler::OnFrameWindowActivate(BOOL) {
    return S_OK;
}

HRESULT CWebBrowserEventHandler::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) {
    return S_OK;
}

HRESULT CWebBrowserEventHandler::TranslateAccelerator(LPMSG, const GUID*, DWORD) {
    return S_FALSE;
}

// The outputs below are written even though S_OK says "nothing to change": a caller
// must never read an uninitialised pointer back.
HRESULT CWebBrowserEventHandler::GetOptionKeyPath(LPOLESTR* key, DWORD) {
    if (key != nullptr) *key = nullptr;
    return S_OK;
}

HRESULT CWebBrowserEventHandler::GetDropTarget(IDropTarget*, IDropTarget** replacement) {
    if (replacement != nullptr) *replacement = nullptr;
    return E_NOTIMPL;
}

HRESULT CWebBrowserEventHandler::GetExternal(IDispatch** external) {
    if (external != nullptr) *external = nullptr;
    return E_NOTIMPL;
}

HRESULT CWebBrowserEventHandler::TranslateUrl(DWORD, LPWSTR, LPWSTR* translated) {
    if (translated != nullptr) *translated = nullptr;
    return S_OK;
}

HRESULT CWebBrowserEventHandler::FilterDataObject(IDataObject*, IDataObject** filtered) {
    if (filtered != nullptr) *filtered = nullptr;
    return S_OK;
}

HRESULT CWebBrowserEventHandler::Download(IMoniker*, IBindCtx*, DWORD, LONG, BINDINFO*, LPCOLESTR,
                                          LPCOLESTR, UINT) {
    return S_OK;
}

} // namespace SkinUI
