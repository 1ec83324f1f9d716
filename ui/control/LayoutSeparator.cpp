#include "control/LayoutSeparator.h"

#include "control/ControlUI.h"
#include "render/RenderEngine.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

namespace {
constexpr DWORD kPreviewColor = 0xAA000000;
} // namespace

CLayoutSeparator::CLayoutSeparator(CControlUI& layout, RECT& item, SIZE& fixedSize,
                                   const Axis& along)
    : m_layout(layout), m_item(item), m_fixedSize(fixedSize), m_along(along) {}

CLayoutSeparator::~CLayoutSeparator() {
    // The manager must never paint a layout that is gone.
    StopPreview();
}

void CLayoutSeparator::SetImmediateMode(bool immediate) {
    if (m_immediate == immediate) return;
    StopPreview();
    m_immediate = immediate;
}

RECT CLayoutSeparator::GetThumbRect(bool newPosition) const {
    RECT base = m_captured && newPosition ? m_newPos : m_item;
    RECT strip = base;
    if (m_size >= 0) {
        const long long nearEdge = static_cast<long long>(m_along.Far(base)) - m_size;
        m_along.Near(strip) =
            ClampToInt(nearEdge > m_along.Near(base) ? nearEdge : m_along.Near(base));
    } else {
        const long long farEdge = static_cast<long long>(m_along.Near(base)) - m_size;
        m_along.Far(strip) = ClampToInt(farEdge < m_along.Far(base) ? farEdge : m_along.Far(base));
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
        ::SetCursor(::LoadCursorW(nullptr, m_along.IsVertical() ? IDC_SIZENS : IDC_SIZEWE));
        return true;
    }
    default:
        return false;
    }
}

bool CLayoutSeparator::Drag(POINT mouse) {
    const long long delta = static_cast<long long>(m_along.Of(mouse)) - m_along.Of(m_lastMouse);
    m_lastMouse = mouse;
    const long long at = m_along.Of(mouse);
    RECT next = m_newPos;
    const long long currentSize = m_along.Extent(m_newPos);
    const int minimum = m_along.Min(m_layout);
    const int maximum = m_along.Max(m_layout);
    if (m_size >= 0) {
        // The far edge follows the mouse, once the mouse is back beyond the strip.
        const long long edge = m_along.Far(m_newPos);
        if ((delta > 0 && at < edge + m_size) || (delta < 0 && at > edge)) return true;
        m_along.Far(next) = ClampToInt(edge + delta);
        const long long size = m_along.Extent(next);
        if (size <= minimum) {
            if (currentSize <= minimum) return true;
            m_along.Far(next) = ClampToInt(static_cast<long long>(m_along.Near(next)) + minimum);
        }
        if (size >= maximum) {
            if (currentSize >= maximum) return true;
            m_along.Far(next) = ClampToInt(static_cast<long long>(m_along.Near(next)) + maximum);
        }
    } else {
        const long long edge = m_along.Near(m_newPos);
        if ((delta > 0 && at < edge) || (delta < 0 && at > edge + m_size)) return true;
        m_along.Near(next) = ClampToInt(edge + delta);
        const long long size = m_along.Extent(next);
        if (size <= minimum) {
            if (currentSize <= minimum) return true;
            m_along.Near(next) = ClampToInt(static_cast<long long>(m_along.Far(next)) - minimum);
        }
        if (size >= maximum) {
            if (currentSize >= maximum) return true;
            m_along.Near(next) = ClampToInt(static_cast<long long>(m_along.Far(next)) - maximum);
        }
    }

    RECT invalid = GetThumbRect(true);
    m_newPos = next;
    // The dragged size persists: the parent treats the layout as fixed from now on.
    const int size = ClampToInt(m_along.Extent(next));
    m_along.Of(m_fixedSize) = size;
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
