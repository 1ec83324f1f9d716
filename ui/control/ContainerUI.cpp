#include "control/ContainerUI.h"

#include <cwchar>
#include <initializer_list>

#include "control/AttributeValue.h"
#include "control/Axis.h"
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

// The container's own code reaches its children without the virtual GetItemAt: a list
// answers there with the items of its body, not with its own header and body.
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
    // ends a walk. Every child points back here, so only a control that does is looked up:
    // searching the list for each new child made building a long list quadratic.
    if (control == nullptr || control == this) return false;
    if (control->GetParent() == this && m_items.Find(control) >= 0) return false;
    if (index < 0 || index > m_items.GetSize()) return false;
    if (m_pManager != nullptr)
        m_pManager->InitControls(control, this);
    else
        control->SetManager(control->GetManager(), this, false);
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
    CControlUI* control = CContainerUI::GetItemAt(index);
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
        CContainerUI::GetItemAt(i)->SetInternVisible(IsVisible());
}

void CContainerUI::SetInternVisible(bool visible) {
    CControlUI::SetInternVisible(visible);
    for (int i = 0; i < m_items.GetSize(); ++i)
        CContainerUI::GetItemAt(i)->SetInternVisible(IsVisible());
}

void CContainerUI::SetMouseEnabled(bool enabled) {
    if (m_pVerticalScrollBar != nullptr) m_pVerticalScrollBar->SetMouseEnabled(enabled);
    if (m_pHorizontalScrollBar != nullptr) m_pHorizontalScrollBar->SetMouseEnabled(enabled);
    CControlUI::SetMouseEnabled(enabled);
}

void CContainerUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    for (int i = 0; i < m_items.GetSize(); ++i)
        CContainerUI::GetItemAt(i)->SetManager(manager, this, init);
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
    // Each visible bar takes its thickness off the far side across its axis.
    for (const Axis& along : {kVertical, kHorizontal}) {
        if (const CScrollBarUI* bar = ShownScrollBar(along)) {
            const Axis across = along.Cross();
            across.Far(rc) -= across.Fixed(*bar);
        }
    }
    return rc;
}

void CContainerUI::SetPos(RECT rect) {
    CControlUI::SetPos(rect);
    if (m_items.IsEmpty()) return;
    const RECT rc = InsetRect();
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = CContainerUI::GetItemAt(i);
        if (!child->IsVisible()) continue;
        if (child->IsFloat())
            SetFloatPos(i);
        else
            child->SetPos(rc);
    }
}

namespace {

int MovePercent(const Axis& along, const TRelativePosUI& relative) {
    return along.IsVertical() ? relative.moveYPercent : relative.moveXPercent;
}

int ZoomPercent(const Axis& along, const TRelativePosUI& relative) {
    return along.IsVertical() ? relative.zoomYPercent : relative.zoomXPercent;
}

} // namespace

void CContainerUI::SetFloatPos(int index) {
    CControlUI* child = CContainerUI::GetItemAt(index);
    if (child == nullptr || !child->IsVisible() || !child->IsFloat()) return;

    const SIZE xy = child->GetFixedXY();
    const bool relative = child->IsRelativePos();
    const TRelativePosUI rules = relative ? child->GetRelativePos() : TRelativePosUI{};
    const SIZE size{GetWidth(), GetHeight()};
    // The stored parent size is all or nothing: the first placement only records it.
    const bool grow = relative && rules.parentSize.cx != 0;
    struct Span {
        long long nearEdge;
        long long farEdge;
    };
    const auto span = [&](const Axis& along) {
        const long long length = along.Fixed(*child);
        const long long offset = along.Of(xy);
        Span edges{};
        // A negative offset anchors the child to the far edge.
        if (offset >= 0) {
            edges.nearEdge = static_cast<long long>(along.Near(m_rcItem)) + offset;
            edges.farEdge = edges.nearEdge + length;
        } else {
            edges.farEdge = static_cast<long long>(along.Far(m_rcItem)) + offset;
            edges.nearEdge = edges.farEdge - length;
        }
        if (grow) {
            // Follow the change since the last placement, not the original size.
            const long long change =
                static_cast<long long>(along.Of(size)) - along.Of(rules.parentSize);
            edges.nearEdge += change * MovePercent(along, rules) / 100;
            edges.farEdge = edges.nearEdge + length + change * ZoomPercent(along, rules) / 100;
        }
        return edges;
    };
    const Span x = span(kHorizontal);
    const Span y = span(kVertical);
    if (relative) child->SetRelativeParentSize(size);
    child->SetPos(kHorizontal.Rect(x.nearEdge, x.farEdge, y.nearEdge, y.farEdge));
}

