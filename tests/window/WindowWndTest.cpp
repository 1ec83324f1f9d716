#include "window/WindowWnd.h"

#include "core/Handles.h"
#include "support/SkinTestKit.h"
#include "window/PaintManagerUI.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

using skintest::PumpMessages;
using SkinUI::CWindowWnd;

namespace {

// A window that records what it sees and can be told how to answer.
class ProbeWindow : public CWindowWnd {
public:
    std::vector<UINT> messages;
    bool boundAtNcCreate = false;
    bool handleClearedAtFinal = false;
    int finalCalls = 0;
    std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)> answer; // true: handled
    std::function<void(HWND)> atFinal;

protected:
    const wchar_t* GetWndClassName() const override { return L"SkinTestProbe"; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        messages.push_back(message);
        if (message == WM_NCCREATE) boundAtNcCreate = GetHWND() != nullptr;
        LRESULT result = 0;
        if (answer && answer(message, wParam, lParam, result)) return result;
        return CWindowWnd::HandleMessage(message, wParam, lParam);
    }
    void OnFinalMessage(HWND hWnd) override {
        ++finalCalls;
        handleClearedAtFinal = GetHWND() == nullptr && hWnd != nullptr;
        if (atFinal) atFinal(hWnd);
    }
};

// A super-class of the system edit control.
class EditWindow : public ProbeWindow {
public:
    HANDLE propertyAtFinal = reinterpret_cast<HANDLE>(1);

protected:
    const wchar_t* GetWndClassName() const override { return L"SkinTestEdit"; }
    const wchar_t* GetSuperClassName() const override { return L"EDIT"; }
    void OnFinalMessage(HWND hWnd) override {
        propertyAtFinal = ::GetPropW(hWnd, L"WndX");
        ProbeWindow::OnFinalMessage(hWnd);
    }
};

class MissingBaseWindow : public ProbeWindow {
protected:
    const wchar_t* GetWndClassName() const override { return L"SkinTestNoBase"; }
    const wchar_t* GetSuperClassName() const override { return L"NoSuchClassAnywhere"; }
};

// Deletes itself when its window goes, as pop-up windows do.
class SelfDeletingWindow : public ProbeWindow {
public:
    explicit SelfDeletingWindow(bool* deleted) : m_deleted(deleted) {}
    ~SelfDeletingWindow() override { *m_deleted = true; }

protected:
    void OnFinalMessage(HWND hWnd) override {
        ProbeWindow::OnFinalMessage(hWnd);
        delete this;
    }

private:
    bool* m_deleted;
};

