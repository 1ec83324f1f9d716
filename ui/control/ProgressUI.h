// A label that shows a value between a minimum and a maximum as a partly drawn fore
// image: growing from the left when horizontal, from the bottom when vertical. Both
// orientations are one code path over an axis.
#pragma once

#include <windows.h>

#include "control/LabelUI.h"
#include "core/SkinString.h"

namespace SkinUI {

class Axis;

class CProgressUI : public CLabelUI {
public:
    /// Horizontal, 0 to 100 at 0, 12 pixels high, text centred on one line.
    CProgressUI();

    /// "ProgressUI".
    const wchar_t* GetClass() const override;
    /// This control for "Progress", else the label's answer.
    void* GetInterface(const wchar_t* name) override;

    bool IsHorizontal() const;
    void SetHorizontal(bool horizontal = true);
    /// Whether the whole fore image is squeezed into the bar, or the bar shows the part of
    /// an image as large as the control that it covers.
    bool IsStretchForeImage() const;
    void SetStretchForeImage(bool stretch = true);
    // The range and the value are stored as given; painting brings them into order.
    int GetMinValue() const;
    void SetMinValue(int value);
    int GetMaxValue() const;
    void SetMaxValue(int value);
    int GetValue() const;
    void SetValue(int value);
    /// Image attribute string of the bar.
    const CSkinString& GetForeImage() const;
    void SetForeImage(const wchar_t* image);

    /// "foreimage", "hor", "min", "max", "value", "isstretchfore"; others as the label.
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;
    /// Brings the stored range and value into order, then draws the fore image to the value.
    void PaintStatusImage(HDC hDC) override;

protected:
    /// The range and value in order, without storing them: a range that is empty or
    /// reversed counts as one step above the minimum, and the value lies within it.
    struct Span {
        long long minimum;
        long long maximum;
        long long value;
        /// Maximum less minimum, at least 1.
        long long Range() const { return maximum - minimum; }
        /// Value less minimum, 0..Range().
        long long Done() const { return value - minimum; }
    };
    Span OrderedSpan() const;

    /// The axis the value runs along.
    Axis Along() const;
    /// Whether the value grows towards the near edge of the axis (upwards): vertical bars.
    bool GrowsTowardsNear() const;
    /// length * part / whole, rounded towards 0, for 0 <= part <= whole and whole > 0,
    /// without overflow for any int-sized inputs.
    static long long Scale(long long length, long long part, long long whole);
    /// The bar, relative to the control's top-left corner.
    RECT BarRect() const;

    bool m_bHorizontal = true;
    bool m_bStretchForeImage = true;
    int m_nMax = 100;
    int m_nMin = 0;
    int m_nValue = 0;
    CSkinString m_sForeImage;
    CSkinString m_sForeImageModify; ///< the destination of the last paint
};

} // namespace SkinUI
