// The rich edit over the platform's text services, built from skin XML into a shown window
// and driven with real window messages: text, selection, the editing styles, typed keys,
// Enter and Tab, the mouse, the framework's scroll bars following the text, notifications,
// and an inert control when the text services library is missing.
#include "HostedTree.h"
#include "render/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "control/RichEditUI.h"
#include "control/ScrollBarUI.h"
#include "core/DialogBuilder.h"
#include "core/Handles.h"

using namespace SkinUI;

namespace {

// Holds keys down in this thread's keyboard state for the scope.
class KeysHeld {
public:
    explicit KeysHeld(std::initializer_list<BYTE> keys) {
        ::GetKeyboardState(m_saved);
        BYTE state[256];
        std::copy(m_saved, m_saved + 256, state);
        for (BYTE key : keys)
            state[key] |= 0x80;
        ::SetKeyboardState(state);
    }
    ~KeysHeld() { ::SetKeyboardState(m_saved); }

private:
    BYTE m_saved[256];
};

class RichEdit : public HostedTree {
protected:
    // A 300 x 300 window: the rich edit, 120 high, over a button that is the next tab stop.
    CRichEditUI* Build(const std::wstring& attributes, const wchar_t* moreControls = L"") {
        const std::wstring xml =
            L"<Window><VerticalLayout><RichEdit name=\"edit\" height=\"120\" " + attributes +
            L"/><Button name=\"next\" height=\"30\"/>" + moreControls +
            L"</VerticalLayout></Window>";
        CDialogBuilder builder;
        CControlUI* root = builder.Create(xml.c_str());
        if (root == nullptr) return nullptr;
        Host(root);
        Layout();
        edit = static_cast<CRichEditUI*>(host->manager.FindControl(L"edit"));
        return edit;
    }
    CRichEditUI* Find(const wchar_t* name) {
        return static_cast<CRichEditUI*>(host->manager.FindControl(name));
    }
    void Focus(CControlUI* control) { host->manager.SetFocus(control); }
    // Posts a message to the window and runs the loop, as the keyboard would.
    void Post(UINT message, WPARAM wParam, LPARAM lParam = 0) {
        ::PostMessageW(host->GetHWND(), message, wParam, lParam);
        skintest::PumpMessages();
    }
    void Type(const std::wstring& text) {
        for (wchar_t ch : text)
            Post(WM_CHAR, ch, 1);
    }
    // A key goes down and up; the loop's translation makes its character.
    void Press(UINT key) {
        const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
        Post(WM_KEYDOWN, key, scan | 1);
        Post(WM_KEYUP, key, scan | 0xC0000001);
    }
    int Notifications(const wchar_t* type) const {
        int count = 0;
        for (const std::wstring& seen : host->notifications)
            count += seen == type ? 1 : 0;
        return count;
    }
    // The text services' own scroll position.
    POINT TextScrollPos() const {
        POINT pos{};
        edit->TxSendMessage(EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&pos), nullptr);
        return pos;
    }
    static std::wstring Lines(int count) {
        std::wstring text;
        for (int i = 0; i < count; ++i)
            text += L"line " + std::to_wstring(i) + L"\r\n";
        return text;
    }

    CRichEditUI* edit = nullptr;
};

std::wstring Str(const CSkinString& text) {
    return std::wstring(text.GetData(), static_cast<size_t>(text.GetLength()));
}

} // namespace

TEST_F(RichEdit, SkinAttributesSetTheStyleAndTheFlags) {
    ASSERT_NE(Build(L"vscrollbar=\"true\" autovscroll=\"true\" hscrollbar=\"true\" "
                    L"autohscroll=\"true\" password=\"true\" readonly=\"true\" "
                    L"wanttab=\"false\" wantreturn=\"false\" wantctrlreturn=\"false\" "
                    L"rich=\"false\" align=\"left center\" font=\"2\" textcolor=\"  #FF102030\"",
                    L"<RichEdit name=\"plain\" multiline=\"false\" align=\"center, right\"/>"
                    L"<RichEdit name=\"kept\" multiline=\"yes\" vscrollbar=\"yes\" "
                    L"align=\"right left\"/>"),
              nullptr);
    EXPECT_STREQ(edit->GetClass(), L"RichEditUI");
    EXPECT_EQ(edit->GetInterface(L"RichEdit"), edit);
    EXPECT_NE(edit->GetInterface(L"IContainer"), nullptr);
    EXPECT_EQ(edit->GetWinStyle(),
              static_cast<DWORD>(ES_MULTILINE | WS_VSCROLL | WS_HSCROLL | ES_DISABLENOSCROLL |
                                 ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_PASSWORD | ES_READONLY |
                                 ES_CENTER))
        << "both words found, the later rule wins";
    EXPECT_FALSE(edit->IsWantTab());
    EXPECT_FALSE(edit->IsWantReturn());
    EXPECT_FALSE(edit->IsWantCtrlReturn());
    EXPECT_FALSE(edit->IsRich());
    EXPECT_TRUE(edit->IsReadOnly());
    EXPECT_EQ(edit->GetFont(), 2);
    EXPECT_EQ(edit->GetTextColor(), 0xFF102030u);
    EXPECT_NE(edit->GetVerticalScrollBar(), nullptr) << "the container made the bars";
    EXPECT_NE(edit->GetHorizontalScrollBar(), nullptr);

    EXPECT_EQ(Find(L"plain")->GetWinStyle(), static_cast<DWORD>(ES_RIGHT));
    CRichEditUI* kept = Find(L"kept");
    EXPECT_EQ(kept->GetWinStyle(), static_cast<DWORD>(ES_MULTILINE | ES_RIGHT))
        << "only \"true\" counts; \"left\" is looked for before \"right\"";
    EXPECT_EQ(kept->GetVerticalScrollBar(), nullptr);
    EXPECT_TRUE(kept->IsWantTab());
    EXPECT_TRUE(kept->IsWantReturn());
    EXPECT_TRUE(kept->IsWantCtrlReturn());
    EXPECT_TRUE(kept->IsRich());
    EXPECT_EQ(kept->GetLimitText(), 32767);
}

