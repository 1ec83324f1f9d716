#include "control/LabelUI.h"

#include <cwchar>

#include <gdiplus.h>

#include "control/AttributeValue.h"
#include "render/RenderEngine.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

CLabelUI::CLabelUI() = default;

// The GDI+ session, if any, ends with the label.
CLabelUI::~CLabelUI() = default;

const wchar_t* CLabelUI::GetClass() const {
    return L"LabelUI";
}

void* CLabelUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"Label") == 0) return this;
    return CControlUI::GetInterface(name);
}

CSkinString CLabelUI::GetText() const {
    return m_bEnabledEffect ? m_sEffectText : CControlUI::GetText();
}

void CLabelUI::SetText(const wchar_t* text) {
    if (m_bEnabledEffect)
        m_sEffectText = text;
    else
        CControlUI::SetText(text);
}

UINT CLabelUI::GetTextStyle() const {
    return m_uTextStyle;
}

void CLabelUI::SetTextStyle(UINT style) {
    m_uTextStyle = style;
    Invalidate();
}

DWORD CLabelUI::GetTextColor() const {
    return m_dwTextColor;
}

void CLabelUI::SetTextColor(DWORD color) {
    m_dwTextColor = color;
    Invalidate();
}

DWORD CLabelUI::GetDisabledTextColor() const {
    return m_dwDisabledTextColor;
}

void CLabelUI::SetDisabledTextColor(DWORD color) {
    m_dwDisabledTextColor = color;
    Invalidate();
}

int CLabelUI::GetFont() const {
    return m_iFont;
}

void CLabelUI::SetFont(int index) {
    m_iFont = index;
    Invalidate();
}

RECT CLabelUI::GetTextPadding() const {
    return m_rcTextPadding;
}

void CLabelUI::SetTextPadding(RECT padding) {
    m_rcTextPadding = padding;
    Invalidate();
}

bool CLabelUI::IsShowHtml() const {
    return m_bShowHtml;
}

void CLabelUI::SetShowHtml(bool showHtml) {
    if (m_bShowHtml == showHtml) return;
    m_bShowHtml = showHtml;
    Invalidate();
}

bool CLabelUI::GetEnabledEffect() const {
    return m_bEnabledEffect;
}

void CLabelUI::SetEnabledEffect(bool enabled) {
    m_bEnabledEffect = enabled;
}

int CLabelUI::GetTextRenderingHintAntiAlias() const {
    return m_nTextRenderingHint;
}

void CLabelUI::SetTextRenderingHintAntiAlias(int hint) {
    m_nTextRenderingHint = hint >= 0 && hint <= 5 ? hint : 0;
}

int CLabelUI::GetTransShadow() const {
    return m_nTransShadow;
}

void CLabelUI::SetTransShadow(int alpha) {
    m_nTransShadow = alpha;
}

int CLabelUI::GetTransShadow1() const {
    return m_nTransShadow1;
}

void CLabelUI::SetTransShadow1(int alpha) {
    m_nTransShadow1 = alpha;
}

int CLabelUI::GetTransText() const {
    return m_nTransText;
}

void CLabelUI::SetTransText(int alpha) {
    m_nTransText = alpha;
}

int CLabelUI::GetTransText1() const {
    return m_nTransText1;
}

void CLabelUI::SetTransText1(int alpha) {
    m_nTransText1 = alpha;
}

int CLabelUI::GetTransStroke() const {
    return m_nTransStroke;
}

void CLabelUI::SetTransStroke(int alpha) {
    m_nTransStroke = alpha;
}

int CLabelUI::GetGradientLength() const {
    return m_nGradientLength;
}

void CLabelUI::SetGradientLength(int length) {
    m_nGradientLength = length;
}

int CLabelUI::GetGradientAngle() const {
    return m_nGradientAngle;
}

void CLabelUI::SetGradientAngle(int angle) {
    m_nGradientAngle = angle;
}

bool CLabelUI::GetEnabledStroke() const {
    return m_bEnabledStroke;
}

void CLabelUI::SetEnabledStroke(bool enabled) {
    m_bEnabledStroke = enabled;
}

bool CLabelUI::GetEnabledShadow() const {
    return m_bEnabledShadow;
}

void CLabelUI::SetEnabledShadow(bool enabled) {
    m_bEnabledShadow = enabled;
}

