#include "control/ContainerUI.h"

#include <cwchar>
#include <initializer_list>

#include "control/AttributeValue.h"
#include "control/LayoutMath.h"
#include "control/ScrollBarUI.h"
#include "render/RenderClip.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

namespace {
constexpr int kLineStep = 8;
} // namespace

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI() {
    // Children go at once: nothing is left for the manager to delete after this.
    m_bDelayedDestroy = false;
    CStdPtrArray children(m_items);
    m_items.Empty();
    for (int i = 0; i < children.GetSize(); ++i)
        ReleaseChild(static_cast<CControlUI*>(children[i]));
    delete m_pVerticalScrollBar;
    m_pVerticalScrollBar = nullptr;
    delete m_pHorizontalScrollBar;
    m_pHorizontalScrollBar = nullptr;
}

const wchar_t* CContainerUI::GetClass() const {
    return L"ContainerUI";
}

void* CContainerUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"IContainer") == 0)
        return static_cast<IContainerUI*>(this);
    if (name != nullptr && wcscmp(name, L"Container") == 0) return this;
    return CControlUI::GetInterface(name);
}

// ---- Children

CControlUI* CContainerUI::GetItemAt(int index) const {
    return static_cast<CControlUI*>(m_items.GetAt(index));
}

int CContainerUI::GetItemIndex(CControlUI* control) const {
    return m_items.Find(control);
}

bool CContainerUI::SetItemIndex(CControlUI* control, int index) {
    const int from = m_items.Find(control);
    if (from < 0 || index < 0 || index >= m_items.GetSize()) return false;
    NeedUpdate();
    // Shift in place: nothing is allocated, so the child can never be lost on the way.
    for (int i = from; i < index; ++i)
        m_items.SetAt(i, m_items[i + 1]);
    for (int i = from; i > index; --i)
        m_items.SetAt(i, m_items[i - 1]);
    return m_items.SetAt(index, control);
}

int CContainerUI::GetCount() const {
    return m_items.GetSize();
}

bool CContainerUI::Add(CControlUI* control) {
    return InsertChild(control, m_items.GetSize());
}

bool CContainerUI::AddAt(CControlUI* control, int index) {
    return InsertChild(control, index);
}

bool CContainerUI::InsertChild(CControlUI* control, int index) {
    // A child held twice would be destroyed twice, and a container inside itself never
    // ends a walk.
    if (control == nullptr || control == this || m_items.Find(control) >= 0) return false;
    if (index < 0 || index > m_items.GetSize()) return false;
    if (m_pManager != nullptr) m_pManager->InitControls(control, this);
    if (IsVisible())
        NeedUpdate();
    else
        control->SetInternVisible(false);
    return m_items.InsertAt(index, control);
}

bool CContainerUI::Remove(CControlUI* control) {
    const int index = m_items.Find(control);
    if (index < 0) return false;
    NeedUpdate();
    // Unlink before destroying, so a child's destructor never sees itself in the list.
    m_items.Remove(index);
    ReleaseChild(control);
    return true;
}

bool CContainerUI::RemoveAt(int index) {
    CControlUI* control = GetItemAt(index);
    return control != nullptr && Remove(control);
}

void CContainerUI::RemoveAll() {
    CStdPtrArray children(m_items);
    m_items.Empty();
    for (int i = 0; i < children.GetSize(); ++i)
        ReleaseChild(static_cast<CControlUI*>(children[i]));
    NeedUpdate();
}

void CContainerUI::ReleaseChild(CControlUI* control) {
    if (!m_bAutoDestroy) {
        // The caller keeps the child: it must not point back at a container it left.
        control->SetManager(control->GetManager(), nullptr, false);
        return;
    }
    if (m_bDelayedDestroy && m_pManager != nullptr)
        m_pManager->AddDelayedCleanup(control);
    else
        delete control;
}

// ---- Settings

RECT CContainerUI::GetInset() const {
    return m_rcInset;
}

void CContainerUI::SetInset(RECT inset) {
    m_rcInset = inset;
    NeedUpdate();
}

int CContainerUI::GetChildPadding() const {
    return m_iChildPadding;
}

void CContainerUI::SetChildPadding(int padding) {
    m_iChildPadding = padding;
    NeedUpdate();
}

