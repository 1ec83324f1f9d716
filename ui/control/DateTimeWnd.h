// The native date picker a focused CDateTimeUI lays over itself. On losing the focus (to
// anything but its own drop-down calendar) it hands its date to the control, unless a key
// has decided otherwise (Delete and Backspace clear the text, Escape keeps it), and closes
// itself. It owns itself: the object goes with the window.
#pragma once

#include <windows.h>

#include "control/OwnedNativeWnd.h"

namespace SkinUI {

class CDateTimeUI;

class CDateTimeWnd : public COwnedNativeWnd<CDateTimeUI> {
public:
    CDateTimeWnd() = default;

    /// Creates the picker over the owner if it is not open yet, sets it to the owner's
    /// date (today's when the text is empty), shows and focuses it. False when it cannot
    /// be made: the object is then gone and the owner's pointer to it cleared.
    bool Init(CDateTimeUI* owner);

protected:
    /// "DateTimeWnd".
    const wchar_t* GetWndClassName() const override;
    /// The platform's "SysDateTimePick32".
    const wchar_t* GetSuperClassName() const override;
    void SetUp(CDateTimeUI& owner, CPaintManagerUI& manager) override;
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    /// Ends picking: kUpdateDelete empties the owner's text, kUpdateKeep leaves it, and
    /// kUpdateSet takes the picked date unless a key has decided already; then the window
    /// closes itself.
    void Finish(int mode);
};

} // namespace SkinUI
