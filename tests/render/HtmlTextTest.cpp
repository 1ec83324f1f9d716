// HTML-like text: what it measures (runs in their fonts, wrapped lines and spaces, pen
// moves, line heights, links and their capacity, alignment, ellipsis), what it draws (bold
// beside plain, colours, inline image frames, selection, the two bracket kinds, escapes and
// raw text, opaque text on surfaces with alpha, only the lines in sight), and malformed
// markup under a watchdog.

#include "render/RenderEngine.h"
#include "window/PaintManagerUI.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "RenderTestSupport.h"

using SkinUI::CPaintManagerUI;
using SkinUI::CRenderEngine;
using SkinUI::CSkinString;
using SkinUI::TFontInfo;
using namespace RenderTest;

namespace {

constexpr DWORD kBlack = 0xFF000000;
constexpr DWORD kWhite = 0xFFFFFFFF;

bool IsInk(DWORD pixel) {
    return (pixel & 0x00FFFFFF) != 0x00FFFFFF;
}

// Runs `work` on a thread of its own; false when it did not finish in time, and the thread
// is then stopped, so that a hang fails the test instead of blocking the suite.
bool FinishesWithin(DWORD milliseconds, const std::function<void()>& work) {
    struct Call {
        std::function<void()> work;
    };
    auto* call = new Call{work};
    HANDLE thread = ::CreateThread(
        nullptr, 0,
        [](void* context) -> DWORD {
            static_cast<Call*>(context)->work();
            return 0;
        },
        call, 0, nullptr);
    if (thread == nullptr) return false;
    const bool finished = ::WaitForSingleObject(thread, milliseconds) == WAIT_OBJECT_0;
    if (!finished) ::TerminateThread(thread, 1); // `call` stays: the thread may hold it
    ::CloseHandle(thread);
    if (finished) delete call;
    return finished;
}

class HtmlText : public ::testing::Test {
protected:
    RECT Measure(const wchar_t* text, RECT rc, UINT style = 0) {
        int none = 0;
        CRenderEngine::DrawHtmlText(surface.dc(), &manager, rc, text, kBlack, nullptr, nullptr,
                                    none, style | DT_CALCRECT);
        return rc;
    }
    // Draws on a white surface; returns the rectangle as the text left it.
    RECT Draw(const wchar_t* text, RECT rc, UINT style = 0, DWORD color = kBlack) {
        surface.Fill(kWhite);
        int none = 0;
        CRenderEngine::DrawHtmlText(surface.dc(), &manager, rc, text, color, nullptr, nullptr, none,
                                    style);
        return rc;
    }
    const TFontInfo* Default() { return manager.GetDefaultFontInfo(); }
    LONG LineHeight() { return Default()->metrics.tmHeight + Default()->metrics.tmExternalLeading; }
    LONG Extent(const wchar_t* text, HFONT font = nullptr) {
        HGDIOBJ old = ::SelectObject(surface.dc(), font != nullptr ? font : Default()->font);
        SIZE size{};
        ::GetTextExtentPoint32W(surface.dc(), text, static_cast<int>(wcslen(text)), &size);
        ::SelectObject(surface.dc(), old);
        return size.cx;
    }
    HFONT Bold() {
        return manager.GetFont(Default()->faceName, Default()->size, true, false, false);
    }
    int Ink(const RECT& area) const {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                count += IsInk(surface.Pixel(x, y)) ? 1 : 0;
        return count;
    }
    // Pixels of `area` matching a test.
    int Count(const RECT& area, const std::function<bool(DWORD)>& test) const {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                count += test(surface.Pixel(x, y)) ? 1 : 0;
        return count;
    }
    std::vector<DWORD> Snapshot() const { return surface.Pixels(); }

    CPaintManagerUI manager;
    Surface surface{400, 100, kWhite, 24};
};

} // namespace

// ---------------------------------------------------------------------------
// Measured text

