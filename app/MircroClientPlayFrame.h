// The game window: a skinned, resizable frame with its own title bar above the game page,
// an icon in the notification area with a two-item menu, and a confirmation that quits the
// whole program on every way of closing it.
#pragma once

#include "TrayIcon.h"
#include "activex/WebBrowserEventHandler.h"
#include "core/Handles.h"
#include "MicroClientFrame.h"

namespace SkinUI {
class CControlUI;
class CWebBrowserUI;
} // namespace SkinUI

// Tray menu commands (menu resource 105, submenu 0).
constexpr WORD kShowGameCommand = 40006; // "显示游戏界面"
constexpr WORD kQuitGameCommand = 40007; // "退出游戏"

class CMircroClientPlayFrame : public CMicroClientFrame, public SkinUI::CWebBrowserEventHandler {
public:
    CMircroClientPlayFrame() = default;
    ~CMircroClientPlayFrame() override;

    /// The page the game window opens; set before the window is created.
    void SetGameAddress(const wchar_t* address) { m_gameAddress = address; }
    const SkinUI::CSkinString& GetGameAddress() const { return m_gameAddress; }
    const TrayIcon& GetTrayIcon() const { return m_trayIcon; }

    /// Once a page with a title has loaded, the title label names the client.
    void NavigateComplete2(IDispatch* pDisp, VARIANT*& url, const wchar_t* browserName) override;

    /// Whether the service-center button may hand address to the system: only web
    /// addresses, never a program or document path.
    static bool IsWebAddress(const wchar_t* address);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void InitWindow() override;
    void OnClick(SkinUI::TNotifyUI& msg) override;
    SkinUI::CSkinString GetSkinXmlName() override;
    /// No key closes the game window.
    LRESULT ResponseDefaultKeyEvent(WPARAM key) override;
    /// Takes the tray icon away while its window still exists.
    LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled) override;

private:
    /// Asks whether to quit; on yes closes the login frame, which ends the program.
    void ConfirmQuit();
    /// Shows the window when it is hidden; a minimised window stays minimised.
    void ShowIfHidden();
    void ShowTrayMenu();
    void OpenServiceCenter();
    /// The application icon as the title bar's logo.
    void ShowLogo(HICON icon);

    SkinUI::CWebBrowserUI* m_pBrowser = nullptr;
    SkinUI::CIcon m_icon; ///< shown in the tray; outlives the tray's use of it
    TrayIcon m_trayIcon;
    SkinUI::CControlUI* m_pMaxBtn = nullptr;
    SkinUI::CControlUI* m_pRestoreBtn = nullptr;
    SkinUI::CSkinString m_gameAddress;
    bool m_bAskingToQuit = false; ///< one confirmation at a time
};
