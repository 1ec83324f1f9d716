// A list item that shows one line of text (plain or HTML-like) in the owner's font and
// state colours, and is selected by a press of either mouse button.
#pragma once

#include <windows.h>

#include "control/ListElementUI.h"

namespace SkinUI {

class CListLabelElementUI : public CListElementUI {
public:
    CListLabelElementUI();

    /// "ListLabelElementUI".
    const wchar_t* GetClass() const override;
    /// This for "ListLabelElement", else as the list element.
    void* GetInterface(const wchar_t* name) override;

    /// Presses send "itemclick" and select; moves and releases stop here; the pointer
    /// makes the item hot; the rest as the list element.
    void DoEvent(TEventUI& event) override;
    /// Without an owner 0 x 0. Otherwise the fixed size, or the height of the owner's font
    /// plus 8 and the text padding, and the width of the text plus the text padding.
    SIZE EstimateSize(SIZE available) override;
    /// The text in the state colour inside the item less the owner's text padding.
    void DrawItemText(HDC hDC, const RECT& rcItem) override;

protected:
    /// Height of the owner's font as the manager measured it; 0 without one.
    int ItemFontHeight() const;
    /// Draws (or with DT_CALCRECT measures) one text in the owner's font, plain or
    /// HTML-like; links found are recorded up to *linkCount (the capacity on entry).
    void DrawListText(HDC hDC, RECT& rc, const wchar_t* text, DWORD color, UINT style,
                      RECT* links = nullptr, CSkinString* targets = nullptr,
                      int* linkCount = nullptr);
};

} // namespace SkinUI
