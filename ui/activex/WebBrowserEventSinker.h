// The event sink of the simpler browser control: gives each new document a host UI
// handler, strips the finished page's border and scroll bars as the control's flags
// say, and tells the control's window when a page other than "about:blank" completes.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <exdisp.h>

#include "core/Handles.h"

namespace SkinUI {

class CControlUI;

class WebBrowserEventSinker : public IDispatch {
public:
    /// Starts with one reference, the creator's. The owner sends the notifications.
    WebBrowserEventSinker(CControlUI* owner, bool border, bool scrollbar);
    WebBrowserEventSinker(const WebBrowserEventSinker&) = delete;
    WebBrowserEventSinker& operator=(const WebBrowserEventSinker&) = delete;

    /// Connects to the browser's DWebBrowserEvents2 (one connection at a time).
    HRESULT Connect(IWebBrowser2* browser);
    /// Ends the connection and forgets the owner; later events are ignored.
    void Disconnect();

    // IUnknown: the object deletes itself with its last reference.
    STDMETHODIMP QueryInterface(REFIID riid, void** ppvObject) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** typeInfo) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                               DISPID* ids) override;
    /// NavigateComplete2, DocumentComplete and NavigateError, arguments checked.
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

private:
    virtual ~WebBrowserEventSinker();

    void OnNavigateComplete2(IDispatch* browser);
    void OnDocumentComplete(IDispatch* browser, const VARIANT* url);

    LONG m_refs;
    CControlUI* m_pOwner;               ///< null once disconnected
    CComPtr<IConnectionPoint> m_pPoint; ///< the browser's event point while connected
    DWORD m_dwCookie;                   ///< the connection, 0 when none
    bool m_bBorder;                     ///< pages keep their border
    bool m_bScrollbar;                  ///< pages keep their scroll bars
    bool m_bNavigateError;              ///< a NavigateError came since the last DocumentComplete
};

} // namespace SkinUI
