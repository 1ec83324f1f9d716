// Objects placed above 4 GiB: every pointer the framework hands to the system (window
// data, window properties, message parameters) must survive in full. Heaps sit low under
// Wine, so a truncation would go unnoticed anywhere else.
#include "support/SkinTestKit.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <utility>

using namespace SkinUI;

namespace {

// A block of memory above 4 GiB with a bump allocator for placement new.
class HighArena {
public:
    HighArena() {
        for (uintptr_t gib = 64; gib < 64 * 1024 && m_base == nullptr; gib *= 2) {
            m_base = static_cast<unsigned char*>(::VirtualAlloc(reinterpret_cast<void*>(gib << 30),
                                                                kSize, MEM_RESERVE | MEM_COMMIT,
                                                                PAGE_READWRITE));
        }
    }
    ~HighArena() {
        if (m_base != nullptr) ::VirtualFree(m_base, 0, MEM_RELEASE);
    }
    bool Ready() const { return m_base != nullptr; }

    template <class T, class... Args> T* Make(Args&&... args) {
        void* slot = m_base + m_used;
        m_used += (sizeof(T) + 63) & ~static_cast<size_t>(63);
        return new (slot) T(std::forward<Args>(args)...);
    }
    template <class T> static void Destroy(T* object) { object->~T(); }

private:
    static constexpr size_t kSize = 1 << 20;
    unsigned char* m_base = nullptr;
    size_t m_used = 0;
};

bool IsHigh(const void* pointer) {
    return reinterpret_cast<uintptr_t>(pointer) > 0xFFFFFFFFull;
}

class HighWindow : public CWindowWnd {
public:
    int created = 0;
    int finals = 0;
    UINT lastMessage = 0;

protected:
    const wchar_t* GetWndClassName() const override { return L"SkinTestHigh"; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        lastMessage = message;
        if (message == WM_CREATE) ++created;
        return CWindowWnd::HandleMessage(message, wParam, lParam);
    }
    void OnFinalMessage(HWND) override { ++finals; }
};

class HighEdit : public HighWindow {
protected:
    const wchar_t* GetWndClassName() const override { return L"SkinTestHighEdit"; }
    const wchar_t* GetSuperClassName() const override { return L"EDIT"; }
};

} // namespace

class HighAddress : public ::testing::Test {
protected:
    void SetUp() override {
        if (!arena.Ready()) GTEST_SKIP() << "no memory could be placed above 4 GiB";
    }
    HighArena arena;
};

TEST_F(HighAddress, WindowObjectsKeepTheirWholePointer) {
    auto* window = arena.Make<HighWindow>();
    ASSERT_TRUE(IsHigh(window));
    const HWND hWnd = window->Create(nullptr, L"high", WS_POPUP, 0, 0, 0, 100, 100);
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(window->created, 1);
    EXPECT_EQ(::GetWindowLongPtrW(hWnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(window));
    ::SendMessageW(hWnd, WM_APP + 3, 0, 0);
    EXPECT_EQ(window->lastMessage, static_cast<UINT>(WM_APP + 3));
    ::DestroyWindow(hWnd);
    EXPECT_EQ(window->finals, 1);
    HighArena::Destroy(window);

    auto* edit = arena.Make<HighEdit>();
    const HWND editWnd = edit->Create(nullptr, L"high edit", WS_POPUP, 0, 0, 0, 100, 30);
    ASSERT_NE(editWnd, nullptr);
    EXPECT_EQ(::GetPropW(editWnd, L"WndX"), static_cast<HANDLE>(edit));
    ::SendMessageW(editWnd, WM_APP + 4, 0, 0);
    EXPECT_EQ(edit->lastMessage, static_cast<UINT>(WM_APP + 4));
    ::DestroyWindow(editWnd);
    EXPECT_EQ(edit->finals, 1);
    HighArena::Destroy(edit);

    auto* subclass = arena.Make<HighWindow>();
    const HWND native = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                          nullptr, nullptr, nullptr);
    ASSERT_EQ(subclass->Subclass(native), native);
    ::SendMessageW(native, WM_APP + 5, 0, 0);
    EXPECT_EQ(subclass->lastMessage, static_cast<UINT>(WM_APP + 5));
    ::DestroyWindow(native);
    EXPECT_EQ(subclass->finals, 1);
    HighArena::Destroy(subclass);
}

TEST_F(HighAddress, ManagersAndControlsKeepTheirWholePointer) {
    auto* root = new skintest::TestContainer(L"root");
    auto* first = new skintest::RecordingControl(L"first", UIFLAG_TABSTOP);
    root->Add(first, 0, 0, 50, 50);
    auto* high = arena.Make<skintest::RecordingControl>(L"high", UIFLAG_TABSTOP);
    root->Add(high, 100, 0, 50, 50);
    high->SetAttribute(L"menu", L"true");
    high->SetTag(reinterpret_cast<UINT_PTR>(high));

    auto* host = arena.Make<skintest::HostWindow>(root);
    ASSERT_TRUE(IsHigh(&host->manager));
    const HWND window = host->Open(200, 100);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(skintest::PumpUntil([host] { return !host->notifications.empty(); }));
    EXPECT_EQ(host->manager.GetFocus(), first);

    // The process-wide list of managers hands the high manager its Tab.
    MSG tab{};
    tab.hwnd = window;
    tab.message = WM_KEYDOWN;
    tab.wParam = VK_TAB;
    EXPECT_TRUE(CPaintManagerUI::TranslateMessage(&tab));
    EXPECT_EQ(host->manager.GetFocus(), high);

    ::SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(110, 10));
    ::SendMessageW(window, WM_RBUTTONUP, 0, MAKELPARAM(110, 10));
    ASSERT_NE(high->Last(UIEVENT_CONTEXTMENU), nullptr);
    EXPECT_EQ(high->Last(UIEVENT_CONTEXTMENU)->lParam, reinterpret_cast<LPARAM>(high));
    EXPECT_EQ(host->senders.back(), high);
    EXPECT_EQ(high->GetTag(), reinterpret_cast<UINT_PTR>(high));

    ASSERT_TRUE(host->manager.SetTimer(high, 3, 1));
    ASSERT_TRUE(skintest::PumpUntil([high] { return high->Last(UIEVENT_TIMER) != nullptr; }));
    host->manager.KillTimer(high, 3);
    EXPECT_EQ(high->Last(UIEVENT_TIMER)->sender, high);
    EXPECT_EQ(host->manager.FindControl(L"high"), high);

    ::DestroyWindow(window);
    root->Remove(high); // not from the heap: the tree must not delete it
    HighArena::Destroy(high);
    HighArena::Destroy(host); // deletes the rest of the tree
}