TEST_F(HtmlText, RunsAreMeasuredInTheirOwnFonts) {
    const RECT plain = Measure(L"plain text", RECT{10, 5, 400, 100});
    EXPECT_EQ(plain.left, 10);
    EXPECT_EQ(plain.top, 5);
    EXPECT_EQ(plain.right, 10 + Extent(L"plain text"));
    EXPECT_EQ(plain.bottom, 5 + LineHeight());

    const RECT mixed = Measure(L"<b>Bold</b> plain", RECT{0, 0, 400, 100});
    ASSERT_NE(Bold(), nullptr) << "the bold variant is made through the manager";
    EXPECT_EQ(mixed.right, Extent(L"Bold", Bold()) + Extent(L" plain"));
    EXPECT_GT(Extent(L"Bold", Bold()), Extent(L"Bold"));
    const int fonts = manager.GetCustomFontCount();
    Measure(L"<b>again</b> {b}and again{/b}", RECT{0, 0, 400, 100});
    EXPECT_EQ(manager.GetCustomFontCount(), fonts) << "a variant is made once";

    // A font by face, size and words; a font by index.
    const RECT faced = Measure(L"<f Tahoma 30 Bold underline>Big</f>", RECT{0, 0, 400, 100});
    const HFONT big = manager.GetFont(L"Tahoma", 30, true, true, false);
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(faced.right, Extent(L"Big", big));
    EXPECT_GE(faced.bottom, 30);
    const HFONT indexed = manager.AddFont(L"Tahoma", 24, false, false, false);
    const int index = manager.GetFontIndex(indexed);
    const std::wstring byIndex = L"<f " + std::to_wstring(index) + L">Idx</f>";
    EXPECT_EQ(Measure(byIndex.c_str(), RECT{0, 0, 400, 100}).right, Extent(L"Idx", indexed));
}

TEST_F(HtmlText, PenMovesLineHeightsAndParagraphs) {
    const LONG line = LineHeight();
    EXPECT_EQ(Measure(L"a<x 17>b", RECT{0, 0, 400, 100}).right, Extent(L"a") + 17 + Extent(L"b"));
    EXPECT_EQ(Measure(L"<y 40>tall", RECT{0, 0, 400, 100}).bottom, 40);
    EXPECT_EQ(Measure(L"one<n>two\nthree", RECT{0, 0, 400, 100}).bottom, 3 * line);
    EXPECT_EQ(Measure(L"one<n>two", RECT{0, 0, 400, 100}, DT_SINGLELINE).right, Extent(L"onetwo"))
        << "no line breaks in a single line";
    // A paragraph ends the line before it, adds its spacing to its own lines, and takes
    // the spacing away with it.
    EXPECT_EQ(Measure(L"<p 6>para</p>", RECT{0, 0, 400, 100}).bottom, line + 6);
    EXPECT_EQ(Measure(L"before<p 6>para</p>after", RECT{0, 0, 400, 100}).bottom,
              line + (line + 6) + line);
}

TEST_F(HtmlText, WordsWrapAfterNonLettersAndIdeographsAnywhere) {
    const LONG line = LineHeight();
    // Room for "two words" but not for "two words wrap".
    const LONG width = Extent(L"two words wr");
    const RECT words = Measure(L"two words wrap", RECT{0, 0, width, 100}, DT_WORDBREAK);
    EXPECT_EQ(words.bottom, 2 * line);
    EXPECT_EQ(words.right, Extent(L"two words "));
    // A word that does not fit after other text moves to the next line whole.
    Measure(L"<b>make the bold font</b>", RECT{0, 0, 400, 100});
    ASSERT_NE(Bold(), nullptr);
    const LONG narrow = Extent(L"two ") + Extent(L"words", Bold()) - 1;
    const RECT moved = Measure(L"two <b>words</b>wrap", RECT{0, 0, narrow, 100}, DT_WORDBREAK);
    EXPECT_EQ(moved.bottom, 3 * line) << "two / words / wrap";
    // Breaking at a space drops the space: the next line starts with the word.
    RECT links[2] = {};
    CSkinString targets[2];
    int count = 2;
    RECT rc{0, 0, Extent(L"aaaa"), 100};
    CRenderEngine::DrawHtmlText(surface.dc(), &manager, rc, L"<a t>aaaa bb</a>", kBlack, links,
                                targets, count, DT_WORDBREAK);
    ASSERT_EQ(count, 2);
    const HFONT underlined =
        manager.GetFont(Default()->faceName, Default()->size, false, true, false);
    EXPECT_EQ(links[0].right, Extent(L"aaaa", underlined));
    EXPECT_EQ(links[1].left, 0);
    EXPECT_EQ(links[1].right, Extent(L"bb", underlined));
    // Without word breaks the characters that fit stay on the line.
    EXPECT_EQ(Measure(L"abcdef", RECT{0, 0, Extent(L"abc"), 100}).bottom, 2 * line);

    const wchar_t* ideographs = L"\x4E2D\x6587\x4E2D\x6587\x4E2D\x6587";
    const LONG two = Extent(L"\x4E2D\x6587");
    const RECT cjk = Measure(ideographs, RECT{0, 0, two + two / 4, 200}, DT_WORDBREAK);
    EXPECT_EQ(cjk.bottom, 3 * line) << "two ideographs a line";
}

