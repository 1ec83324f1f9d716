// The gallery's window from its own skin, driven with real mouse and key messages: the
// status line names each notification, the handlers make the controls work together, and
// the layered window opens with its shadow and closes with the gallery.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "GalleryWindow.h"
#include "support/SkinTestKit.h"

using namespace SkinUI;

namespace {

std::wstring TestDirectory() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path, length);
    return directory.substr(0, directory.rfind(L'\\') + 1);
}

// The gallery as the build leaves it: its program with the skin beside it.
const std::wstring kGalleryFolder = TestDirectory() + L"..\\examples\\gallery\\";

class Gallery : public ::testing::Test {
protected:
    void SetUp() override {
        window = new CGalleryWindow((kGalleryFolder + L"skin\\").c_str());
        hwnd = window->Create(nullptr, L"SkinUI Gallery", WS_POPUP | WS_SYSMENU | WS_THICKFRAME, 0);
        ASSERT_NE(hwnd, nullptr);
        ::SetWindowPos(hwnd, nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        window->ShowWindow(true, false);
        ASSERT_TRUE(skintest::PumpUntil([this] { return Status() == L"gallery: windowinit"; }))
            << "the first paint's notification shows in the status line";
    }
    void TearDown() override {
        if (::IsWindow(hwnd)) ::DestroyWindow(hwnd);
        skintest::PumpMessages();
        TakeQuit();
        delete window;
    }

    // The quit message the window posts when it goes, taken off the queue.
    bool TakeQuit() {
        MSG msg{};
        return ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    }
    CControlUI* Find(const wchar_t* name) { return window->GetPaintManager().FindControl(name); }
    template <class T> T* Find(const wchar_t* name, const wchar_t* interfaceName) {
        CControlUI* control = Find(name);
        return control != nullptr ? static_cast<T*>(control->GetInterface(interfaceName)) : nullptr;
    }
    std::wstring Text(const wchar_t* name) {
        CControlUI* control = Find(name);
        return control != nullptr ? control->GetText().GetData() : L"<missing>";
    }
    std::wstring Status() { return Text(L"status"); }
    std::wstring Choice() { return Text(L"choice"); }

    // Lays out and paints now, so that positions are current.
    void Layout() {
        ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        skintest::PumpMessages();
    }
    void Press(HWND target, int x, int y) {
        ::SendMessageW(target, WM_MOUSEMOVE, 0, skintest::PointParam(x, y));
        ::SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, skintest::PointParam(x, y));
    }
    void Release(HWND target, int x, int y) {
        ::SendMessageW(target, WM_LBUTTONUP, 0, skintest::PointParam(x, y));
        skintest::PumpMessages();
    }
    void ClickAt(int x, int y) {
        Press(hwnd, x, y);
        Release(hwnd, x, y);
    }
    // A click in the middle of a control, or at an offset from its top left corner.
    void Click(CControlUI* control, int dx = -1, int dy = -1) {
        ASSERT_NE(control, nullptr);
        const RECT& place = control->GetPos();
        ClickAt(dx < 0 ? (place.left + place.right) / 2 : place.left + dx,
                dy < 0 ? (place.top + place.bottom) / 2 : place.top + dy);
    }
    void ShowPage(const wchar_t* tab) {
        Click(Find(tab));
        Layout();
    }
    // Top-level windows of this thread with a class name.
    std::vector<HWND> WindowsOfClass(const wchar_t* className) {
        struct Search {
            const wchar_t* className;
            std::vector<HWND> found;
        } search{className, {}};
        ::EnumThreadWindows(
            ::GetCurrentThreadId(),
            [](HWND candidate, LPARAM data) -> BOOL {
                auto* search = reinterpret_cast<Search*>(data);
                wchar_t name[64] = L"";
                ::GetClassNameW(candidate, name, 64);
                if (std::wstring(name) == search->className) search->found.push_back(candidate);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    CGalleryWindow* window = nullptr;
    HWND hwnd = nullptr;
};

TEST_F(Gallery, TheTabsShowTheirPagesAndTheStatusLineTellsWhatHappened) {
    auto* pages = Find<CTabLayoutUI>(L"pages", L"TabLayout");
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->GetCurSel(), 0);
    const struct {
        const wchar_t* tab;
        int page;
    } tabs[] = {{L"tab_lists", 1}, {L"tab_text", 2}, {L"tab_layered", 3}, {L"tab_controls", 0}};
    for (const auto& tab : tabs) {
        ShowPage(tab.tab);
        EXPECT_EQ(pages->GetCurSel(), tab.page) << tab.tab;
        EXPECT_EQ(Status(), L"pages: tabselect") << "the last notification of the click";
    }
    // A tab already shown stays; only the click is told.
    ShowPage(L"tab_controls");
    EXPECT_EQ(pages->GetCurSel(), 0);
    EXPECT_EQ(Status(), L"tab_controls: click");
}

TEST_F(Gallery, TheSliderDrivesTheProgressBarAndItsFigure) {
    auto* volume = Find<CSliderUI>(L"volume", L"Slider");
    auto* meter = Find<CProgressUI>(L"meter", L"Progress");
    ASSERT_NE(volume, nullptr);
    ASSERT_NE(meter, nullptr);
    EXPECT_EQ(meter->GetValue(), 60);

    // The thumb dragged to the slider's left quarter.
    const RECT thumb = volume->GetThumbRect();
    const RECT& track = volume->GetPos();
    const int y = (thumb.top + thumb.bottom) / 2;
    Press(hwnd, (thumb.left + thumb.right) / 2, y);
    ::SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON,
                   skintest::PointParam(track.left + (track.right - track.left) / 4, y));
    Release(hwnd, track.left + (track.right - track.left) / 4, y);
    EXPECT_LT(volume->GetValue(), 40);
    EXPECT_GT(volume->GetValue(), 10);
    EXPECT_EQ(meter->GetValue(), volume->GetValue());
    EXPECT_EQ(Text(L"percent"), std::to_wstring(volume->GetValue()) + L" %");
    EXPECT_EQ(Status(), L"volume: valuechanged");

    // A release at the right end: all the way.
    Press(hwnd, track.right - 1, y);
    Release(hwnd, track.right - 1, y);
    EXPECT_EQ(meter->GetValue(), 100);
    EXPECT_EQ(Text(L"percent"), L"100 %");
}

TEST_F(Gallery, TheCheckBoxUnlocksTheThirdButtonAndTheOptionsAreOneGroup) {
    CControlUI* locked = Find(L"lockedbtn");
    ASSERT_NE(locked, nullptr);
    EXPECT_FALSE(locked->IsEnabled());
    Click(locked);
    EXPECT_NE(Status(), L"lockedbtn: click") << "a disabled button is not clicked";

    Click(Find(L"unlock"), 8);
    EXPECT_TRUE(locked->IsEnabled());
    EXPECT_EQ(Text(L"lockedbtn"), L"Unlocked");
    Click(locked);
    EXPECT_EQ(Status(), L"lockedbtn: click");
    Click(Find(L"unlock"), 8);
    EXPECT_FALSE(locked->IsEnabled());
    EXPECT_EQ(Text(L"lockedbtn"), L"Locked");

    auto* low = Find<COptionUI>(L"low", L"Option");
    auto* medium = Find<COptionUI>(L"medium", L"Option");
    ASSERT_NE(low, nullptr);
    ASSERT_NE(medium, nullptr);
    EXPECT_TRUE(medium->IsSelected());
    Click(low, 8);
    EXPECT_TRUE(low->IsSelected());
    EXPECT_FALSE(medium->IsSelected());
    EXPECT_EQ(Status(), L"low: selectchanged");
    EXPECT_EQ(Find<CTabLayoutUI>(L"pages", L"TabLayout")->GetCurSel(), 0)
        << "only the tabs' group turns pages";
}

TEST_F(Gallery, CombosListsAndTheTreeShowWhatWasChosen) {
    const LPARAM overRegion = [this] {
        const RECT& place = Find(L"region")->GetPos();
        return skintest::ScreenPointParam(hwnd, place.left + 20, (place.top + place.bottom) / 2);
    }();
    ::SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), overRegion);
    EXPECT_EQ(Choice(), L"region: Americas");
    EXPECT_EQ(Status(), L"region: itemselect");

    ShowPage(L"tab_lists");
    auto* servers = Find<CListUI>(L"servers", L"List");
    ASSERT_NE(servers, nullptr);
    ASSERT_EQ(servers->GetCount(), 14) << "the rows the program adds";
    auto* second = static_cast<CListTextElementUI*>(servers->GetItemAt(1));
    EXPECT_STREQ(second->GetText(2), L"877") << "one text per column";
    Click(second);
    EXPECT_EQ(servers->GetCurSel(), 1);
    EXPECT_EQ(Choice(), L"Server: Harbour, Europe");

    auto* tree = Find<CTreeViewUI>(L"tree", L"TreeView");
    ASSERT_NE(tree, nullptr);
    CControlUI* login = tree->GetItemAt(1);
    ASSERT_NE(login, nullptr);
    Click(login, 60);
    EXPECT_EQ(Choice(), L"Tree: login.xml");
}