void CContainerUI::StackChildren(const Axis& along) {
    const Axis across = along.Cross();
    const RECT rc = ClientRect();
    if (m_items.IsEmpty()) {
        ProcessScrollBar(rc, 0, 0);
        return;
    }

    const long long length = along.Extent(rc);
    // Across the axis the children may be as long as the bar there scrolls.
    const long long breadth = across.Extent(rc) + ScrollRange(across);
    const SIZE available = along.Size(length, breadth);

    // Measure: what the sized children, paddings and gaps take, and how many share the rest.
    int adjustables = 0;
    int counted = 0;
    long long fixed = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = CContainerUI::GetItemAt(i);
        if (!child->IsVisible() || child->IsFloat()) continue;
        long long size = along.Of(child->EstimateSize(available));
        if (size == 0)
            ++adjustables;
        else
            size = along.Clamp(size, *child);
        const RECT padding = child->GetPadding();
        fixed += size + along.Near(padding) + along.Far(padding);
        ++counted;
    }
    if (counted > 0) fixed += static_cast<long long>(counted - 1) * m_iChildPadding;
    long long expand = 0;
    if (adjustables > 0) {
        expand = (length - fixed) / adjustables;
        if (expand < 0) expand = 0;
    }

    // Place: near to far, the last adjustable child taking what rounding left over. Only
    // the sizes come off the fixed remainder, so that child also gives up the paddings and
    // gaps before it.
    long long position = static_cast<long long>(along.Near(rc)) - ScrollPos(along);
    const long long crossStart = static_cast<long long>(across.Near(rc)) - ScrollPos(across);
    long long remaining = length;
    long long fixedRemaining = fixed;
    long long needed = 0;
    int adjustable = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = CContainerUI::GetItemAt(i);
        if (!child->IsVisible()) continue;
        if (child->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        const RECT padding = child->GetPadding();
        const long long nearPadding = along.Near(padding);
        const long long farPadding = along.Far(padding);
        remaining -= nearPadding;
        long long size = along.Of(child->EstimateSize(along.Size(remaining, breadth)));
        if (size != 0) {
            size = along.Clamp(size, *child);
            fixedRemaining -= size;
        } else {
            ++adjustable;
            size = expand;
            if (adjustable == adjustables) {
                size = remaining - farPadding - fixedRemaining;
                if (size < 0) size = 0;
            }
            size = along.Clamp(size, *child);
        }
        long long crossSize = across.Fixed(*child);
        if (crossSize == 0) crossSize = breadth - across.Near(padding) - across.Far(padding);
        if (crossSize < 0) crossSize = 0;
        crossSize = across.Clamp(crossSize, *child);

        // The far padding lies inside the child's rectangle; the cross ones outside.
        const long long nearEdge = position + nearPadding;
        const long long crossNear = crossStart + across.Near(padding);
        child->SetPos(
            along.Rect(nearEdge, nearEdge + size + farPadding, crossNear, crossNear + crossSize));

        position += size + m_iChildPadding + nearPadding + farPadding;
        needed += size + nearPadding + farPadding;
        remaining -= size + m_iChildPadding + farPadding;
    }
    if (counted > 0) needed += static_cast<long long>(counted - 1) * m_iChildPadding;
    const SIZE required = along.Size(needed, 0);
    ProcessScrollBar(rc, required.cx, required.cy);
}

// ---- Scrolling

