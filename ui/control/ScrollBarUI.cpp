#include "control/ScrollBarUI.h"

#include <cwchar>
#include <initializer_list>

#include "control/AttributeValue.h"
#include "control/Axis.h"
#include "control/ButtonUI.h"
#include "control/ContainerUI.h"
#include "control/LayoutMath.h"
#include "render/RenderEngine.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

namespace {

constexpr int kDefaultThickness = 16;
constexpr UINT kRepeatTimer = 10;
constexpr UINT kRepeatElapse = 50;
// A held button or track steps again from the tick after this many.
constexpr int kRepeatDelayTicks = 5;
// The look of a part without images.
constexpr int kFallbackBorderSize = 2;
constexpr DWORD kFallbackBorderColor = 0xFF85E4FF;

// Attribute names are the part's name, the state's name and "image".
const wchar_t* const kPartNames[CScrollBarUI::kPartCount] = {L"bk", L"button1", L"button2",
                                                             L"thumb", L"rail"};
const wchar_t* const kStateNames[CScrollBarUI::kImageStateCount] = {L"normal", L"hot", L"pushed",
                                                                    L"disabled"};

bool ParseImageAttribute(const wchar_t* name, CScrollBarUI::Part& part,
                         CScrollBarUI::ImageState& state) {
    for (int p = 0; p < CScrollBarUI::kPartCount; ++p) {
        const size_t partLength = wcslen(kPartNames[p]);
        if (wcsncmp(name, kPartNames[p], partLength) != 0) continue;
        const wchar_t* rest = name + partLength;
        for (int s = 0; s < CScrollBarUI::kImageStateCount; ++s) {
            const size_t stateLength = wcslen(kStateNames[s]);
            if (wcsncmp(rest, kStateNames[s], stateLength) == 0 &&
                wcscmp(rest + stateLength, L"image") == 0) {
                part = static_cast<CScrollBarUI::Part>(p);
                state = static_cast<CScrollBarUI::ImageState>(s);
                return true;
            }
        }
    }
    return false;
}

bool IsZero(const RECT& rc) {
    return rc.left == 0 && rc.top == 0 && rc.right == 0 && rc.bottom == 0;
}

// Sets or clears state bits; true when that changed them.
bool SetBits(UINT& state, UINT bits, bool on) {
    const UINT old = state;
    state = on ? state | bits : state & ~bits;
    return state != old;
}

} // namespace

CScrollBarUI::CScrollBarUI() {
    m_cxyFixed.cx = kDefaultThickness;
}

const wchar_t* CScrollBarUI::GetClass() const {
    return L"ScrollBarUI";
}

void* CScrollBarUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"ScrollBar") == 0) return this;
    return CControlUI::GetInterface(name);
}

CContainerUI* CScrollBarUI::GetOwner() const {
    return m_pOwner;
}

void CScrollBarUI::SetOwner(CContainerUI* owner) {
    m_pOwner = owner;
}

bool CScrollBarUI::IsHorizontal() const {
    return m_bHorizontal;
}

void CScrollBarUI::SetHorizontal(bool horizontal) {
    if (m_bHorizontal == horizontal) return;
    m_bHorizontal = horizontal;
    if (horizontal && m_cxyFixed.cy == 0) {
        m_cxyFixed.cx = 0;
        m_cxyFixed.cy = kDefaultThickness;
    } else if (!horizontal && m_cxyFixed.cx == 0) {
        m_cxyFixed.cx = kDefaultThickness;
        m_cxyFixed.cy = 0;
    }
    if (m_pOwner != nullptr)
        m_pOwner->NeedUpdate();
    else
        NeedParentUpdate();
}

int CScrollBarUI::GetScrollRange() const {
    return m_nRange;
}

void CScrollBarUI::SetScrollRange(int range) {
    if (m_nRange == range) return;
    m_nRange = range < 0 ? 0 : range;
    if (m_nScrollPos > m_nRange) m_nScrollPos = m_nRange;
    SetPos(m_rcItem);
}

int CScrollBarUI::GetScrollPos() const {
    return m_nScrollPos;
}

