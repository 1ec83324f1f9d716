#include "control/ControlUI.h"

#include <cwchar>

#include "control/AttributeValue.h"
#include "render/RenderClip.h"
#include "render/RenderEngine.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
    if (OnDestroy) OnDestroy(this);
    if (m_pManager != nullptr) m_pManager->ReapObjects(this);
}

CSkinString CControlUI::GetName() const {
    return m_sName;
}

void CControlUI::SetName(const wchar_t* name) {
    m_sName = name;
}

const wchar_t* CControlUI::GetClass() const {
    return L"ControlUI";
}

void* CControlUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"Control") == 0) return this;
    return nullptr;
}

UINT CControlUI::GetControlFlags() const {
    return 0;
}

bool CControlUI::Activate() {
    return IsVisible() && IsEnabled();
}

CPaintManagerUI* CControlUI::GetManager() const {
    return m_pManager;
}

void CControlUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    // A manager the control leaves forgets it: the builder lends a tree its manager while
    // it applies attributes (a tab layout's selection focuses its page there), and a tree
    // deleted without ever being attached would leave the manager pointing into it.
    if (m_pManager != nullptr && m_pManager != manager) m_pManager->ReapObjects(this);
    m_pManager = manager;
    m_pParent = parent;
    if (init && m_pParent != nullptr) Init();
}

CControlUI* CControlUI::GetParent() const {
    return m_pParent;
}

CSkinString CControlUI::GetText() const {
    return m_sText;
}

void CControlUI::SetText(const wchar_t* text) {
    if (m_sText == text) return;
    m_sText = text;
    Invalidate();
}

const RECT& CControlUI::GetPos() const {
    return m_rcItem;
}

void CControlUI::SetPos(RECT rect) {
    if (rect.right < rect.left) rect.right = rect.left;
    if (rect.bottom < rect.top) rect.bottom = rect.top;

    RECT invalidate = ::IsRectEmpty(&m_rcItem) ? rect : m_rcItem;
    m_rcItem = rect;
    if (m_pManager == nullptr) return;

    if (!m_bSetPos) {
        m_bSetPos = true;
        if (OnSize) OnSize(this);
        m_bSetPos = false;
    }

    if (m_bFloat && m_pParent != nullptr) {
        // Keep the floating request in step with where the control ended up.
        const RECT& parentPos = m_pParent->GetPos();
        m_cXY.cx =
            m_cXY.cx >= 0 ? m_rcItem.left - parentPos.left : m_rcItem.right - parentPos.right;
        m_cXY.cy =
            m_cXY.cy >= 0 ? m_rcItem.top - parentPos.top : m_rcItem.bottom - parentPos.bottom;
        m_cxyFixed.cx = m_rcItem.right - m_rcItem.left;
        m_cxyFixed.cy = m_rcItem.bottom - m_rcItem.top;
    }

    m_bUpdateNeeded = false;

    ::UnionRect(&invalidate, &invalidate, &m_rcItem);
    for (CControlUI* parent = m_pParent; parent != nullptr; parent = parent->GetParent()) {
        const RECT parentPos = parent->GetPos();
        if (!::IntersectRect(&invalidate, &invalidate, &parentPos)) return;
    }
    m_pManager->Invalidate(invalidate);
}

int CControlUI::GetWidth() const {
    return m_rcItem.right - m_rcItem.left;
}

int CControlUI::GetHeight() const {
    return m_rcItem.bottom - m_rcItem.top;
}

int CControlUI::GetX() const {
    return m_rcItem.left;
}

int CControlUI::GetY() const {
    return m_rcItem.top;
}

RECT CControlUI::GetPadding() const {
    return m_rcPadding;
}

void CControlUI::SetPadding(RECT padding) {
    m_rcPadding = padding;
    NeedParentUpdate();
}

SIZE CControlUI::GetFixedXY() const {
    return m_cXY;
}

