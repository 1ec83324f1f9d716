// The base of every element of a control tree: geometry requests for the layouts, common
// state and look, the shared attribute vocabulary, event sources, hit testing and default
// event handling.
#pragma once

#include <windows.h>

#include "core/SkinString.h"
#include "window/EventSource.h"
#include "window/EventUI.h"
#include "window/NotifyUI.h"

namespace SkinUI {

class CControlUI;
class CPaintManagerUI;

/// Callback of a tree walk: non-null stops the walk and becomes its result.
using FINDCONTROLPROC = CControlUI* (*)(CControlUI* control, void* data);

// FindControl filters. A control applies the first three to itself; containers also honour
// the last two.
constexpr UINT UIFIND_ALL = 0x00000000;     ///< no filter
constexpr UINT UIFIND_VISIBLE = 0x00000001; ///< skip controls that are not visible
constexpr UINT UIFIND_ENABLED = 0x00000002; ///< skip disabled controls
constexpr UINT UIFIND_HITTEST =
    0x00000004; ///< data is a POINT that must hit a mouse-enabled control
constexpr UINT UIFIND_TOP_FIRST = 0x00000008; ///< containers visit children last to first
constexpr UINT UIFIND_ME_FIRST = 0x80000000;  ///< containers test themselves before their children

// GetControlFlags bits.
constexpr UINT UIFLAG_TABSTOP = 0x00000001;    ///< takes part in tab navigation
constexpr UINT UIFLAG_SETCURSOR = 0x00000002;  ///< sets its own cursor
constexpr UINT UIFLAG_WANTRETURN = 0x00000004; ///< takes the Enter key itself

/// Relative placement of a floating control: how far it moves and grows, in percent of
/// the change of its parent's size since it was last placed.
struct TRelativePosUI {
    bool relative = false; ///< relative placement is on
    SIZE parentSize{};     ///< parent size at the last placement
    int moveXPercent = 0;
    int moveYPercent = 0;
    int zoomXPercent = 0;
    int zoomYPercent = 0;
};

class CControlUI {
public:
    CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;
    /// Raises OnDestroy, then makes the manager forget every reference to this control.
    virtual ~CControlUI();

    virtual CSkinString GetName() const;
    virtual void SetName(const wchar_t* name);

    /// Class name without the C: "ControlUI".
    virtual const wchar_t* GetClass() const;
    /// This control for "Control", else null; subclasses answer their own names.
    virtual void* GetInterface(const wchar_t* name);
    /// UIFLAG_* bits; none for the base.
    virtual UINT GetControlFlags() const;

    /// What a shortcut does to the control; true when it is visible and enabled.
    virtual bool Activate();

    virtual CPaintManagerUI* GetManager() const;
    /// Attaches to a manager and parent; with init and a parent, runs Init.
    virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true);
    virtual CControlUI* GetParent() const;

    virtual CSkinString GetText() const;
    /// Stores a changed text and repaints.
    virtual void SetText(const wchar_t* text);

    /// Position in window client coordinates.
    virtual const RECT& GetPos() const;
    /// Places the control, raises OnSize and repaints the old and the new area.
    virtual void SetPos(RECT rect);
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual int GetX() const;
    virtual int GetY() const;
    /// Outer margins requested from the layout.
    virtual RECT GetPadding() const;
    virtual void SetPadding(RECT padding);
    /// Position of a floating control in its parent; negative values count from the
    /// right and bottom edges.
    virtual SIZE GetFixedXY() const;
    virtual void SetFixedXY(SIZE xy);
    /// Requested width (0: not fixed); negative values are ignored.
    virtual int GetFixedWidth() const;
    virtual void SetFixedWidth(int cx);
    virtual int GetFixedHeight() const;
    virtual void SetFixedHeight(int cy);
    virtual int GetMinWidth() const;
    virtual void SetMinWidth(int cx);
    virtual int GetMaxWidth() const;
    virtual void SetMaxWidth(int cx);
    virtual int GetMinHeight() const;
    virtual void SetMinHeight(int cy);
    virtual int GetMaxHeight() const;
    virtual void SetMaxHeight(int cy);
    /// Turns relative placement on with move and zoom percents.
    virtual void SetRelativePos(SIZE move, SIZE zoom);
    virtual void SetRelativeParentSize(SIZE size);
    virtual TRelativePosUI GetRelativePos() const;
    virtual bool IsRelativePos() const;

