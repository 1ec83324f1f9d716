// The native edit window a focused CEditUI lays over its text area: it carries the
// control's font, colours, limits and modes, copies each change of its text back into the
// control with "textchanged", sends "return" on Enter, and closes itself when it loses the
// focus. It owns itself: the object goes with the window.
#pragma once

#include <windows.h>

#include "core/Handles.h"
#include "control/OwnedNativeWnd.h"
#include "core/SkinString.h"

namespace SkinUI {

class CEditUI;

class CEditWnd : public COwnedNativeWnd<CEditUI> {
public:
    CEditWnd() = default;

    /// Creates the native window over the owner's text area, set up from the owner, shown
    /// and focused. False when it cannot be made: the object is then gone and the owner's
    /// pointer to it cleared.
    bool Init(CEditUI* owner);
    /// The owner's text area in client coordinates, narrowed to one line of its font.
    RECT CalPos() const;

protected:
    /// "EditWnd".
    const wchar_t* GetWndClassName() const override;
    /// The platform's "Edit".
    const wchar_t* GetSuperClassName() const override;
    void SetUp(CEditUI& owner, CPaintManagerUI& manager) override;
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    /// The native text, read past the password guard of HandleMessage.
    CSkinString NativeText() const;

    CGdiBrush m_hBkBrush; ///< the native background colour, made on first use
};

} // namespace SkinUI