bool CContainerUI::IsAutoDestroy() const {
    return m_bAutoDestroy;
}

void CContainerUI::SetAutoDestroy(bool autoDestroy) {
    m_bAutoDestroy = autoDestroy;
}

bool CContainerUI::IsDelayedDestroy() const {
    return m_bDelayedDestroy;
}

void CContainerUI::SetDelayedDestroy(bool delayed) {
    m_bDelayedDestroy = delayed;
}

bool CContainerUI::IsMouseChildEnabled() const {
    return m_bMouseChildEnabled;
}

void CContainerUI::SetMouseChildEnabled(bool enabled) {
    m_bMouseChildEnabled = enabled;
}

void CContainerUI::SetVisible(bool visible) {
    if (m_bVisible == visible) return;
    CControlUI::SetVisible(visible);
    for (int i = 0; i < m_items.GetSize(); ++i)
        GetItemAt(i)->SetInternVisible(IsVisible());
}

void CContainerUI::SetInternVisible(bool visible) {
    CControlUI::SetInternVisible(visible);
    for (int i = 0; i < m_items.GetSize(); ++i)
        GetItemAt(i)->SetInternVisible(IsVisible());
}

void CContainerUI::SetMouseEnabled(bool enabled) {
    if (m_pVerticalScrollBar != nullptr) m_pVerticalScrollBar->SetMouseEnabled(enabled);
    if (m_pHorizontalScrollBar != nullptr) m_pHorizontalScrollBar->SetMouseEnabled(enabled);
    CControlUI::SetMouseEnabled(enabled);
}

void CContainerUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    for (int i = 0; i < m_items.GetSize(); ++i)
        GetItemAt(i)->SetManager(manager, this, init);
    if (m_pVerticalScrollBar != nullptr) m_pVerticalScrollBar->SetManager(manager, this, init);
    if (m_pHorizontalScrollBar != nullptr) m_pHorizontalScrollBar->SetManager(manager, this, init);
    CControlUI::SetManager(manager, parent, init);
}

// ---- Placement

RECT CContainerUI::InsetRect() const {
    return RECT{m_rcItem.left + m_rcInset.left, m_rcItem.top + m_rcInset.top,
                m_rcItem.right - m_rcInset.right, m_rcItem.bottom - m_rcInset.bottom};
}

RECT CContainerUI::ClientRect() const {
    RECT rc = InsetRect();
    if (m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible())
        rc.right -= m_pVerticalScrollBar->GetFixedWidth();
    if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible())
        rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
    return rc;
}

int CContainerUI::VerticalScrollPos() const {
    if (m_pVerticalScrollBar == nullptr || !m_pVerticalScrollBar->IsVisible()) return 0;
    return m_pVerticalScrollBar->GetScrollPos();
}

int CContainerUI::HorizontalScrollPos() const {
    if (m_pHorizontalScrollBar == nullptr || !m_pHorizontalScrollBar->IsVisible()) return 0;
    return m_pHorizontalScrollBar->GetScrollPos();
}

void CContainerUI::SetPos(RECT rect) {
    CControlUI::SetPos(rect);
    if (m_items.IsEmpty()) return;
    const RECT rc = InsetRect();
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (!child->IsVisible()) continue;
        if (child->IsFloat())
            SetFloatPos(i);
        else
            child->SetPos(rc);
    }
}

void CContainerUI::SetFloatPos(int index) {
    CControlUI* child = GetItemAt(index);
    if (child == nullptr || !child->IsVisible() || !child->IsFloat()) return;

    const SIZE xy = child->GetFixedXY();
    const long long width = child->GetFixedWidth();
    const long long height = child->GetFixedHeight();
    long long left = 0, top = 0, right = 0, bottom = 0;
    if (xy.cx >= 0) {
        left = static_cast<long long>(m_rcItem.left) + xy.cx;
        right = left + width;
    } else {
        right = static_cast<long long>(m_rcItem.right) + xy.cx;
        left = right - width;
    }
    if (xy.cy >= 0) {
        top = static_cast<long long>(m_rcItem.top) + xy.cy;
        bottom = top + height;
    } else {
        bottom = static_cast<long long>(m_rcItem.bottom) + xy.cy;
        top = bottom - height;
    }

    if (child->IsRelativePos()) {
        const TRelativePosUI relative = child->GetRelativePos();
        const SIZE size{GetWidth(), GetHeight()};
        if (relative.parentSize.cx != 0) {
            // Grow with the change since the last placement, not the original size.
            const long long dx = static_cast<long long>(size.cx) - relative.parentSize.cx;
            const long long dy = static_cast<long long>(size.cy) - relative.parentSize.cy;
            left += dx * relative.moveXPercent / 100;
            top += dy * relative.moveYPercent / 100;
            right = left + width + dx * relative.zoomXPercent / 100;
            bottom = top + height + dy * relative.zoomYPercent / 100;
        }
        child->SetRelativeParentSize(size);
    }
    child->SetPos(MakeRect(left, top, right, bottom));
}

