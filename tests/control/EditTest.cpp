// The edit control in a shown window: the native edit it opens over itself on focus,
// keystrokes into that window, its modes and limits, how it closes and gives its text
// back, and what the control paints and lets be read of a password.
#include "FreedMemoryGuard.h"
#include "HostedTree.h"

#include <gtest/gtest.h>

#include <string>

#include "control/EditUI.h"
#include "control/VerticalLayoutUI.h"
#include "render/RenderTestSupport.h"

using namespace SkinUI;

namespace {

// An edit whose memory faults once it is freed.
struct GuardedEdit : CEditUI, freedguard::GuardedAllocation {};

class EditInput : public HostedTree {
protected:
    // A page at the top of the window, inset 10,8, holding one edit 24 high:
    // the edit spans (10,8)-(290,32).
    CEditUI* HostEdit(const wchar_t* attributes = L"", CEditUI* edit = nullptr) {
        root = new CVerticalLayoutUI;
        page = new CVerticalLayoutUI;
        page->ApplyAttributeList(L"height=\"40\" inset=\"10,8,10,8\"");
        if (edit == nullptr) edit = new CEditUI;
        edit->ApplyAttributeList(L"name=\"edit\" height=\"24\"");
        edit->ApplyAttributeList(attributes);
        page->Add(edit);
        root->Add(page);
        Host(root);
        // The first layout focused the edit; the host took the focus back.
        skintest::PumpUntil([this] { return Native() == nullptr; });
        return edit;
    }
    // Clicks the edit's top padding, which the native window leaves uncovered.
    void ClickEdit() {
        Send(WM_LBUTTONDOWN, 100, 9);
        Send(WM_LBUTTONUP, 100, 9);
    }
    HWND Native() const { return ::FindWindowExW(host->GetHWND(), nullptr, L"EditWnd", nullptr); }
    // Opens the native window by a click and answers it.
    HWND Open() {
        ClickEdit();
        skintest::PumpMessages();
        return Native();
    }
    // Posts each character to the native window, as a keyboard would queue them.
    void Type(HWND native, const wchar_t* text) {
        for (const wchar_t* p = text; *p != L'\0'; ++p)
            ::PostMessageW(native, WM_CHAR, *p, 1);
        skintest::PumpMessages();
    }
    void Key(HWND native, UINT key) {
        ::PostMessageW(native, WM_KEYDOWN, key, 1);
        ::PostMessageW(native, WM_KEYUP, key, 0xC0000001);
        skintest::PumpMessages();
    }
    // Moves the focus away from the native window and lets it close.
    void LoseFocus() {
        ::SetFocus(host->GetHWND());
        skintest::PumpUntil([this] { return Native() == nullptr; });
    }
    std::wstring NativeText(HWND native) const {
        wchar_t text[64] = L"?";
        ::GetWindowTextW(native, text, 64);
        return text;
    }
    int Notifications(const wchar_t* type) const {
        int count = 0;
        for (const std::wstring& seen : host->notifications)
            count += seen == type ? 1 : 0;
        return count;
    }

    CVerticalLayoutUI* root = nullptr;
    CVerticalLayoutUI* page = nullptr;
};

} // namespace

TEST_F(EditInput, FocusOpensTheNativeWindowOverTheTextAreaSetUpFromTheControl) {
    CEditUI* edit = HostEdit(L"text=\"hello\" maxchar=\"40\" readonly=\"true\"");
    ASSERT_EQ(Native(), nullptr);
    const HWND native = Open();
    ASSERT_NE(native, nullptr);
    EXPECT_EQ(host->manager.GetFocus(), edit);
    EXPECT_EQ(::GetFocus(), native);
    EXPECT_TRUE(::IsWindowVisible(native));
    EXPECT_EQ(NativeText(native), L"hello");
    EXPECT_EQ(::SendMessageW(native, EM_GETLIMITTEXT, 0, 0), 40);
    EXPECT_NE(::GetWindowLongPtrW(native, GWL_STYLE) & ES_READONLY, 0);
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(native, WM_GETFONT, 0, 0)),
              host->manager.GetFont(-1));

    // The text area less the padding 4,3,4,3, narrowed to one line of the font, centred.
    RECT placed{};
    ::GetWindowRect(native, &placed);
    ::MapWindowPoints(nullptr, host->GetHWND(), reinterpret_cast<POINT*>(&placed), 2);
    const int fontHeight = host->manager.GetFontInfo(-1)->metrics.tmHeight;
    ASSERT_LT(fontHeight, 18);
    const int top = 11 + (18 - fontHeight) / 2;
    EXPECT_EQ(placed.left, 14);
    EXPECT_EQ(placed.right, 286);
    EXPECT_EQ(placed.top, top);
    EXPECT_EQ(placed.bottom, top + fontHeight);

    // The click selected everything.
    DWORD start = 9, end = 9;
    ::SendMessageW(native, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 5u);

    // The window moves with the control.
    page->SetFixedHeight(60);
    page->SetInset(RECT{20, 18, 20, 18});
    Layout();
    ::GetWindowRect(native, &placed);
    ::MapWindowPoints(nullptr, host->GetHWND(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, 24);
    EXPECT_EQ(placed.top, 21 + (18 - fontHeight) / 2);
}

