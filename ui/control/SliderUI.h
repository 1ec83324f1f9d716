// A progress bar with a thumb that the pointer drags and the wheel steps: the value
// follows the thumb, and "valuechanged" tells the application when a press ends or the
// wheel turns. Horizontal and vertical sliders are one code path over an axis.
#pragma once

#include <windows.h>

#include "control/ProgressUI.h"
#include "core/SkinString.h"

namespace SkinUI {

class CSliderUI : public CProgressUI {
public:
    /// Step 1, a 10 by 10 thumb.
    CSliderUI();

    /// "SliderUI".
    const wchar_t* GetClass() const override;
    /// This control for "Slider", else the progress bar's answer.
    void* GetInterface(const wchar_t* name) override;
    /// Sets its own cursor while enabled.
    UINT GetControlFlags() const override;
    /// Disabling also clears the hot and captured state.
    void SetEnabled(bool enabled = true) override;

    /// How far one wheel notch moves the value.
    int GetChangeStep() const;
    void SetChangeStep(int step);
    /// Thumb width and height; negative sizes count as 0.
    SIZE GetThumbSize() const;
    void SetThumbSize(SIZE size);
    /// Where the thumb is for the current value, in window client coordinates.
    RECT GetThumbRect() const;
    /// UISTATE_HOT and UISTATE_CAPTURED bits.
    UINT GetButtonState() const;

    // Thumb images (image attribute strings); each setter repaints.
    const CSkinString& GetThumbImage() const;
    void SetThumbImage(const wchar_t* image);
    const CSkinString& GetThumbHotImage() const;
    void SetThumbHotImage(const wchar_t* image);
    const CSkinString& GetThumbPushedImage() const;
    void SetThumbPushedImage(const wchar_t* image);

    /// Thumb drags, clicks on the track, the wheel and hot tracking.
    void DoEvent(TEventUI& event) override;
    /// "thumbimage", "thumbhotimage", "thumbpushedimage", "thumbsize", "step"; others as
    /// the progress bar.
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;
    /// The bar, then the thumb in the image of its state.
    void PaintStatusImage(HDC hDC) override;

private:
    /// The thumb's length along the value's axis and its breadth across it, at least 0.
    long long ThumbAlong() const;
    long long ThumbAcross() const;
    /// The value a pointer position stands for; the ends of the track within half a
    /// thumb give the minimum and the maximum.
    int ValueAt(POINT point) const;
    /// Draws an image if it is set; one that cannot be drawn is emptied. True when drawn.
    bool DrawThumbImage(HDC hDC, CSkinString& image);

    UINT m_uButtonState = 0;
    int m_nStep = 1;
    SIZE m_szThumb{10, 10};
    CSkinString m_sThumbImage;
    CSkinString m_sThumbHotImage;
    CSkinString m_sThumbPushedImage;
    CSkinString m_sThumbModify; ///< the destination of the last paint
};

} // namespace SkinUI