// The text services size text in twips, so a font's pixel height is converted at the
// screen's resolution, for every edit made.
TEST_F(RichEdit, FontsReachTheTextServicesInTwipsAtTheScreensResolution) {
    ASSERT_NE(Build(L"", L"<RichEdit name=\"second\"/>"), nullptr);
    int dpi = 0;
    {
        const CWindowDC screen(nullptr);
        dpi = ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
    }
    ASSERT_GT(dpi, 0);
    const auto height = [](CRichEditUI* control) {
        CHARFORMAT2W format{};
        control->GetDefaultCharFormat(format);
        return format.yHeight;
    };
    const int defaultSize = host->manager.GetDefaultFontInfo()->size;
    EXPECT_EQ(height(edit), ::MulDiv(defaultSize, 1440, dpi));
    EXPECT_EQ(height(Find(L"second")), ::MulDiv(defaultSize, 1440, dpi));

    // An edit made later, in a font of its own.
    ASSERT_NE(host->manager.AddFont(L"Tahoma", 30, false, false, false), nullptr);
    auto* late = new CRichEditUI;
    late->SetFont(host->manager.GetFontIndex(L"Tahoma", 30, false, false, false));
    ASSERT_TRUE(static_cast<CContainerUI*>(edit->GetParent())->Add(late));
    ASSERT_TRUE(late->HasTextServices());
    EXPECT_EQ(height(late), ::MulDiv(30, 1440, dpi));
}

TEST_F(RichEdit, TextRoundTripsThroughTheTextServices) {
    ASSERT_NE(Build(L"text=\"from the skin\""), nullptr);
    ASSERT_TRUE(edit->HasTextServices());
    EXPECT_EQ(Str(edit->GetText()), L"from the skin") << "the skin's text reaches them";

    const std::wstring lines = L"first line\r\n第二行：中文\r\nthird";
    edit->SetText(lines.c_str());
    EXPECT_EQ(Str(edit->GetText()), lines);
    EXPECT_EQ(edit->GetLineCount(), 3);
    EXPECT_EQ(Str(edit->GetLine(1, 100)), L"第二行：中文\r");
    EXPECT_EQ(Str(edit->GetLine(1, 3)), L"第二行");
    EXPECT_EQ(Str(edit->GetLine(7, 100)), L"") << "no such line";
    EXPECT_EQ(Str(edit->GetLine(0, 0)), L"");

    // Text that reads like RTF is still just text.
    const wchar_t* rtfLike = L"{\\rtf1 {\\b bold}}";
    edit->SetText(rtfLike);
    EXPECT_EQ(Str(edit->GetText()), rtfLike);

    // Beyond 64 KB, with CJK on every line.
    std::wstring large;
    for (int i = 0; large.size() < 70000; ++i)
        large += L"行 " + std::to_wstring(i) + L" 一二三四五六七八九十 text\r\n";
    edit->SetLimitText(200000);
    edit->SetText(large.c_str());
    EXPECT_EQ(edit->GetText().GetLength(), static_cast<int>(large.size()));
    EXPECT_TRUE(Str(edit->GetText()) == large);
    edit->SetText(L"");
    EXPECT_EQ(Str(edit->GetText()), L"");
}

