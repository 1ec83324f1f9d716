// The rich edit over the platform's text services, built from skin XML into a shown window
// and driven with real window messages: text, selection, the editing styles, typed keys,
// Enter and Tab, the mouse, the framework's scroll bars following the text, notifications,
// and an inert control when the text services library is missing.
#include "HostedTree.h"
#include "render/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "control/RichEditUI.h"
#include "control/ScrollBarUI.h"
#include "core/DialogBuilder.h"

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
