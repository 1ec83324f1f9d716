// A single line of text with alignment, padding, font and colours, optionally as HTML-like
// formatted text, and a second text path drawn through GDI+ with gradient-filled text, a
// drop shadow and a one-pixel outline (the effects).
#pragma once

#include <windows.h>

#include "control/ControlUI.h"
#include "core/Handles.h"
#include "core/SkinString.h"

namespace SkinUI {

/// Where the effect path draws the drop shadow, relative to the text rectangle.
struct TShadowOffsetUI {
    float x = 0.0f;
    float y = 0.0f;
};

class CLabelUI : public CControlUI {
public:
    CLabelUI();
    /// Ends the GDI+ session the effect path started, if any.
    ~CLabelUI() override;

    /// "LabelUI".
    const wchar_t* GetClass() const override;
    /// This label for "Label", else the base's answer.
    void* GetInterface(const wchar_t* name) override;

    /// The effect text while effects are enabled, else the normal text.
    CSkinString GetText() const override;
    /// Sets the effect text (without a repaint) while effects are enabled, else the normal
    /// text.
    void SetText(const wchar_t* text) override;

    /// DrawText format flags (DT_*).
    UINT GetTextStyle() const;
    void SetTextStyle(UINT style);
    /// Text colour; 0 takes the manager's default font colour at paint time.
    DWORD GetTextColor() const;
    void SetTextColor(DWORD color);
    /// Colour of the text while disabled; 0 takes the manager's default disabled colour.
    DWORD GetDisabledTextColor() const;
    void SetDisabledTextColor(DWORD color);
    /// Index into the manager's fonts; -1 (or any index outside them) is the default font.
    int GetFont() const;
    void SetFont(int index);
    /// Margins between the item rectangle and the text.
    RECT GetTextPadding() const;
    void SetTextPadding(RECT padding);
    /// Whether the text is HTML-like formatted text.
    bool IsShowHtml() const;
    void SetShowHtml(bool showHtml = true);

    // The effect path. Its setters only store: the next paint uses the new values.

    /// Draws the effect text through GDI+ instead of the plain text.
    bool GetEnabledEffect() const;
    void SetEnabledEffect(bool enabled);
    /// GDI+ text rendering hint 0..5; anything else becomes 0.
    int GetTextRenderingHintAntiAlias() const;
    void SetTextRenderingHintAntiAlias(int hint);
    /// Alpha (low 8 bits) at the start and at the end of the shadow gradient.
    int GetTransShadow() const;
    void SetTransShadow(int alpha);
    int GetTransShadow1() const;
    void SetTransShadow1(int alpha);
    /// Alpha at the start and at the end of the text gradient.
    int GetTransText() const;
    void SetTransText(int alpha);
    int GetTransText1() const;
    void SetTransText1(int alpha);
    /// Alpha of the outline.
    int GetTransStroke() const;
    void SetTransStroke(int alpha);
    /// Length of the gradients; 0 uses the text rectangle's height.
    int GetGradientLength() const;
    void SetGradientLength(int length);
    /// Horizontal start of the gradients: they run from (angle, 0) to (0, length).
    int GetGradientAngle() const;
    void SetGradientAngle(int angle);
    /// One-pixel outline in the stroke colour.
    bool GetEnabledStroke() const;
    void SetEnabledStroke(bool enabled);
    /// Drop shadow in shadow colours A to B.
    bool GetEnabledShadow() const;
    void SetEnabledShadow(bool enabled);
    /// Places the shadow `offset` pixels away in the direction of `angle` degrees
    /// (-180..180; others are ignored), starting from the control's current left and top.
    void SetShadowOffset(int offset, int angle);
    TShadowOffsetUI GetShadowOffset() const;
    /// End colour of the text gradient; 0xFFFFFFFF uses the text colour.
    DWORD GetTextColor1() const;
    void SetTextColor1(DWORD color);
    /// Start and end colours of the shadow gradient; B 0xFFFFFFFF uses A.
    DWORD GetTextShadowColorA() const;
    void SetTextShadowColorA(DWORD color);
    DWORD GetTextShadowColorB() const;
    void SetTextShadowColorB(DWORD color);
    /// Outline colour; 0 draws no outline.
    DWORD GetStrokeColor() const;
    void SetStrokeColor(DWORD color);

    /// The fixed size; without a fixed height, the font's height plus 4.
    SIZE EstimateSize(SIZE available) override;
    /// Focus changes only set the focused flag; the rest goes to the base.
    void DoEvent(TEventUI& event) override;
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;
    /// Plain or HTML-like text, or the effect text through GDI+.
    void PaintText(HDC hDC) override;

protected:
    /// The item rectangle less the text padding.
    RECT TextRect() const;
    /// Replaces a text colour or disabled colour of 0 by the manager's defaults.
    void ApplyDefaultTextColors();
    /// Height of the label's font as the manager measured it.
    int FontHeight() const;
    /// Draws (or with DT_CALCRECT measures) text into rc: HTML-like text with "showhtml"
    /// (its fonts come from its tags), else plain text in the label's font. Sets *linkCount
    /// (the capacity on entry) to the links recorded into links and targets.
    void DrawLabelText(HDC hDC, RECT& rc, const wchar_t* text, DWORD color, UINT style,
                       RECT* links = nullptr, CSkinString* targets = nullptr,
                       int* linkCount = nullptr);
    /// Fills the part being painted with a colour (through the hue adjustment).
    void FillPaintRect(HDC hDC, DWORD color);
    /// The label's font; null without a manager.
    HFONT LabelFontHandle() const;
    /// The effect text drawn through GDI+ into the text rectangle.
    void PaintEffectText(HDC hDC, const RECT& textRect);

    DWORD m_dwTextColor = 0;
    DWORD m_dwDisabledTextColor = 0;
    int m_iFont = -1;
    UINT m_uTextStyle = DT_VCENTER;
    RECT m_rcTextPadding{};
    bool m_bShowHtml = false;

    int m_nTransShadow = 60;
    int m_nTransShadow1 = 60;
    int m_nTransText = 168;
    int m_nTransText1 = 168;
    int m_nTransStroke = 255;
    int m_nGradientLength = 0;
    int m_nGradientAngle = 0;
    bool m_bEnabledEffect = false;
    bool m_bEnabledStroke = false;
    bool m_bEnabledShadow = false;
    DWORD m_dwTextColor1 = 0xFFFFFFFF;
    DWORD m_dwTextShadowColorA = 0xFF000000;
    DWORD m_dwTextShadowColorB = 0xFFFFFFFF;
    DWORD m_dwStrokeColor = 0;
    TShadowOffsetUI m_ShadowOffset;
    CSkinString m_sEffectText;
    int m_nTextRenderingHint = 0;
    CGdiplusSession m_gdiplus; ///< started on the first paint with effects
};

} // namespace SkinUI