TEST_F(RichEdit, SelectionAndRangesStayWithinTheText) {
    ASSERT_NE(Build(L"text=\"Hello, 世界 and more\""), nullptr);
    edit->SetSel(7, 9);
    long start = 0;
    long end = 0;
    edit->GetSel(start, end);
    EXPECT_EQ(start, 7);
    EXPECT_EQ(end, 9);
    EXPECT_EQ(Str(edit->GetSelText()), L"世界");
    EXPECT_EQ(edit->GetSelectionType(), SEL_TEXT | SEL_MULTICHAR);
    edit->ReplaceSelW(L"there");
    EXPECT_EQ(Str(edit->GetText()), L"Hello, there and more");
    edit->SetSelAll();
    EXPECT_EQ(Str(edit->GetSelText()), L"Hello, there and more");
    edit->SetSelNone();
    EXPECT_EQ(Str(edit->GetSelText()), L"");
    edit->InsertText(0, L">> ");
    edit->AppendText(L" <<", true);
    EXPECT_EQ(Str(edit->GetText()), L">> Hello, there and more <<");
    EXPECT_EQ(edit->GetTextLength(), 27);
    EXPECT_EQ(Str(edit->GetTextRange(3, 8)), L"Hello");
    // Ranges past either end are cut to the text rather than written past the buffer.
    EXPECT_EQ(Str(edit->GetTextRange(20, 5000)), L"more <<");
    EXPECT_EQ(Str(edit->GetTextRange(-4, 2)), L">>");
    EXPECT_EQ(Str(edit->GetTextRange(21, -1)), L"ore <<");
    EXPECT_EQ(Str(edit->GetTextRange(9, 3)), L"");
    EXPECT_TRUE(edit->Undo());
    EXPECT_EQ(Str(edit->GetText()), L">> Hello, there and more")
        << "the insertion that may be undone";
}

TEST_F(RichEdit, TypedKeysReachTheText) {
    ASSERT_NE(Build(L""), nullptr);
    Focus(edit);
    EXPECT_TRUE(edit->IsFocused());
    Type(L"Hi 你好");
    EXPECT_EQ(Str(edit->GetText()), L"Hi 你好");
    Press(VK_BACK);
    Press(VK_HOME);
    Type(L">");
    Press(VK_END);
    Type(L"!");
    EXPECT_EQ(Str(edit->GetText()), L">Hi 你!");
    // An input method's character arrives once, not again as WM_CHAR from the window.
    Post(WM_IME_CHAR, L'界', 1);
    EXPECT_EQ(Str(edit->GetText()), L">Hi 你!界");

    // Not focused: keys are not the control's.
    Focus(nullptr);
    Type(L"zz");
    EXPECT_EQ(Str(edit->GetText()), L">Hi 你!界");
}

TEST_F(RichEdit, EnterBreaksTheLineOrSaysReturn) {
    ASSERT_NE(Build(L"text=\"ab\"",
                    L"<RichEdit name=\"noreturn\" height=\"40\" wantreturn=\"false\" "
                    L"text=\"cd\"/><RichEdit name=\"noctrl\" height=\"40\" "
                    L"wantctrlreturn=\"false\" text=\"ef\"/>"
                    L"<RichEdit name=\"single\" height=\"40\" multiline=\"false\" "
                    L"text=\"gh\"/>"),
              nullptr);
    Focus(edit);
    edit->SetSel(-1, -1);
    Press(VK_RETURN);
    {
        KeysHeld control{VK_CONTROL};
        Press(VK_RETURN);
    }
    EXPECT_EQ(edit->GetLineCount(), 3) << "Enter and Ctrl+Enter break the line by default";
    EXPECT_EQ(Notifications(L"return"), 0);

    CRichEditUI* noReturn = Find(L"noreturn");
    Focus(noReturn);
    noReturn->SetSel(-1, -1);
    Press(VK_RETURN);
    EXPECT_EQ(Str(noReturn->GetText()), L"cd") << "nothing inserted";
    ASSERT_EQ(Notifications(L"return"), 1);
    EXPECT_EQ(host->senders.back(), noReturn);

    CRichEditUI* noCtrl = Find(L"noctrl");
    Focus(noCtrl);
    noCtrl->SetSel(-1, -1);
    {
        KeysHeld control{VK_CONTROL};
        Press(VK_RETURN);
    }
    EXPECT_EQ(Str(noCtrl->GetText()), L"ef");
    EXPECT_EQ(Notifications(L"return"), 2);
    Press(VK_RETURN);
    EXPECT_EQ(noCtrl->GetLineCount(), 2) << "plain Enter is still wanted";

    CRichEditUI* single = Find(L"single");
    Focus(single);
    single->SetSel(-1, -1);
    Press(VK_RETURN);
    EXPECT_EQ(Str(single->GetText()), L"gh") << "one line only";
    EXPECT_EQ(single->GetLineCount(), 1);
}