int CountProperties(HWND window) {
    int count = 0;
    ::EnumPropsExW(
        window,
        [](HWND, LPWSTR, HANDLE, ULONG_PTR data) -> BOOL {
            ++*reinterpret_cast<int*>(data);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

// Wine takes two seconds to destroy an activated window when no window manager runs:
// only the test that needs the focus shows its owner.
HWND CreateOwner(bool visible = false) {
    return ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | (visible ? WS_VISIBLE : 0), 50, 50,
                             300, 200, nullptr, nullptr, nullptr, nullptr);
}

} // namespace

TEST(WindowWnd, BindsAtNcCreateAndNeverShowsNcDestroy) {
    ProbeWindow window;
    const HWND hWnd = window.Create(nullptr, L"probe", WS_OVERLAPPEDWINDOW, 0, 0, 0, 200, 100);
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(window.GetHWND(), hWnd);
    EXPECT_EQ(static_cast<HWND>(window), hWnd);
    EXPECT_TRUE(window.boundAtNcCreate);
    ASSERT_FALSE(window.messages.empty());

    // A second window of the class registers the class again without complaint.
    ProbeWindow second;
    ASSERT_NE(second.Create(nullptr, L"probe 2", WS_OVERLAPPEDWINDOW, 0), nullptr);

    ::DestroyWindow(hWnd);
    EXPECT_EQ(window.finalCalls, 1);
    EXPECT_TRUE(window.handleClearedAtFinal);
    EXPECT_EQ(window.GetHWND(), nullptr);
    for (UINT message : window.messages)
        EXPECT_NE(message, static_cast<UINT>(WM_NCDESTROY));
    EXPECT_NE(
        std::find(window.messages.begin(), window.messages.end(), static_cast<UINT>(WM_DESTROY)),
        window.messages.end());
    ::DestroyWindow(second);
}

TEST(WindowWnd, SubclassesANativeControlAndGivesItBack) {
    const HWND button = ::CreateWindowExW(0, L"BUTTON", L"native", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                          40, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(button, nullptr);
    const LONG_PTR ownProcedure = ::GetWindowLongPtrW(button, GWLP_WNDPROC);

    ProbeWindow window;
    ASSERT_EQ(window.Subclass(button), button);
    EXPECT_EQ(window.GetHWND(), button);
    ::SetWindowTextW(button, L"changed through the subclass");
    wchar_t text[64] = {};
    ::GetWindowTextW(button, text, 64);
    EXPECT_STREQ(text, L"changed through the subclass") << "the control still works";
    EXPECT_NE(
        std::find(window.messages.begin(), window.messages.end(), static_cast<UINT>(WM_SETTEXT)),
        window.messages.end());

    window.Unsubclass();
    EXPECT_EQ(::GetWindowLongPtrW(button, GWLP_WNDPROC), ownProcedure);
    const size_t seen = window.messages.size();
    ::SetWindowTextW(button, L"after");
    EXPECT_EQ(window.messages.size(), seen);

    // Subclassed again, destruction restores the procedure before the final message.
    ASSERT_EQ(window.Subclass(button), button);
    window.atFinal = [ownProcedure](HWND hWnd) {
        EXPECT_EQ(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC), ownProcedure);
    };
    ::DestroyWindow(button);
    EXPECT_EQ(window.finalCalls, 1);

    ProbeWindow nobody;
    EXPECT_EQ(nobody.Subclass(nullptr), nullptr);
    EXPECT_EQ(nobody.GetHWND(), nullptr);
}

TEST(WindowWnd, SuperclassesTheSystemEditAndRemovesItsProperty) {
    EditWindow edit;
    const HWND hWnd = edit.Create(nullptr, L"typed", WS_OVERLAPPEDWINDOW, 0, 0, 0, 200, 50);
    ASSERT_NE(hWnd, nullptr);
    wchar_t className[64] = {};
    ::GetClassNameW(hWnd, className, 64);
    EXPECT_STREQ(className, L"SkinTestEdit");
    EXPECT_EQ(::GetPropW(hWnd, L"WndX"), static_cast<HANDLE>(&edit));

    // Edit behaviour comes from the base class procedure.
    ::SendMessageW(hWnd, EM_SETSEL, 0, -1);
    ::SendMessageW(hWnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"replaced"));
    wchar_t text[64] = {};
    ::GetWindowTextW(hWnd, text, 64);
    EXPECT_STREQ(text, L"replaced");
    EXPECT_NE(
        std::find(edit.messages.begin(), edit.messages.end(), static_cast<UINT>(EM_REPLACESEL)),
        edit.messages.end());

    const int propertiesBefore = CountProperties(hWnd);
    edit.atFinal = [propertiesBefore](HWND window) {
        EXPECT_EQ(CountProperties(window), propertiesBefore - 1) << "removed, not nulled";
    };
    ::DestroyWindow(hWnd);
    EXPECT_EQ(edit.finalCalls, 1);
    EXPECT_EQ(edit.propertyAtFinal, nullptr);

    MissingBaseWindow missing;
    EXPECT_EQ(missing.Create(nullptr, L"x", WS_OVERLAPPEDWINDOW, 0), nullptr);
    EXPECT_TRUE(missing.messages.empty());
}

TEST(WindowWnd, ShowModalReturnsTheCloseCodeWithTheOwnerBack) {
    const HWND owner = CreateOwner(true);
    ProbeWindow dialog;
    ASSERT_NE(dialog.Create(owner, L"modal", WS_POPUP, 0, 100, 100, 200, 100), nullptr);
    bool ownerEnabledWhileModal = true;
    bool ownerReadyAtDestroy = false;
    dialog.answer = [&](UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message == WM_APP) {
            ownerEnabledWhileModal = ::IsWindowEnabled(owner) != FALSE;
            dialog.Close(5);
        }
        if (message == WM_DESTROY)
            ownerReadyAtDestroy = ::IsWindowEnabled(owner) && ::GetFocus() == owner;
        return false;
    };
    dialog.PostMessageW(WM_APP);
    EXPECT_EQ(dialog.ShowModal(), 5u);
    EXPECT_FALSE(ownerEnabledWhileModal);
    EXPECT_TRUE(ownerReadyAtDestroy) << "owner enabled and focused before the window goes";
    EXPECT_TRUE(::IsWindowEnabled(owner));
    EXPECT_EQ(dialog.GetHWND(), nullptr);
    ::DestroyWindow(owner);
}