TEST_F(EditInput, TypingFollowsIntoTheControlWithTextChangedAndEnterSendsReturn) {
    CEditUI* edit = HostEdit();
    const HWND native = Open();
    ASSERT_NE(native, nullptr);
    host->notifications.clear();
    std::wstring seenText;
    host->onNotify = [&](TNotifyUI& msg) {
        if (msg.type == L"textchanged") seenText = edit->GetText().GetData();
    };
    Type(native, L"abc");
    EXPECT_EQ(std::wstring(edit->GetText()), L"abc");
    EXPECT_EQ(Notifications(L"textchanged"), 3);
    EXPECT_EQ(seenText, L"abc") << "the text is in the control when it is reported";

    Key(native, VK_RETURN);
    EXPECT_EQ(Notifications(L"return"), 1);
    EXPECT_EQ(::IsWindow(native), TRUE) << "Enter does not close the window";
    EXPECT_EQ(NativeText(native), L"abc") << "nor reaches the native edit";
    EXPECT_EQ(Notifications(L"textchanged"), 3);

    // Text set while open goes into the window.
    edit->SetText(L"xyz");
    EXPECT_EQ(NativeText(native), L"xyz");
    edit->SetSelAll();
    edit->SetReplaceSel(L"12");
    EXPECT_EQ(std::wstring(edit->GetText()), L"12");

    // Focus elsewhere: the window closes and the control keeps the text.
    LoseFocus();
    EXPECT_EQ(Native(), nullptr);
    EXPECT_EQ(std::wstring(edit->GetText()), L"12");
    edit->SetSelAll(); // nothing to select in: no window
    edit->SetText(L"after");
    EXPECT_EQ(std::wstring(edit->GetText()), L"after");
}

TEST_F(EditInput, NumberOnlyRefusesLettersAndTheLengthLimitHolds) {
    CEditUI* edit = HostEdit(L"numberonly=\"true\" maxchar=\"4\"");
    const HWND native = Open();
    ASSERT_NE(native, nullptr);
    EXPECT_NE(::GetWindowLongPtrW(native, GWL_STYLE) & ES_NUMBER, 0);
    Type(native, L"1a2b");
    EXPECT_EQ(std::wstring(edit->GetText()), L"12");
    Type(native, L"34567");
    EXPECT_EQ(std::wstring(edit->GetText()), L"1234");
    EXPECT_EQ(NativeText(native), L"1234");

    // A limit set while open applies at once.
    edit->SetText(L"");
    edit->SetMaxChar(2);
    Type(native, L"987");
    EXPECT_EQ(std::wstring(edit->GetText()), L"98");
}

TEST_F(EditInput, APasswordCannotBeReadOutOfTheNativeWindow) {
    CEditUI* edit = HostEdit(L"password=\"true\"");
    const HWND native = Open();
    ASSERT_NE(native, nullptr);
    EXPECT_NE(::GetWindowLongPtrW(native, GWL_STYLE) & ES_PASSWORD, 0);
    EXPECT_EQ(::SendMessageW(native, EM_GETPASSWORDCHAR, 0, 0), L'*');
    Type(native, L"s3cret");
    EXPECT_EQ(std::wstring(edit->GetText()), L"s3cret");
    EXPECT_EQ(NativeText(native), L"");
    EXPECT_EQ(::GetWindowTextLengthW(native), 0);
    wchar_t buffer[16] = L"untouched";
    EXPECT_EQ(::SendMessageW(native, WM_GETTEXT, 16, reinterpret_cast<LPARAM>(buffer)), 0);
    EXPECT_EQ(std::wstring(buffer), L"");
    wchar_t line[16] = {16};
    EXPECT_EQ(::SendMessageW(native, EM_GETLINE, 0, reinterpret_cast<LPARAM>(line)), 0);
    EXPECT_EQ(line[0], 16) << "nothing copied";

    edit->SetPasswordChar(L'#');
    EXPECT_EQ(::SendMessageW(native, EM_GETPASSWORDCHAR, 0, 0), L'#');
}

