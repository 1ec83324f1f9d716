// The counters the leak cycles rely on see what they claim to see: each rises by what is
// made and comes back when it goes.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "ProcessUsage.h"

using namespace leaktest;

namespace {

TEST(UsageCounters, GdiObjectsFollowBrushesOneForOne) {
    const int64_t before = CountGdiObjects();
    ASSERT_GT(before, 0) << "the process's GDI handle table is readable";
    std::vector<HBRUSH> brushes(100);
    for (size_t i = 0; i < brushes.size(); ++i)
        brushes[i] = ::CreateSolidBrush(RGB(i, 0, 0));
    EXPECT_EQ(CountGdiObjects(), before + 100);
    for (HBRUSH brush : brushes)
        ::DeleteObject(brush);
    EXPECT_EQ(CountGdiObjects(), before);
    // Stock objects are no one's to leak: asking for one makes nothing.
    ::GetStockObject(WHITE_BRUSH);
    EXPECT_EQ(CountGdiObjects(), before);
}

TEST(UsageCounters, WindowsOfThisThreadAtEveryLevel) {
    // While a thread has a top-level window it also has the system's helper window that
    // comes with the first one; one stays open so that only the windows below count.
    const HWND holder = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                          nullptr, nullptr, nullptr);
    const int64_t before = CountThreadWindows();
    const HWND top = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       nullptr, nullptr);
    const HWND child =
        ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, top, nullptr, nullptr, nullptr);
    const HWND grandchild = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 2, 2, child,
                                              nullptr, nullptr, nullptr);
    const HWND messageOnly = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                               nullptr, nullptr, nullptr);
    ASSERT_TRUE(top != nullptr && child != nullptr && grandchild != nullptr &&
                messageOnly != nullptr);
    EXPECT_EQ(CountThreadWindows(), before + 4);
    ::DestroyWindow(top);
    ::DestroyWindow(messageOnly);
    EXPECT_EQ(CountThreadWindows(), before);
    ::DestroyWindow(holder);
}

TEST(UsageCounters, HeapAndPrivateBytes) {
    const HANDLE heap = ::GetProcessHeap();
    const int64_t heapBefore = CountHeapBytes();
    void* block = ::HeapAlloc(heap, 0, 1000);
    EXPECT_EQ(CountHeapBytes(), heapBefore + 1000);
    ::HeapFree(heap, 0, block);
    EXPECT_EQ(CountHeapBytes(), heapBefore);

    const int64_t privateBefore = CountPrivateBytes();
    void* pages = ::VirtualAlloc(nullptr, 1 << 20, MEM_RESERVE, PAGE_READWRITE);
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(CountPrivateBytes(), privateBefore) << "reserved is not committed";
    ::VirtualAlloc(pages, 3 * 4096, MEM_COMMIT, PAGE_READWRITE);
    EXPECT_EQ(CountPrivateBytes(), privateBefore + 3 * 4096);
    ::VirtualFree(pages, 0, MEM_RELEASE);
    EXPECT_EQ(CountPrivateBytes(), privateBefore);
}

} // namespace