void CControlUI::SetFixedXY(SIZE xy) {
    m_cXY = xy;
    GeometryChanged();
}

int CControlUI::GetFixedWidth() const {
    return m_cxyFixed.cx;
}

void CControlUI::SetFixedWidth(int cx) {
    if (cx < 0) return;
    m_cxyFixed.cx = cx;
    GeometryChanged();
}

int CControlUI::GetFixedHeight() const {
    return m_cxyFixed.cy;
}

void CControlUI::SetFixedHeight(int cy) {
    if (cy < 0) return;
    m_cxyFixed.cy = cy;
    GeometryChanged();
}

int CControlUI::GetMinWidth() const {
    return m_cxyMin.cx;
}

void CControlUI::SetMinWidth(int cx) {
    if (m_cxyMin.cx == cx || cx < 0) return;
    m_cxyMin.cx = cx;
    GeometryChanged();
}

int CControlUI::GetMaxWidth() const {
    return m_cxyMax.cx;
}

void CControlUI::SetMaxWidth(int cx) {
    if (m_cxyMax.cx == cx || cx < 0) return;
    m_cxyMax.cx = cx;
    GeometryChanged();
}

int CControlUI::GetMinHeight() const {
    return m_cxyMin.cy;
}

void CControlUI::SetMinHeight(int cy) {
    if (m_cxyMin.cy == cy || cy < 0) return;
    m_cxyMin.cy = cy;
    GeometryChanged();
}

int CControlUI::GetMaxHeight() const {
    return m_cxyMax.cy;
}

void CControlUI::SetMaxHeight(int cy) {
    if (m_cxyMax.cy == cy || cy < 0) return;
    m_cxyMax.cy = cy;
    GeometryChanged();
}

void CControlUI::GeometryChanged() {
    if (m_bFloat)
        NeedUpdate();
    else
        NeedParentUpdate();
}

void CControlUI::SetRelativePos(SIZE move, SIZE zoom) {
    m_tRelativePos.relative = true;
    m_tRelativePos.moveXPercent = move.cx;
    m_tRelativePos.moveYPercent = move.cy;
    m_tRelativePos.zoomXPercent = zoom.cx;
    m_tRelativePos.zoomYPercent = zoom.cy;
}

void CControlUI::SetRelativeParentSize(SIZE size) {
    m_tRelativePos.parentSize = size;
}

TRelativePosUI CControlUI::GetRelativePos() const {
    return m_tRelativePos;
}

bool CControlUI::IsRelativePos() const {
    return m_tRelativePos.relative;
}

CSkinString CControlUI::GetToolTip() const {
    return m_sToolTip;
}

void CControlUI::SetToolTip(const wchar_t* text) {
    CSkinString tip(text);
    tip.Replace(L"<n>", L"\r\n");
    m_sToolTip = tip;
}

void CControlUI::SetToolTipWidth(int width) {
    m_nTooltipWidth = width;
}

int CControlUI::GetToolTipWidth() const {
    return m_nTooltipWidth;
}

wchar_t CControlUI::GetShortcut() const {
    return m_chShortcut;
}

void CControlUI::SetShortcut(wchar_t ch) {
    m_chShortcut = ch;
}

bool CControlUI::IsContextMenuUsed() const {
    return m_bMenuUsed;
}

void CControlUI::SetContextMenuUsed(bool used) {
    m_bMenuUsed = used;
}

const CSkinString& CControlUI::GetUserData() {
    return m_sUserData;
}

void CControlUI::SetUserData(const wchar_t* text) {
    m_sUserData = text;
}

UINT_PTR CControlUI::GetTag() const {
    return m_pTag;
}

void CControlUI::SetTag(UINT_PTR tag) {
    m_pTag = tag;
}

bool CControlUI::IsVisible() const {
    return m_bVisible && m_bInternVisible;
}