void CScrollBarUI::SetScrollPos(int pos) {
    if (m_nScrollPos == pos) return;
    m_nScrollPos = pos < 0 ? 0 : (pos > m_nRange ? m_nRange : pos);
    SetPos(m_rcItem);
}

int CScrollBarUI::GetLineSize() const {
    return m_nLineSize;
}

void CScrollBarUI::SetLineSize(int size) {
    m_nLineSize = size;
}

bool CScrollBarUI::GetShowButton1() const {
    return m_bShowButton1;
}

void CScrollBarUI::SetShowButton1(bool show) {
    m_bShowButton1 = show;
    SetPos(m_rcItem);
}

bool CScrollBarUI::GetShowButton2() const {
    return m_bShowButton2;
}

void CScrollBarUI::SetShowButton2(bool show) {
    m_bShowButton2 = show;
    SetPos(m_rcItem);
}

const RECT& CScrollBarUI::GetButton1Rect() const {
    return m_rcButton1;
}

const RECT& CScrollBarUI::GetButton2Rect() const {
    return m_rcButton2;
}

const RECT& CScrollBarUI::GetThumbRect() const {
    return m_rcThumb;
}

UINT CScrollBarUI::GetButton1State() const {
    return m_uButton1State;
}

UINT CScrollBarUI::GetButton2State() const {
    return m_uButton2State;
}

UINT CScrollBarUI::GetThumbState() const {
    return m_uThumbState;
}

const CSkinString& CScrollBarUI::GetPartImage(Part part, ImageState state) const {
    return m_sImages[part][state];
}

void CScrollBarUI::SetPartImage(Part part, ImageState state, const wchar_t* image) {
    m_sImages[part][state] = image;
    Invalidate();
}

// ---- Geometry

Axis CScrollBarUI::Along() const {
    return Axis(!m_bHorizontal);
}

int CScrollBarUI::Thickness() const {
    return Along().Cross().Fixed(*this);
}

void CScrollBarUI::SetPos(RECT rect) {
    CControlUI::SetPos(rect);
    const Axis along = Along();
    const RECT& item = m_rcItem;
    const long long thickness = Thickness();
    const long long start = along.Near(item);
    const long long end = along.Far(item);
    const long long length = end - start;
    const long long crossNear = along.Cross().Near(item);
    const long long crossFar = crossNear + thickness;
    const auto span = [&](long long from, long long to) {
        return along.Rect(from, to, crossNear, crossFar);
    };
    // A hidden button is an empty rectangle at its end of the bar.
    const auto point = [&](long long at) { return along.Rect(at, at, crossNear, crossNear); };

    long long track = length;
    if (m_bShowButton1) track -= thickness;
    if (m_bShowButton2) track -= thickness;
    if (track <= thickness) {
        // No room for a thumb: the buttons share the length.
        const long long button = length / 2 < thickness ? length / 2 : thickness;
        m_rcButton1 = m_bShowButton1 ? span(start, start + button) : point(start);
        m_rcButton2 = m_bShowButton2 ? span(end - button, end) : point(end);
        m_rcThumb = RECT{};
        return;
    }
    m_rcButton1 = m_bShowButton1 ? span(start, start + thickness) : point(start);
    m_rcButton2 = m_bShowButton2 ? span(end - thickness, end) : point(end);
    const long long trackStart = along.Far(m_rcButton1);
    const long long trackEnd = along.Near(m_rcButton2);
    if (m_nRange <= 0) {
        m_rcThumb = span(trackStart, trackEnd);
        return;
    }
    // The thumb's share of the track is the bar's share of the content. Ranges run up to
    // the limit of int: the products need 64 bits.
    long long thumb = track * length / (m_nRange + length);
    if (thumb < thickness) thumb = thickness;
    long long thumbStart = trackStart + m_nScrollPos * (track - thumb) / m_nRange;
    long long thumbEnd = thumbStart + thumb;
    if (thumbEnd > trackEnd) {
        thumbEnd = trackEnd;
        thumbStart = thumbEnd - thumb;
    }
    m_rcThumb = span(thumbStart, thumbEnd);
}

