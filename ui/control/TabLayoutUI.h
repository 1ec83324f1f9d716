// A layout that shows one child (page) at a time and reports page changes with the
// "tabselect" notification.
#pragma once

#include "control/ContainerUI.h"

namespace SkinUI {

class CTabLayoutUI : public CContainerUI {
public:
    CTabLayoutUI();

    /// "TabLayoutUI".
    const wchar_t* GetClass() const override;
    /// This layout for "TabLayout", else as the container.
    void* GetInterface(const wchar_t* name) override;

    /// The first visible page added becomes the selection; later pages are hidden.
    bool Add(CControlUI* control) override;
    /// Like Add; inserting before the selection keeps the same page selected.
    bool AddAt(CControlUI* control, int index) override;
    /// Removing the selected page selects page 0 (or none when no page is left).
    bool Remove(CControlUI* control) override;
    void RemoveAll() override;

    /// Shows one page, hides the others and sends "tabselect" (new index, old index);
    /// false for an index outside the pages.
    bool SelectItem(int index);
    bool SelectItem(CControlUI* control);
    /// The selected page's index, or -1.
    int GetCurSel() const;

    /// Places the selected page over the client area.
    void SetPos(RECT rect) override;
    /// "selectedid"; others as the container.
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;

private:
    int m_iCurSel = -1;
};

} // namespace SkinUI
