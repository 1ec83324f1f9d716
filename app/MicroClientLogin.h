// The first window the player sees: the transparent login picture with its minimise and
// close buttons, carrying the login web window over a configured rectangle of it. It is
// the program's main window: destroying it ends the message loop.
#pragma once

#include "MicroClientFrame.h"

class CMircroClientWebFrame;

class CMicroClientLogin : public CMicroClientFrame {
public:
    CMicroClientLogin() = default;
    ~CMicroClientLogin() override;

    /// The login web window, null before InitWindow and after that window is gone.
    CMircroClientWebFrame* GetWebWindow() const { return m_pWebWnd; }
    /// Called by the web window as it goes, so the frame never uses it afterwards.
    void ForgetWebWindow(CMircroClientWebFrame* webWindow);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void InitWindow() override;
    void OnClick(SkinUI::TNotifyUI& msg) override;
    SkinUI::CSkinString GetSkinXmlName() override;
    /// No key closes the login frame.
    LRESULT ResponseDefaultKeyEvent(WPARAM key) override;
    /// Ends the message loop.
    LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled) override;

private:
    /// Keeps the web window on its rectangle of the picture.
    void MoveWebWindow();
    /// Owned windows belong above their owner, but a per-pixel alpha frame appears on the
    /// screen only with its first picture, over the web window shown before it. Without a
    /// window manager keeping owned windows on top, moving the web window to the top again
    /// after the first paint puts the login page back over the frame.
    void RaiseWebWindowOnce();
    /// Places a floating button on rect, in client coordinates.
    void PlaceButton(const wchar_t* name, const RECT& rect);

    CMircroClientWebFrame* m_pWebWnd = nullptr; ///< frees itself when destroyed
    bool m_bWebWindowRaised = false;            ///< put back on top after the first paint
};

/// The process's login frame, made on first use; null only when it cannot be allocated,
/// and again null once the frame has been destroyed.
CMicroClientLogin* GetLoginFrame();
/// The login frame if one exists; never makes one.
CMicroClientLogin* FindLoginFrame();
