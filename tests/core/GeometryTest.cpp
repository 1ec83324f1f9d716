#include "core/Point.h"
#include "core/Size.h"
#include "core/SkinRect.h"
#include "core/StringOrId.h"
#include "core/WaitCursor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cwchar>

using SkinUI::CPoint;
using SkinUI::CSize;
using SkinUI::CSkinRect;
using SkinUI::CWaitCursor;
using SkinUI::STRINGorID;

namespace {

void ExpectRect(const RECT& rect, LONG left, LONG top, LONG right, LONG bottom) {
    EXPECT_EQ(rect.left, left);
    EXPECT_EQ(rect.top, top);
    EXPECT_EQ(rect.right, right);
    EXPECT_EQ(rect.bottom, bottom);
}

} // namespace

TEST(SkinRect, MeasuresAndNormalizesReversedRectangles) {
    CSkinRect rect(30, 40, 10, 15);
    EXPECT_EQ(rect.GetWidth(), -20);
    EXPECT_EQ(rect.GetHeight(), -25);
    EXPECT_FALSE(rect.IsNull());
    rect.Normalize();
    ExpectRect(rect, 10, 15, 30, 40);
    rect.Empty();
    EXPECT_TRUE(rect.IsNull());
    EXPECT_FALSE(CSkinRect(0, 0, 0, 1).IsNull());
}

TEST(SkinRect, JoinCountsEmptyRectanglesButUnionIgnoresThem) {
    CSkinRect joined(10, 10, 20, 20);
    joined.Join(CSkinRect());
    ExpectRect(joined, 0, 0, 20, 20);

    CSkinRect united(10, 10, 20, 20);
    united.Union(CSkinRect());
    ExpectRect(united, 10, 10, 20, 20);
    united.Union(CSkinRect(-5, 12, 15, 30));
    ExpectRect(united, -5, 10, 20, 30);

    CSkinRect fromEmpty;
    fromEmpty.Union(CSkinRect(1, 2, 3, 4));
    ExpectRect(fromEmpty, 1, 2, 3, 4);
    CSkinRect bothEmpty(5, 5, 5, 9);
    bothEmpty.Union(CSkinRect(8, 8, 2, 2));
    EXPECT_TRUE(bothEmpty.IsNull());
}

TEST(SkinRect, OffsetInflateAndDeflateMoveEdges) {
    CSkinRect rect(10, 20, 110, 70);
    rect.Offset(-15, 5);
    ExpectRect(rect, -5, 25, 95, 75);
    rect.ResetOffset();
    ExpectRect(rect, 0, 0, 100, 50);
    rect.Inflate(3, 4);
    ExpectRect(rect, -3, -4, 103, 54);
    rect.Deflate(5, 30);
    ExpectRect(rect, 2, 26, 98, 24);
    EXPECT_EQ(rect.GetHeight(), -2);
}

TEST(SizeAndPoint, SizeOfAReversedRectIsNegativeAndPointsSignExtendEachHalf) {
    const CSize size(RECT{10, 20, 5, 60});
    EXPECT_EQ(size.cx, -5);
    EXPECT_EQ(size.cy, 40);

    const CPoint aboveWindow(static_cast<LPARAM>(0xFFFF0005));
    EXPECT_EQ(aboveWindow.x, 5);
    EXPECT_EQ(aboveWindow.y, -1);
    const CPoint leftOfWindow(static_cast<LPARAM>(0x7FFF8000));
    EXPECT_EQ(leftOfWindow.x, -32768);
    EXPECT_EQ(leftOfWindow.y, 32767);
    // A negative LPARAM is sign-extended to 64 bits; only the low 32 bits carry coordinates.
    const CPoint bothNegative(static_cast<LPARAM>(-2));
    EXPECT_EQ(bothNegative.x, -2);
    EXPECT_EQ(bothNegative.y, -1);
    const CPoint highBitsIgnored(static_cast<LPARAM>(INT64_C(0x1234000A0014)));
    EXPECT_EQ(highBitsIgnored.x, 0x14);
    EXPECT_EQ(highBitsIgnored.y, 0xA);
}

TEST(StringOrId, TellsIdsFromNames) {
    const STRINGorID id(101u);
    EXPECT_TRUE(id.IsId());
    EXPECT_EQ(id.GetId(), 101u);
    EXPECT_EQ(id.GetName(), nullptr);
    EXPECT_EQ(id.GetValue(), MAKEINTRESOURCEW(101));
    EXPECT_EQ(STRINGorID(0xFFFFu).GetId(), 0xFFFFu);

    const wchar_t* name = L"skin.xml";
    const STRINGorID file(name);
    EXPECT_FALSE(file.IsId());
    EXPECT_EQ(file.GetName(), name);
    EXPECT_EQ(file.GetId(), 0u);

    // An id that would look like a pointer is kept as 0, which names no resource.
    const STRINGorID tooLarge(0x12345u);
    EXPECT_TRUE(tooLarge.IsId());
    EXPECT_EQ(tooLarge.GetId(), 0u);
    EXPECT_TRUE(STRINGorID(static_cast<const wchar_t*>(nullptr)).IsId());
}

TEST(StringOrId, NameAboveFourGibibytesIsNotTakenForAnId) {
    // At a multiple of 4 GiB the low 32 bits are 0: a truncating test would see id 0.
    void* block = nullptr;
    for (uintptr_t base = UINT64_C(0x100000000); block == nullptr && base <= UINT64_C(0x4000000000);
         base += UINT64_C(0x100000000)) {
        block = VirtualAlloc(reinterpret_cast<void*>(base), 4096, MEM_RESERVE | MEM_COMMIT,
                             PAGE_READWRITE);
    }
    ASSERT_NE(block, nullptr);
    ASSERT_EQ(reinterpret_cast<uintptr_t>(block) & 0xFFFFFFFFu, 0u);
    auto* text = static_cast<wchar_t*>(block);
    wcscpy(text, L"high.xml");

    const STRINGorID high(text);
    EXPECT_FALSE(high.IsId());
    EXPECT_STREQ(high.GetName(), L"high.xml");
    VirtualFree(block, 0, MEM_RELEASE);
}

TEST(WaitCursor, ShowsTheWaitCursorForItsLifetime) {
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
    ASSERT_NE(arrow, wait);
    SetCursor(arrow);
    {
        CWaitCursor busy;
        EXPECT_EQ(GetCursor(), wait);
    }
    EXPECT_EQ(GetCursor(), arrow);
}
