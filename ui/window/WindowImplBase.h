// The base of every skinned top-level window: a borderless window whose content is built
// from its skin XML, with caption dragging, resize borders, maximising onto the work
// area, rounded corners, the standard caption buttons and Escape to close.
#pragma once

#include <windows.h>

#include "core/DialogBuilder.h"
#include "core/SkinString.h"
#include "window/MessageFilterUI.h"
#include "window/NotifyPump.h"
#include "window/NotifyUI.h"
#include "window/PaintManagerUI.h"
#include "window/WindowWnd.h"

namespace SkinUI {

class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback {
public:
    WindowImplBase() = default;
    ~WindowImplBase() override = default;

    /// Called once, after the skin is attached to the window.
    virtual void InitWindow() {}
    /// "closebtn" closes the window with 1; "minbtn", "maxbtn" and "restorebtn" minimise,
    /// maximise and restore it.
    virtual void OnClick(TNotifyUI& msg);

    /// Hands notifications to the notification map.
    void Notify(TNotifyUI& msg) override;
    /// Enter and Escape go to ResponseDefaultKeyEvent; the key still reaches the controls.
    LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    /// No controls of its own: derived windows add theirs.
    CControlUI* CreateControl(const wchar_t* className) override;

    CPaintManagerUI& GetPaintManager() { return m_PaintManager; }

protected:
    /// Double clicks reach the paint manager.
    UINT GetClassStyle() const override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    /// Stops listening to the paint manager and lets it forget the tree's references.
    void OnFinalMessage(HWND hWnd) override;

    /// Skin folder relative to the instance path (or an absolute one): empty or ending in a
    /// separator.
    virtual CSkinString GetSkinDirectory() const = 0;
    /// Skin XML name (file or archive entry), or its decimal id for UILIB_FROM_RESOURCE.
    virtual CSkinString GetSkinXmlName() = 0;
    /// Escape closes the window (TRUE); anything else is not handled (FALSE).
    virtual LRESULT ResponseDefaultKeyEvent(WPARAM key);
    virtual UILIB_RESOURCETYPE GetResourceType() const;
    /// Archive name in the skin folder, for UILIB_FROM_ZIP.
    virtual CSkinString GetZIPFileName() const;
    /// Id of the "ZIPRES" resource, for UILIB_FROM_ZIPRESOURCE.
    virtual DWORD GetResourceID() const;

    // Message handlers: each returns the message result and sets `handled` to FALSE to let
    // the paint manager and the default window procedure have the message.
    virtual LRESULT OnClose(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    /// No frame painting while active, except when minimised.
    virtual LRESULT OnNcActivate(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    /// The whole window is client area; a maximised one is cut to the work area.
    virtual LRESULT OnNcCalcSize(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnNcPaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    /// Resize borders from the size box, caption from the caption rectangle.
    virtual LRESULT OnNcHitTest(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    /// Maximised onto the monitor's work area; the skin's minimum size.
    virtual LRESULT OnGetMinMaxInfo(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnMouseWheel(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnMouseHover(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    /// Installs the rounded window region.
    virtual LRESULT OnSize(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnChar(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    /// SC_CLOSE goes through WM_CLOSE; other commands to the default procedure.
    virtual LRESULT OnSysCommand(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    /// Drops the frame, selects the skin source and builds and attaches the skin.
    virtual LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnKeyDown(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnKillFocus(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnSetFocus(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnLButtonDown(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnLButtonUp(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnErasebkgnd(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    /// Messages without a handler of their own.
    virtual LRESULT HandleCustomMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    /// The window's style without the caption.
    virtual LONG GetStyle();

    CPaintManagerUI m_PaintManager;
    /// The skin archive read from the resource module, shared by every window of the
    /// process (UILIB_FROM_ZIPRESOURCE).
    static BYTE* m_lpResourceZIPBuffer;
    static DWORD m_dwResourceZIPSize;

private:
    /// Points the skin sources at the window's skin; false when its archive resource
    /// cannot be read.
    bool SelectSkinSource();
    /// Tells that the skin cannot be loaded and ends the process.
    [[noreturn]] static void FailSkinLoad();

    SKIN_DECLARE_MESSAGE_MAP()
};

} // namespace SkinUI
