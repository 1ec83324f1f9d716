// One column header: a pressable caption with state images, and a separator at one edge
// that resizes the column by dragging.
#pragma once

#include <windows.h>

#include "control/ContainerUI.h"
#include "core/SkinString.h"

namespace SkinUI {

class CListHeaderItemUI : public CContainerUI {
public:
    /// Draggable with a 4-pixel separator on the right; a drag leaves at least the
    /// minimum width, 16 unless set.
    CListHeaderItemUI();

    /// "ListHeaderItemUI".
    const wchar_t* GetClass() const override;
    /// This for "ListHeaderItem", else as the container.
    void* GetInterface(const wchar_t* name) override;
    /// UIFLAG_SETCURSOR while enabled with a separator.
    UINT GetControlFlags() const override;

    /// Disabling clears the button state.
    void SetEnabled(bool enabled = true) override;
    /// UISTATE_* bits.
    UINT GetButtonState() const;

    /// Whether the separator resizes the column.
    bool IsDragable() const;
    void SetDragable(bool dragable);
    /// Separator width: positive at the right edge, negative at the left edge, 0 none.
    int GetSepWidth() const;
    void SetSepWidth(int width);
    /// The separator strip (see GetSepWidth).
    RECT GetThumbRect() const;

    /// DrawText flags of the caption.
    UINT GetTextStyle() const;
    void SetTextStyle(UINT style);
    /// 0 takes the manager's default font colour at the first paint.
    DWORD GetTextColor() const;
    void SetTextColor(DWORD color);
    RECT GetTextPadding() const;
    void SetTextPadding(RECT padding);
    int GetFont() const;
    void SetFont(int index);
    bool IsShowHtml() const;
    void SetShowHtml(bool showHtml = true);

    // State images (image attribute strings); each setter repaints.
    const CSkinString& GetNormalImage() const;
    void SetNormalImage(const wchar_t* image);
    const CSkinString& GetHotImage() const;
    void SetHotImage(const wchar_t* image);
    const CSkinString& GetPushedImage() const;
    void SetPushedImage(const wchar_t* image);
    const CSkinString& GetFocusedImage() const;
    void SetFocusedImage(const wchar_t* image);
    const CSkinString& GetSepImage() const;
    void SetSepImage(const wchar_t* image);

    /// Separator drags, presses ("headerclick"), hot tracking and the resize cursor.
    void DoEvent(TEventUI& event) override;
    /// With a fixed height the fixed size, else the fixed width and the default font's
    /// height plus 14.
    SIZE EstimateSize(SIZE available) override;
    /// "dragable", "sepwidth", "align", "endellipsis", "font", "textcolor", "textpadding",
    /// "showhtml", "normalimage", "hotimage", "pushedimage", "focusedimage", "sepimage";
    /// others as the container.
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;
    /// The state image, then the separator image over the separator strip.
    void PaintStatusImage(HDC hDC) override;
    /// The caption in the item less the text padding, on one line.
    void PaintText(HDC hDC) override;

private:
    /// The separator strip widened by 4 pixels into the item, where a press starts a drag.
    RECT GripRect() const;
    /// Asks for a layout of the list around the header after a width change.
    void RelayoutList();

    bool m_bDragable = true;
    UINT m_uButtonState = 0;
    int m_iSepWidth = 4;
    DWORD m_dwTextColor = 0;
    int m_iFont = -1;
    UINT m_uTextStyle = DT_VCENTER | DT_CENTER | DT_SINGLELINE;
    bool m_bShowHtml = false;
    RECT m_rcTextPadding{2, 0, 2, 0};
    CSkinString m_sNormalImage;
    CSkinString m_sHotImage;
    CSkinString m_sPushedImage;
    CSkinString m_sFocusedImage;
    CSkinString m_sSepImage;
    POINT m_ptLastMouse{};
};

} // namespace SkinUI