TEST(WindowWnd, ShowModalSurvivesAWindowThatDeletesItself) {
    const HWND owner = CreateOwner();
    bool deleted = false;
    auto* dialog = new SelfDeletingWindow(&deleted);
    ASSERT_NE(dialog->Create(owner, L"self", WS_POPUP, 0, 100, 100, 200, 100), nullptr);
    dialog->Close(9);
    EXPECT_EQ(dialog->ShowModal(), 9u);
    EXPECT_TRUE(deleted);
    EXPECT_TRUE(::IsWindowEnabled(owner));
    ::DestroyWindow(owner);
}

TEST(WindowWnd, ShowModalKeepsTheOwnerDisabledWhenTheWindowRefusesToClose) {
    const HWND owner = CreateOwner();
    ProbeWindow dialog;
    ASSERT_NE(dialog.Create(owner, L"stubborn", WS_POPUP, 0, 100, 100, 200, 100), nullptr);
    int refusals = 0;
    bool ownerDisabledAfterRefusal = false;
    dialog.answer = [&](UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message == WM_CLOSE && refusals == 0) {
            ++refusals;
            dialog.PostMessageW(WM_APP);
            return true; // refused: no DestroyWindow
        }
        if (message == WM_APP) {
            ownerDisabledAfterRefusal = !::IsWindowEnabled(owner);
            dialog.Close(2);
        }
        return false;
    };
    dialog.Close(1);
    EXPECT_EQ(dialog.ShowModal(), 2u);
    EXPECT_EQ(refusals, 1);
    EXPECT_TRUE(ownerDisabledAfterRefusal);
    EXPECT_TRUE(::IsWindowEnabled(owner));
    ::DestroyWindow(owner);
}

TEST(WindowWnd, QuitInsideShowModalEndsItAndIsPostedAgain) {
    ProbeWindow dialog;
    ASSERT_NE(dialog.Create(nullptr, L"quit", WS_POPUP, 0, 100, 100, 200, 100), nullptr);
    ::PostQuitMessage(7);
    dialog.ShowModal();
    EXPECT_TRUE(::IsWindow(dialog));
    MSG msg{};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
    ::DestroyWindow(dialog);
}

TEST(WindowWnd, CentresInTheWorkAreaAndClampsToItsEdge) {
    ProbeWindow window;
    ASSERT_NE(window.Create(nullptr, L"centre", WS_POPUP, 0, 0, 0, 300, 200), nullptr);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT work = monitor.rcWork;

    window.CenterWindow();
    RECT rc{};
    ::GetWindowRect(window, &rc);
    EXPECT_EQ(rc.left, (work.left + work.right) / 2 - 150);
    EXPECT_EQ(rc.top, (work.top + work.bottom) / 2 - 100);

    const int tooWide = work.right - work.left + 400;
    ::SetWindowPos(window, nullptr, 0, 0, tooWide, 50, SWP_NOMOVE | SWP_NOZORDER);
    window.CenterWindow();
    ::GetWindowRect(window, &rc);
    EXPECT_EQ(rc.left, work.left);
    ::DestroyWindow(window);
}

TEST(WindowWnd, CentresOnTheOwner) {
    const HWND owner = CreateOwner();
    ::SetWindowPos(owner, nullptr, 200, 150, 400, 300, SWP_NOZORDER);
    ProbeWindow window;
    ASSERT_NE(window.Create(owner, L"owned", WS_POPUP, 0, 0, 0, 100, 60), nullptr);
    window.CenterWindow();
    RECT rc{};
    ::GetWindowRect(window, &rc);
    EXPECT_EQ(rc.left, 200 + 200 - 50);
    EXPECT_EQ(rc.top, 150 + 150 - 30);
    ::DestroyWindow(window);
    ::DestroyWindow(owner);
}

