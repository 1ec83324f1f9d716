#include "control/VerticalLayoutUI.h"

#include <cwchar>

#include "control/AttributeValue.h"
#include "control/Axis.h"

namespace SkinUI {

CVerticalLayoutUI::CVerticalLayoutUI() : m_separator(*this, m_rcItem, m_cxyFixed, kVertical) {}

const wchar_t* CVerticalLayoutUI::GetClass() const {
    return L"VerticalLayoutUI";
}

void* CVerticalLayoutUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"VerticalLayout") == 0) return this;
    return CContainerUI::GetInterface(name);
}

UINT CVerticalLayoutUI::GetControlFlags() const {
    return IsEnabled() && m_separator.GetSize() != 0 ? UIFLAG_SETCURSOR : 0;
}

void CVerticalLayoutUI::SetSepHeight(int height) {
    m_separator.SetSize(height);
}

int CVerticalLayoutUI::GetSepHeight() const {
    return m_separator.GetSize();
}

void CVerticalLayoutUI::SetSepImmMode(bool immediate) {
    m_separator.SetImmediateMode(immediate);
}

bool CVerticalLayoutUI::IsSepImmMode() const {
    return m_separator.IsImmediateMode();
}

RECT CVerticalLayoutUI::GetThumbRect(bool newPosition) const {
    return m_separator.GetThumbRect(newPosition);
}

void CVerticalLayoutUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    m_separator.ManagerChanging(manager);
    CContainerUI::SetManager(manager, parent, init);
}

void CVerticalLayoutUI::SetPos(RECT rect) {
    CControlUI::SetPos(rect);
    StackChildren(kVertical);
}

void CVerticalLayoutUI::DoEvent(TEventUI& event) {
    if (m_separator.DoEvent(event)) return;
    CContainerUI::DoEvent(event);
}

void CVerticalLayoutUI::DoPostPaint(HDC hDC, const RECT&) {
    m_separator.DoPostPaint(hDC);
}

void CVerticalLayoutUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name != nullptr && wcscmp(name, L"sepheight") == 0)
        SetSepHeight(ParseIntValue(value));
    else if (name != nullptr && wcscmp(name, L"sepimm") == 0)
        SetSepImmMode(ParseBoolValue(value));
    else
        CContainerUI::SetAttribute(name, value);
}

} // namespace SkinUI
