#include "MockPage.h"

#include "StandInProtocol.h"

#include <cwctype>

namespace {

// Heading on every page, so nobody mistakes the stand-in for the real browser.
constexpr wchar_t kHeading[] = L"Varnel \u2014 stand-in browser";

std::wstring Lowered(const std::wstring& text) {
    std::wstring lowered = text;
    for (wchar_t& c : lowered)
        c = static_cast<wchar_t>(std::towlower(c));
    return lowered;
}

// The host part of an address: after "://" up to the port, path, query or fragment.
std::wstring HostOf(const std::wstring& address) {
    const size_t scheme = address.find(L"://");
    if (scheme == std::wstring::npos) return std::wstring();
    const size_t start = scheme + 3;
    const size_t end = address.find_first_of(L":/?#", start);
    return address.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}

HFONT MakeFont(int height, bool bold) {
    return CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, L"Tahoma");
}

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

void Frame(HDC dc, const RECT& rect, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FrameRect(dc, &rect, brush);
    DeleteObject(brush);
}

// One line of text in a rectangle, in its own font.
void Text(HDC dc, const std::wstring& text, RECT rect, COLORREF colour, int height, bool bold,
          UINT align) {
    HFONT font = MakeFont(height, bold);
    HGDIOBJ old = SelectObject(dc, font);
    SetTextColor(dc, colour);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
              align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, old);
    DeleteObject(font);
}

RECT Offset(RECT rect, int dx, int dy) {
    OffsetRect(&rect, dx, dy);
    return rect;
}

} // namespace

MockPage::MockPage() : kind_(Kind::Blank) {}

MockPage::MockPage(const std::wstring& address, bool unreachable) : address_(address) {
    if (unreachable) {
        kind_ = Kind::Error;
        title_ = StandIn::kErrorTitle;
    } else if (Lowered(address) == L"about:blank") {
        kind_ = Kind::Blank;
    } else if (Lowered(address).find(L"login") != std::wstring::npos) {
        kind_ = Kind::Login;
        title_ = StandIn::kLoginTitle;
    } else {
        kind_ = Kind::Game;
        title_ = StandIn::kGameTitle;
    }
}

bool MockPage::IsUnreachable(const std::wstring& address) {
    const std::wstring host = Lowered(HostOf(address));
    const std::wstring suffix = L".invalid";
    return host == L"invalid" ||
           (host.size() > suffix.size() &&
            host.compare(host.size() - suffix.size(), suffix.size(), suffix) == 0);
}

bool MockPage::HitsLoginButton(POINT point, int width, int height) const {
    if (kind_ != Kind::Login) return false;
    const RECT button = StandIn::LoginButtonRect(width, height);
    return PtInRect(&button, point) != FALSE;
}

void MockPage::Paint(HDC dc, const RECT& bounds, int refreshCount) const {
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
    SetBkMode(dc, TRANSPARENT);
    switch (kind_) {
    case Kind::Blank: {
        Fill(dc, bounds, RGB(255, 255, 255));
        RECT caption{bounds.left + 8, bounds.top + 4, bounds.right - 8, bounds.top + 24};
        Text(dc, std::wstring(kHeading) + L"  \u00b7  about:blank", caption, RGB(170, 170, 170), 12,
             false, DT_LEFT);
        break;
    }
    case Kind::Login:
        PaintLogin(dc, bounds);
        break;
    case Kind::Game:
        PaintGame(dc, bounds, refreshCount);
        break;
    case Kind::Error:
        PaintError(dc, bounds);
        break;
    }
    RestoreDC(dc, saved);
}