CScrollBarUI* CContainerUI::ScrollBar(const Axis& along) const {
    return along.IsVertical() ? m_pVerticalScrollBar : m_pHorizontalScrollBar;
}

CScrollBarUI*& CContainerUI::ScrollBarSlot(const Axis& along) {
    return along.IsVertical() ? m_pVerticalScrollBar : m_pHorizontalScrollBar;
}

CScrollBarUI* CContainerUI::ShownScrollBar(const Axis& along) const {
    CScrollBarUI* bar = ScrollBar(along);
    return bar != nullptr && bar->IsVisible() ? bar : nullptr;
}

int CContainerUI::ScrollPos(const Axis& along) const {
    const CScrollBarUI* bar = ShownScrollBar(along);
    return bar != nullptr ? bar->GetScrollPos() : 0;
}

int CContainerUI::ScrollRange(const Axis& along) const {
    const CScrollBarUI* bar = ShownScrollBar(along);
    return bar != nullptr ? bar->GetScrollRange() : 0;
}

SIZE CContainerUI::GetScrollPos() const {
    return SIZE{ScrollPos(kHorizontal), ScrollPos(kVertical)};
}

SIZE CContainerUI::GetScrollRange() const {
    return SIZE{ScrollRange(kHorizontal), ScrollRange(kVertical)};
}

void CContainerUI::SetScrollPos(SIZE pos) {
    SIZE moved{};
    for (const Axis& along : {kVertical, kHorizontal}) {
        CScrollBarUI* bar = ShownScrollBar(along);
        if (bar == nullptr) continue;
        const int old = bar->GetScrollPos();
        bar->SetScrollPos(along.Of(pos)); // the bar keeps it within its range
        along.Of(moved) = bar->GetScrollPos() - old;
    }
    if (moved.cx == 0 && moved.cy == 0) return;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = CContainerUI::GetItemAt(i);
        if (!child->IsVisible() || child->IsFloat()) continue;
        RECT rc = child->GetPos();
        ::OffsetRect(&rc, -moved.cx, -moved.cy);
        child->SetPos(rc);
    }
    Invalidate();
}

int CContainerUI::LineStep(const Axis& along) const {
    // Lines of text follow each other down the page: a step along y is one of them.
    if (!along.IsVertical() || m_pManager == nullptr) return kLineStep;
    const TFontInfo* font = m_pManager->GetDefaultFontInfo();
    return font != nullptr ? font->metrics.tmHeight + kLineStep : kLineStep;
}

long long CContainerUI::PageStep(const Axis& along) const {
    const SIZE item{GetWidth(), GetHeight()};
    long long page =
        static_cast<long long>(along.Of(item)) - along.Near(m_rcInset) - along.Far(m_rcInset);
    if (const CScrollBarUI* crossBar = ShownScrollBar(along.Cross()))
        page -= along.Fixed(*crossBar);
    return page;
}

void CContainerUI::ScrollTo(const Axis& along, long long pos) {
    SIZE target = GetScrollPos();
    along.Of(target) = ClampToInt(pos);
    SetScrollPos(target);
}

void CContainerUI::ScrollBy(const Axis& along, long long delta) {
    ScrollTo(along, static_cast<long long>(along.Of(GetScrollPos())) + delta);
}

void CContainerUI::LineUp() {
    ScrollBy(kVertical, -LineStep(kVertical));
}

void CContainerUI::LineDown() {
    ScrollBy(kVertical, LineStep(kVertical));
}

void CContainerUI::PageUp() {
    ScrollBy(kVertical, -PageStep(kVertical));
}

void CContainerUI::PageDown() {
    ScrollBy(kVertical, PageStep(kVertical));
}

void CContainerUI::HomeUp() {
    ScrollTo(kVertical, 0);
}

void CContainerUI::EndDown() {
    ScrollTo(kVertical, kVertical.Of(GetScrollRange()));
}

void CContainerUI::LineLeft() {
    ScrollBy(kHorizontal, -LineStep(kHorizontal));
}

void CContainerUI::LineRight() {
    ScrollBy(kHorizontal, LineStep(kHorizontal));
}

