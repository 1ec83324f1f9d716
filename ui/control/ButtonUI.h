// A label that the pointer and the keyboard can press: state images and state text
// colours, and the "click" notification.
#pragma once

#include <windows.h>

#include "control/LabelUI.h"
#include "core/SkinString.h"

namespace SkinUI {

// Button state bits.
constexpr UINT UISTATE_FOCUSED = 0x01;  ///< refreshed from IsFocused at each paint
constexpr UINT UISTATE_SELECTED = 0x02; ///< option selected
constexpr UINT UISTATE_DISABLED = 0x04; ///< refreshed from IsEnabled at each paint
constexpr UINT UISTATE_HOT = 0x08;      ///< pointer inside
constexpr UINT UISTATE_PUSHED = 0x10;   ///< pressed and the pointer inside
constexpr UINT UISTATE_CAPTURED = 0x40; ///< pressed, pointer captured

class CButtonUI : public CLabelUI {
public:
    CButtonUI();

    /// "ButtonUI".
    const wchar_t* GetClass() const override;
    /// This button for "Button", else the label's answer.
    void* GetInterface(const wchar_t* name) override;
    /// A tab stop while keyboard-enabled; sets the hand cursor while enabled.
    UINT GetControlFlags() const override;

    /// Sends "click" when visible and enabled.
    bool Activate() override;
    /// Disabling also clears the button state.
    void SetEnabled(bool enabled = true) override;
    /// UISTATE_* bits.
    UINT GetButtonState() const;

    // State images (image attribute strings); each setter repaints.
    const CSkinString& GetNormalImage() const;
    void SetNormalImage(const wchar_t* image);
    const CSkinString& GetHotImage() const;
    void SetHotImage(const wchar_t* image);
    /// Drawn over the hot image instead of the fore image.
    const CSkinString& GetHotForeImage() const;
    void SetHotForeImage(const wchar_t* image);
    const CSkinString& GetPushedImage() const;
    void SetPushedImage(const wchar_t* image);
    const CSkinString& GetFocusedImage() const;
    void SetFocusedImage(const wchar_t* image);
    const CSkinString& GetDisabledImage() const;
    void SetDisabledImage(const wchar_t* image);
    /// Drawn over every state image.
    const CSkinString& GetForeImage() const;
    void SetForeImage(const wchar_t* image);

    // State colours; stored without a repaint. 0 means none.
    /// Fills the button while hot when there is no hot image.
    DWORD GetHotBkColor() const;
    void SetHotBkColor(DWORD color);
    DWORD GetHotTextColor() const;
    void SetHotTextColor(DWORD color);
    DWORD GetPushedTextColor() const;
    void SetPushedTextColor(DWORD color);
    DWORD GetFocusedTextColor() const;
    void SetFocusedTextColor(DWORD color);

    /// The fixed size; without a fixed height, the font's height plus 8.
    SIZE EstimateSize(SIZE available) override;
    /// Pressing, dragging and releasing, hot tracking, keys and the context menu.
    void DoEvent(TEventUI& event) override;
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;
    /// The image of the current state, then the fore image.
    void PaintStatusImage(HDC hDC) override;
    /// The text in the colour of the current state.
    void PaintText(HDC hDC) override;

protected:
    /// Sets the focused and disabled bits from the control's state.
    void RefreshStateBits();
    /// Draws an image string if it is set; a string whose drawing fails is emptied.
    /// True when the image was drawn.
    bool DrawStateImage(HDC hDC, CSkinString& image);

    UINT m_uButtonState = 0;
    DWORD m_dwHotBkColor = 0;
    DWORD m_dwHotTextColor = 0;
    DWORD m_dwPushedTextColor = 0;
    DWORD m_dwFocusedTextColor = 0;
    CSkinString m_sNormalImage;
    CSkinString m_sHotImage;
    CSkinString m_sHotForeImage;
    CSkinString m_sPushedImage;
    CSkinString m_sFocusedImage;
    CSkinString m_sDisabledImage;
    CSkinString m_sForeImage;
};

} // namespace SkinUI
