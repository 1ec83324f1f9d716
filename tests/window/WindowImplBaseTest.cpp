// Skinned windows: the skin from each of the four sources, hit testing of the borderless
// frame, caption buttons and keys, rounded corners, maximising, a skin that cannot be
// loaded, and opening and closing without leaking.
#include "window/WindowImplBase.h"

#include "control/ControlUI.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "support/SkinTestKit.h"

using namespace SkinUI;

namespace {

class SkinWindow : public WindowImplBase {
public:
    explicit SkinWindow(UILIB_RESOURCETYPE kind, const wchar_t* xml = L"skin.xml", DWORD id = 202)
        : m_kind(kind), m_xml(xml), m_id(id) {}

    HWND Open() {
        if (Create(nullptr, L"skin", WS_POPUP, 0, 100, 100, 100, 100) == nullptr) return nullptr;
        // Never activated: the display's window manager stays out of it.
        ::ShowWindow(GetHWND(), SW_SHOWNOACTIVATE);
        // Laid out once painted.
        skintest::PumpUntil([this] { return GetPaintManager().GetRoot()->GetWidth() > 0; });
        return GetHWND();
    }
    CControlUI* Find(const wchar_t* name) { return m_PaintManager.FindControl(name); }

    int inits = 0;
    WPARAM closeCode = 0;
    bool finished = false;
    int hovers = 0;
    bool keepHover = false; // handle WM_MOUSEHOVER here instead of passing it on

protected:
    const wchar_t* GetWndClassName() const override { return L"SkinTestWindow"; }
    CSkinString GetSkinDirectory() const override { return L"window_skins\\"; }
    CSkinString GetSkinXmlName() override { return m_xml; }
    UILIB_RESOURCETYPE GetResourceType() const override { return m_kind; }
    CSkinString GetZIPFileName() const override { return L"skin.zip"; }
    DWORD GetResourceID() const override { return m_id; }
    void InitWindow() override { ++inits; }
    LRESULT OnClose(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled) override {
        closeCode = wParam;
        return WindowImplBase::OnClose(message, wParam, lParam, handled);
    }
    void OnFinalMessage(HWND window) override {
        WindowImplBase::OnFinalMessage(window);
        finished = true;
    }
    LRESULT OnMouseHover(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled) override {
        ++hovers;
        if (keepHover) return 0;
        return WindowImplBase::OnMouseHover(message, wParam, lParam, handled);
    }

private:
    UILIB_RESOURCETYPE m_kind;
    CSkinString m_xml;
    DWORD m_id;
};

class SkinnedWindow : public ::testing::Test {
protected:
    void TearDown() override {
        if (window.GetHWND() != nullptr) ::DestroyWindow(window.GetHWND());
        skintest::PumpMessages();
        // Later tests pick their own source.
        CPaintManagerUI::SetResourceZip(L"", false);
    }
    LRESULT HitTest(int x, int y) {
        return ::SendMessageW(window, WM_NCHITTEST, 0, skintest::ScreenPointParam(window, x, y));
    }

    SkinWindow window{UILIB_FROM_FILE};
};

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<size_t*>(count);
    return TRUE;
}

// What a window could leak: the system's GUI object counts (Wine counts none), the windows
// of this thread, the top of the GDI handle table (it rises when objects leak, as freed
// slots are taken first) and the bytes in use on every heap.
std::array<size_t, 5> Usage() {
    std::array<size_t, 5> usage{::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS),
                                ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS), 0, 0, 0};
    ::EnumThreadWindows(::GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&usage[2]));
    std::vector<HBRUSH> probes(2000);
    for (HBRUSH& probe : probes)
        usage[3] =
            std::max(usage[3], reinterpret_cast<uintptr_t>(probe = ::CreateSolidBrush(0)) & 0xFFFF);
    for (HBRUSH probe : probes)
        ::DeleteObject(probe);
    HANDLE heaps[64];
    const DWORD count = std::min<DWORD>(::GetProcessHeaps(64, heaps), 64);
    for (DWORD i = 0; i < count; ++i) {
        ::HeapLock(heaps[i]);
        PROCESS_HEAP_ENTRY entry{};
        while (::HeapWalk(heaps[i], &entry))
            if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) usage[4] += entry.cbData;
        ::HeapUnlock(heaps[i]);
    }
    return usage;
}