TEST_F(RichEdit, TabStaysInsideWhenWantedAndMovesTheFocusOtherwise) {
    ASSERT_NE(Build(L"text=\"a\"", L"<RichEdit name=\"notab\" height=\"40\" wanttab=\"false\" "
                                   L"text=\"b\"/>"),
              nullptr);
    CControlUI* next = host->manager.FindControl(L"next");
    Focus(edit);
    edit->SetSel(-1, -1);
    Press(VK_TAB);
    EXPECT_EQ(host->manager.GetFocus(), edit);
    EXPECT_EQ(Str(edit->GetText()), L"a\t");

    CRichEditUI* noTab = Find(L"notab");
    Focus(noTab);
    Press(VK_TAB);
    EXPECT_EQ(host->manager.GetFocus(), edit) << "on, round to the first tab stop";
    EXPECT_EQ(Str(noTab->GetText()), L"b");
    Focus(noTab);
    {
        KeysHeld shift{VK_SHIFT};
        Press(VK_TAB);
    }
    EXPECT_EQ(host->manager.GetFocus(), next) << "Shift+Tab goes back";
    Focus(edit);
    {
        KeysHeld shift{VK_SHIFT};
        Press(VK_TAB);
    }
    EXPECT_EQ(host->manager.GetFocus(), edit) << "even Shift+Tab is text here";
}

TEST_F(RichEdit, LimitReadOnlyAndPassword) {
    ASSERT_NE(Build(L"",
                    L"<RichEdit name=\"locked\" height=\"40\" readonly=\"true\" text=\"fixed\"/>"
                    L"<RichEdit name=\"secret\" height=\"30\" password=\"true\" "
                    L"bkcolor=\"#FFFFFFFF\" text=\"abc\"/>"
                    L"<RichEdit name=\"shown\" height=\"30\" bkcolor=\"#FFFFFFFF\" "
                    L"text=\"***\"/>"),
              nullptr);
    edit->SetLimitText(5);
    Focus(edit);
    Type(L"1234567");
    EXPECT_EQ(Str(edit->GetText()), L"12345");
    edit->SetLimitText(6);
    Type(L"89");
    EXPECT_EQ(Str(edit->GetText()), L"123458");

    CRichEditUI* locked = Find(L"locked");
    Focus(locked);
    Type(L"xy");
    Press(VK_BACK);
    EXPECT_EQ(Str(locked->GetText()), L"fixed");
    locked->SetReadOnly(false);
    locked->SetSel(-1, -1);
    Type(L"!");
    EXPECT_EQ(Str(locked->GetText()), L"fixed!");

    // The secret keeps its text but shows one '*' per character.
    CRichEditUI* secret = Find(L"secret");
    CRichEditUI* shown = Find(L"shown");
    EXPECT_EQ(Str(secret->GetText()), L"abc");
    RenderTest::Surface surface(300, 300, 0xFFFFFFFF);
    ::SendMessageW(host->GetHWND(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.dc()),
                   PRF_CLIENT);
    const RECT a = secret->GetTextRect();
    const RECT b = shown->GetTextRect();
    ASSERT_EQ(a.right - a.left, b.right - b.left);
    int differing = 0;
    int inked = 0;
    for (int y = 0; y < a.bottom - a.top; ++y)
        for (int x = 0; x < a.right - a.left; ++x) {
            const DWORD pa = surface.Pixel(a.left + x, a.top + y) & 0xFFFFFF;
            const DWORD pb = surface.Pixel(b.left + x, b.top + y) & 0xFFFFFF;
            differing += pa != pb ? 1 : 0;
            inked += pa != 0xFFFFFF ? 1 : 0;
        }
    EXPECT_GT(inked, 10);
    EXPECT_EQ(differing, 0);
}