void CContainerUI::PageLeft() {
    ScrollBy(kHorizontal, -PageStep(kHorizontal));
}

void CContainerUI::PageRight() {
    ScrollBy(kHorizontal, PageStep(kHorizontal));
}

void CContainerUI::HomeLeft() {
    ScrollTo(kHorizontal, 0);
}

void CContainerUI::EndRight() {
    ScrollTo(kHorizontal, kHorizontal.Of(GetScrollRange()));
}

bool CContainerUI::ScrollOnInput(const Axis& along, const TEventUI& event) {
    // The same keys and wheel steps serve either bar; the vertical one is asked first.
    using Step = void (CContainerUI::*)();
    struct Steps {
        Step lineBack, lineForward, pageBack, pageForward, home, end;
    };
    static const Steps vertical{&CContainerUI::LineUp, &CContainerUI::LineDown,
                                &CContainerUI::PageUp, &CContainerUI::PageDown,
                                &CContainerUI::HomeUp, &CContainerUI::EndDown};
    static const Steps horizontal{&CContainerUI::LineLeft, &CContainerUI::LineRight,
                                  &CContainerUI::PageLeft, &CContainerUI::PageRight,
                                  &CContainerUI::HomeLeft, &CContainerUI::EndRight};
    const Steps& steps = along.IsVertical() ? vertical : horizontal;
    Step step = nullptr;
    if (event.type == UIEVENT_KEYDOWN) {
        switch (event.key) {
        case VK_UP:
            step = steps.lineBack;
            break;
        case VK_DOWN:
            step = steps.lineForward;
            break;
        case VK_PRIOR:
            step = steps.pageBack;
            break;
        case VK_NEXT:
            step = steps.pageForward;
            break;
        case VK_HOME:
            step = steps.home;
            break;
        case VK_END:
            step = steps.end;
            break;
        default:
            break;
        }
    } else if (event.type == UIEVENT_SCROLLWHEEL) {
        switch (LOWORD(event.wParam)) {
        case SB_LINEUP:
            step = steps.lineBack;
            break;
        case SB_LINEDOWN:
            step = steps.lineForward;
            break;
        default:
            break;
        }
    }
    if (step == nullptr) return false;
    (this->*step)();
    return true;
}

void CContainerUI::ApplyDefaultScrollBarStyle(CScrollBarUI* bar, const wchar_t* className) {
    if (m_pManager == nullptr) return;
    const wchar_t* style = m_pManager->GetDefaultAttributeList(className);
    if (style != nullptr) bar->ApplyAttributeList(style);
}

void CContainerUI::SwitchScrollBar(const Axis& along, bool wanted) {
    CScrollBarUI*& bar = ScrollBarSlot(along);
    if (wanted && bar == nullptr) {
        bar = new CScrollBarUI;
        bar->SetHorizontal(!along.IsVertical());
        bar->SetOwner(this);
        bar->SetManager(m_pManager, nullptr, false);
        ApplyDefaultScrollBarStyle(bar, along.IsVertical() ? L"VScrollBar" : L"HScrollBar");
    } else if (!wanted && bar != nullptr) {
        delete bar;
        bar = nullptr;
    }
}

void CContainerUI::EnableScrollBar(bool vertical, bool horizontal) {
    SwitchScrollBar(kVertical, vertical);
    SwitchScrollBar(kHorizontal, horizontal);
    NeedUpdate();
}

void CContainerUI::EnableScrollBarAlong(const Axis& along, bool wanted) {
    const bool other = ScrollBar(along.Cross()) != nullptr;
    if (along.IsVertical())
        EnableScrollBar(wanted, other);
    else
        EnableScrollBar(other, wanted);
}

CScrollBarUI* CContainerUI::GetVerticalScrollBar() const {
    return m_pVerticalScrollBar;
}

CScrollBarUI* CContainerUI::GetHorizontalScrollBar() const {
    return m_pHorizontalScrollBar;
}