void CControlUI::SetVisible(bool visible) {
    if (m_bVisible == visible) return;
    const bool wasVisible = IsVisible();
    m_bVisible = visible;
    m_bFocused = false;
    if (!visible && m_pManager != nullptr && m_pManager->GetFocus() == this)
        m_pManager->SetFocus(nullptr);
    if (IsVisible() != wasVisible) NeedParentUpdate();
}

void CControlUI::SetInternVisible(bool visible) {
    m_bInternVisible = visible;
    if (!visible && m_pManager != nullptr && m_pManager->GetFocus() == this)
        m_pManager->SetFocus(nullptr);
}

bool CControlUI::IsEnabled() const {
    return m_bEnabled;
}

void CControlUI::SetEnabled(bool enabled) {
    if (m_bEnabled == enabled) return;
    m_bEnabled = enabled;
    Invalidate();
}

bool CControlUI::IsMouseEnabled() const {
    return m_bMouseEnabled;
}

void CControlUI::SetMouseEnabled(bool enabled) {
    m_bMouseEnabled = enabled;
}

bool CControlUI::IsKeyboardEnabled() const {
    return m_bKeyboardEnabled;
}

void CControlUI::SetKeyboardEnabled(bool enabled) {
    m_bKeyboardEnabled = enabled;
}

bool CControlUI::IsFocused() const {
    return m_bFocused;
}

void CControlUI::SetFocus() {
    if (m_pManager != nullptr) m_pManager->SetFocus(this);
}

bool CControlUI::IsFloat() const {
    return m_bFloat;
}

void CControlUI::SetFloat(bool floating) {
    if (m_bFloat == floating) return;
    m_bFloat = floating;
    NeedParentUpdate();
}

CControlUI* CControlUI::FindControl(FINDCONTROLPROC proc, void* data, UINT flags) {
    if ((flags & UIFIND_VISIBLE) != 0 && !IsVisible()) return nullptr;
    if ((flags & UIFIND_ENABLED) != 0 && !IsEnabled()) return nullptr;
    if ((flags & UIFIND_HITTEST) != 0 &&
        (!m_bMouseEnabled || !::PtInRect(&m_rcItem, *static_cast<const POINT*>(data))))
        return nullptr;
    return proc(this, data);
}

void CControlUI::Init() {
    DoInit();
    if (OnInit) OnInit(this);
}

void CControlUI::DoInit() {}

void CControlUI::Event(TEventUI& event) {
    if (OnEvent(&event)) DoEvent(event);
}

void CControlUI::DoEvent(TEventUI& event) {
    switch (event.type) {
    case UIEVENT_SETCURSOR:
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        return;
    case UIEVENT_SETFOCUS:
        m_bFocused = true;
        Invalidate();
        return;
    case UIEVENT_KILLFOCUS:
        m_bFocused = false;
        Invalidate();
        return;
    case UIEVENT_TIMER:
        SendNotify(NotifyType::kTimer, event.wParam, event.lParam);
        return;
    case UIEVENT_CONTEXTMENU:
        if (IsContextMenuUsed()) {
            SendNotify(NotifyType::kMenu, event.wParam, event.lParam);
            return;
        }
        break;
    default:
        break;
    }
    if (m_pParent != nullptr) m_pParent->DoEvent(event);
}

void CControlUI::SendNotify(const wchar_t* type, WPARAM wParam, LPARAM lParam, bool async) {
    if (m_pManager != nullptr) m_pManager->SendNotify(this, type, wParam, lParam, async);
}

void CControlUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name == nullptr) return;
    if (value == nullptr) value = L"";
    const auto is = [name](const wchar_t* known) { return wcscmp(name, known) == 0; };

    if (is(L"pos")) {
        const RECT rc = ParseRectValue(value);
        SetFixedXY(SIZE{rc.left >= 0 ? rc.left : rc.right, rc.top >= 0 ? rc.top : rc.bottom});
        SetFixedWidth(rc.right - rc.left);
        SetFixedHeight(rc.bottom - rc.top);
    } else if (is(L"relativepos")) {
        int numbers[4];
        ReadNumberList(value, numbers, 4);
        SetRelativePos(SIZE{numbers[0], numbers[1]}, SIZE{numbers[2], numbers[3]});
    } else if (is(L"padding")) {
        SetPadding(ParseRectValue(value));
    } else if (is(L"bkcolor") || is(L"bkcolor1")) {
        SetBkColor(ParseColorValue(value));
    } else if (is(L"bkcolor2")) {
        SetBkColor2(ParseColorValue(value));
    } else if (is(L"bkcolor3")) {
        SetBkColor3(ParseColorValue(value));
    } else if (is(L"bordercolor")) {
        SetBorderColor(ParseColorValueHashOnly(value));
    } else if (is(L"focusbordercolor")) {
        SetFocusBorderColor(ParseColorValueHashOnly(value));
    } else if (is(L"colorhsl")) {
        SetColorHSL(ParseBoolValue(value));
    } else if (is(L"bordersize")) {
        if (wcschr(value, L',') == nullptr) {
            SetBorderSize(ParseIntValue(value));
            SetBorderSize(RECT{0, 0, 0, 0});
        } else {
            SetBorderSize(ParseRectValue(value));
        }
    } else if (is(L"leftbordersize")) {
        SetLeftBorderSize(ParseIntValue(value));
    } else if (is(L"topbordersize")) {
        SetTopBorderSize(ParseIntValue(value));
    } else if (is(L"rightbordersize")) {
        SetRightBorderSize(ParseIntValue(value));
    } else if (is(L"bottombordersize")) {
        SetBottomBorderSize(ParseIntValue(value));
    } else if (is(L"borderstyle")) {
        SetBorderStyle(ParseIntValue(value));
    } else if (is(L"borderround")) {
        SetBorderRound(ParseSizeValue(value));
    } else if (is(L"bkimage")) {
        SetBkImage(value);
    } else if (is(L"width")) {
        SetFixedWidth(ParseIntValue(value));
    } else if (is(L"height")) {
        SetFixedHeight(ParseIntValue(value));
    } else if (is(L"minwidth")) {
        SetMinWidth(ParseIntValue(value));
    } else if (is(L"minheight")) {
        SetMinHeight(ParseIntValue(value));
    } else if (is(L"maxwidth")) {
        SetMaxWidth(ParseIntValue(value));
    } else if (is(L"maxheight")) {
        SetMaxHeight(ParseIntValue(value));
    } else if (is(L"name")) {
        SetName(value);
    } else if (is(L"text")) {
        SetText(value);
    } else if (is(L"tooltip")) {
        SetToolTip(value);
    } else if (is(L"userdata")) {
        SetUserData(value);
    } else if (is(L"enabled")) {
        SetEnabled(ParseBoolValue(value));
    } else if (is(L"mouse")) {
        SetMouseEnabled(ParseBoolValue(value));
    } else if (is(L"keyboard")) {
        SetKeyboardEnabled(ParseBoolValue(value));
    } else if (is(L"visible")) {
        SetVisible(ParseBoolValue(value));
    } else if (is(L"float")) {
        SetFloat(ParseBoolValue(value));
    } else if (is(L"shortcut")) {
        SetShortcut(value[0]);
    } else if (is(L"menu")) {
        SetContextMenuUsed(ParseBoolValue(value));
    } else if (is(L"virtualwnd")) {
        SetVirtualWnd(value);
    } else {
        // Every class handles its own names before it passes the rest here: whatever
        // arrives now is a name no class of this control knows, most likely a typing error.
        const CSkinString controlName = GetName();
        if (controlName.IsEmpty())
            SKIN__Trace(L"SkinUI: unknown attribute \"%s\" on %s", name, GetClass());
        else
            SKIN__Trace(L"SkinUI: unknown attribute \"%s\" on %s \"%s\"", name, GetClass(),
                        controlName.GetData());
    }
}

