#include "core/SkinString.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/BoundedCost.h"

using SkinUI::CSkinString;

namespace {

bool IsInline(const CSkinString& s) {
    const auto text = reinterpret_cast<uintptr_t>(s.GetData());
    const auto object = reinterpret_cast<uintptr_t>(&s);
    return text >= object && text < object + sizeof(CSkinString);
}

std::wstring Repeat(wchar_t ch, size_t count) {
    return std::wstring(count, ch);
}

} // namespace

TEST(SkinStringStorage, SwitchesBetweenInlineAndHeapAt63Characters) {
    CSkinString s(Repeat(L'a', 62).c_str());
    EXPECT_TRUE(IsInline(s));
    s = Repeat(L'b', 63).c_str();
    EXPECT_FALSE(IsInline(s));
    EXPECT_EQ(s.GetLength(), 63);
    s = L"short";
    EXPECT_TRUE(IsInline(s));
    EXPECT_STREQ(s, L"short");

    CSkinString copy(CSkinString(Repeat(L'c', 100).c_str()));
    CSkinString other(copy);
    EXPECT_NE(copy.GetData(), other.GetData());
    other.SetAt(0, L'x');
    EXPECT_EQ(copy[0], L'c');
    copy.Empty();
    EXPECT_TRUE(IsInline(copy));
    EXPECT_TRUE(copy.IsEmpty());
}

TEST(SkinStringAppend, KeepsBothPartsAcrossTheBoundaryAndOnTheHeap) {
    const std::wstring head = Repeat(L'a', 62);
    CSkinString s(head.c_str());
    s += L'z';
    EXPECT_FALSE(IsInline(s));
    EXPECT_EQ(std::wstring(s), head + L"z");
    s += Repeat(L'q', 1000).c_str();
    EXPECT_EQ(std::wstring(s), head + L"z" + Repeat(L'q', 1000));

    // Shortened in place on the heap, then appended: the text moves back inline.
    s.SetAt(10, L'\0');
    s += L"tail";
    EXPECT_TRUE(IsInline(s));
    EXPECT_EQ(std::wstring(s), Repeat(L'a', 10) + L"tail");

    // Shortened but still long: stays on the heap, remaining text intact.
    CSkinString big(Repeat(L'b', 200).c_str());
    big.SetAt(100, L'\0');
    big += L"!";
    EXPECT_EQ(std::wstring(big), Repeat(L'b', 100) + L"!");

    CSkinString one;
    one += L'x';
    EXPECT_EQ(one.GetLength(), 1);
    EXPECT_TRUE(CSkinString(L'\0').IsEmpty());
    one += static_cast<const wchar_t*>(nullptr);
    EXPECT_STREQ(one + static_cast<const wchar_t*>(nullptr), L"x");
}

TEST(SkinStringAppend, OwnTextDoublesInlineAcrossTheBoundaryAndOnTheHeap) {
    for (size_t length : {5, 40, 5000}) {
        const std::wstring text = Repeat(L'd', length - 1) + L"e";
        CSkinString s(text.c_str());
        s += s;
        EXPECT_EQ(std::wstring(s), text + text) << length;
        s.Append(s.GetData() + s.GetLength() - 1);
        EXPECT_EQ(std::wstring(s), text + text + L"e") << length;
    }
}

TEST(SkinStringAssign, CountsNullsAndOwnText) {
    CSkinString s;
    s.Assign(L"ab", 3);
    EXPECT_STREQ(s, L"ab");
    EXPECT_EQ(s.GetLength(), 2);
    s.Assign(L"abcdef", 3);
    EXPECT_STREQ(s, L"abc");
    s.Assign(nullptr);
    EXPECT_TRUE(s.IsEmpty());
    s = static_cast<const char*>(nullptr);
    EXPECT_TRUE(s.IsEmpty());

    CSkinString& same = s; // through a reference, as aliasing code would
    s = same; // self-assignment keeps the text
    const std::wstring long1 = Repeat(L'x', 100) + Repeat(L'y', 100);
    s = long1.c_str();
    s = same;
    EXPECT_EQ(std::wstring(s), long1);
    s.Assign(s.GetData() + 10); // from the middle of its own heap text
    EXPECT_EQ(std::wstring(s), long1.substr(10));
    s.Assign(s.GetData() + 150); // own heap text back into the inline buffer
    EXPECT_TRUE(IsInline(s));
    EXPECT_EQ(std::wstring(s), Repeat(L'y', 40));
    s.Assign(s.GetData() + 1, 3);
    EXPECT_STREQ(s, L"yyy");
}