TEST_F(RichEdit, TheFrameworksBarsFollowTheText) {
    ASSERT_NE(Build(L"vscrollbar=\"true\" text=\"short\""), nullptr);
    CScrollBarUI* bar = edit->GetVerticalScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->IsVisible()) << "text that fits shows no bar";
    const RECT wide = edit->GetTextRect();

    edit->AppendText(Lines(40).c_str());
    Layout();
    ASSERT_TRUE(bar->IsVisible()) << "lines that overflow show it";
    EXPECT_GT(bar->GetScrollRange(), 300);
    EXPECT_EQ(edit->GetTextRect().right, wide.right - bar->GetFixedWidth());
    EXPECT_EQ(bar->GetPos().left, edit->GetTextRect().right);
    EXPECT_EQ(bar->GetScrollPos(), TextScrollPos().y);

    edit->HomeUp();
    EXPECT_EQ(bar->GetScrollPos(), 0);
    EXPECT_EQ(TextScrollPos().y, 0);
    edit->EndDown();
    EXPECT_EQ(bar->GetScrollPos(), bar->GetScrollRange()) << "the end is the bar's end";
    EXPECT_EQ(TextScrollPos().y, bar->GetScrollPos());
    edit->LineUp();
    EXPECT_LT(bar->GetScrollPos(), bar->GetScrollRange());
    EXPECT_EQ(TextScrollPos().y, bar->GetScrollPos());

    // The wheel over the text scrolls it a line at a time; the bar follows.
    edit->HomeUp();
    const RECT text = edit->GetTextRect();
    const int x = (text.left + text.right) / 2;
    const int y = (text.top + text.bottom) / 2;
    ::SendMessageW(host->GetHWND(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                   skintest::ScreenPointParam(host->GetHWND(), x, y));
    const int afterOne = bar->GetScrollPos();
    EXPECT_GT(afterOne, 0);
    EXPECT_EQ(TextScrollPos().y, afterOne);
    ::SendMessageW(host->GetHWND(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                   skintest::ScreenPointParam(host->GetHWND(), x, y));
    EXPECT_GT(bar->GetScrollPos(), afterOne);
    EXPECT_EQ(TextScrollPos().y, bar->GetScrollPos());
    ::SendMessageW(host->GetHWND(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA),
                   skintest::ScreenPointParam(host->GetHWND(), x, y));
    EXPECT_EQ(bar->GetScrollPos(), afterOne);
    // Over the bar itself too.
    const RECT barRect = bar->GetPos();
    ::SendMessageW(host->GetHWND(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA),
                   skintest::ScreenPointParam(host->GetHWND(), barRect.left + 4, y));
    EXPECT_EQ(bar->GetScrollPos(), 0);
    EXPECT_EQ(TextScrollPos().y, 0);

    // The bar's own buttons and thumb scroll the text.
    Send(WM_LBUTTONDOWN, barRect.left + 8, barRect.bottom - 8);
    Send(WM_LBUTTONUP, barRect.left + 8, barRect.bottom - 8);
    EXPECT_GT(bar->GetScrollPos(), 0);
    EXPECT_EQ(TextScrollPos().y, bar->GetScrollPos());
    edit->SetScrollPos(SIZE{0, 200});
    EXPECT_EQ(bar->GetScrollPos(), 200);
    EXPECT_EQ(TextScrollPos().y, 200);

    edit->SetText(L"short again");
    Layout();
    EXPECT_FALSE(bar->IsVisible()) << "text that fits again hides it";
    EXPECT_EQ(edit->GetTextRect().right, wide.right);
}

TEST_F(RichEdit, TheBarReachesTextTallerThanSixteenBits) {
    ASSERT_NE(Build(L"vscrollbar=\"true\""), nullptr);
    edit->SetLimitText(1 << 20);
    edit->SetText(Lines(6000).c_str());
    CScrollBarUI* bar = edit->GetVerticalScrollBar();
    ASSERT_GT(bar->GetScrollRange(), 70000);
    // Where the first line went tells the scroll position in full (the scroll position
    // messages scale it into 16 bits).
    const LONG top = edit->GetTextRect().top;
    edit->SetScrollPos(SIZE{0, 70000});
    EXPECT_EQ(bar->GetScrollPos(), 70000);
    EXPECT_EQ(edit->PosFromChar(0).y, top - 70000);
    edit->EndDown();
    EXPECT_EQ(bar->GetScrollPos(), bar->GetScrollRange());
    EXPECT_EQ(edit->PosFromChar(0).y, top - bar->GetScrollRange());
}

TEST_F(RichEdit, ALongTextGivenBeforeAnyWidthWrapsOnlyOnceItHasOne) {
    // The text reaches the text services when the control starts, before layout gives it
    // a width; wrapping it there put every character on a line of its own (over ten
    // seconds for this text under Wine).
    std::wstring words;
    for (int i = 0; i < 1000; ++i)
        words += L"word ";
    const ULONGLONG start = ::GetTickCount64();
    ASSERT_NE(Build(L"multiline=\"true\" text=\"" + words + L"\""), nullptr);
    EXPECT_LT(::GetTickCount64() - start, 2000u);
    // Laid out 300 pixels wide, it wraps there: many lines, far fewer than the words.
    LRESULT lines = 0;
    edit->TxSendMessage(EM_GETLINECOUNT, 0, 0, &lines);
    EXPECT_GT(lines, 20);
    EXPECT_LT(lines, 500);
}

TEST_F(RichEdit, AHorizontalBarFollowsALongLine) {
    ASSERT_NE(Build(L"hscrollbar=\"true\" autohscroll=\"true\" text=\"short\""), nullptr);
    CScrollBarUI* bar = edit->GetHorizontalScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->IsVisible());
    std::wstring line;
    for (int i = 0; i < 40; ++i)
        line += L"word" + std::to_wstring(i) + L" ";
    edit->SetText(line.c_str());
    EXPECT_EQ(edit->GetLineCount(), 1) << "text that may scroll sideways is not wrapped";
    ASSERT_TRUE(bar->IsVisible());
    EXPECT_EQ(edit->GetTextRect().bottom, edit->GetPos().bottom - bar->GetFixedHeight());
    edit->EndRight();
    EXPECT_GT(bar->GetScrollPos(), 0);
    EXPECT_EQ(bar->GetScrollPos(), bar->GetScrollRange());
    EXPECT_EQ(TextScrollPos().x, bar->GetScrollPos());
    edit->LineLeft();
    EXPECT_EQ(TextScrollPos().x, bar->GetScrollPos());
    edit->HomeLeft();
    EXPECT_EQ(bar->GetScrollPos(), 0);
    EXPECT_EQ(TextScrollPos().x, 0);
}