// ---- Scrolling

SIZE CContainerUI::GetScrollPos() const {
    return SIZE{HorizontalScrollPos(), VerticalScrollPos()};
}

SIZE CContainerUI::GetScrollRange() const {
    SIZE range{};
    if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible())
        range.cx = m_pHorizontalScrollBar->GetScrollRange();
    if (m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible())
        range.cy = m_pVerticalScrollBar->GetScrollRange();
    return range;
}

void CContainerUI::SetScrollPos(SIZE pos) {
    int dx = 0;
    int dy = 0;
    if (m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible()) {
        const int old = m_pVerticalScrollBar->GetScrollPos();
        m_pVerticalScrollBar->SetScrollPos(pos.cy);
        dy = m_pVerticalScrollBar->GetScrollPos() - old;
    }
    if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible()) {
        const int old = m_pHorizontalScrollBar->GetScrollPos();
        m_pHorizontalScrollBar->SetScrollPos(pos.cx);
        dx = m_pHorizontalScrollBar->GetScrollPos() - old;
    }
    if (dx == 0 && dy == 0) return;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (!child->IsVisible() || child->IsFloat()) continue;
        RECT rc = child->GetPos();
        ::OffsetRect(&rc, -dx, -dy);
        child->SetPos(rc);
    }
    Invalidate();
}

int CContainerUI::LineHeight() const {
    if (m_pManager == nullptr) return kLineStep;
    const TFontInfo* font = m_pManager->GetDefaultFontInfo();
    return font != nullptr ? font->metrics.tmHeight + kLineStep : kLineStep;
}

namespace {
// Keeps scroll targets inside int when a step is added to a position.
int Step(int pos, long long delta) {
    return ClampToInt(static_cast<long long>(pos) + delta);
}
} // namespace

void CContainerUI::LineUp() {
    const SIZE pos = GetScrollPos();
    SetScrollPos(SIZE{pos.cx, Step(pos.cy, -LineHeight())});
}

void CContainerUI::LineDown() {
    const SIZE pos = GetScrollPos();
    SetScrollPos(SIZE{pos.cx, Step(pos.cy, LineHeight())});
}

void CContainerUI::PageUp() {
    const SIZE pos = GetScrollPos();
    long long page = static_cast<long long>(GetHeight()) - m_rcInset.top - m_rcInset.bottom;
    if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible())
        page -= m_pHorizontalScrollBar->GetFixedHeight();
    SetScrollPos(SIZE{pos.cx, Step(pos.cy, -page)});
}

void CContainerUI::PageDown() {
    const SIZE pos = GetScrollPos();
    long long page = static_cast<long long>(GetHeight()) - m_rcInset.top - m_rcInset.bottom;
    if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible())
        page -= m_pHorizontalScrollBar->GetFixedHeight();
    SetScrollPos(SIZE{pos.cx, Step(pos.cy, page)});
}

void CContainerUI::HomeUp() {
    SetScrollPos(SIZE{GetScrollPos().cx, 0});
}

void CContainerUI::EndDown() {
    SetScrollPos(SIZE{GetScrollPos().cx, GetScrollRange().cy});
}

void CContainerUI::LineLeft() {
    const SIZE pos = GetScrollPos();
    SetScrollPos(SIZE{Step(pos.cx, -kLineStep), pos.cy});
}

