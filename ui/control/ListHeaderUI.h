// The row of column headers above a list's body.
#pragma once

#include <windows.h>

#include "control/HorizontalLayoutUI.h"

namespace SkinUI {

class CListHeaderUI : public CHorizontalLayoutUI {
public:
    CListHeaderUI();

    /// "ListHeaderUI".
    const wchar_t* GetClass() const override;
    /// This for "ListHeader", else as the horizontal layout.
    void* GetInterface(const wchar_t* name) override;

    /// Height: the fixed height, or the tallest item but at least the default font's
    /// height plus 6. Width: the items' widths together.
    SIZE EstimateSize(SIZE available) override;
    /// Lays out the columns; laid out on its own (a column changed its width), it asks its
    /// list for a layout too, so that the list's columns and rows follow.
    void SetPos(RECT rect) override;
};

} // namespace SkinUI
