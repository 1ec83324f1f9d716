#include "control/HorizontalLayoutUI.h"

#include <cwchar>

#include "control/AttributeValue.h"
#include "control/Axis.h"

namespace SkinUI {

CHorizontalLayoutUI::CHorizontalLayoutUI()
    : m_separator(*this, m_rcItem, m_cxyFixed, kHorizontal) {}

const wchar_t* CHorizontalLayoutUI::GetClass() const {
    return L"HorizontalLayoutUI";
}

void* CHorizontalLayoutUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"HorizontalLayout") == 0) return this;
    return CContainerUI::GetInterface(name);
}

UINT CHorizontalLayoutUI::GetControlFlags() const {
    return IsEnabled() && m_separator.GetSize() != 0 ? UIFLAG_SETCURSOR : 0;
}

void CHorizontalLayoutUI::SetSepWidth(int width) {
    m_separator.SetSize(width);
}

int CHorizontalLayoutUI::GetSepWidth() const {
    return m_separator.GetSize();
}

void CHorizontalLayoutUI::SetSepImmMode(bool immediate) {
    m_separator.SetImmediateMode(immediate);
}

bool CHorizontalLayoutUI::IsSepImmMode() const {
    return m_separator.IsImmediateMode();
}

RECT CHorizontalLayoutUI::GetThumbRect(bool newPosition) const {
    return m_separator.GetThumbRect(newPosition);
}

void CHorizontalLayoutUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    m_separator.ManagerChanging(manager);
    CContainerUI::SetManager(manager, parent, init);
}

void CHorizontalLayoutUI::SetPos(RECT rect) {
    CControlUI::SetPos(rect);
    StackChildren(kHorizontal);
}

void CHorizontalLayoutUI::DoEvent(TEventUI& event) {
    if (m_separator.DoEvent(event)) return;
    CContainerUI::DoEvent(event);
}

void CHorizontalLayoutUI::DoPostPaint(HDC hDC, const RECT&) {
    m_separator.DoPostPaint(hDC);
}

void CHorizontalLayoutUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name != nullptr && wcscmp(name, L"sepwidth") == 0)
        SetSepWidth(ParseIntValue(value));
    else if (name != nullptr && wcscmp(name, L"sepimm") == 0)
        SetSepImmMode(ParseBoolValue(value));
    else
        CContainerUI::SetAttribute(name, value);
}

} // namespace SkinUI