long long CScrollBarUI::ThumbTravel() const {
    const Axis along = Along();
    return static_cast<long long>(along.Near(m_rcButton2)) - along.Far(m_rcButton1) -
           along.Extent(m_rcThumb);
}

// ---- State

void CScrollBarUI::SetVisible(bool visible) {
    if (m_bVisible == visible) return;
    m_bVisible = visible;
    m_bFocused = false;
}

void CScrollBarUI::SetEnabled(bool enabled) {
    CControlUI::SetEnabled(enabled);
    if (IsEnabled()) return;
    m_uButton1State = 0;
    m_uButton2State = 0;
    m_uThumbState = 0;
    // With nothing held any more, the next tick would read as a held track.
    if (m_pManager != nullptr) m_pManager->KillTimer(this, kRepeatTimer);
}

void CScrollBarUI::SetFocus() {
    if (m_pOwner != nullptr)
        m_pOwner->SetFocus();
    else
        CControlUI::SetFocus();
}

// ---- Input

void CScrollBarUI::Step(bool forward, bool page) {
    if (m_pOwner != nullptr) {
        using Operation = void (CContainerUI::*)();
        // By axis (horizontal, vertical), size (line, page) and direction (back, forward).
        static const Operation operations[2][2][2] = {
            {{&CContainerUI::LineLeft, &CContainerUI::LineRight},
             {&CContainerUI::PageLeft, &CContainerUI::PageRight}},
            {{&CContainerUI::LineUp, &CContainerUI::LineDown},
             {&CContainerUI::PageUp, &CContainerUI::PageDown}}};
        (m_pOwner->*operations[Along().IsVertical()][page][forward])();
        return;
    }
    const long long step = page ? Along().Extent(m_rcItem) : m_nLineSize;
    SetScrollPos(ClampToInt(static_cast<long long>(m_nScrollPos) + (forward ? step : -step)));
}

void CScrollBarUI::PageTowards(POINT point) {
    // Without a thumb there is no track to page along.
    if (IsZero(m_rcThumb)) return;
    const Axis along = Along();
    if (along.Of(point) < along.Near(m_rcThumb))
        Step(false, true);
    else if (along.Of(point) >= along.Far(m_rcThumb))
        Step(true, true);
}

void CScrollBarUI::ApplyDrag() {
    const int target = ClampToInt(static_cast<long long>(m_nLastScrollPos) + m_nLastScrollOffset);
    if (m_pOwner == nullptr) {
        SetScrollPos(target);
        return;
    }
    SIZE pos = m_pOwner->GetScrollPos();
    Along().Of(pos) = target;
    m_pOwner->SetScrollPos(pos);
}

void CScrollBarUI::Press(POINT point) {
    m_nLastScrollOffset = 0;
    m_nScrollRepeatDelay = 0;
    if (m_pManager != nullptr) m_pManager->SetTimer(this, kRepeatTimer, kRepeatElapse);
    if (::PtInRect(&m_rcButton1, point)) {
        m_uButton1State |= UISTATE_PUSHED;
        Step(false, false);
    } else if (::PtInRect(&m_rcButton2, point)) {
        m_uButton2State |= UISTATE_PUSHED;
        Step(true, false);
    } else if (::PtInRect(&m_rcThumb, point)) {
        m_uThumbState |= UISTATE_CAPTURED | UISTATE_PUSHED;
        m_ptLastMouse = point;
        m_nLastScrollPos = m_nScrollPos;
    } else {
        PageTowards(point);
    }
    Invalidate();
    if (m_pManager != nullptr && m_pOwner == nullptr) SendNotify(NotifyType::kScroll);
}

