// What an application hears from a web browser control: the navigation events the
// browser raises, the document host's questions and the downloads it starts. Every
// operation has a harmless default, so a handler overrides only what it cares about.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <exdisp.h>
#include <mshtmhst.h>
#include <urlmon.h>

namespace SkinUI {

class CWebBrowserEventHandler {
public:
    CWebBrowserEventHandler() = default;
    virtual ~CWebBrowserEventHandler() = default;

    // Browser events. The VARIANT references point into the event's own arguments:
    // writing VARIANT_TRUE through cancel stops the navigation.

    /// A navigation is about to start; the default lets it go.
    virtual void BeforeNavigate2(IDispatch* pDisp, VARIANT*& url, VARIANT*& flags,
                                 VARIANT*& targetFrameName, VARIANT*& postData, VARIANT*& headers,
                                 VARIANT_BOOL*& cancel);
    /// A navigation failed with the given status code.
    virtual void NavigateError(IDispatch* pDisp, VARIANT*& url, VARIANT*& targetFrameName,
                               VARIANT*& statusCode, VARIANT_BOOL*& cancel);
    /// A navigation reached its document; browserName is the name of the control.
    virtual void NavigateComplete2(IDispatch* pDisp, VARIANT*& url, const wchar_t* browserName);
    /// Download progress.
    virtual void ProgressChange(LONG progress, LONG progressMax);
    /// The page asks for a new window.
    virtual void NewWindow3(IDispatch** ppDisp, VARIANT_BOOL*& cancel, DWORD flags, BSTR urlContext,
                            BSTR url);
    /// Back or forward became possible or impossible.
    virtual void CommandStateChange(LONG command, VARIANT_BOOL enable);

    // The document host's questions (IDocHostUIHandler) and the download manager.

    /// S_OK: no context menu.
    virtual HRESULT STDMETHODCALLTYPE ShowContextMenu(DWORD id, POINT* point,
                                                      IUnknown* commandTarget, IDispatch* object);
    /// Adds DOCHOSTUIFLAG_NO3DBORDER to a given record; S_OK.
    virtual HRESULT STDMETHODCALLTYPE GetHostInfo(DOCHOSTUIINFO* info);
    /// S_FALSE: the browser shows its own menus and tool bars.
    virtual HRESULT STDMETHODCALLTYPE ShowUI(DWORD id, IOleInPlaceActiveObject* activeObject,
                                             IOleCommandTarget* commandTarget,
                                             IOleInPlaceFrame* frame, IOleInPlaceUIWindow* doc);
    /// S_OK.
    virtual HRESULT STDMETHODCALLTYPE HideUI();
    /// S_OK.
    virtual HRESULT STDMETHODCALLTYPE UpdateUI();
    /// S_OK.
    virtual HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable);
    /// S_OK.
    virtual HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL activate);
    /// S_OK.
    virtual HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL activate);
    /// S_OK.
    virtual HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window,
                                                   BOOL frameWindow);
    /// S_FALSE: the browser translates the key itself.
    virtual HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG msg, const GUID* group,
                                                           DWORD commandId);
    /// Null key (the browser's own settings); S_OK.
    virtual HRESULT STDMETHODCALLTYPE GetOptionKeyPath(LPOLESTR* key, DWORD reserved);
    /// E_NOTIMPL: the browser's own drop target.
    virtual HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget* dropTarget,
                                                    IDropTarget** replacement);
    /// E_NOTIMPL: no external object for scripts.
    virtual HRESULT STDMETHODCALLTYPE GetExternal(IDispatch** external);
    /// Null output (the address stays); S_OK.
    virtual HRESULT STDMETHODCALLTYPE TranslateUrl(DWORD translate, LPWSTR url, LPWSTR* translated);
    /// Null output (the data stays); S_OK.
    virtual HRESULT STDMETHODCALLTYPE FilterDataObject(IDataObject* data, IDataObject** filtered);
    /// S_OK: the download counts as handled and nothing is downloaded.
    virtual HRESULT STDMETHODCALLTYPE Download(IMoniker* moniker, IBindCtx* bindContext,
                                               DWORD bindVerb, LONG formatEtc, BINDINFO* bindInfo,
                                               LPCOLESTR headers, LPCOLESTR redirect,
                                               UINT codePage);
};

} // namespace SkinUI
