// The child window ("UIActiveX") a windowed ActiveX object lives in, placed over its
// control; it activates the object on focus and mouse activation.
#pragma once

#include <windows.h>

#include "window/WindowWnd.h"

namespace SkinUI {

class CActiveXCtrl;

class CActiveXWnd : public CWindowWnd {
public:
    /// Creates the window as a child of parent for the site, at position and size 0.
    HWND Init(CActiveXCtrl* site, HWND parent);

protected:
    /// "ActiveXWnd".
    const wchar_t* GetWndClassName() const override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    /// Sends a verb to the owner's object with this window and the owner's rectangle.
    void DoVerb(LONG verb);

    CActiveXCtrl* m_pOwner = nullptr; ///< the site, which owns this object
};

} // namespace SkinUI