TEST_F(Gallery, LinksAndEnterShowWhereTheyLead) {
    // The first link of the formatted text, found by its colour in a painting of the window.
    CControlUI* intro = Find(L"intro");
    ASSERT_NE(intro, nullptr);
    RECT client{};
    ::GetClientRect(hwnd, &client);
    CBitmapDC canvas;
    {
        const CWindowDC screen(nullptr);
        ASSERT_TRUE(canvas.Create(screen.Get(), CGdiBitmap(::CreateCompatibleBitmap(
                                                    screen.Get(), client.right, client.bottom))));
    }
    ::SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.GetDC()), PRF_CLIENT);
    POINT link{-1, -1};
    const RECT& text = intro->GetPos();
    const COLORREF linkColour = RGB(0, 0, 255);                // the manager's default link colour
    for (int x = text.left; x < text.right && link.x < 0; ++x) // the leftmost: "guide"
        for (int y = text.top; y < text.bottom && link.x < 0; ++y)
            if (::GetPixel(canvas.GetDC(), x, y) == linkColour) link = POINT{x, y};
    ASSERT_GE(link.x, 0) << "no link drawn";
    ClickAt(link.x, link.y);
    EXPECT_EQ(Status(), L"intro: link");
    EXPECT_EQ(Choice(), L"Link: https://skinui.example/guide");

    // Enter in the name's native edit.
    Click(Find(L"player"), 60, 2);
    const HWND native = ::FindWindowExW(hwnd, nullptr, L"EditWnd", nullptr);
    ASSERT_NE(native, nullptr);
    ::PostMessageW(native, WM_KEYDOWN, VK_RETURN, 1);
    ::PostMessageW(native, WM_KEYUP, VK_RETURN, 0xC0000001);
    skintest::PumpMessages();
    EXPECT_EQ(Status(), L"player: return");
    EXPECT_EQ(Choice(), L"Hello, Player One");
}