TEST(SkinStringNarrow, ConvertsFromTheAnsiCodePage) {
    CSkinString s;
    s = "abc";
    EXPECT_STREQ(s, L"abc");
    s += "def";
    EXPECT_STREQ(s, L"abcdef");
    const std::string longNarrow(300, 'n');
    s = longNarrow.c_str();
    EXPECT_EQ(std::wstring(s), Repeat(L'n', 300));
    if (GetACP() == 936) {
        s = "\xC4\xE3\xBA\xC3"; // two Chinese characters in GBK
        EXPECT_STREQ(s, L"\x4F60\x597D");
    }
}

TEST(SkinStringSearch, FindVariantsHonourStartRules) {
    const CSkinString s(L"abcabc");
    EXPECT_EQ(s.Find(L""), 0);
    EXPECT_EQ(CSkinString().Find(L""), 0);
    EXPECT_EQ(s.Find(L"bc", 2), 4);
    EXPECT_EQ(s.Find(L"bc", 6), -1);
    EXPECT_EQ(s.Find(L"", 6), 6);
    EXPECT_EQ(s.Find(L"bc", 7), -1);
    EXPECT_EQ(s.Find(L"a", -1), -1);
    EXPECT_EQ(s.Find(L'c', 3), 5);
    EXPECT_EQ(s.Find(L'c', 6), -1);
    EXPECT_EQ(s.Find(L'c', -1), -1);
    EXPECT_EQ(s.Find(L'\0'), 6);
    EXPECT_EQ(s.Find(L'z'), -1);
    EXPECT_EQ(s.ReverseFind(L'a'), 3);
    EXPECT_EQ(s.ReverseFind(L'\0'), 6);
    EXPECT_EQ(s.ReverseFind(L'z'), -1);
}

TEST(SkinStringSubstrings, ClampToTheText) {
    const CSkinString s(L"abcdef");
    EXPECT_STREQ(s.Mid(2), L"cdef");
    EXPECT_STREQ(s.Mid(4, 10), L"ef");
    EXPECT_STREQ(s.Mid(6, 1), L"");
    EXPECT_STREQ(s.Mid(9, 2), L"");
    EXPECT_STREQ(s.Mid(-3, 2), L"ab");
    EXPECT_STREQ(s.Left(-3), L"");
    EXPECT_STREQ(s.Left(2), L"ab");
    EXPECT_STREQ(s.Left(100), L"abcdef");
    EXPECT_STREQ(s.Right(2), L"ef");
    EXPECT_STREQ(s.Right(100), L"abcdef");
    EXPECT_STREQ(s.Right(-1), L"");

    EXPECT_EQ(s.GetAt(6), L'\0');
    EXPECT_EQ(s.GetAt(7), L'\0');
    EXPECT_EQ(s[-1], L'\0');
    CSkinString edit(L"abc");
    edit.SetAt(3, L'x'); // would overwrite the terminator
    edit.SetAt(9, L'x');
    edit.SetAt(-1, L'x');
    EXPECT_STREQ(edit, L"abc");
    edit.SetAt(1, L'\0');
    EXPECT_STREQ(edit, L"a");
}

TEST(SkinStringEdit, ReplaceNeverRescansInsertedText) {
    CSkinString s(L"aba");
    EXPECT_EQ(s.Replace(L"a", L"aa"), 2);
    EXPECT_STREQ(s, L"aabaa");
    EXPECT_EQ(s.Replace(L"aa", L""), 2);
    EXPECT_STREQ(s, L"b");
    EXPECT_EQ(s.Replace(L"z", L"y"), 0);
    EXPECT_EQ(s.Replace(L"", L"y"), 0);
    EXPECT_STREQ(s, L"b");

    CSkinString path((Repeat(L'/', 80) + L"x").c_str());
    EXPECT_EQ(path.Replace(L"//", L"\\"), 40);
    EXPECT_TRUE(IsInline(path));
    EXPECT_EQ(std::wstring(path), Repeat(L'\\', 40) + L"x");
}

TEST(SkinStringEdit, CaseFoldsOnlyAsciiLetters) {
    EXPECT_EQ(CSkinString(L"abc").CompareNoCase(L"ABC"), 0);
    EXPECT_NE(CSkinString(L"\x00E9").CompareNoCase(L"\x00C9"), 0); // é / É
    EXPECT_NE(CSkinString(L"\x0434").CompareNoCase(L"\x0414"), 0); // д / Д
    EXPECT_LT(CSkinString(L"ABC").CompareNoCase(L"abd"), 0);
    EXPECT_GT(CSkinString(L"abc").CompareNoCase(L"AB"), 0);

    CSkinString s(L"a\x00E9"
                  L"1z");
    s.MakeUpper();
    EXPECT_STREQ(s, L"A\x00E9"
                    L"1Z");
    s.MakeLower();
    EXPECT_STREQ(s, L"a\x00E9"
                    L"1z");

    const CSkinString b(L"b");
    EXPECT_TRUE(b == L"b");
    EXPECT_TRUE(b != CSkinString(L"B"));
    EXPECT_TRUE(b < L"c" && b <= L"b" && b > L"a" && b >= L"b");
    EXPECT_EQ(b.Compare(nullptr) > 0, true);
}

