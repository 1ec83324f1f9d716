// A list item with one text per header column, each drawn inside its column; the texts
// may come from the list's text callback instead. In HTML-like mode the links of all the
// columns are clickable ("link").
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "control/ListLabelElementUI.h"

namespace SkinUI {

class CListTextElementUI : public CListLabelElementUI {
public:
    /// Links one item records across its columns.
    static constexpr int kMaxLinks = 8;

    CListTextElementUI();
    ~CListTextElementUI() override;

    /// "ListTextElementUI".
    const wchar_t* GetClass() const override;
    /// This for "ListTextElement", else as the label element.
    void* GetInterface(const wchar_t* name) override;
    /// UIFLAG_WANTRETURN, and UIFLAG_SETCURSOR while enabled with links.
    UINT GetControlFlags() const override;

    /// Also remembers the owner as a list, for its columns' text callback.
    void SetOwner(CControlUI* owner) override;

    using CListLabelElementUI::GetText;
    using CListLabelElementUI::SetText;
    /// The stored text of a column, or null.
    const wchar_t* GetText(int column) const;
    /// Stores a column's text; needs an owner and a column of its header. Repaints.
    void SetText(int column, const wchar_t* text);

    /// Links found by the last paint.
    int GetLinkCount() const;
    /// The target of link `index` of the last paint, or null.
    const wchar_t* GetLinkContent(int index) const;

    /// Hand cursor and "link" over links, hovered-link tracking; then as the label element.
    void DoEvent(TEventUI& event) override;
    /// The fixed width; the fixed height, or the owner's font height plus 8 and the padding.
    SIZE EstimateSize(SIZE available) override;
    /// Each column's text inside its column, less the text padding.
    void DrawItemText(HDC hDC, const RECT& rcItem) override;

private:
    // Most items never show a link: the rectangles and targets are held apart, made by
    // the first paint that finds one.
    struct Links {
        int count = 0;
        RECT rects[kMaxLinks] = {};
        CSkinString targets[kMaxLinks];
    };

    /// The link under a point, or -1.
    int LinkAt(POINT point) const;

    IListUI* m_pList = nullptr;                      ///< the owner as a list; not owned
    std::vector<std::unique_ptr<wchar_t[]>> m_texts; ///< per column; null for no text
    std::unique_ptr<Links> m_links;
    int m_nHoverLink = -1;
};

} // namespace SkinUI
