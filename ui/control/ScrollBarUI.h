// A scroll bar: a range and a position within it, vertical or horizontal, usually owned by
// a container that it scrolls.
#pragma once

#include "control/ControlUI.h"

namespace SkinUI {

class CContainerUI;

// TODO(scroll bar control): the end buttons, the thumb, their images and painting, and the
// mouse handling that scrolls the owner arrive with the full control; until then the bar
// keeps its range and position and passes input to its owner.
class CScrollBarUI : public CControlUI {
public:
    /// A vertical bar 16 pixels thick with range 100.
    CScrollBarUI();

    /// "ScrollBarUI".
    const wchar_t* GetClass() const override;
    /// This bar for "ScrollBar", else as the control base.
    void* GetInterface(const wchar_t* name) override;

    /// The container this bar scrolls; not owned.
    CContainerUI* GetOwner() const;
    void SetOwner(CContainerUI* owner);

    bool IsHorizontal() const;
    /// Changes the orientation; a bar without a thickness along the new axis gets 16.
    void SetHorizontal(bool horizontal = true);
    int GetScrollRange() const;
    /// Stores the range (negative reads as 0) and keeps the position within it.
    void SetScrollRange(int range);
    int GetScrollPos() const;
    /// Stores the position clamped to 0..range.
    void SetScrollPos(int pos);
    /// Step of a line when the bar has no owner.
    int GetLineSize() const;
    void SetLineSize(int size);

    /// Stores the flag only: the owner lays itself out again.
    void SetVisible(bool visible = true) override;
    /// Focuses the owner when there is one.
    void SetFocus() override;
    /// Focus and context menu events are ignored; the rest goes to the owner.
    void DoEvent(TEventUI& event) override;
    /// "hor", "linesize", "range", "value"; others as the control base.
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;

private:
    bool m_bHorizontal = false;
    int m_nRange = 100;
    int m_nScrollPos = 0;
    int m_nLineSize = 8;
    CContainerUI* m_pOwner = nullptr; ///< not owned
};

} // namespace SkinUI
