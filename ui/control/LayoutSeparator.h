// The draggable separator of the vertical and horizontal layouts: a strip along one edge
// of the layout that resizes it with the mouse, live or with a dark preview strip.
#pragma once

#include <windows.h>

#include "control/Axis.h"
#include "window/EventUI.h"

namespace SkinUI {

class CPaintManagerUI;

class CLayoutSeparator {
public:
    /// Binds to the layout's own item rectangle and fixed size, which a drag changes along
    /// the layout's axis. A vertical layout's strip runs along its bottom or top edge, a
    /// horizontal one's along its right or left edge.
    CLayoutSeparator(CControlUI& layout, RECT& item, SIZE& fixedSize, const Axis& along);
    /// Leaves the manager's post-paint list.
    ~CLayoutSeparator();
    CLayoutSeparator(const CLayoutSeparator&) = delete;
    CLayoutSeparator& operator=(const CLayoutSeparator&) = delete;

    /// 0: no separator; positive: strip at the far edge; negative: at the near edge.
    int GetSize() const { return m_size; }
    void SetSize(int size) { m_size = size; }
    /// Immediate mode resizes while dragging; preview mode paints a strip until release.
    bool IsImmediateMode() const { return m_immediate; }
    void SetImmediateMode(bool immediate);
    /// A drag is in progress.
    bool IsCaptured() const { return m_captured; }

    /// The strip, on the rectangle the drag would leave when `newPosition` is true and a
    /// drag is in progress, else on the layout's rectangle.
    RECT GetThumbRect(bool newPosition) const;
    /// Handles the separator's share of the layout's events; false leaves the event to the
    /// container.
    bool DoEvent(TEventUI& event);
    /// Paints the preview strip while a preview drag is in progress.
    void DoPostPaint(HDC hDC);
    /// Ends a drag and leaves the post-paint list when the layout changes manager.
    void ManagerChanging(CPaintManagerUI* manager);

private:
    /// Drag step: true when the step was taken (or deliberately ignored).
    bool Drag(POINT mouse);
    /// Registers for post-painting once with the layout's manager.
    void StartPreview();
    void StopPreview();

    CControlUI& m_layout;
    RECT& m_item;
    SIZE& m_fixedSize;
    Axis m_along;
    int m_size = 0;
    bool m_captured = false;
    POINT m_lastMouse{};
    RECT m_newPos{};
    bool m_immediate = false;
    CPaintManagerUI* m_previewManager = nullptr; ///< where the preview is registered
};

} // namespace SkinUI