void MockPage::PaintLogin(HDC dc, const RECT& bounds) const {
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    const int dx = bounds.left;
    const int dy = bounds.top;
    Fill(dc, bounds, RGB(222, 230, 240));

    const RECT panel = Offset(StandIn::LoginPanelRect(width, height), dx, dy);
    Fill(dc, panel, RGB(250, 251, 253));
    Frame(dc, panel, RGB(150, 162, 180));
    Text(dc, kHeading, RECT{panel.left + 12, panel.top + 10, panel.right - 12, panel.top + 40},
         RGB(30, 60, 120), 16, true, DT_CENTER);

    const COLORREF label = RGB(70, 80, 95);
    const COLORREF border = RGB(170, 178, 190);
    Text(dc, L"Username", RECT{panel.left + 40, panel.top + 50, panel.right - 40, panel.top + 70},
         label, 12, false, DT_LEFT);
    const RECT user{panel.left + 40, panel.top + 70, panel.right - 40, panel.top + 98};
    Fill(dc, user, RGB(255, 255, 255));
    Frame(dc, user, border);
    Text(dc, L"player", RECT{user.left + 8, user.top, user.right - 8, user.bottom}, RGB(40, 40, 40),
         13, false, DT_LEFT);

    Text(dc, L"Password", RECT{panel.left + 40, panel.top + 108, panel.right - 40, panel.top + 128},
         label, 12, false, DT_LEFT);
    const RECT password{panel.left + 40, panel.top + 128, panel.right - 40, panel.top + 156};
    Fill(dc, password, RGB(255, 255, 255));
    Frame(dc, password, border);
    Text(dc, L"\u2022\u2022\u2022\u2022\u2022\u2022",
         RECT{password.left + 8, password.top, password.right - 8, password.bottom},
         RGB(40, 40, 40), 13, false, DT_LEFT);

    const RECT button = Offset(StandIn::LoginButtonRect(width, height), dx, dy);
    Fill(dc, button, RGB(36, 104, 196));
    Frame(dc, button, RGB(20, 70, 140));
    Text(dc, L"log in", button, RGB(255, 255, 255), 15, true, DT_CENTER);

    Text(dc, address_,
         RECT{bounds.left + 8, bounds.bottom - 24, bounds.right - 8, bounds.bottom - 4},
         RGB(110, 120, 135), 11, false, DT_LEFT);
}

void MockPage::PaintGame(HDC dc, const RECT& bounds, int refreshCount) const {
    Fill(dc, bounds, RGB(28, 36, 52));
    Text(dc, kHeading, RECT{bounds.left + 12, bounds.top + 8, bounds.right - 12, bounds.top + 30},
         RGB(150, 160, 180), 13, false, DT_LEFT);
    const int middle = (bounds.top + bounds.bottom) / 2;
    Text(dc, title_, RECT{bounds.left, middle - 60, bounds.right, middle}, RGB(255, 214, 120), 44,
         true, DT_CENTER);
    Text(dc, address_, RECT{bounds.left + 12, middle + 4, bounds.right - 12, middle + 28},
         RGB(220, 226, 236), 14, false, DT_CENTER);
    if (refreshCount > 0) {
        const std::wstring refreshed = L"refreshed " + std::to_wstring(refreshCount) +
                                       (refreshCount == 1 ? L" time" : L" times");
        Text(dc, refreshed, RECT{bounds.left + 12, middle + 32, bounds.right - 12, middle + 54},
             RGB(150, 160, 180), 12, false, DT_CENTER);
    }
}

void MockPage::PaintError(HDC dc, const RECT& bounds) const {
    Fill(dc, bounds, RGB(255, 255, 255));
    Text(dc, kHeading, RECT{bounds.left + 12, bounds.top + 8, bounds.right - 12, bounds.top + 30},
         RGB(170, 170, 170), 12, false, DT_LEFT);
    Text(dc, title_, RECT{bounds.left + 24, bounds.top + 40, bounds.right - 24, bounds.top + 72},
         RGB(160, 40, 40), 20, true, DT_LEFT);
    Text(dc, address_, RECT{bounds.left + 24, bounds.top + 76, bounds.right - 24, bounds.top + 98},
         RGB(60, 60, 60), 13, false, DT_LEFT);
}
