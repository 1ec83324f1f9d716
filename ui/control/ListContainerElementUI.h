// A list item that holds other controls: a container with an item's place, selection,
// state background and activation.
#pragma once

#include <windows.h>

#include "control/ContainerUI.h"
#include "control/ListInterfaces.h"

namespace SkinUI {

class CListContainerElementUI : public CContainerUI, public IListItemUI {
public:
    CListContainerElementUI();

    /// "ListContainerElementUI".
    const wchar_t* GetClass() const override;
    /// The IListItemUI part for "ListItem", this for "ListContainerElement", else as the
    /// container.
    void* GetInterface(const wchar_t* name) override;
    /// UIFLAG_WANTRETURN.
    UINT GetControlFlags() const override;

    int GetIndex() const override;
    void SetIndex(int index) override;
    IListOwnerUI* GetOwner() override;
    void SetOwner(CControlUI* owner) override;
    bool IsSelected() const override;
    /// As CListElementUI::Select.
    bool Select(bool select = true) override;
    /// Items of this family never expand.
    bool IsExpanded() const override;
    bool Expand(bool expand = true) override;
    /// Draws nothing: the children show the item.
    void DrawItemText(HDC hDC, const RECT& rcItem) override;

    /// Sends "itemactivate" when visible and enabled.
    bool Activate() override;
    /// Hiding a selected item deselects it (see CListElementUI::SetVisible).
    void SetVisible(bool visible = true) override;
    /// Disabling clears the hot state.
    void SetEnabled(bool enabled = true) override;
    /// UISTATE_* bits.
    UINT GetButtonState() const;

    /// Double click or Enter activates; presses send "itemclick" and select; moves and
    /// releases stop here; the pointer makes the item hot; the rest goes to the owner (to
    /// the container without).
    void DoEvent(TEventUI& event) override;
    /// "selected" ("true" selects, anything else deselects); others as the container.
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;
    /// The item background, then the container with its children.
    void DoPaint(HDC hDC, const RECT& paintRect) override;
    /// The background by the owner's parameters and the item's state.
    virtual void DrawItemBk(HDC hDC, const RECT& rcItem);
    /// Nothing: the item background already drew the own image (or left it out).
    void PaintBkImage(HDC hDC) override;

protected:
    /// The owner's shared parameters, or null without an owner.
    TListInfoUI* ListInfo() const;

    int m_iIndex = -1;
    bool m_bSelected = false;
    UINT m_uButtonState = 0;
    IListOwnerUI* m_pOwner = nullptr; ///< not owned
};

} // namespace SkinUI