void CScrollBarUI::Release() {
    m_nScrollRepeatDelay = 0;
    if (m_pManager != nullptr) m_pManager->KillTimer(this, kRepeatTimer);
    const int before = m_nScrollPos;
    bool changed = false;
    if ((m_uThumbState & UISTATE_CAPTURED) != 0) {
        // The timer applies a drag at most every 50 ms: what the last moves did must not
        // be lost when the button comes up in between.
        ApplyDrag();
        changed = SetBits(m_uThumbState, UISTATE_CAPTURED | UISTATE_PUSHED, false);
    } else if ((m_uButton1State & UISTATE_PUSHED) != 0) {
        changed = SetBits(m_uButton1State, UISTATE_PUSHED, false);
    } else if ((m_uButton2State & UISTATE_PUSHED) != 0) {
        changed = SetBits(m_uButton2State, UISTATE_PUSHED, false);
    }
    m_nLastScrollOffset = 0;
    if (changed) Invalidate();
    // Last: the listener may do anything to the bar.
    if (m_pManager != nullptr && m_pOwner == nullptr && m_nScrollPos != before)
        SendNotify(NotifyType::kScroll);
}

void CScrollBarUI::TrackMouse(POINT point) {
    const Axis along = Along();
    if ((m_uThumbState & UISTATE_CAPTURED) != 0) {
        // The thumb follows the mouse over the distance it can travel, whichever buttons
        // are shown.
        const long long travel = ThumbTravel();
        if (travel != 0) {
            const long long moved =
                static_cast<long long>(along.Of(point)) - along.Of(m_ptLastMouse);
            m_nLastScrollOffset = ClampToInt(moved * m_nRange / travel);
        }
        return;
    }
    const bool onThumb = ::PtInRect(&m_rcThumb, point) != FALSE;
    if ((m_uThumbState & UISTATE_HOT) != 0) {
        if (!onThumb && SetBits(m_uThumbState, UISTATE_HOT, false)) Invalidate();
    } else if (IsEnabled() && onThumb) {
        m_uThumbState |= UISTATE_HOT;
        Invalidate();
    }
}

void CScrollBarUI::Repeat() {
    ++m_nScrollRepeatDelay;
    const int before = m_nScrollPos;
    const bool repeating = m_nScrollRepeatDelay > kRepeatDelayTicks;
    if ((m_uThumbState & UISTATE_CAPTURED) != 0) {
        ApplyDrag();
        Invalidate();
    } else if ((m_uButton1State & UISTATE_PUSHED) != 0) {
        if (repeating) Step(false, false);
    } else if ((m_uButton2State & UISTATE_PUSHED) != 0) {
        if (repeating) Step(true, false);
    } else if (repeating && m_pManager != nullptr) {
        // The track is held: page towards wherever the pointer is now.
        POINT cursor{};
        ::GetCursorPos(&cursor);
        ::ScreenToClient(m_pManager->GetPaintWindow(), &cursor);
        PageTowards(cursor);
    }
    // One notification per step, none for the ticks that change nothing.
    if (m_pManager != nullptr && m_pOwner == nullptr && m_nScrollPos != before)
        SendNotify(NotifyType::kScroll);
}

void CScrollBarUI::PassOn(TEventUI& event) {
    if (m_pOwner != nullptr)
        m_pOwner->DoEvent(event);
    else
        CControlUI::DoEvent(event);
}

void CScrollBarUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        PassOn(event);
        return;
    }
    switch (event.type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
    case UIEVENT_CONTEXTMENU:
        return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (IsEnabled()) Press(event.mousePos);
        return;
    case UIEVENT_BUTTONUP:
        Release();
        return;
    case UIEVENT_MOUSEMOVE:
        TrackMouse(event.mousePos);
        return;
    case UIEVENT_TIMER:
        if (event.wParam != kRepeatTimer) break;
        Repeat();
        return;
    case UIEVENT_MOUSEENTER:
        if (IsEnabled()) {
            m_uButton1State |= UISTATE_HOT;
            m_uButton2State |= UISTATE_HOT;
            if (::PtInRect(&m_rcThumb, event.mousePos)) m_uThumbState |= UISTATE_HOT;
            Invalidate();
        }
        return;
    case UIEVENT_MOUSELEAVE:
        if (IsEnabled()) {
            m_uButton1State &= ~UISTATE_HOT;
            m_uButton2State &= ~UISTATE_HOT;
            m_uThumbState &= ~UISTATE_HOT;
            Invalidate();
        }
        return;
    default:
        break;
    }
    PassOn(event);
}

