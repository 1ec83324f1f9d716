#include "control/OptionUI.h"

#include <cwchar>

#include "control/AttributeValue.h"
#include "core/StdPtrArray.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

COptionUI::COptionUI() = default;

COptionUI::~COptionUI() {
    // The group list must never answer an option that is gone.
    LeaveGroup();
}

const wchar_t* COptionUI::GetClass() const {
    return L"OptionUI";
}

void* COptionUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"Option") == 0) return this;
    return CButtonUI::GetInterface(name);
}

void COptionUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    // The skin builder attaches, sets "group", detaches and attaches again later; a
    // membership left in a manager the option no longer belongs to would dangle once the
    // option is deleted.
    if (manager != m_pManager) LeaveGroup();
    CButtonUI::SetManager(manager, parent, init);
    JoinGroup();
}

void COptionUI::JoinGroup() {
    if (m_pManager != nullptr && !m_sGroupName.IsEmpty())
        m_pManager->AddOptionGroup(m_sGroupName, this);
}

void COptionUI::LeaveGroup() {
    if (m_pManager != nullptr && !m_sGroupName.IsEmpty())
        m_pManager->RemoveOptionGroup(m_sGroupName, this);
}

const CSkinString& COptionUI::GetGroup() const {
    return m_sGroupName;
}

void COptionUI::SetGroup(const wchar_t* group) {
    if (group == nullptr) group = L"";
    if (m_sGroupName == group) return;
    LeaveGroup();
    m_sGroupName = group;
    JoinGroup();
}

bool COptionUI::IsSelected() const {
    return m_bSelected;
}

void COptionUI::Selected(bool selected) {
    if (m_bSelected == selected) return;
    m_bSelected = selected;
    if (selected)
        m_uButtonState |= UISTATE_SELECTED;
    else
        m_uButtonState &= ~UISTATE_SELECTED;

    if (m_pManager != nullptr) {
        if (m_sGroupName.IsEmpty()) {
            SendNotify(NotifyType::kSelectChanged);
        } else if (selected) {
            if (CStdPtrArray* group = m_pManager->GetOptionGroup(m_sGroupName)) {
                for (int i = 0; i < group->GetSize(); ++i) {
                    auto* member = static_cast<CControlUI*>(group->GetAt(i));
                    if (member == this || member == nullptr) continue;
                    if (auto* option = static_cast<COptionUI*>(member->GetInterface(L"Option")))
                        option->Selected(false);
                }
            }
            SendNotify(NotifyType::kSelectChanged);
        }
    }
    Invalidate();
}

bool COptionUI::Activate() {
    if (!CButtonUI::Activate()) return false;
    Selected(m_sGroupName.IsEmpty() ? !m_bSelected : true);
    return true;
}

void COptionUI::SetEnabled(bool enabled) {
    CButtonUI::SetEnabled(enabled);
    if (!IsEnabled()) m_uButtonState = m_bSelected ? UISTATE_SELECTED : 0;
}

const CSkinString& COptionUI::GetSelectedImage() const {
    return m_sSelectedImage;
}

void COptionUI::SetSelectedImage(const wchar_t* image) {
    m_sSelectedImage = image;
    Invalidate();
}

const CSkinString& COptionUI::GetSelectedHotImage() const {
    return m_sSelectedHotImage;
}

void COptionUI::SetSelectedHotImage(const wchar_t* image) {
    m_sSelectedHotImage = image;
    Invalidate();
}

const CSkinString& COptionUI::GetForeImage() const {
    return m_sOptionForeImage;
}

void COptionUI::SetForeImage(const wchar_t* image) {
    m_sOptionForeImage = image;
    Invalidate();
}

DWORD COptionUI::GetSelectedBkColor() const {
    return m_dwSelectedBkColor;
}

void COptionUI::SetSelectedBkColor(DWORD color) {
    m_dwSelectedBkColor = color;
}

void COptionUI::SetSelectedTextColor(DWORD color) {
    m_dwSelectedTextColor = color;
}

void COptionUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name == nullptr) return;
    if (value == nullptr) value = L"";
    const auto is = [name](const wchar_t* known) { return wcscmp(name, known) == 0; };

    if (is(L"group"))
        SetGroup(value);
    else if (is(L"selected"))
        Selected(ParseBoolValue(value));
    else if (is(L"selectedimage"))
        SetSelectedImage(value);
    else if (is(L"selectedhotimage"))
        SetSelectedHotImage(value);
    else if (is(L"foreimage"))
        SetForeImage(value);
    else if (is(L"selectedbkcolor"))
        SetSelectedBkColor(ParseColorValueHashOnly(value));
    else if (is(L"selectedtextcolor"))
        SetSelectedTextColor(ParseColorValueHashOnly(value));
    else
        CButtonUI::SetAttribute(name, value);
}

void COptionUI::PaintStatusImage(HDC hDC) {
    m_uButtonState &= ~UISTATE_PUSHED;
    const bool selected = (m_uButtonState & UISTATE_SELECTED) != 0;
    if ((m_uButtonState & UISTATE_HOT) != 0 && selected && !m_sSelectedHotImage.IsEmpty()) {
        if (!DrawStateImage(hDC, m_sSelectedHotImage)) CButtonUI::PaintStatusImage(hDC);
    } else if (selected) {
        if (!m_sSelectedImage.IsEmpty()) {
            if (!DrawStateImage(hDC, m_sSelectedImage)) CButtonUI::PaintStatusImage(hDC);
        } else if (m_dwSelectedBkColor != 0) {
            FillPaintRect(hDC, m_dwSelectedBkColor);
            return;
        } else {
            CButtonUI::PaintStatusImage(hDC);
        }
    } else {
        CButtonUI::PaintStatusImage(hDC);
    }
    DrawStateImage(hDC, m_sOptionForeImage);
}

void COptionUI::PaintText(HDC hDC) {
    if ((m_uButtonState & UISTATE_SELECTED) == 0) {
        CButtonUI::PaintText(hDC);
        return;
    }
    const DWORD textColor = m_dwTextColor;
    if (m_dwSelectedTextColor != 0) m_dwTextColor = m_dwSelectedTextColor;
    ApplyDefaultTextColors();
    if (!m_sText.IsEmpty()) {
        RECT textRect = TextRect();
        DrawLabelText(hDC, textRect, m_sText, IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor,
                      m_uTextStyle);
    }
    m_dwTextColor = textColor;
}

DWORD COptionUI::GetSelectedTextColor() {
    if (m_dwSelectedTextColor == 0 && m_pManager != nullptr)
        m_dwSelectedTextColor = m_pManager->GetDefaultFontColor();
    return m_dwSelectedTextColor;
}

} // namespace SkinUI