void CContainerUI::LineRight() {
    const SIZE pos = GetScrollPos();
    SetScrollPos(SIZE{Step(pos.cx, kLineStep), pos.cy});
}

void CContainerUI::PageLeft() {
    const SIZE pos = GetScrollPos();
    long long page = static_cast<long long>(GetWidth()) - m_rcInset.left - m_rcInset.right;
    if (m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible())
        page -= m_pVerticalScrollBar->GetFixedWidth();
    SetScrollPos(SIZE{Step(pos.cx, -page), pos.cy});
}

void CContainerUI::PageRight() {
    const SIZE pos = GetScrollPos();
    long long page = static_cast<long long>(GetWidth()) - m_rcInset.left - m_rcInset.right;
    if (m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible())
        page -= m_pVerticalScrollBar->GetFixedWidth();
    SetScrollPos(SIZE{Step(pos.cx, page), pos.cy});
}

void CContainerUI::HomeLeft() {
    SetScrollPos(SIZE{0, GetScrollPos().cy});
}

void CContainerUI::EndRight() {
    SetScrollPos(SIZE{GetScrollRange().cx, GetScrollPos().cy});
}

void CContainerUI::ApplyDefaultScrollBarStyle(CScrollBarUI* bar, const wchar_t* className) {
    if (m_pManager == nullptr) return;
    const wchar_t* style = m_pManager->GetDefaultAttributeList(className);
    if (style != nullptr) bar->ApplyAttributeList(style);
}

void CContainerUI::EnableScrollBar(bool vertical, bool horizontal) {
    if (vertical && m_pVerticalScrollBar == nullptr) {
        m_pVerticalScrollBar = new CScrollBarUI;
        m_pVerticalScrollBar->SetOwner(this);
        m_pVerticalScrollBar->SetManager(m_pManager, nullptr, false);
        ApplyDefaultScrollBarStyle(m_pVerticalScrollBar, L"VScrollBar");
    } else if (!vertical && m_pVerticalScrollBar != nullptr) {
        delete m_pVerticalScrollBar;
        m_pVerticalScrollBar = nullptr;
    }
    if (horizontal && m_pHorizontalScrollBar == nullptr) {
        m_pHorizontalScrollBar = new CScrollBarUI;
        m_pHorizontalScrollBar->SetHorizontal(true);
        m_pHorizontalScrollBar->SetOwner(this);
        m_pHorizontalScrollBar->SetManager(m_pManager, nullptr, false);
        ApplyDefaultScrollBarStyle(m_pHorizontalScrollBar, L"HScrollBar");
    } else if (!horizontal && m_pHorizontalScrollBar != nullptr) {
        delete m_pHorizontalScrollBar;
        m_pHorizontalScrollBar = nullptr;
    }
    NeedUpdate();
}

CScrollBarUI* CContainerUI::GetVerticalScrollBar() const {
    return m_pVerticalScrollBar;
}

CScrollBarUI* CContainerUI::GetHorizontalScrollBar() const {
    return m_pHorizontalScrollBar;
}

void CContainerUI::ProcessScrollBar(RECT rc, int cxRequired, int cyRequired) {
    if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible()) {
        m_pHorizontalScrollBar->SetPos(RECT{rc.left, rc.bottom, rc.right,
                                            ClampToInt(static_cast<long long>(rc.bottom) +
                                                       m_pHorizontalScrollBar->GetFixedHeight())});
    }
    if (cxRequired > 0 && ProcessHorizontalRange(rc, cxRequired)) return;

    CScrollBarUI* bar = m_pVerticalScrollBar;
    if (bar == nullptr) return;
    const long long height = static_cast<long long>(rc.bottom) - rc.top;
    const long long cyScroll = cyRequired - height;
    if (cyScroll > 0 && !bar->IsVisible()) {
        // Showing the bar narrows the client area: lay out once more inside it.
        bar->SetVisible(true);
        bar->SetScrollRange(ClampToInt(cyScroll));
        bar->SetScrollPos(0);
        m_bScrollProcess = true;
        SetPos(m_rcItem);
        m_bScrollProcess = false;
        return;
    }
    if (!bar->IsVisible()) return;
    if (cyScroll <= 0 && !m_bScrollProcess) {
        bar->SetVisible(false);
        bar->SetScrollPos(0);
        bar->SetScrollRange(0);
        SetPos(m_rcItem);
        return;
    }
    bar->SetPos(RECT{rc.right, rc.top,
                     ClampToInt(static_cast<long long>(rc.right) + bar->GetFixedWidth()),
                     rc.bottom});
    if (bar->GetScrollRange() != cyScroll) {
        const int oldPos = bar->GetScrollPos();
        bar->SetScrollRange(ClampToInt(cyScroll < 0 ? -cyScroll : cyScroll));
        if (bar->GetScrollRange() == 0) {
            bar->SetVisible(false);
            bar->SetScrollPos(0);
        }
        // The range shrank below the old position: the children must follow.
        if (oldPos > bar->GetScrollPos()) SetPos(m_rcItem);
    }
}

