// The native date picker a focused CDateTimeUI lays over itself. On losing the focus (to
// anything but its own drop-down calendar) it hands its date to the control, unless a key
// has decided otherwise (Delete and Backspace clear the text, Escape keeps it), and closes
// itself. It owns itself: the object goes with the window.
#pragma once

#include <windows.h>

#include "window/WindowWnd.h"

namespace SkinUI {

class CDateTimeUI;

class CDateTimeWnd : public CWindowWnd {
public:
    CDateTimeWnd() = default;

    /// Creates the picker over the owner if it is not open yet, sets it to the owner's
    /// date (today's when the text is empty), shows and focuses it. False when it cannot
    /// be made: the object is then gone and the owner's pointer to it cleared.
    bool Init(CDateTimeUI* owner);
    /// The owner is going away: forget it and destroy the window (and with it this object).
    void Detach();

protected:
    /// "DateTimeWnd".
    const wchar_t* GetWndClassName() const override;
    /// The platform's "SysDateTimePick32".
    const wchar_t* GetSuperClassName() const override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    /// Tells the owner the picker is gone, then deletes this object once no message of it
    /// is being handled any more.
    void OnFinalMessage(HWND hWnd) override;

private:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    /// Ends picking: kUpdateDelete empties the owner's text, kUpdateKeep leaves it, and
    /// kUpdateSet takes the picked date unless a key has decided already; then the window
    /// closes itself.
    void Finish(int mode);
    /// Deletes this object if its window is gone and no handler of it is running.
    void DeleteIfFinished();

    CDateTimeUI* m_pOwner = nullptr; ///< not owned; null once the owner is gone
    bool m_bInit = false;
    int m_nBusy = 0;          ///< handlers of this object on the stack
    bool m_bFinished = false; ///< the window is destroyed
};

} // namespace SkinUI
