// Text controls with "showhtml": links recorded by the renderer and hit through real mouse
// messages (a link wrapped over two lines included), the hover colour and the hand cursor,
// the measured size of wrapped text, and labels and buttons drawing tags as formatting.
#include "control/ButtonUI.h"
#include "control/LabelUI.h"
#include "control/TextUI.h"
#include "control/VerticalLayoutUI.h"
#include "render/RenderTestSupport.h"
#include "support/SkinTestKit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace SkinUI;
using skintest::PointParam;

namespace {

constexpr DWORD kWhite = 0xFFFFFFFF;
constexpr DWORD kLinkColor = 0xFF00C000;
constexpr DWORD kHoverColor = 0xFFE00000;

// The link rectangles the last paint recorded.
class ProbedText : public CTextUI {
public:
    RECT Link(int index) const { return m_rcLinks[index]; }
    int Links() const { return m_nLinks; }
    int HoverLink() const { return m_nHoverLink; }
};

POINT Centre(const RECT& rc) {
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

// Pixels clearly tinted towards one channel (16 red, 8 green), as anti-aliased text in
// that colour leaves them.
bool Tinted(DWORD pixel, int shift) {
    const int channels[3] = {static_cast<int>((pixel >> 16) & 0xFF),
                             static_cast<int>((pixel >> 8) & 0xFF), static_cast<int>(pixel & 0xFF)};
    const int own = channels[(16 - shift) / 8];
    for (int i = 0; i < 3; ++i)
        if (i != (16 - shift) / 8 && own - channels[i] < 0x60) return false;
    return true;
}

class HtmlTextControl : public ::testing::Test {
protected:
    void SetUp() override {
        // A real layout, which paints its children, with the text 20 pixels in.
        root = new CVerticalLayoutUI;
        root->SetInset(RECT{20, 20, 0, 0});
        text->SetShowHtml(true);
        root->Add(text);
        host = new skintest::HostWindow(root);
        host->manager.SetDefaultLinkFontColor(kLinkColor);
        host->manager.SetDefaultLinkHoverFontColor(kHoverColor);
        ASSERT_NE(host->Open(300, 200), nullptr);
        ASSERT_TRUE(skintest::PumpUntil([this] { return !host->notifications.empty(); }));
        host->onNotify = [this](TNotifyUI& msg) {
            if (msg.type == L"link") {
                const CSkinString* target = text->GetLinkContent(static_cast<int>(msg.wParam));
                targets.push_back(target != nullptr ? target->GetData() : L"?");
            }
        };
    }
    void TearDown() override {
        ::DestroyWindow(host->GetHWND());
        delete host;
    }
    // Places the text and paints the window now.
    void Show(const wchar_t* markup, int width, int height) {
        text->SetText(markup);
        text->SetFixedWidth(width);
        text->SetFixedHeight(height);
        ::RedrawWindow(host->GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    void Send(UINT message, WPARAM wParam, POINT at) {
        ::SendMessageW(host->GetHWND(), message, wParam, PointParam(at.x, at.y));
    }
    void Click(POINT at) {
        Send(WM_MOUSEMOVE, 0, at);
        Send(WM_LBUTTONDOWN, MK_LBUTTON, at);
        Send(WM_LBUTTONUP, 0, at);
    }
    LONG Extent(const wchar_t* markup) {
        HDC dc = host->manager.GetPaintDC();
        HGDIOBJ old = ::SelectObject(dc, host->manager.GetDefaultFontInfo()->font);
        SIZE size{};
        ::GetTextExtentPoint32W(dc, markup, static_cast<int>(wcslen(markup)), &size);
        ::SelectObject(dc, old);
        return size.cx;
    }

    CVerticalLayoutUI* root = nullptr;
    ProbedText* text = new ProbedText;
    skintest::HostWindow* host = nullptr;
    std::vector<std::wstring> targets;
};

} // namespace

TEST_F(HtmlTextControl, ClicksOnLinksSendTheirTargets) {
    // Room for "first and the" on a line: the second link wraps after "the".
    const int width = Extent(L"first and the wr") + 4;
    Show(L"<a http://one.example/>first</a> and <a two>the wrapped link</a> end", width, 120);
    ASSERT_EQ(text->Links(), 3);
    EXPECT_EQ(text->GetControlFlags(), UIFLAG_SETCURSOR);
    const RECT first = text->Link(0);
    const RECT upper = text->Link(1);
    const RECT lower = text->Link(2);
    EXPECT_EQ(first.left, 22) << "the text padding";
    EXPECT_LT(upper.bottom, lower.bottom) << "the second link is on two lines";
    EXPECT_EQ(lower.left, 22);
    EXPECT_STREQ(text->GetLinkContent(1)->GetData(), L"two");
    EXPECT_STREQ(text->GetLinkContent(2)->GetData(), L"two");
    EXPECT_EQ(text->GetLinkContent(3), nullptr);

    Click(Centre(first));
    Click(Centre(lower));
    Click(Centre(upper));
    Click(POINT{lower.right + 30, Centre(lower).y}); // beside the link: nothing
    EXPECT_EQ(targets, (std::vector<std::wstring>{L"http://one.example/", L"two", L"two"}));

    // The hand over a link (the manager asks where the pointer really is).
    const auto cursorAt = [this](POINT at) {
        ::ClientToScreen(host->GetHWND(), &at);
        ::SetCursorPos(at.x, at.y);
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        ::SendMessageW(host->GetHWND(), WM_SETCURSOR, reinterpret_cast<WPARAM>(host->GetHWND()),
                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return ::GetCursor();
    };
    EXPECT_EQ(cursorAt(Centre(lower)), ::LoadCursorW(nullptr, IDC_HAND));
    EXPECT_NE(cursorAt(POINT{lower.right + 2, Centre(lower).y}), ::LoadCursorW(nullptr, IDC_HAND));
}

TEST_F(HtmlTextControl, TheLinkUnderThePointerTakesTheHoverColour) {
    Show(L"<a one>LINKONE</a> <a two>LINKTWO</a>", 250, 40);
    ASSERT_EQ(text->Links(), 2);
    const RECT one = text->Link(0);
    const RECT two = text->Link(1);
    Send(WM_MOUSEMOVE, 0, Centre(two));
    EXPECT_EQ(text->HoverLink(), 1);

    RenderTest::Surface surface(300, 200, kWhite, 24);
    text->DoPaint(surface.dc(), text->GetPos());
    const auto count = [&surface](const RECT& area, int shift) {
        int found = 0;
        for (LONG y = area.top; y < area.bottom; ++y)
            for (LONG x = area.left; x < area.right; ++x)
                found += Tinted(surface.Pixel(x, y), shift) ? 1 : 0;
        return found;
    };
    const int green = 8;
    const int red = 16;
    EXPECT_GT(count(one, green), 5);
    EXPECT_EQ(count(one, red), 0);
    EXPECT_GT(count(two, red), 5);
    EXPECT_EQ(count(two, green), 0);

    // A shorter text leaves no rectangles of the longer one behind.
    Show(L"<a only>one link</a>", 250, 40);
    EXPECT_EQ(text->Links(), 1);
    const RECT gone = text->Link(1);
    EXPECT_TRUE(::IsRectEmpty(&gone));
}

TEST_F(HtmlTextControl, WrappedTextMeasuresItsLines) {
    text->SetText(L"line<n>line<n><b>line</b>");
    const LONG line = host->manager.GetDefaultFontInfo()->metrics.tmHeight +
                      host->manager.GetDefaultFontInfo()->metrics.tmExternalLeading;
    const SIZE size = text->EstimateSize(SIZE{200, 0});
    EXPECT_EQ(size.cy, 3 * line);
    EXPECT_GT(size.cx, Extent(L"line") + 4) << "the bold line is the widest";
    EXPECT_LT(size.cx, Extent(L"line") * 2);
}

TEST(HtmlLabels, LabelsAndButtonsDrawTagsAsFormatting) {
    CPaintManagerUI manager;
    RenderTest::Surface surface(120, 30, kWhite, 24);
    const auto reds = [&surface] {
        int found = 0;
        for (DWORD pixel : surface.Pixels())
            found += Tinted(pixel, 16) ? 1 : 0;
        return found;
    };
    for (const bool button : {false, true}) {
        CLabelUI label;
        CButtonUI push;
        CLabelUI& control = button ? push : label;
        control.SetManager(&manager, nullptr, false);
        control.SetText(L"<c #FF0000>RED</c>");
        control.SetPos(surface.rect());
        surface.Fill(kWhite);
        control.DoPaint(surface.dc(), surface.rect());
        EXPECT_EQ(reds(), 0) << "tags are text without showhtml";
        control.SetShowHtml(true);
        surface.Fill(kWhite);
        control.DoPaint(surface.dc(), surface.rect());
        EXPECT_GT(reds(), 5) << (button ? "button" : "label");
    }
}