bool CContainerUI::ProcessHorizontalRange(const RECT& rc, int cxRequired) {
    // The same rules as the vertical bar, for layouts that measure their width.
    CScrollBarUI* bar = m_pHorizontalScrollBar;
    if (bar == nullptr) return false;
    const long long cxScroll = cxRequired - (static_cast<long long>(rc.right) - rc.left);
    if (cxScroll > 0 && !bar->IsVisible()) {
        bar->SetVisible(true);
        bar->SetScrollRange(ClampToInt(cxScroll));
        bar->SetScrollPos(0);
        m_bScrollProcess = true;
        SetPos(m_rcItem);
        m_bScrollProcess = false;
        return true;
    }
    if (!bar->IsVisible()) return false;
    if (cxScroll <= 0 && !m_bScrollProcess) {
        bar->SetVisible(false);
        bar->SetScrollPos(0);
        bar->SetScrollRange(0);
        SetPos(m_rcItem);
        return true;
    }
    if (bar->GetScrollRange() == cxScroll) return false;
    const int oldPos = bar->GetScrollPos();
    bar->SetScrollRange(ClampToInt(cxScroll < 0 ? -cxScroll : cxScroll));
    if (bar->GetScrollRange() == 0) {
        bar->SetVisible(false);
        bar->SetScrollPos(0);
    }
    if (oldPos <= bar->GetScrollPos()) return false;
    SetPos(m_rcItem);
    return true;
}

// ---- Search, events, attributes, painting

CControlUI* CContainerUI::FindControl(FINDCONTROLPROC proc, void* data, UINT flags) {
    if ((flags & UIFIND_VISIBLE) != 0 && !IsVisible()) return nullptr;
    if ((flags & UIFIND_ENABLED) != 0 && !IsEnabled()) return nullptr;
    const bool hitTest = (flags & UIFIND_HITTEST) != 0;
    if (hitTest) {
        if (!::PtInRect(&m_rcItem, *static_cast<const POINT*>(data))) return nullptr;
        if (!m_bMouseChildEnabled) {
            CControlUI* found = nullptr;
            if (m_pVerticalScrollBar != nullptr)
                found = m_pVerticalScrollBar->FindControl(proc, data, flags);
            if (found == nullptr && m_pHorizontalScrollBar != nullptr)
                found = m_pHorizontalScrollBar->FindControl(proc, data, flags);
            if (found == nullptr) found = CControlUI::FindControl(proc, data, flags);
            return found;
        }
    }
    if (m_pVerticalScrollBar != nullptr) {
        if (CControlUI* found = m_pVerticalScrollBar->FindControl(proc, data, flags)) return found;
    }
    if (m_pHorizontalScrollBar != nullptr) {
        if (CControlUI* found = m_pHorizontalScrollBar->FindControl(proc, data, flags))
            return found;
    }
    const bool meFirst = (flags & UIFIND_ME_FIRST) != 0;
    if (meFirst) {
        if (CControlUI* found = CControlUI::FindControl(proc, data, flags)) return found;
    }

    const RECT client = ClientRect();
    const int count = m_items.GetSize();
    const bool topFirst = (flags & UIFIND_TOP_FIRST) != 0;
    for (int n = 0; n < count; ++n) {
        CControlUI* child = GetItemAt(topFirst ? count - 1 - n : n);
        CControlUI* found = child->FindControl(proc, data, flags);
        if (found == nullptr) continue;
        // Scrolled-out children still lie under the inset and the bars: they don't count.
        if (hitTest && !found->IsFloat() && !::PtInRect(&client, *static_cast<const POINT*>(data)))
            continue;
        return found;
    }
    return meFirst ? nullptr : CControlUI::FindControl(proc, data, flags);
}

