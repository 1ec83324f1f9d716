// The native edit window a focused CEditUI lays over its text area: it carries the
// control's font, colours, limits and modes, copies each change of its text back into the
// control with "textchanged", sends "return" on Enter, and closes itself when it loses the
// focus. It owns itself: the object goes with the window.
#pragma once

#include <windows.h>

#include "core/Handles.h"
#include "core/SkinString.h"
#include "window/WindowWnd.h"

namespace SkinUI {

class CEditUI;

class CEditWnd : public CWindowWnd {
public:
    CEditWnd() = default;

    /// Creates the native window over the owner's text area, set up from the owner, shown
    /// and focused. False when it cannot be made: the object is then gone and the owner's
    /// pointer to it cleared.
    bool Init(CEditUI* owner);
    /// The owner's text area in client coordinates, narrowed to one line of its font.
    RECT CalPos() const;
    /// The owner is going away: forget it and destroy the window (and with it this object).
    void Detach();

protected:
    /// "EditWnd".
    const wchar_t* GetWndClassName() const override;
    /// The platform's "Edit".
    const wchar_t* GetSuperClassName() const override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    /// Tells the owner the window is gone, then deletes this object once no message of
    /// it is being handled any more.
    void OnFinalMessage(HWND hWnd) override;

private:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    /// The native text, read past the password guard of HandleMessage.
    CSkinString NativeText() const;
    /// Deletes this object if its window is gone and no handler of it is running.
    void DeleteIfFinished();

    CEditUI* m_pOwner = nullptr; ///< not owned; null once the owner is gone
    CGdiBrush m_hBkBrush;        ///< the native background colour, made on first use
    bool m_bInit = false;        ///< set up: changes of the text are the user's
    int m_nBusy = 0;             ///< handlers of this object on the stack
    bool m_bFinished = false;    ///< the window is destroyed
};

} // namespace SkinUI