TEST_F(RichEdit, TheMouseFocusesPlacesTheCaretAndSelects) {
    ASSERT_NE(Build(L"text=\"hello world\""), nullptr);
    const CPoint first = edit->PosFromChar(0);
    const CPoint sixth = edit->PosFromChar(6);
    const RECT text = edit->GetTextRect();
    ASSERT_TRUE(::PtInRect(&text, first));
    const int y = first.y + 4;

    // A click in front of "world" focuses the control and puts the caret there.
    Send(WM_LBUTTONDOWN, sixth.x + 1, y);
    Send(WM_LBUTTONUP, sixth.x + 1, y);
    EXPECT_EQ(host->manager.GetFocus(), edit);
    Type(L"big ");
    EXPECT_EQ(Str(edit->GetText()), L"hello big world");

    // A drag selects, and ends where the button comes up even outside the control.
    Send(WM_LBUTTONDOWN, first.x + 1, y);
    Send(WM_MOUSEMOVE, text.right - 2, y);
    EXPECT_EQ(Str(edit->GetSelText()), L"hello big world");
    const RECT below = host->manager.FindControl(L"next")->GetPos();
    Send(WM_MOUSEMOVE, first.x + 1, below.top + 5);
    Send(WM_LBUTTONUP, first.x + 1, below.top + 5);
    EXPECT_NE(::GetCapture(), host->GetHWND()) << "the text services let the mouse go";
    const CSkinString selected = edit->GetSelText();
    Send(WM_MOUSEMOVE, sixth.x + 1, y);
    EXPECT_EQ(Str(edit->GetSelText()), Str(selected)) << "no drag after the button came up";

    // Outside the text the mouse is not the control's.
    Focus(nullptr);
    Send(WM_LBUTTONDOWN, below.left + 5, below.top + 5);
    Send(WM_LBUTTONUP, below.left + 5, below.top + 5);
    EXPECT_NE(host->manager.GetFocus(), edit);
}

TEST_F(RichEdit, TheCaretFollowsTheFocusAndCtrlWheelZooms) {
    ASSERT_NE(Build(L"text=\"caret\""), nullptr);
    const auto caretWindow = [] {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        ::GetGUIThreadInfo(::GetCurrentThreadId(), &info);
        return info.hwndCaret;
    };
    Focus(edit);
    ASSERT_EQ(caretWindow(), host->GetHWND()) << "the focused control has the caret";
    edit->SetSel(2, 2);
    POINT caret{};
    ::GetCaretPos(&caret);
    EXPECT_NEAR(caret.x, edit->PosFromChar(2).x, 2);
    Focus(nullptr);
    EXPECT_EQ(caretWindow(), nullptr) << "and gives it up with the focus";

    // The wheel with Ctrl is the text services' zoom; without, it only scrolls.
    const RECT text = edit->GetTextRect();
    const LPARAM at = skintest::ScreenPointParam(host->GetHWND(), text.left + 10, text.top + 5);
    ::SendMessageW(host->GetHWND(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), at);
    int numerator = 0;
    int denominator = 0;
    edit->GetZoom(numerator, denominator);
    EXPECT_EQ(numerator, 0);
    {
        KeysHeld control{VK_CONTROL};
        ::SendMessageW(host->GetHWND(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA), at);
    }
    edit->GetZoom(numerator, denominator);
    EXPECT_GT(numerator, denominator) << "zoomed in";
    EXPECT_TRUE(edit->SetZoomOff());
    EXPECT_FALSE(edit->SetZoom(65, 1)) << "out of range";
}

TEST_F(RichEdit, SystemKeysStillReachTheWindow) {
    ASSERT_NE(Build(L"text=\"x\""), nullptr);
    int closeRequests = 0;
    host->onMessage = [&closeRequests](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        if (message != WM_SYSCOMMAND || (wParam & 0xFFF0) != SC_CLOSE) return false;
        ++closeRequests;
        result = 0;
        return true;
    };
    Focus(edit);
    const LPARAM altDown = (1 << 29) | (static_cast<LPARAM>(::MapVirtualKeyW(VK_F4, 0)) << 16) | 1;
    {
        KeysHeld alt{VK_MENU};
        ::SendMessageW(host->GetHWND(), WM_SYSKEYDOWN, VK_F4, altDown);
    }
    skintest::PumpMessages(); // the request is posted
    EXPECT_EQ(closeRequests, 1) << "Alt+F4 still asks the window to close";
    EXPECT_EQ(Str(edit->GetText()), L"x");
    host->onMessage = nullptr;
}

