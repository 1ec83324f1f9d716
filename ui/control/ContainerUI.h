// A control that owns an ordered list of children: it lays them over its client area,
// places floating ones by their fixed coordinates, paints them clipped to itself, searches
// them, and can carry scroll bars that shift them. The base of every layout.
#pragma once

#include "control/ControlUI.h"
#include "core/StdPtrArray.h"

namespace SkinUI {

class Axis;
class CScrollBarUI;

/// Access to a container's children without knowing its class.
class IContainerUI {
public:
    /// The child at an index, or null.
    virtual CControlUI* GetItemAt(int index) const = 0;
    /// The index of a child, or -1.
    virtual int GetItemIndex(CControlUI* control) const = 0;
    /// Moves a child to an index of the list; false when it is no child or the index is
    /// outside the list.
    virtual bool SetItemIndex(CControlUI* control, int index) = 0;
    virtual int GetCount() const = 0;
    /// Appends a child and takes ownership of it.
    virtual bool Add(CControlUI* control) = 0;
    /// Inserts a child at 0..count and takes ownership of it.
    virtual bool AddAt(CControlUI* control, int index) = 0;
    /// Unlinks a child and, with auto destroy, destroys it.
    virtual bool Remove(CControlUI* control) = 0;
    virtual bool RemoveAt(int index) = 0;
    virtual void RemoveAll() = 0;

protected:
    ~IContainerUI() = default;
};

class CContainerUI : public CControlUI, public IContainerUI {
public:
    CContainerUI();
    /// Destroys every child at once, then the scroll bars.
    ~CContainerUI() override;

    /// "ContainerUI".
    const wchar_t* GetClass() const override;
    /// The IContainerUI part for "IContainer", this for "Container", else as the base.
    void* GetInterface(const wchar_t* name) override;

    CControlUI* GetItemAt(int index) const override;
    int GetItemIndex(CControlUI* control) const override;
    bool SetItemIndex(CControlUI* control, int index) override;
    int GetCount() const override;
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    bool RemoveAt(int index) override;
    void RemoveAll() override;

    /// Room between each edge and the children's client area.
    virtual RECT GetInset() const;
    virtual void SetInset(RECT inset);
    /// Gap between consecutive children (used by the layouts).
    virtual int GetChildPadding() const;
    virtual void SetChildPadding(int padding);
    /// Whether removed children are destroyed.
    virtual bool IsAutoDestroy() const;
    virtual void SetAutoDestroy(bool autoDestroy);
    /// Whether destruction waits for the manager's clean-up message.
    virtual bool IsDelayedDestroy() const;
    virtual void SetDelayedDestroy(bool delayed);
    /// Whether hit testing may answer children.
    virtual bool IsMouseChildEnabled() const;
    virtual void SetMouseChildEnabled(bool enabled = true);

    /// The nearest visible, enabled list item from an index on (backward: down to 0, then
    /// forward from 0); -1 when there is none.
    virtual int FindSelectable(int index, bool forward = true) const;

    /// Horizontal and vertical position of the visible bars (0 without).
    virtual SIZE GetScrollPos() const;
    /// Horizontal and vertical range of the visible bars (0 without).
    virtual SIZE GetScrollRange() const;
    /// Scrolls to a position (each bar clamps its part) and moves the children.
    virtual void SetScrollPos(SIZE pos);
    virtual void LineUp();
    virtual void LineDown();
    virtual void PageUp();
    virtual void PageDown();
    virtual void HomeUp();
    virtual void EndDown();
    virtual void LineLeft();
    virtual void LineRight();
    virtual void PageLeft();
    virtual void PageRight();
    virtual void HomeLeft();
    virtual void EndRight();
    /// Creates or deletes each scroll bar to match the request.
    virtual void EnableScrollBar(bool vertical = true, bool horizontal = false);
    virtual CScrollBarUI* GetVerticalScrollBar() const;
    virtual CScrollBarUI* GetHorizontalScrollBar() const;

    /// Attaches the children and scroll bars too.
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    /// Places every non-floating child over the client area and floating ones by their
    /// fixed coordinates.
    void SetPos(RECT rect) override;
    /// Children follow the container's visibility.
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;
    /// The scroll bars follow.
    void SetMouseEnabled(bool enabled = true) override;
    /// Searches the scroll bars, the children and the container itself as the flags say.
    CControlUI* FindControl(FINDCONTROLPROC proc, void* data, UINT flags) override;
    /// Scrolls with keys and the wheel while a bar is shown.
    void DoEvent(TEventUI& event) override;
    /// "inset", "mousechild", "vscrollbar", "vscrollbarstyle", "hscrollbar",
    /// "hscrollbarstyle", "childpadding"; others as the base.
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;
    /// Paints itself, then the children clipped to the client area, then the bars.
    void DoPaint(HDC hDC, const RECT& paintRect) override;