    virtual CSkinString GetToolTip() const;
    /// Stores the tool tip with every "<n>" turned into a line break.
    virtual void SetToolTip(const wchar_t* text);
    virtual void SetToolTipWidth(int width);
    /// Maximum tool tip width in pixels.
    virtual int GetToolTipWidth() const;

    virtual wchar_t GetShortcut() const;
    virtual void SetShortcut(wchar_t ch);

    /// Whether a context menu event becomes a "menu" notification.
    virtual bool IsContextMenuUsed() const;
    virtual void SetContextMenuUsed(bool used);

    virtual const CSkinString& GetUserData();
    virtual void SetUserData(const wchar_t* text);
    virtual UINT_PTR GetTag() const;
    virtual void SetTag(UINT_PTR tag);

    /// Own visibility and the one imposed by the parent.
    virtual bool IsVisible() const;
    virtual void SetVisible(bool visible = true);
    /// Visibility imposed by a container; no repaint or layout of its own.
    virtual void SetInternVisible(bool visible = true);
    virtual bool IsEnabled() const;
    virtual void SetEnabled(bool enabled = true);
    virtual bool IsMouseEnabled() const;
    virtual void SetMouseEnabled(bool enabled = true);
    virtual bool IsKeyboardEnabled() const;
    virtual void SetKeyboardEnabled(bool enabled = true);
    virtual bool IsFocused() const;
    /// Asks the manager to focus this control.
    virtual void SetFocus();
    virtual bool IsFloat() const;
    virtual void SetFloat(bool floating = true);

    /// Applies the visible, enabled and hit-test filters of flags to this control, then
    /// returns proc(this, data).
    virtual CControlUI* FindControl(FINDCONTROLPROC proc, void* data, UINT flags);

    /// DoInit, then OnInit.
    virtual void Init();
    virtual void DoInit();

    /// Offers the event to OnEvent; unless vetoed, DoEvent handles it.
    virtual void Event(TEventUI& event);
    /// Default handling: cursor, focus, timer and context menu; the rest goes to the parent.
    virtual void DoEvent(TEventUI& event);

    /// Applies one skin attribute. Unknown names are ignored after a trace line saying
    /// "unknown attribute" with the name and the control's class.
    virtual void SetAttribute(const wchar_t* name, const wchar_t* value);
    /// Applies a list of name="value" pairs separated by single spaces; returns this.
    CControlUI* ApplyAttributeList(const wchar_t* list);

    /// The size the control wants in the available space: its fixed size.
    virtual SIZE EstimateSize(SIZE available);

    /// Paints the part of the control inside paintRect with the five steps below, inside
    /// a rounded clip when the border is round.
    virtual void DoPaint(HDC hDC, const RECT& paintRect);
    /// Background colour, or a vertical gradient through colours 2 and 3 when they are set.
    virtual void PaintBkColor(HDC hDC);
    /// Background image; dropped when it cannot be drawn at all (no manager).
    virtual void PaintBkImage(HDC hDC);
    /// State images of subclasses; none for the base.
    virtual void PaintStatusImage(HDC hDC);
    /// Text of subclasses; none for the base.
    virtual void PaintText(HDC hDC);
    /// Round, focus, per-side or plain border, the first that applies.
    virtual void PaintBorder(HDC hDC);
    /// Called after the tree for controls registered for post-paint.
    virtual void DoPostPaint(HDC hDC, const RECT& paintRect);

    /// Own virtual window, else the nearest ancestor's, else empty.
    CSkinString GetVirtualWnd() const;
    /// Stores the name and tells the manager that virtual windows are in use.
    void SetVirtualWnd(const wchar_t* name);

    /// Repaints the visible part of the control.
    void Invalidate();
    /// Asks for a new layout of this control.
    void NeedUpdate();
    /// Asks for a new layout of the parent (of this control at the root).
    void NeedParentUpdate();
    bool IsUpdateNeeded() const;

    /// Draws an image attribute string (and a modifier on top) over the item rectangle,
    /// within the current paint rectangle; false without a manager or device context.
    bool DrawImage(HDC hDC, const wchar_t* image, const wchar_t* modifier = nullptr);
    /// The colour through the global hue, saturation and lightness when "colorhsl" is on
    /// and the global adjustment is in use.
    DWORD GetAdjustColor(DWORD color) const;