TEST(RichEditLayered, TextStaysOpaqueOnAPerPixelAlphaWindow) {
    CDialogBuilder builder;
    CControlUI* root =
        builder.Create(L"<Window><VerticalLayout><RichEdit name=\"edit\" textcolor=\"#FF000000\" "
                       L"text=\"WWW MMM\"/></VerticalLayout></Window>");
    ASSERT_NE(root, nullptr);
    skintest::HostWindow host(root);
    host.manager.SetBackgroundTransparent(true);
    ASSERT_NE(host.Open(200, 100), nullptr);
    ASSERT_TRUE(skintest::PumpUntil([&host] { return !host.notifications.empty(); }));
    ::UpdateWindow(host.GetHWND());
    skintest::PumpMessages();
    HBITMAP layered = host.manager.GetBackgroundBitmap();
    ASSERT_NE(layered, nullptr);
    DIBSECTION section{};
    ASSERT_NE(::GetObjectW(layered, sizeof(section), &section), 0);
    ::GdiFlush();
    int opaque = 0;
    int clear = 0;
    for (int y = 0; y < 30; ++y) {
        const int row = section.dsBm.bmHeight > 0 ? section.dsBm.bmHeight - 1 - y : y;
        const auto* line = reinterpret_cast<const DWORD*>(
            static_cast<const BYTE*>(section.dsBm.bmBits) + row * section.dsBm.bmWidthBytes);
        for (int x = 0; x < 120; ++x) {
            opaque += (line[x] >> 24) == 0xFF ? 1 : 0;
            clear += line[x] == 0 ? 1 : 0;
        }
    }
    EXPECT_GT(opaque, 30) << "the text is not a hole";
    EXPECT_GT(clear, 1000) << "around it the window stays see-through";
    ::DestroyWindow(host.GetHWND());
    skintest::PumpMessages();
}

TEST_F(RichEdit, TheWindowHearsTheTextServicesNotifications) {
    ASSERT_NE(Build(L"text=\"some text\""), nullptr);
    std::vector<UINT> codes;
    HWND window = host->GetHWND();
    host->onMessage = [&codes, window](UINT message, WPARAM, LPARAM lParam, LRESULT&) {
        if (message == WM_NOTIFY) {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            EXPECT_EQ(header->hwndFrom, window);
            codes.push_back(header->code);
        }
        return false;
    };
    edit->SetEventMask(ENM_SELCHANGE | ENM_CHANGE);
    EXPECT_EQ(edit->GetEventMask(), static_cast<DWORD>(ENM_SELCHANGE | ENM_CHANGE));
    edit->SetSel(1, 3);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.back(), static_cast<UINT>(EN_SELCHANGE));
    codes.clear();
    edit->SetEventMask(ENM_CHANGE);
    Focus(edit);
    Type(L"x");
    for (UINT code : codes)
        EXPECT_NE(code, static_cast<UINT>(EN_CHANGE)) << "not one the window hears about";
    host->onMessage = nullptr;
}

TEST_F(RichEdit, GoesAwayWhileFocusedAndBusy) {
    ASSERT_NE(Build(L"vscrollbar=\"true\""), nullptr);
    edit->SetText(Lines(50).c_str());
    Focus(edit);
    const RECT text = edit->GetTextRect();
    Send(WM_LBUTTONDOWN, text.left + 3, text.top + 3);
    Send(WM_MOUSEMOVE, text.left + 30, text.bottom + 40); // a drag past the edge scrolls
    auto* layout = static_cast<CContainerUI*>(host->manager.GetRoot());
    ASSERT_TRUE(layout->Remove(edit));
    skintest::PumpMessages(); // deleted with the clean-up message
    Send(WM_MOUSEMOVE, text.left + 30, text.bottom + 40);
    Send(WM_LBUTTONUP, text.left + 30, text.bottom + 40);
    Post(WM_CHAR, L'x', 1);
    ::Sleep(120);
    skintest::PumpMessages();
    EXPECT_EQ(host->manager.FindControl(L"edit"), nullptr);
    EXPECT_EQ(host->manager.GetFocus(), nullptr);
}

