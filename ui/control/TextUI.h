// A label for wrapped, multi-line text that reports clicks on the links of its HTML-like
// text.
#pragma once

#include <windows.h>

#include "control/LabelUI.h"
#include "core/SkinString.h"

namespace SkinUI {

class CTextUI : public CLabelUI {
public:
    /// The most links a text reports.
    static constexpr int kMaxLinks = 8;

    CTextUI();

    /// "TextUI".
    const wchar_t* GetClass() const override;
    /// This text for "Text", else the label's answer.
    void* GetInterface(const wchar_t* name) override;
    /// Sets its own cursor while enabled and holding links.
    UINT GetControlFlags() const override;

    /// The target of a link of the last paint, or null outside 0..count-1.
    CSkinString* GetLinkContent(int index);

    /// The size of the wrapped text in the available width (or the fixed width, if wider),
    /// padding included; a fixed height wins.
    SIZE EstimateSize(SIZE available) override;
    /// Link hit testing: hand cursor, hover, and "link" (wParam = index) on release.
    void DoEvent(TEventUI& event) override;
    /// Wrapped text; the links of HTML-like text are recorded for hit testing.
    void PaintText(HDC hDC) override;

protected:
    /// Index of the first link whose rectangle holds the point, or -1.
    int LinkAt(POINT point) const;

    int m_nLinks = 0;
    RECT m_rcLinks[kMaxLinks]{};
    CSkinString m_sLinks[kMaxLinks];
    int m_nHoverLink = -1;
};

} // namespace SkinUI
