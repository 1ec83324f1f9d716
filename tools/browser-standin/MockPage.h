// The page the stand-in shows for an address: which mock page, its document
// title, and how it is drawn.
#pragma once

#include <windows.h>

#include <string>

class MockPage {
public:
    enum class Kind { Blank, Login, Game, Error };

    // The empty page before the first navigation.
    MockPage();
    // The page for an address that loaded; `unreachable` shows the error page.
    MockPage(const std::wstring& address, bool unreachable);

    // Whether navigating to the address fails with NavigateError (host ends in ".invalid").
    static bool IsUnreachable(const std::wstring& address);

    Kind GetKind() const { return kind_; }
    const std::wstring& GetAddress() const { return address_; }
    // The document title of this page.
    const std::wstring& GetTitle() const { return title_; }

    // Draws the page into `bounds` of the DC; `refreshCount` is shown on the game page.
    void Paint(HDC dc, const RECT& bounds, int refreshCount) const;
    // Whether a point of a page of the given size is on the login page's button.
    bool HitsLoginButton(POINT point, int width, int height) const;

private:
    void PaintLogin(HDC dc, const RECT& bounds) const;
    void PaintGame(HDC dc, const RECT& bounds, int refreshCount) const;
    void PaintError(HDC dc, const RECT& bounds) const;

    Kind kind_;
    std::wstring address_;
    std::wstring title_;
};
