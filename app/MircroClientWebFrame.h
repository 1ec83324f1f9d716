// The window that shows the publisher's login page: a layered, colour-keyed pop-up owned
// by the login frame and kept over its configured rectangle. A navigation whose address
// carries the game keyword is cancelled here and opens the game window instead.
#pragma once

#include "activex/WebBrowserEventHandler.h"
#include "MicroClientFrame.h"

class CMicroClientLogin;
class CMircroClientPlayFrame;

class CMircroClientWebFrame : public CMicroClientFrame, public SkinUI::CWebBrowserEventHandler {
public:
    CMircroClientWebFrame() = default;
    ~CMircroClientWebFrame() override;

    /// Keeps this window at its offset from the owner's window rectangle. The first call
    /// (or any while the offset is still 0,0) records the offset and size; returns the
    /// SetWindowPos result.
    BOOL FollowOwner(int left, int top, int right, int bottom);

    /// The login frame that carries this window and is told when it goes; null for none.
    void SetLoginFrame(CMicroClientLogin* login) { m_pLoginFrame = login; }

    /// The game window, once the game has been entered.
    CMircroClientPlayFrame* GetPlayFrame() const { return m_pPlayFrame; }

    /// Cancels a navigation that carries the game keyword and enters the game on it.
    void BeforeNavigate2(IDispatch* pDisp, VARIANT*& url, VARIANT*& Flags,
                         VARIANT*& TargetFrameName, VARIANT*& PostData, VARIANT*& Headers,
                         VARIANT_BOOL*& Cancel) override;

    /// The address the game window opens for a navigation target: the text from the first
    /// "http://" on, when it does not start there (a redirector's prefix is cut).
    static SkinUI::CSkinString GameAddressFrom(const SkinUI::CSkinString& target);

protected:
    void OnFinalMessage(HWND hWnd) override;
    void InitWindow() override;
    SkinUI::CSkinString GetSkinXmlName() override;
    /// Builds the skin, then turns the window into a layered pop-up keyed on pure green.
    LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled) override;

private:
    /// Opens (once) and shows the game window on address and hides both login windows.
    void EnterGame(const SkinUI::CSkinString& target);

    CMicroClientLogin* m_pLoginFrame = nullptr;     ///< not owned; forgets this window
    CMircroClientPlayFrame* m_pPlayFrame = nullptr; ///< frees itself when destroyed
    HWND m_hPlayWnd = nullptr;                      ///< its window
    int m_offsetX = 0;                              ///< from the owner's left edge
    int m_offsetY = 0;                              ///< from the owner's top edge
    int m_width = 0;
    int m_height = 0;
};
