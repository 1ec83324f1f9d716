// The one reader of number lists, used by skin attributes, image strings and the client's
// configuration.
#include "core/NumberList.h"

#include <gtest/gtest.h>

#include <climits>
#include <cwchar>
#include <vector>

using SkinUI::ReadNumberList;

namespace {

std::vector<int> Read(const wchar_t* text, int count) {
    std::vector<int> numbers(static_cast<size_t>(count), -99);
    ReadNumberList(text, numbers.data(), count);
    return numbers;
}

} // namespace

TEST(NumberList, ReadsEveryNumberWithAnySeparator) {
    EXPECT_EQ(Read(L"301,139,1001,569", 4), (std::vector<int>{301, 139, 1001, 569}));
    EXPECT_EQ(Read(L"1;2 3x4", 4), (std::vector<int>{1, 2, 3, 4})) << "any one character separates";
    EXPECT_EQ(Read(L"301, 139,\t1001", 3), (std::vector<int>{301, 139, 1001}))
        << "blanks before a number are the conversion's";
    EXPECT_EQ(Read(L"-5,+6,-0,-2147483648", 4), (std::vector<int>{-5, 6, 0, INT_MIN}));
    EXPECT_EQ(Read(L"99999999999,-99999999999", 2), (std::vector<int>{INT_MAX, INT_MIN}))
        << "an overlong number saturates";
}

TEST(NumberList, ShortListsAndEmptyTextReadZeroForWhatIsMissing) {
    EXPECT_EQ(Read(L"7,8", 4), (std::vector<int>{7, 8, 0, 0}));
    EXPECT_EQ(Read(L"5,", 3), (std::vector<int>{5, 0, 0}));
    EXPECT_EQ(Read(L"5", 2), (std::vector<int>{5, 0}));
    EXPECT_EQ(Read(L"", 2), (std::vector<int>{0, 0}));
    EXPECT_EQ(Read(nullptr, 2), (std::vector<int>{0, 0}));
    EXPECT_EQ(Read(L"1,2", 0), std::vector<int>{});
}

TEST(NumberList, TrailingAndMalformedTextIsReadOnlyAsFarAsTheListGoes) {
    EXPECT_EQ(Read(L"1,2,3,4,5,6", 4), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(Read(L"10px,20px", 2), (std::vector<int>{10, 0}))
        << "'p' separates, then 'x,20px' holds no number where the second one starts";
    EXPECT_EQ(Read(L"a,b", 3), (std::vector<int>{0, 0, 0}));
    // A blank before a separator is the separator, and the separator becomes a number.
    EXPECT_EQ(Read(L"301 ,139,1001", 3), (std::vector<int>{301, 0, 139}));
}

TEST(NumberList, NeverReadsPastTheTerminator) {
    // More text follows the value in memory: none of it is a number of the value.
    const wchar_t text[] = L"7\0"
                           L"8,9";
    EXPECT_EQ(Read(text, 3), (std::vector<int>{7, 0, 0}));
    const wchar_t separatorLast[] = L"7,\0"
                                    L"8";
    EXPECT_EQ(Read(separatorLast, 2), (std::vector<int>{7, 0}));

    // A value that ends exactly where readable memory ends.
    SYSTEM_INFO info{};
    ::GetSystemInfo(&info);
    auto* pages = static_cast<unsigned char*>(
        ::VirtualAlloc(nullptr, 2 * info.dwPageSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(pages, nullptr);
    DWORD old = 0;
    ASSERT_TRUE(::VirtualProtect(pages + info.dwPageSize, info.dwPageSize, PAGE_NOACCESS, &old));
    const struct {
        const wchar_t* value;
        LONG left;
    } ends[] = {{L"12", 12}, {L"-1,", -1}, {L"", 0}};
    for (const auto& end : ends) {
        auto* tail = reinterpret_cast<wchar_t*>(pages + info.dwPageSize) - (wcslen(end.value) + 1);
        wcscpy(tail, end.value);
        const RECT rc = SkinUI::ReadRect(tail);
        EXPECT_EQ(rc.left, end.left) << "after \"" << end.value << '"';
        EXPECT_EQ(rc.bottom, 0);
    }
    ::VirtualFree(pages, 0, MEM_RELEASE);
}

TEST(NumberList, RectanglesAndSizesTakeTheirNumbersInOrder) {
    const RECT rc = SkinUI::ReadRect(L"1,-2,3");
    EXPECT_EQ((std::vector<LONG>{rc.left, rc.top, rc.right, rc.bottom}),
              (std::vector<LONG>{1, -2, 3, 0}));
    const SIZE size = SkinUI::ReadSize(L"1112,645,9");
    EXPECT_EQ(size.cx, 1112);
    EXPECT_EQ(size.cy, 645);
}
