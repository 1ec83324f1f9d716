// A combo that draws its state as one frame of an arrow strip: five frames side by side
// (normal, hot, pushed, focused, disabled), the frame of the current state drawn at the
// combo's right edge, with the selected item's text to its left.
#pragma once

#include <windows.h>

#include "control/ComboUI.h"
#include "core/SkinString.h"

namespace SkinUI {

class CComboBoxUI : public CComboUI {
public:
    CComboBoxUI();

    /// "ComboBoxUI".
    const wchar_t* GetClass() const override;

    /// Image string of the arrow strip; it names its strip with a "source" item.
    const CSkinString& GetArrowImage() const;
    void SetArrowImage(const wchar_t* image);
    /// Width of one arrow frame, as measured at the last paint.
    int GetArrowFrameWidth() const;

    /// "arrowimage"; others as the combo.
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;
    /// The arrow frame of the current state; the combo's images without an arrow strip.
    void PaintStatusImage(HDC hDC) override;
    /// The combo's text, left of the arrow.
    void PaintText(HDC hDC) override;

private:
    CSkinString m_sArrowImage;
    int m_nArrowWidth = 0;
};

} // namespace SkinUI