CControlUI* CControlUI::ApplyAttributeList(const wchar_t* list) {
    if (list == nullptr) return this;
    CSkinString name;
    CSkinString value;
    const wchar_t* cursor = list;
    while (*cursor != L'\0') {
        // Copies the text up to `stop` in one piece: appending it a character at a time
        // costs time in the square of its length. The stops are ASCII, so the copy ends on
        // a whole character.
        const auto copyUntil = [&cursor](CSkinString& out, wchar_t stop) {
            const wchar_t* start = cursor;
            while (*cursor != L'\0' && *cursor != stop)
                ++cursor;
            out.Assign(start, static_cast<int>(cursor - start));
        };
        copyUntil(name, L'=');
        if (*cursor++ != L'=') return this;
        if (*cursor++ != L'"') return this;
        copyUntil(value, L'"');
        if (*cursor++ != L'"') return this;
        SetAttribute(name, value);
        if (*cursor == L'\0') break;
        if (*cursor++ != L' ') return this;
    }
    return this;
}

SIZE CControlUI::EstimateSize(SIZE) {
    return m_cxyFixed;
}

void CControlUI::DoPaint(HDC hDC, const RECT& paintRect) {
    if (!::IntersectRect(&m_rcPaint, &paintRect, &m_rcItem)) return;
    if (m_cxyBorderRound.cx > 0 || m_cxyBorderRound.cy > 0) {
        CRenderClip roundClip;
        CRenderClip::GenerateRoundClip(hDC, m_rcPaint, m_rcItem, m_cxyBorderRound.cx,
                                       m_cxyBorderRound.cy, roundClip);
        PaintSteps(hDC);
    } else {
        PaintSteps(hDC);
    }
}

void CControlUI::PaintSteps(HDC hDC) {
    PaintBkColor(hDC);
    PaintBkImage(hDC);
    PaintStatusImage(hDC);
    PaintText(hDC);
    PaintBorder(hDC);
}

void CControlUI::PaintBkColor(HDC hDC) {
    if (m_dwBackColor == 0) return;
    const DWORD color = GetAdjustColor(m_dwBackColor);
    if (m_dwBackColor2 == 0) {
        // A translucent colour is blended over the whole item, an opaque one only where
        // the paint goes.
        CRenderEngine::DrawColor(hDC, color >= 0xFF000000 ? m_rcPaint : m_rcItem, color);
        return;
    }
    const DWORD color2 = GetAdjustColor(m_dwBackColor2);
    if (m_dwBackColor3 == 0) {
        CRenderEngine::DrawGradient(hDC, m_rcItem, color, color2, true, 16);
        return;
    }
    RECT upper = m_rcItem;
    upper.bottom = (m_rcItem.top + m_rcItem.bottom) / 2;
    RECT lower = m_rcItem;
    lower.top = upper.bottom;
    CRenderEngine::DrawGradient(hDC, upper, color, color2, true, 8);
    CRenderEngine::DrawGradient(hDC, lower, color2, GetAdjustColor(m_dwBackColor3), true, 8);
}

void CControlUI::PaintBkImage(HDC hDC) {
    if (m_sBkImage.IsEmpty()) return;
    // A missing image is no failure (it is looked for again next time); only a missing
    // manager or device context is.
    if (!DrawImage(hDC, m_sBkImage)) m_sBkImage.Empty();
}

void CControlUI::PaintStatusImage(HDC) {}

void CControlUI::PaintText(HDC) {}

