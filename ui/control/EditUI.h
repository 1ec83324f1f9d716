// A single-line text input. Unfocused it paints like a label (state image, then the text,
// masked in password mode); focused it lays a native edit window (CEditWnd) over its text
// area, takes every change of that window's text and reports it, and paints again itself
// once the native window has closed on losing the focus.
#pragma once

#include <windows.h>

#include "control/LabelUI.h"
#include "core/SkinString.h"

namespace SkinUI {

class CEditWnd;
template <typename TOwner> class COwnedNativeWnd;

class CEditUI : public CLabelUI {
public:
    /// 255 characters at most, text padding 4,3,4,3, an opaque white background.
    CEditUI();
    /// Closes a native window that is still open: it never outlives the control.
    ~CEditUI() override;

    /// "EditUI".
    const wchar_t* GetClass() const override;
    /// This control for "Edit", else the label's answer.
    void* GetInterface(const wchar_t* name) override;
    /// A tab stop that sets its own cursor while enabled; nothing while disabled.
    UINT GetControlFlags() const override;

    /// Disabling also clears the hot, focused and disabled state.
    void SetEnabled(bool enabled = true) override;
    /// Stores the text and puts it into the native window while one is open.
    void SetText(const wchar_t* text) override;

    /// Most characters the native window accepts.
    UINT GetMaxChar() const;
    void SetMaxChar(UINT count);
    bool IsReadOnly() const;
    void SetReadOnly(bool readOnly);
    /// Masks the text with the password character; an open native window keeps its mode.
    bool IsPasswordMode() const;
    void SetPasswordMode(bool password);
    wchar_t GetPasswordChar() const;
    void SetPasswordChar(wchar_t ch);
    /// Only digits can be typed: ES_NUMBER in the styles of the next native window.
    bool IsNumberOnly() const;
    void SetNumberOnly(bool numberOnly);
    /// Window style bits added to the native window.
    int GetWindowStyls() const;
    /// Background of the native window; 0xFFFFFFFF leaves the platform's colours.
    DWORD GetNativeEditBkColor() const;
    void SetNativeEditBkColor(DWORD color);

    // Selection and replacement in the open native window; nothing without one.
    void SetSel(long start, long end);
    void SetSelAll();
    void SetReplaceSel(const wchar_t* text);

    // State images (image attribute strings); each setter repaints.
    const CSkinString& GetNormalImage() const;
    void SetNormalImage(const wchar_t* image);
    const CSkinString& GetHotImage() const;
    void SetHotImage(const wchar_t* image);
    const CSkinString& GetFocusedImage() const;
    void SetFocusedImage(const wchar_t* image);
    const CSkinString& GetDisabledImage() const;
    void SetDisabledImage(const wchar_t* image);

    /// Moves an open native window along with the control.
    void SetPos(RECT rect) override;
    /// Hiding the control closes an open native window.
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;
    /// The fixed size; without a fixed height, the font's height plus 6.
    SIZE EstimateSize(SIZE available) override;
    /// Opens the native window on focus and on clicks, selecting all of its text.
    void DoEvent(TEventUI& event) override;
    /// "readonly", "numberonly", "password", "maxchar", the state images, "nativebkcolor";
    /// others as the label.
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;
    /// The image of the current state: disabled, focused or hot, else the normal one.
    void PaintStatusImage(HDC hDC) override;
    /// The text, or one password character per character of it.
    void PaintText(HDC hDC) override;

private:
    friend class CEditWnd;
    friend class COwnedNativeWnd<CEditUI>;

    /// Opens the native window over the text area and gives it the focus.
    void OpenEditWindow();
    /// Hides an open native window and lets it close.
    void CloseEditWindow();
    /// Selects all text of the open native window (at least one character).
    void SelectAllNative();
    /// Draws an image if it is set; one that cannot be drawn is emptied. True when drawn.
    bool DrawStateImage(HDC hDC, CSkinString& image);

    CEditWnd* m_pWindow = nullptr; ///< owned by the native window while it is open
    UINT m_uMaxChar = 255;
    bool m_bReadOnly = false;
    bool m_bPasswordMode = false;
    wchar_t m_cPasswordChar = L'*';
    UINT m_uButtonState = 0;
    CSkinString m_sNormalImage;
    CSkinString m_sHotImage;
    CSkinString m_sFocusedImage;
    CSkinString m_sDisabledImage;
    DWORD m_dwEditbkColor = 0xFFFFFFFF;
    int m_iWindowStyls = 0;
};

} // namespace SkinUI
