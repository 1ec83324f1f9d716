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
};

} // namespace SkinUI
