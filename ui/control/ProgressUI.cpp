#include "control/ProgressUI.h"

#include <climits>
#include <cwchar>

#include "control/AttributeValue.h"
#include "control/Axis.h"
#include "control/LayoutMath.h"

namespace SkinUI {

CProgressUI::CProgressUI() {
    m_uTextStyle = DT_SINGLELINE | DT_CENTER;
    m_cxyFixed.cy = 12;
}

const wchar_t* CProgressUI::GetClass() const {
    return L"ProgressUI";
}

void* CProgressUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"Progress") == 0) return this;
    return CLabelUI::GetInterface(name);
}

bool CProgressUI::IsHorizontal() const {
    return m_bHorizontal;
}

void CProgressUI::SetHorizontal(bool horizontal) {
    if (m_bHorizontal == horizontal) return;
    m_bHorizontal = horizontal;
    Invalidate();
}

bool CProgressUI::IsStretchForeImage() const {
    return m_bStretchForeImage;
}

void CProgressUI::SetStretchForeImage(bool stretch) {
    if (m_bStretchForeImage == stretch) return;
    m_bStretchForeImage = stretch;
    Invalidate();
}

int CProgressUI::GetMinValue() const {
    return m_nMin;
}

void CProgressUI::SetMinValue(int value) {
    m_nMin = value;
    Invalidate();
}

int CProgressUI::GetMaxValue() const {
    return m_nMax;
}

void CProgressUI::SetMaxValue(int value) {
    m_nMax = value;
    Invalidate();
}

int CProgressUI::GetValue() const {
    return m_nValue;
}

void CProgressUI::SetValue(int value) {
    m_nValue = value;
    Invalidate();
}

const CSkinString& CProgressUI::GetForeImage() const {
    return m_sForeImage;
}

void CProgressUI::SetForeImage(const wchar_t* image) {
    if (m_sForeImage == image) return;
    m_sForeImage = image;
    Invalidate();
}

void CProgressUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name == nullptr) return;
    if (value == nullptr) value = L"";
    const auto is = [name](const wchar_t* known) { return wcscmp(name, known) == 0; };
    if (is(L"foreimage"))
        SetForeImage(value);
    else if (is(L"hor"))
        SetHorizontal(ParseBoolValue(value));
    else if (is(L"min"))
        SetMinValue(ParseIntValue(value));
    else if (is(L"max"))
        SetMaxValue(ParseIntValue(value));
    else if (is(L"value"))
        SetValue(ParseIntValue(value));
    else if (is(L"isstretchfore"))
        SetStretchForeImage(ParseBoolValue(value));
    else
        CLabelUI::SetAttribute(name, value);
}

// ---- Geometry

CProgressUI::Span CProgressUI::OrderedSpan() const {
    Span span{m_nMin, m_nMax, m_nValue};
    // An empty range is one step: nothing is ever divided by zero.
    if (span.minimum >= span.maximum) span.maximum = span.minimum + 1;
    if (span.value > span.maximum) span.value = span.maximum;
    if (span.value < span.minimum) span.value = span.minimum;
    return span;
}

Axis CProgressUI::Along() const {
    return Axis(!m_bHorizontal);
}

bool CProgressUI::GrowsTowardsNear() const {
    return !m_bHorizontal;
}

long long CProgressUI::Scale(long long length, long long part, long long whole) {
    if (whole <= 0 || part <= 0) return 0;
    if (part > whole) part = whole;
    // Ranges reach 2^32 and lengths as much: the plain product would need 64 bits and
    // more. Whole multiples of the range first, then the remainder, in unsigned 64 bits.
    const bool negative = length < 0;
    const unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(length)
                                                  : static_cast<unsigned long long>(length);
    const auto p = static_cast<unsigned long long>(part);
    const auto w = static_cast<unsigned long long>(whole);
    const unsigned long long scaled = magnitude / w * p + magnitude % w * p / w;
    const auto result = static_cast<long long>(scaled);
    return negative ? -result : result;
}

RECT CProgressUI::BarRect() const {
    const Axis along = Along();
    const long long extent = along.Extent(m_rcItem);
    const long long across = along.Cross().Extent(m_rcItem);
    const Span span = OrderedSpan();
    if (GrowsTowardsNear())
        return along.Rect(Scale(extent, span.Range() - span.Done(), span.Range()), extent, 0,
                          across);
    return along.Rect(0, Scale(extent, span.Done(), span.Range()), 0, across);
}

// ---- Painting

void CProgressUI::PaintStatusImage(HDC hDC) {
    // What is stored is brought into order too, so that the getters tell what is shown.
    if (m_nMin >= m_nMax) {
        if (m_nMin == INT_MAX) m_nMin = INT_MAX - 1;
        m_nMax = m_nMin + 1;
    }
    if (m_nValue > m_nMax) m_nValue = m_nMax;
    if (m_nValue < m_nMin) m_nValue = m_nMin;

    const RECT bar = BarRect();
    if (m_sForeImage.IsEmpty()) return;
    if (m_bStretchForeImage)
        m_sForeImageModify.Format(L"dest='%d,%d,%d,%d'", bar.left, bar.top, bar.right, bar.bottom);
    else
        m_sForeImageModify.Format(L"dest='%d,%d,%d,%d' source='%d,%d,%d,%d'", bar.left, bar.top,
                                  bar.right, bar.bottom, bar.left, bar.top, bar.right, bar.bottom);
    if (!DrawImage(hDC, m_sForeImage, m_sForeImageModify)) m_sForeImage.Empty();
}

} // namespace SkinUI