// ---- Attributes

void CScrollBarUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name == nullptr) return;
    if (value == nullptr) value = L"";
    const auto is = [name](const wchar_t* known) { return wcscmp(name, known) == 0; };
    Part part = kBackground;
    ImageState state = kNormalImage;
    if (ParseImageAttribute(name, part, state))
        SetPartImage(part, state, value);
    else if (is(L"hor"))
        SetHorizontal(ParseBoolValue(value));
    else if (is(L"linesize"))
        SetLineSize(ParseIntValue(value));
    else if (is(L"range"))
        SetScrollRange(ParseIntValue(value));
    else if (is(L"value"))
        SetScrollPos(ParseIntValue(value));
    else if (is(L"showbutton1"))
        SetShowButton1(ParseBoolValue(value));
    else if (is(L"showbutton2"))
        SetShowButton2(ParseBoolValue(value));
    else
        CControlUI::SetAttribute(name, value);
}

// ---- Painting

bool CScrollBarUI::DrawPartImage(HDC hDC, Part part, UINT state, const RECT* dest) {
    CSkinString modifier;
    if (dest != nullptr) {
        modifier.SmallFormat(L"dest='%d,%d,%d,%d'", dest->left - m_rcItem.left,
                             dest->top - m_rcItem.top, dest->right - m_rcItem.left,
                             dest->bottom - m_rcItem.top);
    }
    const auto draw = [&](CSkinString& image) {
        if (image.IsEmpty()) return false;
        if (DrawImage(hDC, image, dest != nullptr ? modifier.GetData() : nullptr)) return true;
        image.Empty();
        return false;
    };
    CSkinString* images = m_sImages[part];
    int chosen = -1;
    if ((state & UISTATE_DISABLED) != 0)
        chosen = kDisabledImage;
    else if ((state & UISTATE_PUSHED) != 0)
        chosen = kPushedImage;
    else if ((state & UISTATE_HOT) != 0)
        chosen = kHotImage;
    if (chosen >= 0 && draw(images[chosen])) return true;
    return draw(images[kNormalImage]);
}

void CScrollBarUI::DoPaint(HDC hDC, const RECT& paintRect) {
    if (!::IntersectRect(&m_rcPaint, &paintRect, &m_rcItem)) return;
    const bool enabled = IsEnabled();
    for (UINT* state : {&m_uThumbState, &m_uButton1State, &m_uButton2State})
        SetBits(*state, UISTATE_DISABLED, !enabled);

    DrawPartImage(hDC, kBackground, m_uThumbState, nullptr);

    struct Shown {
        Part part;
        const RECT& rc;
        UINT state;
        bool shown;
    };
    const Shown parts[] = {{kButton1, m_rcButton1, m_uButton1State, m_bShowButton1},
                           {kButton2, m_rcButton2, m_uButton2State, m_bShowButton2},
                           {kThumb, m_rcThumb, m_uThumbState, !IsZero(m_rcThumb)}};
    for (const Shown& shown : parts) {
        if (!shown.shown) continue;
        if (!DrawPartImage(hDC, shown.part, shown.state, &shown.rc))
            CRenderEngine::DrawRect(hDC, shown.rc, kFallbackBorderSize, kFallbackBorderColor);
    }

    if (IsZero(m_rcThumb)) return;
    // The rail is a square mark of the bar's breadth at the middle of the thumb.
    const Axis along = Along();
    const long long thickness = Thickness();
    const long long middle =
        (static_cast<long long>(along.Near(m_rcThumb)) + along.Far(m_rcThumb)) / 2;
    const RECT rail = along.Rect(middle - thickness / 2, middle + thickness - thickness / 2,
                                 along.Cross().Near(m_rcThumb), along.Cross().Far(m_rcThumb));
    DrawPartImage(hDC, kRail, m_uThumbState, &rail);
}

} // namespace SkinUI
