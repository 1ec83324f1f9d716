#include "control/SliderUI.h"

#include <cwchar>

#include "control/AttributeValue.h"
#include "control/Axis.h"
#include "control/ButtonUI.h"
#include "control/LayoutMath.h"

namespace SkinUI {

CSliderUI::CSliderUI() {
    m_uTextStyle = DT_SINGLELINE | DT_CENTER;
}

const wchar_t* CSliderUI::GetClass() const {
    return L"SliderUI";
}

void* CSliderUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"Slider") == 0) return this;
    return CProgressUI::GetInterface(name);
}

UINT CSliderUI::GetControlFlags() const {
    return IsEnabled() ? UIFLAG_SETCURSOR : 0;
}

void CSliderUI::SetEnabled(bool enabled) {
    CProgressUI::SetEnabled(enabled);
    if (!IsEnabled()) m_uButtonState = 0;
}

int CSliderUI::GetChangeStep() const {
    return m_nStep;
}

void CSliderUI::SetChangeStep(int step) {
    m_nStep = step;
}

SIZE CSliderUI::GetThumbSize() const {
    return m_szThumb;
}

void CSliderUI::SetThumbSize(SIZE size) {
    m_szThumb = size;
}

UINT CSliderUI::GetButtonState() const {
    return m_uButtonState;
}

const CSkinString& CSliderUI::GetThumbImage() const {
    return m_sThumbImage;
}

void CSliderUI::SetThumbImage(const wchar_t* image) {
    m_sThumbImage = image;
    Invalidate();
}

const CSkinString& CSliderUI::GetThumbHotImage() const {
    return m_sThumbHotImage;
}

void CSliderUI::SetThumbHotImage(const wchar_t* image) {
    m_sThumbHotImage = image;
    Invalidate();
}

const CSkinString& CSliderUI::GetThumbPushedImage() const {
    return m_sThumbPushedImage;
}

void CSliderUI::SetThumbPushedImage(const wchar_t* image) {
    m_sThumbPushedImage = image;
    Invalidate();
}

// ---- Geometry

long long CSliderUI::ThumbAlong() const {
    const LONG size = Along().Of(m_szThumb);
    return size > 0 ? size : 0;
}

long long CSliderUI::ThumbAcross() const {
    const LONG size = Along().Cross().Of(m_szThumb);
    return size > 0 ? size : 0;
}

RECT CSliderUI::GetThumbRect() const {
    const Axis along = Along();
    const Axis across = along.Cross();
    const long long thumb = ThumbAlong();
    const long long breadth = ThumbAcross();
    const Span span = OrderedSpan();
    // The thumb travels the length of the slider less its own.
    const long long offset = Scale(along.Extent(m_rcItem) - thumb, span.Done(), span.Range());
    const long long start =
        GrowsTowardsNear() ? along.Far(m_rcItem) - thumb - offset : along.Near(m_rcItem) + offset;
    const long long crossStart =
        (static_cast<long long>(across.Near(m_rcItem)) + across.Far(m_rcItem) - breadth) / 2;
    return along.Rect(start, start + thumb, crossStart, crossStart + breadth);
}

int CSliderUI::ValueAt(POINT point) const {
    const Axis along = Along();
    const long long extent = along.Extent(m_rcItem);
    const long long thumb = ThumbAlong();
    const long long half = thumb / 2;
    // Distance from the end where the value is smallest.
    const long long distance = GrowsTowardsNear()
                                   ? static_cast<long long>(along.Far(m_rcItem)) - along.Of(point)
                                   : static_cast<long long>(along.Of(point)) - along.Near(m_rcItem);
    const Span span = OrderedSpan();
    if (distance >= extent - half) return ClampToInt(span.maximum);
    if (distance <= half) return ClampToInt(span.minimum);
    const long long travel = extent - thumb;
    if (travel <= 0) return ClampToInt(span.minimum);
    return ClampToInt(span.minimum + Scale(span.Range(), distance - half, travel));
}

// ---- Input

void CSliderUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CProgressUI::DoEvent(event);
        return;
    }
    switch (event.type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (IsEnabled()) {
            const RECT thumb = GetThumbRect();
            if (::PtInRect(&thumb, event.mousePos)) m_uButtonState |= UISTATE_CAPTURED;
        }
        return;
    case UIEVENT_BUTTONUP:
        m_uButtonState &= ~UISTATE_CAPTURED;
        // A disabled slider keeps its value: its press was refused too.
        if (!IsEnabled()) return;
        // A release anywhere moves the value there, dragged or not.
        m_nValue = ValueAt(event.mousePos);
        Invalidate();
        // Last: the listener may do anything to the slider.
        SendNotify(NotifyType::kValueChanged);
        return;
    case UIEVENT_CONTEXTMENU:
        return;
    case UIEVENT_SCROLLWHEEL:
        if (!IsEnabled()) return;
        if (event.wParam == SB_LINEUP || event.wParam == SB_LINEDOWN) {
            // Not clamped here: the next paint brings the value into range.
            const long long step =
                event.wParam == SB_LINEUP ? m_nStep : -static_cast<long long>(m_nStep);
            SetValue(ClampToInt(m_nValue + step));
            SendNotify(NotifyType::kValueChanged);
        }
        return;
    case UIEVENT_MOUSEMOVE:
        if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
            m_nValue = ValueAt(event.mousePos);
            Invalidate();
        }
        return;
    case UIEVENT_SETCURSOR: {
        const RECT thumb = GetThumbRect();
        if (IsEnabled() && ::PtInRect(&thumb, event.mousePos)) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            return;
        }
        break;
    }
    case UIEVENT_MOUSEENTER:
        if (IsEnabled()) {
            m_uButtonState |= UISTATE_HOT;
            Invalidate();
        }
        return;
    case UIEVENT_MOUSELEAVE:
        if (IsEnabled()) {
            m_uButtonState &= ~UISTATE_HOT;
            Invalidate();
        }
        return;
    default:
        break;
    }
    CControlUI::DoEvent(event);
}

// ---- Attributes

void CSliderUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name == nullptr) return;
    if (value == nullptr) value = L"";
    const auto is = [name](const wchar_t* known) { return wcscmp(name, known) == 0; };
    if (is(L"thumbimage"))
        SetThumbImage(value);
    else if (is(L"thumbhotimage"))
        SetThumbHotImage(value);
    else if (is(L"thumbpushedimage"))
        SetThumbPushedImage(value);
    else if (is(L"thumbsize"))
        SetThumbSize(ParseSizeValue(value));
    else if (is(L"step"))
        SetChangeStep(ParseIntValue(value));
    else
        CProgressUI::SetAttribute(name, value);
}

// ---- Painting

bool CSliderUI::DrawThumbImage(HDC hDC, CSkinString& image) {
    if (image.IsEmpty()) return false;
    if (DrawImage(hDC, image, m_sThumbModify)) return true;
    image.Empty();
    return false;
}

void CSliderUI::PaintStatusImage(HDC hDC) {
    CProgressUI::PaintStatusImage(hDC);
    const RECT thumb = GetThumbRect();
    m_sThumbModify.Format(L"dest='%d,%d,%d,%d'", thumb.left - m_rcItem.left,
                          thumb.top - m_rcItem.top, thumb.right - m_rcItem.left,
                          thumb.bottom - m_rcItem.top);
    const bool captured = (m_uButtonState & UISTATE_CAPTURED) != 0;
    const bool hot = (m_uButtonState & UISTATE_HOT) != 0;
    CSkinString* state = nullptr;
    if (captured && !m_sThumbPushedImage.IsEmpty())
        state = &m_sThumbPushedImage;
    else if (!captured && hot && !m_sThumbHotImage.IsEmpty())
        state = &m_sThumbHotImage;
    if (state != nullptr && DrawThumbImage(hDC, *state)) return;
    DrawThumbImage(hDC, m_sThumbImage);
}

} // namespace SkinUI
