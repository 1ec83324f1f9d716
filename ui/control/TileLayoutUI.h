// A layout that arranges its children in a grid of equal-width columns; each row is as
// tall as its tallest child, and every child is centred in its tile.
#pragma once

#include "control/ContainerUI.h"

namespace SkinUI {

class CTileLayoutUI : public CContainerUI {
public:
    CTileLayoutUI();

    /// "TileLayoutUI".
    const wchar_t* GetClass() const override;
    /// This layout for "TileLayout", else as the container.
    void* GetInterface(const wchar_t* name) override;

    /// Tile size; a positive width decides the number of columns from the layout's width.
    SIZE GetItemSize() const;
    void SetItemSize(SIZE size);
    /// Columns when no item width is set; values below 1 are ignored.
    int GetColumns() const;
    void SetColumns(int columns);

    /// Places the children row by row and updates the scroll bars.
    void SetPos(RECT rect) override;
    /// "itemsize", "columns"; others as the container.
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;

private:
    /// Height of the row that starts at child `first`: the tallest of its children.
    long long MeasureRow(int first, int columns, long long columnWidth) const;

    SIZE m_szItem{};
    int m_nColumns = 1;
};

} // namespace SkinUI
