// A drop-down selector. Its children are list items, but closed it shows only its state
// image and the selected item's text; opened, its items move for the time into a pop-up
// window (CComboWnd) with a paint manager of its own. The keyboard and the wheel choose
// neighbouring items without opening it.
#pragma once

#include <windows.h>

#include "control/ContainerUI.h"
#include "control/ListInterfaces.h"
#include "core/SkinString.h"

namespace SkinUI {

class CComboWnd;

class CComboUI : public CContainerUI, public IListOwnerUI {
public:
    CComboUI();
    /// Closes an open pop-up first and takes the items back from it.
    ~CComboUI() override;

    /// "ComboUI".
    const wchar_t* GetClass() const override;
    /// This for "Combo", the IListOwnerUI part for "IListOwner", else as the container.
    void* GetInterface(const wchar_t* name) override;

    /// The selected item's text, or empty without a selection.
    CSkinString GetText() const override;
    /// Disabling also clears the button state.
    void SetEnabled(bool enabled = true) override;

    // ---- Items: container operations that keep the items' owner and index and the
    // selection right.

    bool SetItemIndex(CControlUI* control, int index) override;
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    /// Removing the selected item selects the selectable item that takes its place, or
    /// the nearest one before it.
    bool RemoveAt(int index) override;
    void RemoveAll() override;

    // ---- IListOwnerUI

    TListInfoUI* GetListInfo() override;
    int GetCurSel() const override;
    /// Closes an open pop-up, then makes the item the selected one: it must be visible,
    /// enabled and a list item (an index past the end means the last item). Sends
    /// "itemselect" (wParam new index, lParam old). A refused index leaves none selected.
    bool SelectItem(int index, bool takeFocus = false) override;

    /// Opens the pop-up and sends "dropdown"; true without more when it is open already.
    bool Activate() override;
    /// The open pop-up, or null.
    CComboWnd* GetDropDownWindow() const;
    /// While the pop-up is open its window keeps the items; they follow on closing.
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;

    RECT GetTextPadding() const;
    void SetTextPadding(RECT padding);
    /// Attribute list applied to the pop-up's layout.
    const CSkinString& GetDropBoxAttributeList() const;
    void SetDropBoxAttributeList(const wchar_t* list);
    /// Width (0: the combo's) and greatest height of the pop-up.
    SIZE GetDropBoxSize() const;
    void SetDropBoxSize(SIZE size);
    /// UISTATE_* bits.
    UINT GetButtonState() const;

    // State images; each setter repaints.
    const CSkinString& GetNormalImage() const;
    void SetNormalImage(const wchar_t* image);
    const CSkinString& GetHotImage() const;
    void SetHotImage(const wchar_t* image);
    const CSkinString& GetPushedImage() const;
    void SetPushedImage(const wchar_t* image);
    const CSkinString& GetFocusedImage() const;
    void SetFocusedImage(const wchar_t* image);
    const CSkinString& GetDisabledImage() const;
    void SetDisabledImage(const wchar_t* image);

    /// Items are never laid out inside the closed combo: each gets an empty place.
    void SetPos(RECT rect) override;
    /// The fixed size; without a fixed height, the default font's height plus 12.
    SIZE EstimateSize(SIZE available) override;
    /// Hit testing never reaches the items, which are not laid out here.
    CControlUI* FindControl(FINDCONTROLPROC proc, void* data, UINT flags) override;
    /// Press opens; arrows, Home, End and the wheel choose; F4 opens; hot tracking.
    void DoEvent(TEventUI& event) override;
    /// "textpadding", the state images, "dropbox", "dropboxsize" and the item attributes
    /// ("itemfont", "itemalign", "itemtextpadding", the item colours and images,
    /// "itemaltbk", "itemshowhtml"); others as the container.
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;
    /// The control alone: the items are not painted here.
    void DoPaint(HDC hDC, const RECT& paintRect) override;
    /// The image of the first state that has one (disabled, pushed, hot, focused), else
    /// the normal image.
    void PaintStatusImage(HDC hDC) override;
    /// The selected item's text inside the text padding.
    void PaintText(HDC hDC) override;

protected:
    /// Sets the focused and disabled bits from the control's state.
    void RefreshStateBits();
    /// Draws the selected item's text into a rectangle.
    void PaintSelectedText(HDC hDC, const RECT& textRect);
    /// Draws an image string if set; one whose drawing fails is emptied. True when drawn.
    bool DrawStateImage(HDC hDC, CSkinString& image);

    CComboWnd* m_pWindow = nullptr; ///< owned by the window itself
    int m_iCurSel = -1;
    RECT m_rcTextPadding{};
    CSkinString m_sDropBoxAttributes;
    SIZE m_szDropBox{0, 150};
    UINT m_uButtonState = 0;
    CSkinString m_sNormalImage;
    CSkinString m_sHotImage;
    CSkinString m_sPushedImage;
    CSkinString m_sFocusedImage;
    CSkinString m_sDisabledImage;
    TListInfoUI m_ListInfo;

private:
    friend class CComboWnd;

    /// Whether the open pop-up shows the items now.
    bool ItemsInList() const;
    /// The items come back from the pop-up to this combo's manager and to the combo, with
    /// no place.
    void TakeItemsBack();
    /// Sets each item's index from `from` on to its place.
    void Renumber(int from);
    /// Selects the item that FindSelectable finds from an index in a direction.
    void SelectNearest(int index, bool forward);
};

} // namespace SkinUI