// The same control where the text services library cannot be loaded: this test runs itself
// again from a copy of the test program that Wine keeps the library from (a per-program
// override in the test prefix's registry).
TEST(RichEditWithoutTextServices, StaysInertAndNeverFails) {
    if (std::getenv("VARNEL_WITHOUT_TEXT_SERVICES") == nullptr) {
        wchar_t path[MAX_PATH];
        const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        const std::wstring self(path, length);
        const wchar_t* const copyName = L"test_control_without_msftedit.exe";
        const std::wstring copy = self.substr(0, self.rfind(L'\\') + 1) + copyName;
        ASSERT_TRUE(::CopyFileW(self.c_str(), copy.c_str(), FALSE));
        const std::wstring key =
            std::wstring(L"Software\\Wine\\AppDefaults\\") + copyName + L"\\DllOverrides";
        HKEY overrides = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE,
                                    nullptr, &overrides, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExW(overrides, L"msftedit", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""),
                         sizeof(wchar_t)); // empty: disabled
        ::RegCloseKey(overrides);

        std::wstring command =
            L"\"" + copy + L"\" --gtest_brief=1 --gtest_filter=RichEditWithoutTextServices.*";
        ::SetEnvironmentVariableW(L"VARNEL_WITHOUT_TEXT_SERVICES", L"1");
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        const BOOL started = ::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0,
                                              nullptr, nullptr, &startup, &process);
        ::SetEnvironmentVariableW(L"VARNEL_WITHOUT_TEXT_SERVICES", nullptr);
        DWORD exitCode = 99;
        if (started) {
            ::WaitForSingleObject(process.hProcess, 60000);
            ::GetExitCodeProcess(process.hProcess, &exitCode);
            ::CloseHandle(process.hProcess);
            ::CloseHandle(process.hThread);
        }
        ::RegDeleteTreeW(HKEY_CURRENT_USER,
                         (std::wstring(L"Software\\Wine\\AppDefaults\\") + copyName).c_str());
        ::DeleteFileW(copy.c_str());
        ASSERT_TRUE(started);
        EXPECT_EQ(exitCode, 0u) << "the run without the library failed";
        return;
    }

    ASSERT_EQ(::LoadLibraryW(L"msftedit.dll"), nullptr) << "the library is kept away";
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        L"<Window><VerticalLayout><Button name=\"first\" height=\"30\"/><RichEdit name=\"edit\" "
        L"height=\"100\" vscrollbar=\"true\" bkcolor=\"#FF00FF00\" text=\"kept\"/><Button "
        L"name=\"last\" height=\"30\"/></VerticalLayout></Window>");
    ASSERT_NE(root, nullptr);
    skintest::HostWindow host(root);
    ASSERT_NE(host.Open(300, 300), nullptr);
    ASSERT_TRUE(skintest::PumpUntil([&host] { return !host.notifications.empty(); }));
    auto* edit = static_cast<CRichEditUI*>(host.manager.FindControl(L"edit"));
    ASSERT_NE(edit, nullptr);
    EXPECT_FALSE(edit->HasTextServices());
    EXPECT_EQ(edit->GetControlFlags(), 0u) << "no tab stop";
    EXPECT_FALSE(edit->IsWantTab()) << "nowhere to type a tab";
    EXPECT_EQ(Str(edit->GetText()), L"kept");
    edit->SetText(L"stored");
    EXPECT_EQ(Str(edit->GetText()), L"stored");
    LRESULT result = 7;
    EXPECT_EQ(edit->TxSendMessage(WM_GETTEXTLENGTH, 0, 0, &result), S_FALSE);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(edit->GetTextLength(), 0);
    EXPECT_EQ(edit->GetLineCount(), 0);
    EXPECT_EQ(Str(edit->GetSelText()), L"");
    EXPECT_EQ(Str(edit->GetTextRange(0, -1)), L"");
    EXPECT_EQ(edit->SetSel(0, -1), 0);
    EXPECT_FALSE(edit->Undo());
    EXPECT_EQ(edit->GetTxDropTarget(), nullptr);
    edit->LineDown();
    edit->SetScrollPos(SIZE{0, 50});
    edit->SetReadOnly(false);
    edit->SetFont(1);
    edit->AppendText(L"more");
    EXPECT_FALSE(edit->GetVerticalScrollBar()->IsVisible());

    // Input passes by: Tab goes from the first button to the last.
    host.manager.SetFocus(host.manager.FindControl(L"first"));
    const RECT rc = edit->GetPos();
    const HWND window = host.GetHWND();
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.left + 5, rc.top + 5));
    ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(rc.left + 5, rc.top + 5));
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ::PostMessageW(window, WM_KEYDOWN, VK_TAB, 1);
    ::PostMessageW(window, WM_CHAR, L'x', 1);
    skintest::PumpMessages();
    EXPECT_EQ(host.manager.GetFocus(), host.manager.FindControl(L"last"));

    // The background still paints.
    RenderTest::Surface surface(300, 300, 0xFFFFFFFF);
    ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.dc()), PRF_CLIENT);
    EXPECT_EQ(surface.Pixel(rc.left + 10, rc.top + 10) & 0xFFFFFF, 0x00FF00u);
    ::DestroyWindow(window);
    skintest::PumpMessages();
}