TEST_F(Gallery, TheLayeredWindowOpensOnceWithItsShadowAndClosesWithTheGallery) {
    ShowPage(L"tab_layered");
    CControlUI* open = Find(L"openlayered");
    Click(open);
    std::vector<HWND> layered = WindowsOfClass(L"SkinUIGalleryLayered");
    ASSERT_EQ(layered.size(), 1u);
    const HWND second = layered[0];
    EXPECT_EQ(::GetWindow(second, GW_OWNER), hwnd);
    EXPECT_TRUE(::IsWindowVisible(second));
    EXPECT_NE(::GetWindowLongPtrW(second, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    Click(open);
    EXPECT_EQ(WindowsOfClass(L"SkinUIGalleryLayered").size(), 1u) << "one at a time";

    // What it painted, read back: a shadow fading out to the edges around a panel that is
    // nine-tenths opaque.
    ::RedrawWindow(second, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    auto* skinned = dynamic_cast<WindowImplBase*>(
        reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(second, GWLP_USERDATA)));
    ASSERT_NE(skinned, nullptr);
    const HBITMAP painted = skinned->GetPaintManager().GetBackgroundBitmap();
    ASSERT_NE(painted, nullptr);
    BITMAP info{};
    ASSERT_NE(::GetObjectW(painted, sizeof(info), &info), 0);
    ASSERT_EQ(info.bmBitsPixel, 32);
    const auto* bits = static_cast<const BYTE*>(info.bmBits);
    ASSERT_NE(bits, nullptr);
    const auto alpha = [&](int x, int y) { // rows run bottom-up
        return bits[static_cast<size_t>(info.bmHeight - 1 - y) * info.bmWidthBytes + x * 4 + 3];
    };
    const int middleX = info.bmWidth / 2;
    const int middleY = info.bmHeight / 2;
    EXPECT_LT(alpha(0, 0), 8) << "the very corner is all but clear";
    EXPECT_GT(alpha(middleX, 12), 0) << "the shadow above the panel";
    EXPECT_LT(alpha(middleX, 12), 0xE6);
    EXPECT_GT(alpha(middleX, 12), alpha(middleX, 4)) << "darker towards the panel";
    EXPECT_GT(alpha(info.bmWidth - 12, middleY), 0) << "and beside it";
    EXPECT_EQ(alpha(middleX, 60), 0xE6) << "the panel";

    // Escape closes it, not the gallery.
    ::PostMessageW(second, WM_KEYDOWN, VK_ESCAPE, 1);
    skintest::PumpMessages();
    EXPECT_FALSE(::IsWindow(second));
    EXPECT_TRUE(::IsWindow(hwnd));
    EXPECT_FALSE(TakeQuit());

    // Open again, then the gallery's close button takes both, and ends the program.
    ShowPage(L"tab_layered");
    Click(open);
    ASSERT_EQ(WindowsOfClass(L"SkinUIGalleryLayered").size(), 1u);
    Click(Find(L"closebtn"));
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_TRUE(WindowsOfClass(L"SkinUIGalleryLayered").empty());
    EXPECT_TRUE(TakeQuit()) << "the gallery's end ends the message loop";
}

TEST_F(Gallery, MaximisingSwapsTheMaximiseButtonForRestore) {
    CControlUI* maximise = Find(L"maxbtn");
    CControlUI* restore = Find(L"restorebtn");
    ASSERT_NE(maximise, nullptr);
    ASSERT_NE(restore, nullptr);
    EXPECT_TRUE(maximise->IsVisible());
    EXPECT_FALSE(restore->IsVisible());
    Click(maximise);
    EXPECT_TRUE(::IsZoomed(hwnd));
    EXPECT_FALSE(maximise->IsVisible());
    EXPECT_TRUE(restore->IsVisible());
    Layout();
    Click(restore);
    EXPECT_FALSE(::IsZoomed(hwnd));
    EXPECT_TRUE(maximise->IsVisible());
    EXPECT_FALSE(restore->IsVisible());
}

} // namespace
