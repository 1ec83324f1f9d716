#include "control/ComboBoxUI.h"

#include <cwchar>

#include "control/ButtonUI.h"
#include "core/NumberList.h"

namespace SkinUI {

namespace {

// Frames of the arrow strip, left to right.
constexpr int kArrowFrames = 5;

int ArrowFrame(UINT state) {
    if ((state & UISTATE_DISABLED) != 0) return 4;
    if ((state & UISTATE_PUSHED) != 0) return 2;
    if ((state & UISTATE_HOT) != 0) return 1;
    if ((state & UISTATE_FOCUSED) != 0) return 3;
    return 0;
}

} // namespace

CComboBoxUI::CComboBoxUI() = default;

const wchar_t* CComboBoxUI::GetClass() const {
    return L"ComboBoxUI";
}

const CSkinString& CComboBoxUI::GetArrowImage() const {
    return m_sArrowImage;
}

void CComboBoxUI::SetArrowImage(const wchar_t* image) {
    m_sArrowImage = image;
    Invalidate();
}

int CComboBoxUI::GetArrowFrameWidth() const {
    return m_nArrowWidth;
}

void CComboBoxUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name != nullptr && wcscmp(name, L"arrowimage") == 0)
        SetArrowImage(value);
    else
        CComboUI::SetAttribute(name, value);
}

void CComboBoxUI::PaintStatusImage(HDC hDC) {
    if (m_sArrowImage.IsEmpty()) {
        CComboUI::PaintStatusImage(hDC);
        return;
    }
    // The strip is the "source" item: without one there is no frame to cut.
    const int start = m_sArrowImage.Find(L"source='");
    const int valueStart = start + 8;
    const int end = start >= 0 ? m_sArrowImage.Find(L'\'', valueStart) : -1;
    if (end < 0) {
        CComboUI::PaintStatusImage(hDC);
        return;
    }
    RefreshStateBits();
    int strip[4] = {};
    ReadNumberList(m_sArrowImage.Mid(valueStart, end - valueStart), strip, 4);
    m_nArrowWidth = (strip[2] - strip[0]) / kArrowFrames;
    if (m_nArrowWidth < 0) m_nArrowWidth = 0;
    const int left = strip[0] + ArrowFrame(m_uButtonState) * m_nArrowWidth;
    const RECT source{left, strip[1], left + m_nArrowWidth, strip[3]};

    // The rightmost frame-width columns inside the border, relative to the combo.
    const int border = GetBorderSize();
    const RECT dest{m_rcItem.right - m_rcItem.left - border - m_nArrowWidth, border,
                    m_rcItem.right - m_rcItem.left - border,
                    m_rcItem.bottom - m_rcItem.top - border};
    CSkinString frame;
    frame.SmallFormat(L"source='%d,%d,%d,%d' dest='%d,%d,%d,%d'", source.left, source.top,
                      source.right, source.bottom, dest.left, dest.top, dest.right, dest.bottom);
    const CSkinString image = m_sArrowImage.Left(start) + frame + m_sArrowImage.Mid(end + 1);
    DrawImage(hDC, image);
}

void CComboBoxUI::PaintText(HDC hDC) {
    RECT text{m_rcItem.left + m_rcTextPadding.left, m_rcItem.top + m_rcTextPadding.top,
              m_rcItem.right - m_rcTextPadding.right, m_rcItem.bottom - m_rcTextPadding.bottom};
    text.right -= m_nArrowWidth;
    PaintSelectedText(hDC, text);
}

} // namespace SkinUI
