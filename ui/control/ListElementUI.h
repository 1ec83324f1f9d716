// The base of the text items of a list or combo box: its place among the owner's items,
// its selection, the item background drawn from the owner's shared parameters, and
// activation by double click or Enter. Other events go to the owner, so that keys and
// the wheel over an item reach the list.
#pragma once

#include <windows.h>

#include "control/ControlUI.h"
#include "control/ListInterfaces.h"

namespace SkinUI {

class CListElementUI : public CControlUI, public IListItemUI {
public:
    CListElementUI();

    /// "ListElementUI".
    const wchar_t* GetClass() const override;
    /// The IListItemUI part for "ListItem", this for "ListElement", else as the base.
    void* GetInterface(const wchar_t* name) override;
    /// UIFLAG_WANTRETURN.
    UINT GetControlFlags() const override;

    int GetIndex() const override;
    void SetIndex(int index) override;
    IListOwnerUI* GetOwner() override;
    void SetOwner(CControlUI* owner) override;
    bool IsSelected() const override;
    /// False while disabled. Selecting tells the owner, which makes this its current item;
    /// when the owner refuses, the item stays unselected and the answer is false.
    bool Select(bool select = true) override;
    /// Items of this family never expand.
    bool IsExpanded() const override;
    bool Expand(bool expand = true) override;
    /// Nothing here; the text items draw their text.
    void DrawItemText(HDC hDC, const RECT& rcItem) override;

    /// Sends "itemactivate" when visible and enabled.
    bool Activate() override;
    /// Hiding a selected item deselects it; when it was the owner's current item the owner
    /// is left without one.
    void SetVisible(bool visible = true) override;
    /// Disabling clears the hot state.
    void SetEnabled(bool enabled = true) override;
    /// UISTATE_* bits.
    UINT GetButtonState() const;

    /// Double click or Enter activates; the rest goes to the owner (to the base without).
    void DoEvent(TEventUI& event) override;
    /// "selected" ("true" selects, anything else deselects); others as the base.
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;
    /// The item background, then the text.
    void DoPaint(HDC hDC, const RECT& paintRect) override;
    /// The background by the owner's parameters and the item's state.
    virtual void DrawItemBk(HDC hDC, const RECT& rcItem);

protected:
    /// The owner's shared parameters, or null without an owner.
    TListInfoUI* ListInfo() const;

    int m_iIndex = -1;
    bool m_bSelected = false;
    UINT m_uButtonState = 0;
    IListOwnerUI* m_pOwner = nullptr; ///< not owned
};

// What every list item does alike, whatever its base class: the item classes call these
// with their own state.
namespace ListItem {

/// The IListOwnerUI of a control ("IListOwner"), or null.
IListOwnerUI* OwnerOf(CControlUI* owner);
/// Stores a selection change of an enabled item and tells the owner (see
/// CListElementUI::Select); `selected` is the item's flag.
bool Select(CControlUI& item, bool& selected, IListOwnerUI* owner, int index, bool select);
/// After the item's visibility changed: a hidden selected item lets go of the selection.
void AfterVisibilityChange(CControlUI& item, bool& selected, IListOwnerUI* owner, int index);
/// A press on an item: "itemclick", then the selection (the owner's choice for several
/// selected items, else the item's own Select).
void Click(CControlUI& item, IListItemUI& listItem, IListOwnerUI* owner, int index,
           const TEventUI& event);
/// The item background: colour, state or own image, and the line under the item.
void DrawBk(CControlUI& item, HDC hDC, const RECT& rcItem, TListInfoUI& info, int index,
            bool selected, UINT buttonState, CSkinString& ownBkImage);
/// The text colour for the item's state.
DWORD TextColor(const CControlUI& item, const TListInfoUI& info, bool selected, UINT buttonState);

} // namespace ListItem

} // namespace SkinUI