TEST(SkinnedWindowSources, EachSourceBuildsTheSkin) {
    const struct {
        UILIB_RESOURCETYPE kind;
        const wchar_t* xml;
        const wchar_t* source;
    } cases[] = {
        {UILIB_FROM_FILE, L"skin.xml", L"directory"},
        {UILIB_FROM_ZIP, L"skin.xml", L"zip"},
        {UILIB_FROM_RESOURCE, L"201", L"resource"},
        {UILIB_FROM_ZIPRESOURCE, L"skin.xml", L"zip resource"},
    };
    for (const auto& test : cases) {
        CPaintManagerUI::SetResourceZip(L"", false);
        SkinWindow window(test.kind, test.xml);
        ASSERT_NE(window.Open(), nullptr) << test.source;
        EXPECT_EQ(window.Find(L"source")->GetText(), test.source);
        EXPECT_EQ(window.inits, 1);
        RECT client{};
        ::GetClientRect(window, &client);
        EXPECT_EQ(client.right, 400) << "the skin's size, all of it client area";
        ::DestroyWindow(window);
        EXPECT_TRUE(window.finished);
    }
    CPaintManagerUI::SetResourceZip(L"", false);
}

TEST_F(SkinnedWindow, HitTestingMaximisingAndRoundCorners) {
    ASSERT_NE(window.Open(), nullptr);
    const struct {
        int x, y;
        LRESULT hit;
    } points[] = {
        {2, 2, HTTOPLEFT},         {200, 298, HTBOTTOM}, {398, 150, HTRIGHT},
        {398, 298, HTBOTTOMRIGHT}, {100, 10, HTCAPTION}, // the label
        {330, 10, HTCLIENT},                             // a button
        {100, 30, HTCLIENT},       {200, 150, HTCLIENT},
    };
    for (const auto& point : points)
        EXPECT_EQ(HitTest(point.x, point.y), point.hit) << point.x << "," << point.y;

    // Maximised onto the work area, without resize borders.
    ::SendMessageW(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(::IsZoomed(window));
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT client{};
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, monitor.rcWork.right - monitor.rcWork.left);
    EXPECT_EQ(client.bottom, monitor.rcWork.bottom - monitor.rcWork.top);
    skintest::PumpMessages();
    EXPECT_EQ(HitTest(2, 2), HTCAPTION);
    EXPECT_EQ(HitTest(200, client.bottom - 2), HTCLIENT);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetWindowRgn(window, region), ERROR) << "no round corner";
    SkinWindow round(UILIB_FROM_FILE, L"round.xml");
    ASSERT_NE(round.Open(), nullptr);
    EXPECT_EQ(::GetWindowRgn(round, region), COMPLEXREGION);
    EXPECT_FALSE(::PtInRegion(region, 0, 0));
    EXPECT_TRUE(::PtInRegion(region, 200, 0));
    ::DeleteObject(region);
    ::DestroyWindow(round);
}

TEST_F(SkinnedWindow, CaptionButtonsAndKeys) {
    ASSERT_NE(window.Open(), nullptr);
    // Names are compared exactly.
    window.GetPaintManager().SendNotify(window.Find(L"CloseBtn"), NotifyType::kClick);
    skintest::PumpMessages();
    ASSERT_TRUE(::IsWindow(window));
    // Enter on the focused close button would press it.
    window.GetPaintManager().SetFocus(nullptr);
    ::PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
    skintest::PumpMessages();
    ASSERT_TRUE(::IsWindow(window));
    window.GetPaintManager().SendNotify(window.Find(L"closebtn"), NotifyType::kClick);
    skintest::PumpMessages();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(window.closeCode, 1u);

    SkinWindow escaped(UILIB_FROM_FILE);
    ASSERT_NE(escaped.Open(), nullptr);
    ::PostMessageW(escaped, WM_KEYDOWN, VK_ESCAPE, 0);
    skintest::PumpMessages();
    EXPECT_TRUE(escaped.finished);
    EXPECT_EQ(escaped.closeCode, 1u);
}

