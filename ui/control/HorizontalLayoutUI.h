// A layout that stacks its children left to right, sharing the free width among the
// children without a fixed width; optionally a separator that resizes it by dragging.
#pragma once

#include "control/ContainerUI.h"
#include "control/LayoutSeparator.h"

namespace SkinUI {

class CHorizontalLayoutUI : public CContainerUI {
public:
    CHorizontalLayoutUI();

    /// "HorizontalLayoutUI".
    const wchar_t* GetClass() const override;
    /// This layout for "HorizontalLayout", else as the container.
    void* GetInterface(const wchar_t* name) override;
    /// UIFLAG_SETCURSOR while enabled with a separator.
    UINT GetControlFlags() const override;

    /// Separator width: 0 none, positive at the right edge, negative at the left edge.
    void SetSepWidth(int width);
    int GetSepWidth() const;
    /// Immediate mode resizes while dragging; otherwise a preview strip shows the size.
    void SetSepImmMode(bool immediate);
    bool IsSepImmMode() const;
    /// The separator strip, on the dragged rectangle when `newPosition` and dragging.
    RECT GetThumbRect(bool newPosition) const;

    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    /// Stacks the children and updates the scroll bars.
    void SetPos(RECT rect) override;
    /// Separator drags and cursor; the rest as the container.
    void DoEvent(TEventUI& event) override;
    /// Paints the preview strip during a drag.
    void DoPostPaint(HDC hDC, const RECT& paintRect) override;
    /// "sepwidth", "sepimm"; others as the container.
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;

private:
    CLayoutSeparator m_separator;
};

} // namespace SkinUI