void CControlUI::PaintBorder(HDC hDC) {
    if (m_dwBorderColor == 0 && m_dwFocusBorderColor == 0) return;
    const bool focusColored = IsFocused() && m_dwFocusBorderColor != 0;
    // Colour 0 is no colour: a border whose colour is 0 is not drawn (black would be).
    if (m_nBorderSize > 0 && (m_cxyBorderRound.cx > 0 || m_cxyBorderRound.cy > 0)) {
        const DWORD color = focusColored ? m_dwFocusBorderColor : m_dwBorderColor;
        if (color != 0) {
            CRenderEngine::DrawRoundRect(hDC, m_rcItem, m_nBorderSize, m_cxyBorderRound.cx,
                                         m_cxyBorderRound.cy, GetAdjustColor(color));
        }
        return;
    }
    if (focusColored && m_nBorderSize > 0) {
        CRenderEngine::DrawRect(hDC, m_rcItem, m_nBorderSize, GetAdjustColor(m_dwFocusBorderColor));
        return;
    }
    const RECT& sides = m_rcBorderSize;
    if (sides.left > 0 || sides.top > 0 || sides.right > 0 || sides.bottom > 0) {
        if (m_dwBorderColor == 0) return;
        const DWORD color = GetAdjustColor(m_dwBorderColor);
        if (sides.left > 0) {
            RECT line = m_rcItem;
            line.right = line.left;
            CRenderEngine::DrawLine(hDC, line, sides.left, color, m_nBorderStyle);
        }
        if (sides.top > 0) {
            RECT line = m_rcItem;
            line.bottom = line.top;
            CRenderEngine::DrawLine(hDC, line, sides.top, color, m_nBorderStyle);
        }
        if (sides.right > 0) {
            RECT line = m_rcItem;
            line.left = line.right;
            CRenderEngine::DrawLine(hDC, line, sides.right, color, m_nBorderStyle);
        }
        if (sides.bottom > 0) {
            RECT line = m_rcItem;
            line.top = line.bottom;
            CRenderEngine::DrawLine(hDC, line, sides.bottom, color, m_nBorderStyle);
        }
        return;
    }
    if (m_nBorderSize > 0 && m_dwBorderColor != 0)
        CRenderEngine::DrawRect(hDC, m_rcItem, m_nBorderSize, GetAdjustColor(m_dwBorderColor));
}

bool CControlUI::DrawImage(HDC hDC, const wchar_t* image, const wchar_t* modifier) {
    return CRenderEngine::DrawImageString(hDC, m_pManager, m_rcItem, m_rcPaint, image, modifier);
}

DWORD CControlUI::GetAdjustColor(DWORD color) const {
    if (!m_bColorHSL || !CPaintManagerUI::IsUseHSL()) return color;
    short h = 0;
    short s = 0;
    short l = 0;
    CPaintManagerUI::GetHSL(&h, &s, &l);
    return CRenderEngine::AdjustColor(color, h, s, l);
}

void CControlUI::DoPostPaint(HDC, const RECT&) {}

CSkinString CControlUI::GetVirtualWnd() const {
    if (!m_sVirtualWnd.IsEmpty()) return m_sVirtualWnd;
    if (m_pParent != nullptr) return m_pParent->GetVirtualWnd();
    return CSkinString();
}

void CControlUI::SetVirtualWnd(const wchar_t* name) {
    m_sVirtualWnd = name;
    if (m_pManager != nullptr) m_pManager->UsedVirtualWnd(true);
}

void CControlUI::StoreImage(CSkinString& field, const wchar_t* image) {
    field = image;
    Invalidate();
}

void CControlUI::Invalidate() {
    if (!IsVisible()) return;
    RECT invalidate = m_rcItem;
    for (CControlUI* parent = m_pParent; parent != nullptr; parent = parent->GetParent()) {
        const RECT parentPos = parent->GetPos();
        if (!::IntersectRect(&invalidate, &invalidate, &parentPos)) return;
    }
    if (m_pManager != nullptr) m_pManager->Invalidate(invalidate);
}

void CControlUI::NeedUpdate() {
    if (!IsVisible()) return;
    m_bUpdateNeeded = true;
    Invalidate();
    if (m_pManager != nullptr) m_pManager->NeedUpdate();
}