TEST_F(HtmlText, OneRunOverThousandsOfLinesWrapsAWordALine) {
    const LONG line = LineHeight();
    const RECT column{0, 0, Extent(L"word "), 1000000};
    std::wstring words;
    for (int i = 0; i < 3000; ++i)
        words += L"word ";
    EXPECT_EQ(Measure(words.c_str(), column, DT_WORDBREAK).bottom, 3000 * line);
    // Tags inside raw text are words like the others; the closing tag ends the run.
    std::wstring raw = L"<r>" + words + L"<b> </r>tail";
    EXPECT_EQ(Measure(raw.c_str(), column, DT_WORDBREAK).bottom, 3002 * line);
    // The font tag reads its style words one by one, however many there are.
    std::wstring styles = L"<f Arial 12";
    for (int i = 0; i < 20000; ++i)
        styles += L" plain";
    styles += L" bold>bold</f>";
    Draw(styles.c_str(), surface.rect());
    const std::vector<DWORD> manyWords = Snapshot();
    Draw(L"<f Arial 12 bold>bold</f>", surface.rect());
    EXPECT_EQ(Snapshot(), manyWords);
}

TEST_F(HtmlText, SpacesBeforeAnyWordWrapAsIfPlacedOneByOne) {
    const LONG line = LineHeight();
    const LONG space = Extent(L" ");
    ASSERT_GT(space, 0);
    const int perLine = 10;
    const auto spacesThenX = [](int count) { return std::wstring(count, L' ') + L"x"; };
    // With room for ten and a half, the eleventh space of each line ends it and goes.
    const RECT roomy{0, 0, perLine * space + space / 2, 1000000};
    EXPECT_EQ(Measure(spacesThenX(3 * (perLine + 1) + 2).c_str(), roomy, DT_WORDBREAK).bottom,
              4 * line);
    // A line the spaces fill exactly ends at its edge, and the next space starts the next.
    const RECT exact{0, 0, perLine * space, 1000000};
    EXPECT_EQ(Measure(spacesThenX(4 * perLine).c_str(), exact, DT_WORDBREAK).bottom, 5 * line);
    // Hundreds of thousands of them are placed a line at a time.
    const int lines = 20000;
    EXPECT_EQ(Measure(spacesThenX(lines * (perLine + 1)).c_str(), roomy, DT_WORDBREAK).bottom,
              (lines + 1) * line);
    EXPECT_EQ(Measure(spacesThenX(100000).c_str(), RECT{0, 0, 400, 100}, DT_SINGLELINE).right,
              400 / space * space);
}

TEST_F(HtmlText, NestingBeyondTheDeepestFollowedClosesInOrder) {
    std::wstring deep;
    for (int i = 0; i < 300; ++i)
        deep += L"<b>";
    deep += L"x";
    for (int i = 0; i < 300; ++i)
        deep += L"</b>";
    deep += L"plain";
    const LONG right = Measure(deep.c_str(), RECT{0, 0, 400, 100}).right;
    ASSERT_NE(Bold(), nullptr);
    EXPECT_EQ(right, Extent(L"x", Bold()) + Extent(L"plain"))
        << "bold inside, the default font after the last closing tag";
}

TEST_F(HtmlText, EdgesBillionsOfPixelsOutAreBroughtIn) {
    // A list's text padding of INT_MIN moves the left edge that far.
    for (const UINT style : {0u, UINT(DT_SINGLELINE | DT_RIGHT), UINT(DT_WORDBREAK | DT_CENTER)}) {
        const RECT distant{LONG_MIN + 12, 0, 300, LONG_MAX};
        RECT drawn = Draw(L"{b}far{/b} <a x>away</a>", distant, style);
        EXPECT_LE(drawn.right - drawn.left, 1 << 30);
        RECT measured = Measure(L"far away", distant, style);
        EXPECT_GT(measured.bottom, measured.top);
    }
}