void CContainerUI::PlaceScrollBar(const Axis& along, CScrollBarUI& bar, const RECT& rc) {
    const Axis across = along.Cross();
    const long long side = across.Far(rc);
    bar.SetPos(along.Rect(along.Near(rc), along.Far(rc), side, side + across.Fixed(bar)));
}

void CContainerUI::ProcessScrollBar(RECT rc, int cxRequired, int cyRequired) {
    for (const Axis& along : {kHorizontal, kVertical}) {
        if (CScrollBarUI* bar = ShownScrollBar(along)) PlaceScrollBar(along, *bar, rc);
    }
    if (cxRequired > 0 && FitScrollBar(kHorizontal, rc, cxRequired)) return;
    FitScrollBar(kVertical, rc, cyRequired);
}

bool CContainerUI::FitScrollBar(const Axis& along, const RECT& rc, long long required) {
    CScrollBarUI* bar = ScrollBar(along);
    if (bar == nullptr) return false;
    const long long overflow = required - along.Extent(rc);
    if (overflow > 0 && !bar->IsVisible()) {
        // Showing the bar narrows the client area: lay out once more inside it.
        bar->SetVisible(true);
        bar->SetScrollRange(ClampToInt(overflow));
        bar->SetScrollPos(0);
        m_bScrollProcess = true;
        SetPos(m_rcItem);
        m_bScrollProcess = false;
        return true;
    }
    if (!bar->IsVisible()) return false;
    if (overflow <= 0 && !m_bScrollProcess) {
        bar->SetVisible(false);
        bar->SetScrollPos(0);
        bar->SetScrollRange(0);
        SetPos(m_rcItem);
        return true;
    }
    if (bar->GetScrollRange() == overflow) return false;
    const int oldPos = bar->GetScrollPos();
    bar->SetScrollRange(ClampToInt(overflow < 0 ? -overflow : overflow));
    if (bar->GetScrollRange() == 0) {
        bar->SetVisible(false);
        bar->SetScrollPos(0);
    }
    // The range shrank below the old position: the children must follow.
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
    int first = 0;
    int last = m_items.GetSize();
    if (hitTest) {
        const POINT point = *static_cast<const POINT*>(data);
        ChildRange(RECT{point.x, point.y, point.x + 1, point.y + 1}, first, last);
    }
    const bool topFirst = (flags & UIFIND_TOP_FIRST) != 0;
    for (int n = first; n < last; ++n) {
        CControlUI* child = CContainerUI::GetItemAt(topFirst ? first + last - 1 - n : n);
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
    if (event.type == UIEVENT_KEYDOWN || event.type == UIEVENT_SCROLLWHEEL) {
        for (const Axis& along : {kVertical, kHorizontal}) {
            const CScrollBarUI* bar = ShownScrollBar(along);
            if (bar != nullptr && bar->IsEnabled() && ScrollOnInput(along, event)) return;
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
    } else if (is(L"vscrollbar") || is(L"hscrollbar")) {
        EnableScrollBarAlong(is(L"vscrollbar") ? kVertical : kHorizontal, ParseBoolValue(value));
    } else if (is(L"vscrollbarstyle") || is(L"hscrollbarstyle")) {
        const Axis along = is(L"vscrollbarstyle") ? kVertical : kHorizontal;
        EnableScrollBarAlong(along, true);
        if (CScrollBarUI* bar = ScrollBar(along)) bar->ApplyAttributeList(value);
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
                CControlUI* child = CContainerUI::GetItemAt(i);
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
            int first = 0;
            int last = m_items.GetSize();
            ChildRange(clientPaint, first, last);
            for (int i = first; i < last; ++i) {
                CControlUI* child = CContainerUI::GetItemAt(i);
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

void CContainerUI::ChildRange(const RECT&, int& first, int& last) const {
    first = 0;
    last = m_items.GetSize();
}

int CContainerUI::FindSelectable(int index, bool forward) const {
    const int count = m_items.GetSize();
    if (count == 0) return -1;
    if (index < 0) index = 0;
    if (index >= count) index = count - 1;
    const auto selectable = [this](int i) {
        CControlUI* child = CContainerUI::GetItemAt(i);
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