TEST_F(EditInput, AClickOnTheFocusedEditOpensItAgainAndSelectsAll) {
    CEditUI* edit = HostEdit(L"text=\"four\"");
    HWND native = Open();
    ASSERT_NE(native, nullptr);
    // The native window loses the focus to the paint window: it closes, the control
    // stays focused.
    LoseFocus();
    ASSERT_EQ(host->manager.GetFocus(), edit);
    native = Open();
    ASSERT_NE(native, nullptr);
    DWORD start = 9, end = 9;
    ::SendMessageW(native, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 4u);
    // A further click selects everything again.
    ::SendMessageW(native, EM_SETSEL, 1, 2);
    ClickEdit();
    ::SendMessageW(native, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 4u);
}

TEST_F(EditInput, HidingThePageHidesAndClosesTheNativeWindow) {
    CEditUI* edit = HostEdit(L"text=\"kept\"");
    const HWND native = Open();
    ASSERT_NE(native, nullptr);
    page->SetVisible(false);
    EXPECT_FALSE(::IsWindowVisible(native)) << "hidden at once";
    EXPECT_FALSE(edit->IsVisible());
    EXPECT_NE(host->manager.GetFocus(), edit);
    EXPECT_TRUE(skintest::PumpUntil([this] { return Native() == nullptr; }));
    EXPECT_EQ(std::wstring(edit->GetText()), L"kept");

    // Hiding the edit itself does the same.
    page->SetVisible(true);
    ASSERT_NE(Open(), nullptr);
    edit->SetVisible(false);
    EXPECT_TRUE(skintest::PumpUntil([this] { return Native() == nullptr; }));
}

TEST_F(EditInput, TheNativeWindowGoesWithItsControl) {
    freedguard::Scope guard;
    HostEdit(L"text=\"abc\"", new GuardedEdit);
    const HWND native = Open();
    ASSERT_NE(native, nullptr);
    ASSERT_EQ(::GetFocus(), native);

    // The page is removed while the edit is open; it is freed when the queue runs.
    root->Remove(page);
    page = nullptr;
    skintest::PumpMessages();
    EXPECT_FALSE(::IsWindow(native)) << "the native window went with its control";
    // What a user could still do to a window left behind: type, then leave it.
    if (::IsWindow(native)) {
        ::SendMessageW(native, WM_CHAR, L'x', 1);
        ::SetFocus(host->GetHWND());
        skintest::PumpMessages();
    }
    EXPECT_EQ(freedguard::Faults(), 0) << "the freed control was written to";

    // Deleted straight from a notification of its own native window.
    CEditUI* second = new GuardedEdit;
    second->ApplyAttributeList(L"height=\"24\"");
    root->Add(second);
    Layout();
    host->manager.SetFocus(second);
    const HWND secondNative = Native();
    ASSERT_NE(secondNative, nullptr);
    host->onNotify = [&](TNotifyUI& msg) {
        if (msg.type == L"return" && msg.sender == second) {
            root->SetDelayedDestroy(false);
            root->Remove(second);
        }
    };
    Key(secondNative, VK_RETURN);
    EXPECT_FALSE(::IsWindow(secondNative));
    EXPECT_EQ(freedguard::Faults(), 0);
}