TEST_F(HtmlText, EmptyTextMeasuresOneEmptyLine) {
    const RECT empty = Measure(L"", RECT{0, 0, 200, 100});
    EXPECT_EQ(empty.right, 0);
    EXPECT_EQ(empty.bottom, LineHeight());
    const RECT tagsOnly = Measure(L"<b></b><c #FF0000></c>", RECT{0, 0, 200, 100});
    EXPECT_EQ(tagsOnly.right, 0);
}

TEST_F(HtmlText, LinkWrappedOverTwoLinesGivesTwoRectanglesWithOneTarget) {
    const LONG line = LineHeight();
    const LONG width = Extent(L"see the linked ");
    RECT rc{5, 3, 5 + width, 100};
    RECT links[4] = {};
    CSkinString targets[4];
    int count = 4;
    CRenderEngine::DrawHtmlText(surface.dc(), &manager, rc,
                                L"see <a http://a.example/>the linked words</a> and "
                                L"<a second>x</a>",
                                kBlack, links, targets, count, DT_WORDBREAK);
    ASSERT_EQ(count, 3);
    EXPECT_EQ(targets[0], L"http://a.example/");
    EXPECT_EQ(targets[1], L"http://a.example/");
    EXPECT_EQ(targets[2], L"second");
    // First part: from after "see " to the end of "linked " on the first line.
    EXPECT_EQ(links[0].left, 5 + Extent(L"see "));
    EXPECT_EQ(links[0].top, 3);
    EXPECT_EQ(links[0].bottom, 3 + line);
    EXPECT_LE(links[0].right, rc.right);
    EXPECT_GT(links[0].right, links[0].left);
    // Second part: from the left edge of the next line over "words".
    EXPECT_EQ(links[1].left, 5);
    EXPECT_EQ(links[1].top, 3 + line);
    EXPECT_EQ(links[1].bottom, 3 + 2 * line);
    const HFONT underlined =
        manager.GetFont(Default()->faceName, Default()->size, false, true, false);
    ASSERT_NE(underlined, nullptr);
    EXPECT_EQ(links[1].right, 5 + Extent(L"words", underlined));
    EXPECT_EQ(links[2].top, 3 + line);
}

TEST_F(HtmlText, LinksBeyondTheCapacityAreDrawnButNotReported) {
    RECT links[8] = {};
    CSkinString targets[8];
    std::wstring nine;
    for (int i = 0; i < 9; ++i)
        nine += L"<a t" + std::to_wstring(i) + L">L</a> ";
    RECT rc{0, 0, 400, 100};
    int count = 8;
    CRenderEngine::DrawHtmlText(surface.dc(), &manager, rc, nine.c_str(), kBlack, links, targets,
                                count, DT_WORDBREAK);
    EXPECT_EQ(count, 8);
    EXPECT_EQ(targets[7], L"t7");

    // Capacity one, one link split over two lines: the second part is not reported.
    count = 1;
    rc = RECT{0, 0, Extent(L"ab cd"), 100};
    CRenderEngine::DrawHtmlText(surface.dc(), &manager, rc, L"<a x>ab cd ef</a>", kBlack, links,
                                targets, count, DT_WORDBREAK);
    EXPECT_EQ(count, 1);

    // Capacity 0: nothing reported, yet drawn in the link colour.
    manager.SetDefaultLinkFontColor(0xFF00C000);
    count = 0;
    surface.Fill(kWhite);
    rc = RECT{0, 0, 400, 100};
    CRenderEngine::DrawHtmlText(surface.dc(), &manager, rc, L"<a x>LINK</a>", kBlack, links,
                                targets, count, 0);
    EXPECT_EQ(count, 0);
    EXPECT_GT(Count(surface.rect(),
                    [](DWORD p) {
                        return ((p >> 8) & 0xFF) > 0x80 && ((p >> 16) & 0xFF) < 0x40 &&
                               (p & 0xFF) < 0x40;
                    }),
              0)
        << "green link text";
}