TEST(WindowWnd, ResizeClientKeepsWhatIsMinusOne) {
    ProbeWindow window;
    ASSERT_NE(window.Create(nullptr, L"resize", WS_OVERLAPPEDWINDOW, 0, 0, 0, 300, 200), nullptr);
    RECT before{};
    ::GetClientRect(window, &before);
    window.ResizeClient(-1, 300);
    RECT after{};
    ::GetClientRect(window, &after);
    EXPECT_EQ(after.right, before.right);
    EXPECT_EQ(after.bottom, 300);
    window.ResizeClient(250, -1);
    ::GetClientRect(window, &after);
    EXPECT_EQ(after.right, 250);
    EXPECT_EQ(after.bottom, 300);
    ::DestroyWindow(window);
}

// The width of a live icon, 0 for a destroyed one.
LONG IconWidth(HICON icon) {
    ICONINFO info{};
    if (icon == nullptr || !::GetIconInfo(icon, &info)) return 0;
    const SkinUI::CGdiBitmap color(info.hbmColor);
    const SkinUI::CGdiBitmap mask(info.hbmMask);
    BITMAP bitmap{};
    ::GetObjectW(color.Get(), sizeof(bitmap), &bitmap);
    return bitmap.bmWidth;
}

TEST(WindowWnd, SetIconSendsTheBigAndTheSmallImage) {
    ProbeWindow window;
    ASSERT_NE(window.Create(nullptr, L"icon", WS_POPUP, 0, 0, 0, 50, 50), nullptr);
    window.SetIcon(1); // the test executable's icon resource
    const auto icon = [&window](WPARAM which) {
        return reinterpret_cast<HICON>(window.SendMessageW(WM_GETICON, which, 0));
    };
    EXPECT_EQ(IconWidth(icon(ICON_BIG)), ::GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(IconWidth(icon(ICON_SMALL)), ::GetSystemMetrics(SM_CXSMICON));
    ::DestroyWindow(window);
}

TEST(WindowWnd, IconsSetOnAWindowGoWithItOrWithTheirReplacement) {
    for (const bool superclassed : {false, true}) {
        SCOPED_TRACE(superclassed ? "super-classed" : "own class");
        ProbeWindow own;
        EditWindow edit;
        ProbeWindow& window = superclassed ? edit : own;
        ASSERT_NE(window.Create(nullptr, L"icon", WS_POPUP, 0, 0, 0, 50, 50), nullptr);
        const auto icon = [&window](WPARAM which) {
            return reinterpret_cast<HICON>(window.SendMessageW(WM_GETICON, which, 0));
        };
        window.SetIcon(1);
        const HICON firstBig = icon(ICON_BIG);
        const HICON firstSmall = icon(ICON_SMALL);
        ASSERT_NE(IconWidth(firstBig), 0);
        ASSERT_NE(IconWidth(firstSmall), 0);

        // Replaced: the first pair is no longer shown and goes.
        window.SetIcon(1);
        const HICON big = icon(ICON_BIG);
        const HICON little = icon(ICON_SMALL);
        EXPECT_NE(big, firstBig);
        EXPECT_EQ(IconWidth(firstBig), 0);
        EXPECT_EQ(IconWidth(firstSmall), 0);
        EXPECT_NE(IconWidth(big), 0);

        // A resource that does not exist clears the icons, and the pair goes too.
        window.SetIcon(4242);
        EXPECT_EQ(icon(ICON_BIG), nullptr);
        EXPECT_EQ(IconWidth(big), 0);
        EXPECT_EQ(IconWidth(little), 0);

        window.SetIcon(1);
        const HICON last = icon(ICON_BIG);
        ASSERT_NE(IconWidth(last), 0);
        ::DestroyWindow(window);
        EXPECT_EQ(IconWidth(last), 0) << "destroyed with the window";
    }
}

TEST(WindowWnd, ShowAndCloseDoNothingWithoutAWindow) {
    ProbeWindow window;
    window.ShowWindow(true);
    window.Close(3);
    window.Unsubclass();
    EXPECT_EQ(window.GetHWND(), nullptr);
    MSG msg{};
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_NOREMOVE));
}
