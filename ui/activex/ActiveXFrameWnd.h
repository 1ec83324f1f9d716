// The in-place frame a hosted object gets from its window context: the paint window,
// with no menus, tool space or status bar of its own.
#pragma once

#include <windows.h>

#include <ole2.h>

#include "core/Handles.h"

namespace SkinUI {

class CActiveXCtrl;

class CActiveXFrameWnd final : public IOleInPlaceFrame {
public:
    /// Holds a reference to the site, through which it finds the owning control.
    explicit CActiveXFrameWnd(CActiveXCtrl* site);
    CActiveXFrameWnd(const CActiveXFrameWnd&) = delete;
    CActiveXFrameWnd& operator=(const CActiveXFrameWnd&) = delete;

    /// The object made active through SetActiveObject, not AddRef'd for the caller.
    IOleInPlaceActiveObject* GetActiveObject() const { return m_pActiveObject.Get(); }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IOleWindow
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enterMode) override;

    // IOleInPlaceUIWindow
    STDMETHODIMP GetBorder(LPRECT border) override;
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS widths) override;
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS widths) override;
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* activeObject,
                                 LPCOLESTR objectName) override;

    // IOleInPlaceFrame
    STDMETHODIMP InsertMenus(HMENU menu, LPOLEMENUGROUPWIDTHS widths) override;
    STDMETHODIMP SetMenu(HMENU menu, HOLEMENU olemenu, HWND activeObject) override;
    STDMETHODIMP RemoveMenus(HMENU menu) override;
    STDMETHODIMP SetStatusText(LPCOLESTR text) override;
    STDMETHODIMP EnableModeless(BOOL enable) override;
    STDMETHODIMP TranslateAccelerator(LPMSG msg, WORD id) override;

private:
    ~CActiveXFrameWnd();

    LONG m_dwRef = 1;
    CComPtr<CActiveXCtrl> m_pSite;                    ///< the site that made this frame
    CComPtr<IOleInPlaceActiveObject> m_pActiveObject; ///< set through SetActiveObject
};

} // namespace SkinUI