TEST_F(HtmlText, BlockAlignmentMovesTheRectangle) {
    const LONG width = Extent(L"centred");
    const RECT centred = Draw(L"centred", RECT{0, 0, 200, 60}, DT_SINGLELINE | DT_CENTER);
    EXPECT_EQ(centred.left, 100 - width / 2);
    EXPECT_EQ(centred.right, centred.left + width);
    EXPECT_EQ(Ink(RECT{0, 0, centred.left, 60}), 0);
    EXPECT_GT(Ink(centred), 0);

    const RECT right = Draw(L"right", RECT{0, 0, 200, 60}, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
    EXPECT_EQ(right.left, 200 - Extent(L"right"));
    EXPECT_EQ(right.top, 60 - LineHeight());
    const RECT middle = Draw(L"mid", RECT{0, 0, 200, 60}, DT_SINGLELINE | DT_VCENTER);
    EXPECT_EQ(middle.top, 30 - LineHeight() / 2);

    // Wrapped lines are centred one by one.
    const LONG line = LineHeight();
    Draw(L"wide wide wide<n>x", RECT{0, 0, 200, 60}, DT_WORDBREAK | DT_CENTER);
    const LONG x = Extent(L"x");
    const LONG left = (200 - x) / 2;
    EXPECT_EQ(Ink(RECT{0, line, left - 1, 2 * line}), 0);
    EXPECT_GT(Ink(RECT{left, line, left + x, 2 * line}), 0);
}

TEST_F(HtmlText, EllipsisEndsATooLongLine) {
    const LONG width = Extent(L"Wide text Wi");
    const RECT measured = Measure(L"Wide text Wide text Wide text", RECT{0, 0, width, 40},
                                  DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_EQ(measured.right, width) << "the pen goes to the right edge";
    Draw(L"WWWWWWWWWWWWWWWWWWWWWWWW", RECT{0, 0, width, 40}, DT_SINGLELINE | DT_END_ELLIPSIS);
    // The dots at the end sit on the base line: nothing in the upper half of the letters.
    const LONG dots = Extent(L"...");
    const LONG ascent = Default()->metrics.tmAscent;
    EXPECT_GT(Ink(RECT{0, 0, dots, ascent / 2}), 0) << "letters reach up";
    // Somewhere in the last dots' width before the edge there are dots and no letter tops.
    bool found = false;
    for (LONG start = width - dots - Extent(L"W") - 1; start <= width - dots && !found; ++start)
        found = Ink(RECT{start, 0, start + dots, ascent / 2}) == 0 &&
                Ink(RECT{start, ascent / 2, start + dots, ascent + 1}) > 0;
    EXPECT_TRUE(found) << "the line ends with \"...\"";
    // A centred line too long for its rectangle keeps the ellipsis at the right edge.
    const RECT centred = Draw(L"WWWWWWWWWWWWWWWWWWWWWWWW", RECT{0, 0, width, 40},
                              DT_SINGLELINE | DT_END_ELLIPSIS | DT_CENTER);
    EXPECT_EQ(centred.left, 0);
    EXPECT_EQ(centred.right, width);
}

// ---------------------------------------------------------------------------
// Malformed markup

TEST_F(HtmlText, MalformedMarkupNeverCrashesOrHangs) {
    // A two-frame image for the image tags.
    Bitmap strip(4, 2, Solid(4, 2, 0xFF0000FF));
    manager.AddImage(
        L"strip",
        static_cast<HBITMAP>(::CopyImage(strip.get(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)), 4,
        2, false);
    std::vector<std::wstring> samples = {
        L"",
        L"<",
        L"{",
        L"<b",
        L"</",
        L"</b",
        L"<b unterminated tag",
        L"{c #ff0000",
        L"<a never closed",
        L"<<<<{{{{>>>>}}}}",
        L"<{><}>{<}{>}<{",
        L"{<",
        L"</x>",
        L"<b><i><u>nested</b></b></b></i></u></u></u>",
        L"</b></c></a></f></p></s></r></i></y>",
        L"<z>unknown<q with args>letters<zz>",
        L"<x 99999999999999999999>far",
        L"<x -99999999999>back",
        L"<y 2147483647>a<n>b<n>c",
        L"<y -5>negative",
        L"<p 2147483647>para</p>x",
        L"<p -2147483648>para</p>",
        L"<c 99999999999999999>x",
        L"<c #>x",
        L"<c -80000000>x",
        L"<c zz>x",
        L"<f 999999>x</f>",
        L"<f -5>x",
        L"<f Tahoma 99999999 bold>huge</f>",
        L"<f>empty</f>",
        L"<f  >",
        L"<a>empty target</a>",
        L"<i missing.png 0 -5>",
        L"<i strip 2147483647 2147483647>x",
        L"<i file='strip' 2 -1><i res='1' restype='x'><i file='unterminated",
        L"<r>never closed <b>",
        L"<r></r><r>{/r}",
        L"<s><s><s>x",
        L"\n\n\n",
        L"\xD83D\xDE00\xD83D\xDE00\xD83D\xDE00",
        L"\xD83D",
        L"<n><n>",
        L"<a x><a y>z</a></a>",
        L"<p><p><p>x</p>",
        L"a<x 5><x 5><x 5><x 5>b",
        L"   ",
        L"<b> </b> <i> </i>"};
    std::wstring deep;
    for (int i = 0; i < 2000; ++i)
        deep += L"<b><c #123456><p 1>";
    samples.push_back(deep + L"deep");
    std::wstring unbroken(5000, L'w');
    samples.push_back(unbroken);
    std::wstring words;
    while (words.size() < 5000)
        words += L"word <b>bold</b> ";
    samples.push_back(words);

    const UINT styles[] = {0,
                           DT_SINGLELINE,
                           DT_WORDBREAK,
                           DT_WORDBREAK | DT_END_ELLIPSIS,
                           DT_SINGLELINE | DT_END_ELLIPSIS | DT_CENTER | DT_VCENTER,
                           DT_RIGHT | DT_BOTTOM | DT_WORDBREAK,
                           DT_END_ELLIPSIS};
    const RECT areas[] = {{0, 0, 120, 40}, {0, 0, 1, 40}, {0, 0, 3, 3}};
    HDC dc = surface.dc();
    CPaintManagerUI* pm = &manager;
    bool sound = true;
    std::string broken;
    const bool finished = FinishesWithin(120000, [&] {
        RECT links[3];
        CSkinString targets[3];
        for (const std::wstring& text : samples) {
            for (const UINT style : styles) {
                for (const RECT& area : areas) {
                    for (const UINT mode : {0u, static_cast<UINT>(DT_CALCRECT)}) {
                        RECT rc = area;
                        int count = 3;
                        CRenderEngine::DrawHtmlText(dc, pm, rc, text.c_str(), kBlack, links,
                                                    targets, count, style | mode);
                        const bool ok =
                            count >= 0 && count <= 3 &&
                            (mode == 0 || (rc.right <= area.right && rc.bottom >= rc.top));
                        if (!ok && sound) {
                            sound = false;
                            broken = Narrow(text.substr(0, 40).c_str());
                        }
                    }
                }
            }
        }
    });
    EXPECT_TRUE(finished) << "a text hung the layout";
    EXPECT_TRUE(sound) << broken;
}

TEST_F(HtmlText, EllipsisNarrowerThanOneCharacterStops) {
    // The text must end: every line takes at least one character.
    RECT measured{0, 0, 1, 10};
    int none = 0;
    const bool finished = FinishesWithin(10000, [&] {
        CRenderEngine::DrawHtmlText(surface.dc(), &manager, measured, L"Wide words wide words",
                                    kBlack, nullptr, nullptr, none,
                                    DT_CALCRECT | DT_END_ELLIPSIS | DT_WORDBREAK);
    });
    ASSERT_TRUE(finished);
    EXPECT_EQ(measured.right, 1);
    EXPECT_GT(measured.bottom, LineHeight()) << "wrapped a character or so a line";
    const RECT single = Measure(L"Wide", RECT{0, 0, 1, 10}, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_EQ(single.bottom, LineHeight());
}

// ---------------------------------------------------------------------------
// Pixels

TEST_F(HtmlText, BoldWordBesidePlainText) {
    Draw(L"Word plain", surface.rect());
    const std::vector<DWORD> plain = Snapshot();
    Draw(L"<b>Word</b> plain", surface.rect());
    const std::vector<DWORD> bold = Snapshot();
    ASSERT_NE(Bold(), nullptr);
    const LONG plainWord = Extent(L"Word");
    const LONG boldWord = Extent(L"Word", Bold());
    const LONG height = LineHeight();
    const auto ink = [&](const std::vector<DWORD>& pixels, LONG from, LONG to) {
        int count = 0;
        for (LONG y = 0; y < height; ++y)
            for (LONG x = from; x < to; ++x)
                count += IsInk(pixels[y * surface.width() + x]) ? 1 : 0;
        return count;
    };
    EXPECT_GT(ink(bold, 0, boldWord), ink(plain, 0, plainWord) * 11 / 10) << "heavier word";
    // The rest is the same plain text, moved by the wider word.
    const LONG rest = Extent(L" plain");
    int different = 0;
    for (LONG y = 0; y < height; ++y)
        for (LONG x = 0; x < rest; ++x)
            different += plain[y * surface.width() + plainWord + x] !=
                                 bold[y * surface.width() + boldWord + x]
                             ? 1
                             : 0;
    EXPECT_EQ(different, 0);
}

TEST_F(HtmlText, LinesOutOfSightAreSkippedAndTheOthersDrawAsAlone) {
    const LONG line = LineHeight();
    const auto rows = [](int from, int to) {
        std::wstring text;
        for (int i = from; i < to; ++i)
            text += L"{b}row{/b} " + std::to_wstring(i) + L" <u>gy</u>\n";
        return text;
    };
    // Row 100 straddles the top edge; the rows above it are out of sight.
    const LONG top = -100 * line - line / 2;
    const RECT all{0, top, 400, top + 400 * line};
    Draw(rows(0, 400).c_str(), all, DT_WORDBREAK);
    const std::vector<DWORD> fromTheStart = Snapshot();
    Draw(rows(100, 400).c_str(), RECT{0, top + 100 * line, 400, all.bottom}, DT_WORDBREAK);
    EXPECT_EQ(Snapshot(), fromTheStart);
    EXPECT_GT(Ink(surface.rect()), 0);
    // Inside a clipped band, only the band changes, as it would drawn unclipped.
    surface.Fill(kWhite);
    ::IntersectClipRect(surface.dc(), 0, 40, 400, 60);
    int none = 0;
    RECT banded = all;
    CRenderEngine::DrawHtmlText(surface.dc(), &manager, banded, rows(0, 400).c_str(), kBlack,
                                nullptr, nullptr, none, DT_WORDBREAK);
    ::SelectClipRgn(surface.dc(), nullptr);
    const std::vector<DWORD> band = Snapshot();
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x) {
            const size_t at = static_cast<size_t>(y) * surface.width() + x;
            const DWORD expected = y >= 40 && y < 60 ? fromTheStart[at] : kWhite;
            ASSERT_EQ(band[at] & 0x00FFFFFF, expected & 0x00FFFFFF) << x << "," << y;
        }
}

TEST_F(HtmlText, ColourRunsDrawInTheirColour) {
    const auto reddish = [](DWORD p) {
        return ((p >> 16) & 0xFF) > 0xC0 && ((p >> 8) & 0xFF) < 0x50 && (p & 0xFF) < 0x50;
    };
    Draw(L"<c #FF0000>RED</c> black", surface.rect());
    const LONG red = Extent(L"RED");
    EXPECT_GT(Count(RECT{0, 0, red, 30}, reddish), 5);
    EXPECT_EQ(Count(RECT{red, 0, 400, 30}, reddish), 0);
    EXPECT_GT(Ink(RECT{red, 0, 400, 30}), 0);
    // A value with an alpha byte of 0x80 or more saturates and draws white.
    surface.Fill(kBlack);
    RECT rc = surface.rect();
    int none = 0;
    CRenderEngine::DrawHtmlText(surface.dc(), &manager, rc, L"<c #80000000>WHITE</c>", kBlack,
                                nullptr, nullptr, none, 0);
    EXPECT_GT(Count(surface.rect(),
                    [](DWORD p) {
                        return ((p >> 16) & 0xFF) > 0xC0 && ((p >> 8) & 0xFF) > 0xC0 &&
                               (p & 0xFF) > 0xC0;
                    }),
              5);
}

TEST_F(HtmlText, InlineImageShowsItsFrame) {
    // Three 4 x 4 frames side by side: red, green, blue.
    std::vector<DWORD> pixels;
    for (int y = 0; y < 4; ++y)
        for (DWORD color : {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu})
            pixels.insert(pixels.end(), 4, color);
    Bitmap strip(12, 4, pixels);
    ASSERT_NE(manager.AddImage(L"strip",
                               static_cast<HBITMAP>(::CopyImage(strip.get(), IMAGE_BITMAP, 0, 0,
                                                                LR_CREATEDIBSECTION)),
                               12, 4, false),
              nullptr);
    const LONG line = LineHeight();
    // Lower than the line: centred on it.
    const LONG top = 2 + line - 4 - (line - 4) / 2;
    const struct {
        const wchar_t* text;
        DWORD color;
    } cases[] = {{L"<i strip 3 1>", 0xFF00FF00},
                 {L"<i strip 3 5>", 0xFFFF0000}, // index outside: frame 0
                 {L"<i file='strip' 3 2>", 0xFF0000FF}};
    for (const auto& each : cases) {
        Draw(each.text, RECT{5, 2, 300, 90});
        EXPECT_EQ(surface.Pixel(5, top), each.color) << Narrow(each.text);
        EXPECT_EQ(surface.Pixel(8, top + 3), each.color) << Narrow(each.text);
        EXPECT_EQ(surface.Pixel(9, top), kWhite) << "one frame wide";
    }
    // The pen moves on by one frame.
    EXPECT_EQ(Measure(L"<i strip 3>x", RECT{0, 0, 300, 90}).right, 4 + Extent(L"x"));
    // A taller image makes the line taller.
    EXPECT_EQ(Measure(L"<i strip 3>", RECT{0, 0, 300, 90}).bottom, line);
    EXPECT_EQ(Measure(L"<y 1><i strip 3>", RECT{0, 0, 300, 90}).bottom, 4);
}

TEST_F(HtmlText, SelectionDrawsOnTheSelectedBackground) {
    manager.SetDefaultSelectedBkColor(0xFF3060F0);
    Draw(L"<s>selected</s> plain", surface.rect());
    const LONG selected = Extent(L"selected");
    const auto background = [](DWORD p) { return (p & 0xFFFFFF) == 0x3060F0; };
    EXPECT_GT(Count(RECT{0, 0, selected, LineHeight()}, background), selected * 3);
    EXPECT_EQ(Count(RECT{selected, 0, 400, 100}, background), 0);
}

TEST_F(HtmlText, BracesEscapesAndRawText) {
    // Either bracket kind, mixed, makes the same tags.
    Draw(L"<b>x</b> <c #FF0000>y</c>", surface.rect());
    const std::vector<DWORD> angle = Snapshot();
    Draw(L"{b}x{/b} {c #FF0000>y</c}", surface.rect());
    EXPECT_EQ(Snapshot(), angle);
    // Escapes draw the bracket; raw text draws tags as they are written.
    Draw(L"<r>{}<>b<b></r>", surface.rect());
    const std::vector<DWORD> raw = Snapshot();
    Draw(L"<{><}>{<}{>}b<r><b></r>", surface.rect());
    EXPECT_EQ(Snapshot(), raw);
    RECT rc = surface.rect();
    surface.Fill(kWhite);
    CRenderEngine::DrawTextW(surface.dc(), &manager, rc, L"{}<>b<b>", kBlack, -1, DT_SINGLELINE);
    EXPECT_EQ(Snapshot(), raw) << "the same as the plain text";
}

TEST_F(HtmlText, TextStaysOpaqueOnSurfacesWithAlpha) {
    Surface layered(200, 40, 0x00000000);
    RECT rc = layered.rect();
    int none = 0;
    CRenderEngine::DrawHtmlText(layered.dc(), &manager, rc, L"<s>sel</s> <b>text</b>", 0xFFFFFFFF,
                                nullptr, nullptr, none, 0);
    int opaque = 0;
    int holes = 0;
    for (DWORD pixel : layered.Pixels()) {
        if ((pixel & 0xFFFFFF) == 0) continue;
        (pixel >> 24 == 0xFF ? opaque : holes) += 1;
    }
    EXPECT_GT(opaque, 20);
    EXPECT_EQ(holes, 0);
    EXPECT_EQ(layered.Pixel(199, 39), 0u) << "untouched pixels stay transparent";
}