TEST(SkinStringFormat, UsesTheRuntimeWideConventionsAndAnyLength) {
    CSkinString s;
    EXPECT_EQ(s.Format(L"%s|%S|%c|%C|%d|%04x|%.2f", L"wide", "narrow", L'w', 'n', -7, 255, 1.5),
              28);
    EXPECT_STREQ(s, L"wide|narrow|w|n|-7|00ff|1.50");

    const std::wstring big = Repeat(L'k', 5000);
    EXPECT_EQ(s.Format(L"<%s>%6000d", big.c_str(), 3), 5002 + 6000);
    EXPECT_EQ(std::wstring(s).substr(0, 5002), L"<" + big + L">");
    EXPECT_EQ(s.GetLength(), 11002);

    s = L"self";
    s.Format(L"%s!", s.GetData());
    EXPECT_STREQ(s, L"self!");

    EXPECT_EQ(s.Format(nullptr), -1);
    EXPECT_TRUE(s.IsEmpty());
}

TEST(SkinStringFormat, SmallFormatCutsLongOutput) {
    CSkinString s;
    EXPECT_EQ(s.SmallFormat(L"dest='%d,%d,%d,%d' source='%d,%d,%d,%d'", 1, 2, 3, 4, 5, 6, 7, 8),
              31);
    EXPECT_STREQ(s, L"dest='1,2,3,4' source='5,6,7,8'");
    s.SmallFormat(L"%4d-%02d-%02d", 2024, 3, 9);
    EXPECT_STREQ(s, L"2024-03-09");

    const std::wstring big = Repeat(L'm', 200);
    EXPECT_EQ(s.SmallFormat(L"%s", big.c_str()), 63);
    EXPECT_EQ(std::wstring(s), Repeat(L'm', 63));

    s = L"%d+%d";
    s.SmallFormat(s.GetData(), 1, 2);
    EXPECT_STREQ(s, L"1+2");
}

TEST(SkinStringTrace, NamesMessagesOrFormatsTheirNumber) {
    EXPECT_STREQ(SkinUI::SKIN__TraceMsg(0x0201), L"WM_LBUTTONDOWN");
    EXPECT_STREQ(SkinUI::SKIN__TraceMsg(WM_GETTEXTLENGTH), L"WM_GETTEXTLENGTH");
    EXPECT_STREQ(SkinUI::SKIN__TraceMsg(WM_MOUSELEAVE), L"WM_MOUSELEAVE");
    EXPECT_STREQ(SkinUI::SKIN__TraceMsg(0x0400), L"0x0400");
    EXPECT_STREQ(SkinUI::SKIN__TraceMsg(0x000C), L"0x000C");
    EXPECT_STREQ(SkinUI::SKIN__TraceMsg(0x10000000), L"0x10000000");
    EXPECT_STREQ(SkinUI::SKIN__TraceMsg(0xFFFFFFFF), L"0xFFFFFFFF");
}

TEST(SkinStringTrace, LinesAreFormattedCutAndHandedToTheHandler) {
    {
        skintest::TraceLines traces;
        SkinUI::SKIN__Trace(L"%s is %d x %d", L"a.png", 20000, -3);
        SkinUI::SKIN__Trace(L"%s", Repeat(L'x', 2000).c_str());
        SkinUI::SKIN__Trace(nullptr);
        const std::vector<std::wstring> lines = traces.Lines();
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0], L"a.png is 20000 x -3");
        EXPECT_EQ(lines[1], Repeat(L'x', 511));
    }
    // Without a handler lines go to the debugger output again.
    EXPECT_EQ(SkinUI::SKIN__SetTraceHandler(nullptr), nullptr);
    SkinUI::SKIN__Trace(L"%d", 1);
}

TEST(SkinStringCompare, LiteralOnEitherSideComparesText) {
    wchar_t buffer[] = L"click";
    const CSkinString type(L"click");
    EXPECT_TRUE(buffer == type);
    EXPECT_TRUE(type == buffer);
    EXPECT_FALSE(L"Click" == type);
    EXPECT_TRUE(L"Click" != type);
}
