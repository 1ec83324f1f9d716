#include "control/ScrollBarUI.h"

#include <cwchar>

#include "control/AttributeValue.h"
#include "control/ContainerUI.h"

namespace SkinUI {

namespace {
constexpr int kDefaultThickness = 16;
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

void CScrollBarUI::SetVisible(bool visible) {
    if (m_bVisible == visible) return;
    m_bVisible = visible;
    m_bFocused = false;
}

void CScrollBarUI::SetFocus() {
    if (m_pOwner != nullptr)
        m_pOwner->SetFocus();
    else
        CControlUI::SetFocus();
}

void CScrollBarUI::DoEvent(TEventUI& event) {
    if (event.type == UIEVENT_SETFOCUS || event.type == UIEVENT_KILLFOCUS ||
        event.type == UIEVENT_CONTEXTMENU)
        return;
    if (m_pOwner != nullptr)
        m_pOwner->DoEvent(event);
    else
        CControlUI::DoEvent(event);
}

void CScrollBarUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name == nullptr) return;
    if (value == nullptr) value = L"";
    if (wcscmp(name, L"hor") == 0)
        SetHorizontal(ParseBoolValue(value));
    else if (wcscmp(name, L"linesize") == 0)
        SetLineSize(ParseIntValue(value));
    else if (wcscmp(name, L"range") == 0)
        SetScrollRange(ParseIntValue(value));
    else if (wcscmp(name, L"value") == 0)
        SetScrollPos(ParseIntValue(value));
    else
        CControlUI::SetAttribute(name, value);
}

} // namespace SkinUI