    /// The first descendant of a name (case-insensitive), through the manager.
    CControlUI* FindSubControl(const wchar_t* name);
    bool SetSubControlText(const wchar_t* name, const wchar_t* text);
    bool SetSubControlFixedHeight(const wchar_t* name, int cy);
    bool SetSubControlFixedWdith(const wchar_t* name, int cx);
    bool SetSubControlUserData(const wchar_t* name, const wchar_t* text);
    /// Empty when there is no such control.
    CSkinString GetSubControlText(const wchar_t* name);
    /// -1 when there is no such control.
    int GetSubControlFixedHeight(const wchar_t* name);
    int GetSubControlFixedWdith(const wchar_t* name);
    CSkinString GetSubControlUserData(const wchar_t* name);

protected:
    /// Places a visible floating child by its fixed position, size and relative rules.
    virtual void SetFloatPos(int index);
    /// Shows, hides, sizes and places the scroll bars after a layout inside rc that
    /// needed cxRequired by cyRequired; may lay the container out again. The vertical
    /// requirement is always weighed, the horizontal one only when positive (a layout that
    /// does not measure its width leaves the horizontal bar as it was set).
    virtual void ProcessScrollBar(RECT rc, int cxRequired, int cyRequired);

    /// Lays the children out one after another along an axis inside the client area: the
    /// ones without a size there share what the others leave, and the scroll bars follow
    /// what the children need. The vertical and horizontal layouts' SetPos.
    void StackChildren(const Axis& along);

    /// The children that a part of the client area may meet, as indexes first..last-1
    /// (painting and hit testing visit no others): all of them here. A container that
    /// knows where its children lie may narrow the range; floating children must stay in it.
    virtual void ChildRange(const RECT& area, int& first, int& last) const;

    /// The item rectangle less the inset.
    RECT InsetRect() const;
    /// InsetRect less the visible bars.
    RECT ClientRect() const;
    /// The bar that scrolls along an axis (the vertical bar along y), or null.
    CScrollBarUI* ScrollBar(const Axis& along) const;
    /// That bar while it is visible, else null.
    CScrollBarUI* ShownScrollBar(const Axis& along) const;
    /// Position and range of the bar along an axis; 0 while it is absent or hidden.
    int ScrollPos(const Axis& along) const;
    int ScrollRange(const Axis& along) const;

    CStdPtrArray m_items; ///< owned CControlUI*, in paint and layout order
    RECT m_rcInset{};
    int m_iChildPadding = 0;
    bool m_bAutoDestroy = true;
    bool m_bDelayedDestroy = true;
    bool m_bMouseChildEnabled = true;
    bool m_bScrollProcess = false; ///< set while ProcessScrollBar re-lays the container
    CScrollBarUI* m_pVerticalScrollBar = nullptr;   ///< owned
    CScrollBarUI* m_pHorizontalScrollBar = nullptr; ///< owned

private:
    /// Add and AddAt without reaching a subclass's overrides of either.
    bool InsertChild(CControlUI* control, int index);
    /// Destroys a child that left the list, or only unlinks it without auto destroy.
    void ReleaseChild(CControlUI* control);
    CScrollBarUI*& ScrollBarSlot(const Axis& along);
    /// Creates the bar along an axis, styled by the manager's defaults, or deletes it.
    void SwitchScrollBar(const Axis& along, bool wanted);
    /// EnableScrollBar for the bar along an axis, keeping the other bar as it is.
    void EnableScrollBarAlong(const Axis& along, bool wanted);
    /// Puts a bar beside rc: past its far edge across the axis, as long as rc along it.
    void PlaceScrollBar(const Axis& along, CScrollBarUI& bar, const RECT& rc);
    /// Fits the bar along an axis to a layout inside rc that needed `required` along it;
    /// true when that laid the container out again.
    bool FitScrollBar(const Axis& along, const RECT& rc, long long required);
    /// Scroll steps along an axis: a line (down the text, the default font's height + 8;
    /// across it 8) and a page (the client area's length).
    int LineStep(const Axis& along) const;
    long long PageStep(const Axis& along) const;
    /// Scrolls the position along an axis to (or by) a value, through the virtual
    /// GetScrollPos and SetScrollPos.
    void ScrollTo(const Axis& along, long long pos);
    void ScrollBy(const Axis& along, long long delta);
    /// The scroll keys and wheel steps for the bar along an axis; false when the event
    /// is none of them.
    bool ScrollOnInput(const Axis& along, const TEventUI& event);
    /// Applies the manager's default attribute list of className to a new scroll bar.
    void ApplyDefaultScrollBarStyle(CScrollBarUI* bar, const wchar_t* className);
};

} // namespace SkinUI