    // The look.
    DWORD GetBkColor() const;
    void SetBkColor(DWORD color);
    DWORD GetBkColor2() const;
    void SetBkColor2(DWORD color);
    DWORD GetBkColor3() const;
    void SetBkColor3(DWORD color);
    /// Image attribute string of the background.
    const CSkinString& GetBkImage() const;
    void SetBkImage(const wchar_t* image);
    DWORD GetBorderColor() const;
    void SetBorderColor(DWORD color);
    DWORD GetFocusBorderColor() const;
    void SetFocusBorderColor(DWORD color);
    /// Whether colours pass through the global hue/saturation/lightness adjustment.
    bool IsColorHSL() const;
    void SetColorHSL(bool colorHSL);
    int GetBorderSize() const;
    void SetBorderSize(int size);
    /// Per-side border sizes (left, top, right, bottom).
    void SetBorderSize(RECT sizes);
    int GetLeftBorderSize() const;
    void SetLeftBorderSize(int size);
    int GetTopBorderSize() const;
    void SetTopBorderSize(int size);
    int GetRightBorderSize() const;
    void SetRightBorderSize(int size);
    int GetBottomBorderSize() const;
    void SetBottomBorderSize(int size);
    /// Pen style of the per-side border lines.
    int GetBorderStyle() const;
    void SetBorderStyle(int style);
    /// Ellipse width and height of round corners.
    SIZE GetBorderRound() const;
    void SetBorderRound(SIZE round);

    CEventSource OnInit;    ///< raised by Init with the control
    CEventSource OnDestroy; ///< raised by the destructor with the control
    CEventSource OnSize;    ///< raised by SetPos with the control
    CEventSource OnEvent;   ///< raised by Event with the TEventUI; false vetoes DoEvent
    CEventSource OnNotify;  ///< raised with the TNotifyUI of synchronous notifications it sends

protected:
    /// Stores one of the control's image strings and repaints.
    void StoreImage(CSkinString& field, const wchar_t* image);
    /// Sends a notification from this control through its manager, if any.
    void SendNotify(const wchar_t* type, WPARAM wParam = 0, LPARAM lParam = 0, bool async = false);
    /// After a geometry request: floating controls lay themselves out, others their parent.
    void GeometryChanged();
    /// The five paint steps in order.
    void PaintSteps(HDC hDC);

    CPaintManagerUI* m_pManager = nullptr; ///< not owned
    CControlUI* m_pParent = nullptr;       ///< not owned
    CSkinString m_sVirtualWnd;
    CSkinString m_sName;
    bool m_bUpdateNeeded = true;
    bool m_bMenuUsed = false;
    RECT m_rcItem{};
    RECT m_rcPadding{};
    SIZE m_cXY{};
    SIZE m_cxyFixed{};
    SIZE m_cxyMin{};
    SIZE m_cxyMax{9999, 9999};
    bool m_bVisible = true;
    bool m_bInternVisible = true;
    bool m_bEnabled = true;
    bool m_bMouseEnabled = true;
    bool m_bKeyboardEnabled = true;
    bool m_bFocused = false;
    bool m_bFloat = false;
    bool m_bSetPos = false; ///< guards OnSize against re-entry
    TRelativePosUI m_tRelativePos;
    CSkinString m_sText;
    CSkinString m_sToolTip;
    wchar_t m_chShortcut = 0;
    CSkinString m_sUserData;
    UINT_PTR m_pTag = 0;
    DWORD m_dwBackColor = 0;
    DWORD m_dwBackColor2 = 0;
    DWORD m_dwBackColor3 = 0;
    CSkinString m_sBkImage;
    DWORD m_dwBorderColor = 0;
    DWORD m_dwFocusBorderColor = 0;
    bool m_bColorHSL = false;
    int m_nBorderSize = 0;
    int m_nBorderStyle = PS_SOLID;
    int m_nTooltipWidth = 300;
    SIZE m_cxyBorderRound{};
    RECT m_rcPaint{}; ///< item rectangle within the current paint rectangle
    RECT m_rcBorderSize{};
};

} // namespace SkinUI
