// The host UI handler the simpler browser control installs in each new document: no
// context menu, optional 3D border and scroll bars, and no script-error dialogs.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <docobj.h>
#include <mshtmhst.h>

namespace SkinUI {

class CDocHostUIHandler : public IDocHostUIHandler2, public IOleCommandTarget {
public:
    /// Starts with one reference, the creator's.
    CDocHostUIHandler(bool border, bool scrollbar);
    CDocHostUIHandler(const CDocHostUIHandler&) = delete;
    CDocHostUIHandler& operator=(const CDocHostUIHandler&) = delete;

    // IUnknown: the object deletes itself with its last reference.
    STDMETHODIMP QueryInterface(REFIID riid, void** ppvObject) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDocHostUIHandler2
    /// S_OK: no context menu.
    STDMETHODIMP ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget,
                                 IDispatch* object) override;
    /// No outer 3D border; no 3D border and no scroll bars unless the flags ask for them.
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
    STDMETHODIMP ShowUI(DWORD id, IOleInPlaceActiveObject* activeObject,
                        IOleCommandTarget* commandTarget, IOleInPlaceFrame* frame,
                        IOleInPlaceUIWindow* doc) override;
    STDMETHODIMP HideUI() override;
    STDMETHODIMP UpdateUI() override;
    STDMETHODIMP EnableModeless(BOOL enable) override;
    STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
    STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window,
                              BOOL frameWindow) override;
    STDMETHODIMP TranslateAccelerator(LPMSG msg, const GUID* group, DWORD commandId) override;
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD reserved) override;
    STDMETHODIMP GetDropTarget(IDropTarget* dropTarget, IDropTarget** replacement) override;
    STDMETHODIMP GetExternal(IDispatch** external) override;
    STDMETHODIMP TranslateUrl(DWORD translate, LPWSTR url, LPWSTR* translated) override;
    STDMETHODIMP FilterDataObject(IDataObject* data, IDataObject** filtered) override;
    STDMETHODIMP GetOverrideKeyPath(LPOLESTR* key, DWORD reserved) override;

    // IOleCommandTarget: swallows script errors.
    STDMETHODIMP QueryStatus(const GUID* group, ULONG count, OLECMD* commands,
                             OLECMDTEXT* text) override;
    STDMETHODIMP Exec(const GUID* group, DWORD commandId, DWORD options, VARIANT* input,
                      VARIANT* output) override;

private:
    virtual ~CDocHostUIHandler() = default;

    LONG m_refs;
    bool m_bBorder;    ///< the page keeps its 3D border
    bool m_bScrollbar; ///< the page keeps its scroll bars
};

} // namespace SkinUI