void CControlUI::NeedParentUpdate() {
    if (m_pParent != nullptr) {
        m_pParent->NeedUpdate();
        m_pParent->Invalidate();
    } else {
        NeedUpdate();
    }
    if (m_pManager != nullptr) m_pManager->NeedUpdate();
}

bool CControlUI::IsUpdateNeeded() const {
    return m_bUpdateNeeded;
}

DWORD CControlUI::GetBkColor() const {
    return m_dwBackColor;
}

void CControlUI::SetBkColor(DWORD color) {
    if (m_dwBackColor == color) return;
    m_dwBackColor = color;
    Invalidate();
}

DWORD CControlUI::GetBkColor2() const {
    return m_dwBackColor2;
}

void CControlUI::SetBkColor2(DWORD color) {
    if (m_dwBackColor2 == color) return;
    m_dwBackColor2 = color;
    Invalidate();
}

DWORD CControlUI::GetBkColor3() const {
    return m_dwBackColor3;
}

void CControlUI::SetBkColor3(DWORD color) {
    if (m_dwBackColor3 == color) return;
    m_dwBackColor3 = color;
    Invalidate();
}

const CSkinString& CControlUI::GetBkImage() const {
    return m_sBkImage;
}

void CControlUI::SetBkImage(const wchar_t* image) {
    if (m_sBkImage == image) return;
    m_sBkImage = image;
    Invalidate();
}

DWORD CControlUI::GetBorderColor() const {
    return m_dwBorderColor;
}

void CControlUI::SetBorderColor(DWORD color) {
    if (m_dwBorderColor == color) return;
    m_dwBorderColor = color;
    Invalidate();
}

DWORD CControlUI::GetFocusBorderColor() const {
    return m_dwFocusBorderColor;
}

void CControlUI::SetFocusBorderColor(DWORD color) {
    if (m_dwFocusBorderColor == color) return;
    m_dwFocusBorderColor = color;
    Invalidate();
}

bool CControlUI::IsColorHSL() const {
    return m_bColorHSL;
}

void CControlUI::SetColorHSL(bool colorHSL) {
    if (m_bColorHSL == colorHSL) return;
    m_bColorHSL = colorHSL;
    Invalidate();
}

int CControlUI::GetBorderSize() const {
    return m_nBorderSize;
}

void CControlUI::SetBorderSize(int size) {
    if (m_nBorderSize == size) return;
    m_nBorderSize = size;
    Invalidate();
}

void CControlUI::SetBorderSize(RECT sizes) {
    m_rcBorderSize = sizes;
    Invalidate();
}

int CControlUI::GetLeftBorderSize() const {
    return m_rcBorderSize.left;
}

void CControlUI::SetLeftBorderSize(int size) {
    m_rcBorderSize.left = size;
    Invalidate();
}

int CControlUI::GetTopBorderSize() const {
    return m_rcBorderSize.top;
}

void CControlUI::SetTopBorderSize(int size) {
    m_rcBorderSize.top = size;
    Invalidate();
}

int CControlUI::GetRightBorderSize() const {
    return m_rcBorderSize.right;
}

void CControlUI::SetRightBorderSize(int size) {
    m_rcBorderSize.right = size;
    Invalidate();
}

int CControlUI::GetBottomBorderSize() const {
    return m_rcBorderSize.bottom;
}

void CControlUI::SetBottomBorderSize(int size) {
    m_rcBorderSize.bottom = size;
    Invalidate();
}

int CControlUI::GetBorderStyle() const {
    return m_nBorderStyle;
}

void CControlUI::SetBorderStyle(int style) {
    m_nBorderStyle = style;
    Invalidate();
}

SIZE CControlUI::GetBorderRound() const {
    return m_cxyBorderRound;
}

void CControlUI::SetBorderRound(SIZE round) {
    m_cxyBorderRound = round;
    Invalidate();
}

} // namespace SkinUI
