#include "control/LayoutSeparator.h"

#include "control/ControlUI.h"
#include "control/LayoutMath.h"
#include "render/RenderEngine.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

namespace {
constexpr DWORD kPreviewColor = 0xAA000000;
} // namespace

CLayoutSeparator::CLayoutSeparator(CControlUI& layout, RECT& item, SIZE& fixedSize, bool vertical)
    : m_layout(layout), m_item(item), m_fixedSize(fixedSize), m_vertical(vertical) {}

CLayoutSeparator::~CLayoutSeparator() {
    // The manager must never paint a layout that is gone.
    StopPreview();
}

void CLayoutSeparator::SetImmediateMode(bool immediate) {
    if (m_immediate == immediate) return;
    StopPreview();
    m_immediate = immediate;
}

int CLayoutSeparator::MinSize() const {
    return m_vertical ? m_layout.GetMinHeight() : m_layout.GetMinWidth();
}

int CLayoutSeparator::MaxSize() const {
    return m_vertical ? m_layout.GetMaxHeight() : m_layout.GetMaxWidth();
}

RECT CLayoutSeparator::GetThumbRect(bool newPosition) const {
    RECT base = m_captured && newPosition ? m_newPos : m_item;
    RECT strip = base;
    if (m_size >= 0) {
        const long long nearEdge = static_cast<long long>(Far(base)) - m_size;
        Near(strip) = ClampToInt(nearEdge > Near(base) ? nearEdge : Near(base));
    } else {
        const long long farEdge = static_cast<long long>(Near(base)) - m_size;
        Far(strip) = ClampToInt(farEdge < Far(base) ? farEdge : Far(base));
    }
    return strip;
}

bool CLayoutSeparator::DoEvent(TEventUI& event) {
    if (m_size == 0) return false;
    switch (event.type) {
    case UIEVENT_BUTTONDOWN: {
        if (!m_layout.IsEnabled()) return false;
        const RECT strip = GetThumbRect(false);
        if (!::PtInRect(&strip, event.mousePos)) return false;
        m_captured = true;
        m_lastMouse = event.mousePos;
        m_newPos = m_item;
        if (!m_immediate) StartPreview();
        return true;
    }
    case UIEVENT_BUTTONUP:
        if (!m_captured) return false;
        m_captured = false;
        m_item = m_newPos;
        StopPreview();
        m_layout.NeedParentUpdate();
        return true;
    case UIEVENT_MOUSEMOVE:
        return m_captured && Drag(event.mousePos);
    case UIEVENT_SETCURSOR: {
        if (!m_layout.IsEnabled()) return false;
        const RECT strip = GetThumbRect(false);
        if (!::PtInRect(&strip, event.mousePos)) return false;
        ::SetCursor(::LoadCursorW(nullptr, m_vertical ? IDC_SIZENS : IDC_SIZEWE));
        return true;
    }
    default:
        return false;
    }
}

bool CLayoutSeparator::Drag(POINT mouse) {
    const long long delta = static_cast<long long>(Along(mouse)) - Along(m_lastMouse);
    m_lastMouse = mouse;
    const long long at = Along(mouse);
    RECT next = m_newPos;
    const long long currentSize = static_cast<long long>(Far(m_newPos)) - Near(m_newPos);
    const int minimum = MinSize();
    const int maximum = MaxSize();
    if (m_size >= 0) {
        // The far edge follows the mouse, once the mouse is back beyond the strip.
        const long long edge = Far(m_newPos);
        if ((delta > 0 && at < edge + m_size) || (delta < 0 && at > edge)) return true;
        Far(next) = ClampToInt(edge + delta);
        const long long size = static_cast<long long>(Far(next)) - Near(next);
        if (size <= minimum) {
            if (currentSize <= minimum) return true;
            Far(next) = ClampToInt(static_cast<long long>(Near(next)) + minimum);
        }
        if (size >= maximum) {
            if (currentSize >= maximum) return true;
            Far(next) = ClampToInt(static_cast<long long>(Near(next)) + maximum);
        }
    } else {
        const long long edge = Near(m_newPos);
        if ((delta > 0 && at < edge) || (delta < 0 && at > edge + m_size)) return true;
        Near(next) = ClampToInt(edge + delta);
        const long long size = static_cast<long long>(Far(next)) - Near(next);
        if (size <= minimum) {
            if (currentSize <= minimum) return true;
            Near(next) = ClampToInt(static_cast<long long>(Far(next)) - minimum);
        }
        if (size >= maximum) {
            if (currentSize >= maximum) return true;
            Near(next) = ClampToInt(static_cast<long long>(Far(next)) - maximum);
        }
    }

    RECT invalid = GetThumbRect(true);
    m_newPos = next;
    // The dragged size persists: the parent treats the layout as fixed from now on.
    const int size = ClampToInt(static_cast<long long>(Far(next)) - Near(next));
    if (m_vertical)
        m_fixedSize.cy = size;
    else
        m_fixedSize.cx = size;
    if (m_immediate) {
        m_item = m_newPos;
        m_layout.NeedParentUpdate();
    } else {
        const RECT newStrip = GetThumbRect(true);
        const RECT oldStrip = GetThumbRect(false);
        ::UnionRect(&invalid, &invalid, &newStrip);
        ::UnionRect(&invalid, &invalid, &oldStrip);
        if (CPaintManagerUI* manager = m_layout.GetManager()) manager->Invalidate(invalid);
    }
    return true;
}

void CLayoutSeparator::DoPostPaint(HDC hDC) {
    if (!m_captured || m_immediate) return;
    CRenderEngine::DrawColor(hDC, GetThumbRect(true), kPreviewColor);
}

void CLayoutSeparator::ManagerChanging(CPaintManagerUI* manager) {
    if (manager == m_layout.GetManager()) return;
    StopPreview();
    m_captured = false;
}

void CLayoutSeparator::StartPreview() {
    CPaintManagerUI* manager = m_layout.GetManager();
    if (manager == nullptr || m_previewManager == manager) return;
    StopPreview();
    if (manager->AddPostPaint(&m_layout)) m_previewManager = manager;
}

void CLayoutSeparator::StopPreview() {
    if (m_previewManager == nullptr) return;
    m_previewManager->RemovePostPaint(&m_layout);
    m_previewManager = nullptr;
}

} // namespace SkinUI