TEST_F(SkinnedWindow, HoverReachesItsHandlerAndThenThePaintManager) {
    ASSERT_NE(window.Open(), nullptr);
    struct HoverFilter : IMessageFilterUI {
        LRESULT MessageHandler(UINT message, WPARAM, LPARAM, bool&) override {
            if (message == WM_MOUSEHOVER) ++hovers;
            return 0;
        }
        int hovers = 0;
    } managerSaw;
    window.GetPaintManager().AddMessageFilter(&managerSaw);
    ::SendMessageW(window, WM_MOUSEHOVER, 0, MAKELPARAM(200, 150));
    EXPECT_EQ(window.hovers, 1);
    EXPECT_EQ(managerSaw.hovers, 1) << "the default handler passes it on";
    window.keepHover = true;
    ::SendMessageW(window, WM_MOUSEHOVER, 0, MAKELPARAM(200, 150));
    EXPECT_EQ(window.hovers, 2);
    EXPECT_EQ(managerSaw.hovers, 1) << "a handler that keeps it, keeps it";
    window.GetPaintManager().RemoveMessageFilter(&managerSaw);
}

TEST_F(SkinnedWindow, OpeningAndClosingLeaksNothing) {
    const auto openAndClose = [] {
        SkinWindow window(UILIB_FROM_ZIPRESOURCE);
        window.Open();
        ::DestroyWindow(window);
        skintest::PumpMessages();
    };
    for (int i = 0; i < 20; ++i)
        openAndClose();
    const std::array<size_t, 5> before = Usage(); // kept off the heap
    for (int i = 0; i < 500; ++i)
        openAndClose();
    EXPECT_EQ(Usage(), before);
}

// The watcher side of a child process that opens a window whose skin cannot be loaded:
// answers its message box and returns the box's text and the exit code.
std::wstring RunUnskinnedChild(int kind, DWORD& exitCode) {
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring command =
        L"\"" + std::wstring(path) + L"\" --open-unskinned " + std::to_wstring(kind);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return L"no child";
    std::wstring text;
    for (int i = 0; i < 500 && text.empty(); ++i) {
        HWND box = nullptr;
        while ((box = ::FindWindowExW(nullptr, box, nullptr, L"SkinUI")) != nullptr) {
            DWORD owner = 0;
            if (::GetWindowThreadProcessId(box, &owner) && owner != process.dwProcessId) continue;
            wchar_t buffer[100] = {};
            ::GetDlgItemTextW(box, 0xFFFF, buffer, 100);
            text = buffer;
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            break;
        }
        ::Sleep(20);
    }
    if (::WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
        ::TerminateProcess(process.hProcess, 99);
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    return text;
}

TEST(SkinnedWindowFailure, ASkinThatCannotBeLoadedEndsTheProcess) {
    for (int kind : {UILIB_FROM_FILE, UILIB_FROM_ZIPRESOURCE}) {
        DWORD exitCode = 0;
        EXPECT_EQ(RunUnskinnedChild(kind, exitCode), L"加载资源文件失败") << kind;
        EXPECT_EQ(exitCode, 1u) << kind;
    }
}

} // namespace

// Child process mode: a window whose skin file, or whose archive resource, does not exist.
int OpenWindowWithoutSkin(int kind) {
    SkinWindow window(static_cast<UILIB_RESOURCETYPE>(kind), L"missing.xml", 999);
    window.Open();
    return 0; // never reached: the window ends the process
}