void CLabelUI::SetShadowOffset(int offset, int angle) {
    if (angle > 180 || angle < -180) return;
    int vertical = m_rcItem.top;
    if (angle >= 0)
        vertical -= offset;
    else if (angle >= -179)
        vertical += offset;
    int horizontal = m_rcItem.left;
    if (angle >= -89 && angle <= 90)
        horizontal -= offset;
    else if (angle > 90 || angle < -90)
        horizontal += offset;
    // The shadow moves by the vertical result along x and the horizontal one along y.
    m_ShadowOffset.x = static_cast<float>(vertical);
    m_ShadowOffset.y = static_cast<float>(horizontal);
}

TShadowOffsetUI CLabelUI::GetShadowOffset() const {
    return m_ShadowOffset;
}

DWORD CLabelUI::GetTextColor1() const {
    return m_dwTextColor1;
}

void CLabelUI::SetTextColor1(DWORD color) {
    m_dwTextColor1 = color;
}

DWORD CLabelUI::GetTextShadowColorA() const {
    return m_dwTextShadowColorA;
}

void CLabelUI::SetTextShadowColorA(DWORD color) {
    m_dwTextShadowColorA = color;
}

DWORD CLabelUI::GetTextShadowColorB() const {
    return m_dwTextShadowColorB;
}

void CLabelUI::SetTextShadowColorB(DWORD color) {
    m_dwTextShadowColorB = color;
}

DWORD CLabelUI::GetStrokeColor() const {
    return m_dwStrokeColor;
}

void CLabelUI::SetStrokeColor(DWORD color) {
    m_dwStrokeColor = color;
}

SIZE CLabelUI::EstimateSize(SIZE) {
    if (m_cxyFixed.cy != 0) return m_cxyFixed;
    return SIZE{m_cxyFixed.cx, FontHeight() + 4};
}

void CLabelUI::DoEvent(TEventUI& event) {
    if (event.type == UIEVENT_SETFOCUS) {
        m_bFocused = true;
        return;
    }
    if (event.type == UIEVENT_KILLFOCUS) {
        m_bFocused = false;
        return;
    }
    CControlUI::DoEvent(event);
}

void CLabelUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name == nullptr) return;
    if (value == nullptr) value = L"";
    const auto is = [name](const wchar_t* known) { return wcscmp(name, known) == 0; };
    const auto has = [value](const wchar_t* word) { return wcsstr(value, word) != nullptr; };

    if (is(L"align")) {
        // Each word adjusts what the earlier ones set; "vcenter" also contains "center".
        UINT style = m_uTextStyle;
        if (has(L"left")) style &= ~(DT_CENTER | DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
        if (has(L"center")) {
            style &= ~DT_RIGHT;
            style |= DT_CENTER;
        }
        if (has(L"right")) {
            style &= ~(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            style |= DT_RIGHT;
        }
        if (has(L"top")) {
            style &= ~(DT_BOTTOM | DT_VCENTER);
            style |= DT_SINGLELINE;
        }
        if (has(L"vcenter")) {
            style &= ~DT_BOTTOM;
            style |= DT_VCENTER | DT_SINGLELINE | DT_CENTER;
        }
        if (has(L"bottom")) {
            style &= ~DT_VCENTER;
            style |= DT_BOTTOM | DT_SINGLELINE;
        }
        SetTextStyle(style);
    } else if (is(L"endellipsis")) {
        SetTextStyle(ParseBoolValue(value) ? m_uTextStyle | DT_END_ELLIPSIS
                                           : m_uTextStyle & ~DT_END_ELLIPSIS);
    } else if (is(L"font")) {
        SetFont(ParseIntValue(value));
    } else if (is(L"textcolor")) {
        SetTextColor(ParseColorValueHashOnly(value));
    } else if (is(L"disabledtextcolor")) {
        SetDisabledTextColor(ParseColorValueHashOnly(value));
    } else if (is(L"textpadding")) {
        SetTextPadding(ParseRectValue(value));
    } else if (is(L"showhtml")) {
        SetShowHtml(ParseBoolValue(value));
    } else if (is(L"enabledeffect")) {
        SetEnabledEffect(ParseBoolValue(value));
    } else if (is(L"rhaa")) {
        SetTextRenderingHintAntiAlias(ParseIntValue(value));
    } else if (is(L"transshadow")) {
        SetTransShadow(ParseIntValue(value));
    } else if (is(L"transtext")) {
        SetTransText(ParseIntValue(value));
    } else if (is(L"transshadow1")) {
        SetTransShadow1(ParseIntValue(value));
    } else if (is(L"transtext1")) {
        SetTransText1(ParseIntValue(value));
    } else if (is(L"transstroke")) {
        SetTransStroke(ParseIntValue(value));
    } else if (is(L"gradientangle")) {
        SetGradientAngle(ParseIntValue(value));
    } else if (is(L"gradientlength")) {
        SetGradientLength(ParseIntValue(value));
    } else if (is(L"enabledstroke")) {
        SetEnabledStroke(ParseBoolValue(value));
    } else if (is(L"enabledshadow")) {
        SetEnabledShadow(ParseBoolValue(value));
    } else if (is(L"shadowoffset")) {
        const SIZE offsetAndAngle = ParseSizeValue(value);
        SetShadowOffset(offsetAndAngle.cx, offsetAndAngle.cy);
    } else if (is(L"textcolor1")) {
        SetTextColor1(ParseColorValueHashOnly(value));
    } else if (is(L"textshadowcolora")) {
        SetTextShadowColorA(ParseColorValueHashOnly(value));
    } else if (is(L"textshadowcolorb")) {
        SetTextShadowColorB(ParseColorValueHashOnly(value));
    } else if (is(L"strokecolor")) {
        SetStrokeColor(ParseColorValueHashOnly(value));
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

RECT CLabelUI::TextRect() const {
    RECT textRect = m_rcItem;
    textRect.left += m_rcTextPadding.left;
    textRect.right -= m_rcTextPadding.right;
    textRect.top += m_rcTextPadding.top;
    textRect.bottom -= m_rcTextPadding.bottom;
    return textRect;
}

void CLabelUI::PaintText(HDC hDC) {
    ApplyDefaultTextColors();
    RECT textRect = TextRect();

    if (m_bEnabledEffect) {
        PaintEffectText(hDC, textRect);
        return;
    }
    if (m_sText.IsEmpty()) return;
    const DWORD color = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    DrawLabelText(hDC, textRect, m_sText, color, m_uTextStyle | DT_SINGLELINE);
}

void CLabelUI::PaintEffectText(HDC hDC, const RECT& textRect) {
    if (hDC == nullptr || m_sEffectText.IsEmpty()) return;
    if (!m_gdiplus.Start()) return;
    namespace gp = Gdiplus;
    namespace flat = Gdiplus::DllExports;
    using Brush = CGdiplusObject<gp::GpLineGradient>;

    CGdiplusObject<gp::GpFont> font;
    LOGFONTA logFont{};
    const HFONT labelFont = LabelFontHandle();
    if (labelFont == nullptr || ::GetObjectA(labelFont, sizeof(logFont), &logFont) == 0 ||
        flat::GdipCreateFontFromLogfontA(hDC, &logFont, font.Receive()) != gp::Ok) {
        // What a failed call left behind is no font to free.
        font.Detach();
        if (flat::GdipCreateFontFromDC(hDC, font.Receive()) != gp::Ok) font.Detach();
    }
    CGdiplusObject<gp::GpGraphics> graphics;
    if (flat::GdipCreateFromHDC(hDC, graphics.Receive()) == gp::Ok)
        flat::GdipSetTextRenderingHint(graphics.Get(),
                                       static_cast<gp::TextRenderingHint>(m_nTextRenderingHint));
    CGdiplusObject<gp::GpStringFormat> format;
    if (flat::GdipCreateStringFormat(0, LANG_NEUTRAL, format.Receive()) == gp::Ok) {
        flat::GdipSetStringFormatAlign(format.Get(), gp::StringAlignmentNear);
        flat::GdipSetStringFormatLineAlign(format.Get(), gp::StringAlignmentCenter);
    }

    const int height = textRect.bottom - textRect.top;
    const gp::RectF layout(static_cast<float>(textRect.left), static_cast<float>(textRect.top),
                           static_cast<float>(textRect.right - textRect.left),
                           static_cast<float>(height));
    const gp::RectF shadowLayout(layout.X + m_ShadowOffset.x, layout.Y + m_ShadowOffset.y,
                                 layout.Width, layout.Height);
    const int gradientLength = m_nGradientLength != 0 ? m_nGradientLength : height;
    // Alpha from a transparency, colour from an ARGB value.
    const auto argb = [](int alpha, DWORD color) -> gp::ARGB {
        return (static_cast<gp::ARGB>(alpha & 0xFF) << 24) | (color & 0x00FFFFFF);
    };
    // A gradient brush from (angle, 0) to (0, length); none when GDI+ refuses it (for
    // example when both points coincide).
    const auto gradient = [this](int length, gp::ARGB from, gp::ARGB to) {
        const gp::Point start(m_nGradientAngle, 0);
        const gp::Point end(0, length);
        Brush brush;
        if (flat::GdipCreateLineBrushI(&start, &end, from, to, gp::WrapModeTile, brush.Receive()) !=
            gp::Ok)
            brush.Detach(); // what a failed call left behind is no brush to free
        return brush;
    };
    const DWORD shadowEnd =
        m_dwTextShadowColorB == 0xFFFFFFFF ? m_dwTextShadowColorA : m_dwTextShadowColorB;
    const Brush shadowBrush = gradient(gradientLength, argb(m_nTransShadow, m_dwTextShadowColorA),
                                       argb(m_nTransShadow1, shadowEnd));
    const DWORD textEnd = m_dwTextColor1 == 0xFFFFFFFF ? m_dwTextColor : m_dwTextColor1;
    const Brush textBrush =
        gradient(gradientLength, argb(m_nTransText, m_dwTextColor), argb(m_nTransText1, textEnd));
    Brush strokeBrush;
    if (m_bEnabledStroke && m_dwStrokeColor != 0)
        strokeBrush = gradient(height + 2, argb(m_nTransStroke, m_dwStrokeColor),
                               argb(m_nTransStroke, m_dwStrokeColor));

    if (graphics && font && format) {
        const wchar_t* text = m_sEffectText.GetData();
        const int length = m_sEffectText.GetLength();
        const auto draw = [&](const gp::RectF& where, const Brush& brush) {
            if (brush)
                flat::GdipDrawString(graphics.Get(), text, length, font.Get(), &where, format.Get(),
                                     brush.Get());
        };
        if (strokeBrush) {
            // A one-pixel outline: the text once in each direction around its place.
            const float moves[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
            for (const auto& move : moves)
                draw(gp::RectF(layout.X + move[0], layout.Y + move[1], layout.Width, layout.Height),
                     strokeBrush);
        }
        if (m_bEnabledShadow && (m_dwTextShadowColorA != 0 || m_dwTextShadowColorB != 0))
            draw(shadowLayout, shadowBrush);
        draw(layout, textBrush);
    }
}

void CLabelUI::ApplyDefaultTextColors() {
    if (m_pManager == nullptr) return;
    if (m_dwTextColor == 0) m_dwTextColor = m_pManager->GetDefaultFontColor();
    if (m_dwDisabledTextColor == 0) m_dwDisabledTextColor = m_pManager->GetDefaultDisabledColor();
}

int CLabelUI::FontHeight() const {
    if (m_pManager == nullptr) return 0;
    const TFontInfo* font = m_pManager->GetFontInfo(m_iFont);
    return font != nullptr ? static_cast<int>(font->metrics.tmHeight) : 0;
}

HFONT CLabelUI::LabelFontHandle() const {
    return m_pManager != nullptr ? m_pManager->GetFont(m_iFont) : nullptr;
}

void CLabelUI::DrawLabelText(HDC hDC, RECT& rc, const wchar_t* text, DWORD color, UINT style,
                             RECT* links, CSkinString* targets, int* linkCount) {
    if (m_bShowHtml) {
        int count = linkCount != nullptr ? *linkCount : 0;
        CRenderEngine::DrawHtmlText(hDC, m_pManager, rc, text, color, links, targets, count, style);
        if (linkCount != nullptr) *linkCount = count;
        return;
    }
    if (linkCount != nullptr) *linkCount = 0;
    CRenderEngine::DrawTextW(hDC, m_pManager, rc, text, color, m_iFont, style);
}

void CLabelUI::FillPaintRect(HDC hDC, DWORD color) {
    CRenderEngine::DrawColor(hDC, m_rcPaint, GetAdjustColor(color));
}

} // namespace SkinUI