TEST_F(EditInput, NativeBackgroundColourReachesTheNativeWindowThroughItsParent) {
    CEditUI* edit = HostEdit(L"textcolor=\"#FF102030\"");
    const HWND native = Open();
    ASSERT_NE(native, nullptr);
    const HDC dc = ::GetDC(native);
    // The platform's colours: no brush of ours.
    EXPECT_EQ(::SendMessageW(host->GetHWND(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                             reinterpret_cast<LPARAM>(native)),
              0);
    edit->SetNativeEditBkColor(0xFF336699);
    const auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(host->GetHWND(), WM_CTLCOLOREDIT,
                                                               reinterpret_cast<WPARAM>(dc),
                                                               reinterpret_cast<LPARAM>(native)));
    ASSERT_NE(brush, nullptr);
    LOGBRUSH description{};
    ::GetObjectW(brush, sizeof(description), &description);
    EXPECT_EQ(description.lbColor, RGB(0x33, 0x66, 0x99));
    EXPECT_EQ(::GetTextColor(dc), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(::GetBkMode(dc), TRANSPARENT);
    // One brush for the window's life.
    EXPECT_EQ(::SendMessageW(host->GetHWND(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                             reinterpret_cast<LPARAM>(native)),
              reinterpret_cast<LRESULT>(brush));
    ::ReleaseDC(native, dc);
}

namespace {

// A manager without a window, holding 4 x 4 images in blue ("n"), green ("h"), red
// ("f") and grey ("d").
class EditPaint : public ::testing::Test {
protected:
    void SetUp() override {
        const struct {
            const wchar_t* name;
            DWORD color;
        } images[] = {
            {L"n", 0xFF0000FF}, {L"h", 0xFF00FF00}, {L"f", 0xFFFF0000}, {L"d", 0xFF808080}};
        for (const auto& image : images) {
            RenderTest::Bitmap solid(4, 4, RenderTest::Solid(4, 4, image.color));
            HBITMAP copy = static_cast<HBITMAP>(
                ::CopyImage(solid.get(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
            ASSERT_NE(manager.AddImage(image.name, copy, 4, 4, false), nullptr);
        }
    }
    std::vector<DWORD> Paint(CEditUI& edit) {
        edit.SetManager(&manager, nullptr, false);
        edit.SetPos(surface.rect());
        surface.Fill(0xFFFFFFFF);
        edit.DoPaint(surface.dc(), surface.rect());
        return surface.Pixels();
    }
    void Send(CEditUI& edit, int type) {
        TEventUI event;
        event.type = type;
        edit.Event(event);
    }

    CPaintManagerUI manager;
    RenderTest::Surface surface{80, 20, 0xFFFFFFFF, 24};
};

} // namespace

TEST_F(EditPaint, APasswordIsPaintedAsOneMaskCharacterPerCharacter) {
    CEditUI password;
    password.ApplyAttributeList(L"password=\"true\" text=\"s3cret\"");
    const std::vector<DWORD> masked = Paint(password);
    CEditUI stars;
    stars.SetText(L"******");
    EXPECT_EQ(Paint(stars), masked) << "exactly the six asterisks";
    CEditUI plain;
    plain.SetText(L"s3cret");
    EXPECT_NE(Paint(plain), masked);

    password.SetPasswordChar(L'#');
    password.SetText(L"abc");
    CEditUI hashes;
    hashes.SetText(L"###");
    const std::vector<DWORD> hashed = Paint(password);
    EXPECT_EQ(Paint(hashes), hashed);
}

TEST_F(EditPaint, StateImagesFollowDisabledFocusedAndHot) {
    CEditUI edit;
    edit.ApplyAttributeList(L"normalimage=\"n\" hotimage=\"h\" focusedimage=\"f\" "
                            L"disabledimage=\"d\"");
    Paint(edit);
    EXPECT_EQ(surface.Pixel(40, 10), 0xFF0000FFu) << "normal";
    Send(edit, UIEVENT_MOUSEENTER);
    Paint(edit);
    EXPECT_EQ(surface.Pixel(40, 10), 0xFF00FF00u) << "hot";
    edit.SetEnabled(false);
    Paint(edit);
    EXPECT_EQ(surface.Pixel(40, 10), 0xFF808080u) << "disabled wins";
    edit.SetEnabled(true);
    Paint(edit);
    EXPECT_EQ(surface.Pixel(40, 10), 0xFF0000FFu) << "disabling forgot the hot state";
    // Focused without a window to open a native edit in: the focused look all the same.
    Send(edit, UIEVENT_MOUSEENTER);
    Send(edit, UIEVENT_SETFOCUS);
    Paint(edit);
    EXPECT_EQ(surface.Pixel(40, 10), 0xFFFF0000u) << "focused wins over hot";
}