void CContainerUI::DoEvent(TEventUI& event) {
    if (!m_bMouseEnabled && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CControlUI::DoEvent(event);
        return;
    }
    if (event.type == UIEVENT_SETFOCUS) {
        m_bFocused = true;
        return;
    }
    if (event.type == UIEVENT_KILLFOCUS) {
        m_bFocused = false;
        return;
    }
    const auto shown = [](const CScrollBarUI* bar) {
        return bar != nullptr && bar->IsVisible() && bar->IsEnabled();
    };
    const bool wheel = event.type == UIEVENT_SCROLLWHEEL;
    const bool keyDown = event.type == UIEVENT_KEYDOWN;
    if (shown(m_pVerticalScrollBar) && (keyDown || wheel)) {
        if (keyDown) {
            switch (event.key) {
            case VK_DOWN:
                LineDown();
                return;
            case VK_UP:
                LineUp();
                return;
            case VK_NEXT:
                PageDown();
                return;
            case VK_PRIOR:
                PageUp();
                return;
            case VK_HOME:
                HomeUp();
                return;
            case VK_END:
                EndDown();
                return;
            default:
                break;
            }
        } else {
            switch (LOWORD(event.wParam)) {
            case SB_LINEUP:
                LineUp();
                return;
            case SB_LINEDOWN:
                LineDown();
                return;
            default:
                break;
            }
        }
    }
    if (shown(m_pHorizontalScrollBar) && (keyDown || wheel)) {
        if (keyDown) {
            switch (event.key) {
            case VK_DOWN:
                LineRight();
                return;
            case VK_UP:
                LineLeft();
                return;
            case VK_NEXT:
                PageRight();
                return;
            case VK_PRIOR:
                PageLeft();
                return;
            case VK_HOME:
                HomeLeft();
                return;
            case VK_END:
                EndRight();
                return;
            default:
                break;
            }
        } else {
            switch (LOWORD(event.wParam)) {
            case SB_LINEUP:
                LineLeft();
                return;
            case SB_LINEDOWN:
                LineRight();
                return;
            default:
                break;
            }
        }
    }
    CControlUI::DoEvent(event);
}

void CContainerUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name == nullptr) return;
    if (value == nullptr) value = L"";
    const auto is = [name](const wchar_t* known) { return wcscmp(name, known) == 0; };
    if (is(L"inset")) {
        SetInset(ParseRectValue(value));
    } else if (is(L"mousechild")) {
        SetMouseChildEnabled(ParseBoolValue(value));
    } else if (is(L"vscrollbar")) {
        EnableScrollBar(ParseBoolValue(value), m_pHorizontalScrollBar != nullptr);
    } else if (is(L"vscrollbarstyle")) {
        EnableScrollBar(true, m_pHorizontalScrollBar != nullptr);
        if (m_pVerticalScrollBar != nullptr) m_pVerticalScrollBar->ApplyAttributeList(value);
    } else if (is(L"hscrollbar")) {
        EnableScrollBar(m_pVerticalScrollBar != nullptr, ParseBoolValue(value));
    } else if (is(L"hscrollbarstyle")) {
        EnableScrollBar(m_pVerticalScrollBar != nullptr, true);
        if (m_pHorizontalScrollBar != nullptr) m_pHorizontalScrollBar->ApplyAttributeList(value);
    } else if (is(L"childpadding")) {
        SetChildPadding(ParseIntValue(value));
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

void CContainerUI::DoPaint(HDC hDC, const RECT& paintRect) {
    RECT area{};
    if (!::IntersectRect(&area, &paintRect, &m_rcItem)) return;
    CRenderClip clip;
    CRenderClip::GenerateClip(hDC, area, clip);
    CControlUI::DoPaint(hDC, paintRect);

    const auto meets = [](const RECT& a, const RECT& b) {
        RECT common{};
        return ::IntersectRect(&common, &a, &b) != FALSE;
    };
    if (!m_items.IsEmpty()) {
        const RECT client = ClientRect();
        if (!meets(paintRect, client)) {
            // Only floating children can show outside the client area.
            for (int i = 0; i < m_items.GetSize(); ++i) {
                CControlUI* child = GetItemAt(i);
                if (!child->IsVisible() || !child->IsFloat()) continue;
                if (!meets(paintRect, child->GetPos()) || !meets(m_rcItem, child->GetPos()))
                    continue;
                child->DoPaint(hDC, paintRect);
            }
        } else {
            RECT clientPaint{};
            ::IntersectRect(&clientPaint, &paintRect, &client);
            CRenderClip childClip;
            CRenderClip::GenerateClip(hDC, clientPaint, childClip);
            for (int i = 0; i < m_items.GetSize(); ++i) {
                CControlUI* child = GetItemAt(i);
                if (!child->IsVisible() || !meets(paintRect, child->GetPos())) continue;
                if (child->IsFloat()) {
                    // Floating children may cover the inset and the bars.
                    if (!meets(m_rcItem, child->GetPos())) continue;
                    CRenderClip::UseOldClipBegin(hDC, childClip);
                    child->DoPaint(hDC, paintRect);
                    CRenderClip::UseOldClipEnd(hDC, childClip);
                } else {
                    if (!meets(client, child->GetPos())) continue;
                    child->DoPaint(hDC, paintRect);
                }
            }
        }
    }

    for (CScrollBarUI* bar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
        if (bar != nullptr && bar->IsVisible() && meets(paintRect, bar->GetPos()))
            bar->DoPaint(hDC, paintRect);
    }
}

int CContainerUI::FindSelectable(int index, bool forward) const {
    const int count = m_items.GetSize();
    if (count == 0) return -1;
    if (index < 0) index = 0;
    if (index >= count) index = count - 1;
    const auto selectable = [this](int i) {
        CControlUI* child = GetItemAt(i);
        return child->GetInterface(L"ListItem") != nullptr && child->IsVisible() &&
               child->IsEnabled();
    };
    if (forward) {
        for (int i = index; i < count; ++i)
            if (selectable(i)) return i;
        return -1;
    }
    for (int i = index; i >= 0; --i)
        if (selectable(i)) return i;
    return FindSelectable(0, true);
}

// ---- Descendants by name

CControlUI* CContainerUI::FindSubControl(const wchar_t* name) {
    if (m_pManager == nullptr) return nullptr;
    return m_pManager->FindSubControlByName(this, name);
}

bool CContainerUI::SetSubControlText(const wchar_t* name, const wchar_t* text) {
    CControlUI* control = FindSubControl(name);
    if (control == nullptr) return false;
    control->SetText(text);
    return true;
}

bool CContainerUI::SetSubControlFixedHeight(const wchar_t* name, int cy) {
    CControlUI* control = FindSubControl(name);
    if (control == nullptr) return false;
    control->SetFixedHeight(cy);
    return true;
}

bool CContainerUI::SetSubControlFixedWdith(const wchar_t* name, int cx) {
    CControlUI* control = FindSubControl(name);
    if (control == nullptr) return false;
    control->SetFixedWidth(cx);
    return true;
}

bool CContainerUI::SetSubControlUserData(const wchar_t* name, const wchar_t* text) {
    CControlUI* control = FindSubControl(name);
    if (control == nullptr) return false;
    control->SetUserData(text);
    return true;
}

CSkinString CContainerUI::GetSubControlText(const wchar_t* name) {
    CControlUI* control = FindSubControl(name);
    return control != nullptr ? control->GetText() : CSkinString();
}

int CContainerUI::GetSubControlFixedHeight(const wchar_t* name) {
    CControlUI* control = FindSubControl(name);
    return control != nullptr ? control->GetFixedHeight() : -1;
}

int CContainerUI::GetSubControlFixedWdith(const wchar_t* name) {
    CControlUI* control = FindSubControl(name);
    return control != nullptr ? control->GetFixedWidth() : -1;
}

CSkinString CContainerUI::GetSubControlUserData(const wchar_t* name) {
    CControlUI* control = FindSubControl(name);
    return control != nullptr ? control->GetUserData() : CSkinString();
}

} // namespace SkinUI
