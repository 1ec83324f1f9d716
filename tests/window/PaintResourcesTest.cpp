// The tables controls draw with: fonts, default colours, default attribute lists and the
// parent resource that lends them, and the global hue, saturation and lightness.
#include "window/PaintManagerUI.h"

#include <gtest/gtest.h>

#include <string>

using namespace SkinUI;

TEST(PaintFonts, IndexesOutsideTheListAnswerTheDefaultFont) {
    CPaintManagerUI manager;
    const HFONT fallback = manager.GetFont(-1);
    ASSERT_NE(fallback, nullptr);
    EXPECT_EQ(manager.GetFont(0), fallback);
    const HFONT first = manager.AddFont(L"Arial", 12, false, false, false);
    const HFONT second = manager.AddFont(L"Arial", 14, true, false, true);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(manager.GetFont(0), first);
    EXPECT_EQ(manager.GetFont(manager.GetCustomFontCount()), fallback);
    EXPECT_EQ(manager.GetFontInfo(5), manager.GetDefaultFontInfo());
    EXPECT_GT(manager.GetDefaultFontInfo()->metrics.tmHeight, 0) << "measured on demand";

    // Found by exact description; removal moves later fonts down.
    EXPECT_EQ(manager.GetFont(L"Arial", 14, true, false, true), second);
    EXPECT_EQ(manager.GetFont(L"Arial", 14, true, false, false), nullptr);
    EXPECT_EQ(manager.GetFontIndex(second), 1);
    const HFONT inserted = manager.AddFontAt(0, L"Tahoma", 9, false, true, false);
    EXPECT_EQ(manager.GetFontIndex(second), 2);
    EXPECT_TRUE(manager.RemoveFont(inserted));
    EXPECT_FALSE(manager.RemoveFontAt(7));
    EXPECT_EQ(manager.GetFontIndex(second), 1);
    EXPECT_TRUE(manager.GetFontInfo(second)->bold);

    // The default can be replaced; a new one keeps its description.
    ASSERT_TRUE(manager.SetDefaultFont(L"Arial", 20, false, true, false));
    EXPECT_EQ(manager.GetDefaultFontInfo()->size, 20);
    EXPECT_TRUE(manager.GetDefaultFontInfo()->underline);
    EXPECT_EQ(manager.GetFont(-1), manager.GetDefaultFontInfo()->font);
}

TEST(PaintFonts, LongFaceNamesAreCutAndTerminated) {
    CPaintManagerUI manager;
    const std::wstring longName(40, L'Q');
    const HFONT font = manager.AddFont(longName.c_str(), 12, true, false, false);
    ASSERT_NE(font, nullptr);
    LOGFONTW description{};
    ASSERT_EQ(::GetObjectW(font, sizeof(description), &description),
              static_cast<int>(sizeof(description)));
    EXPECT_EQ(std::wstring(description.lfFaceName), std::wstring(LF_FACESIZE - 1, L'Q'));
    EXPECT_LE(description.lfWeight, FW_HEAVY) << "bold stays a valid weight";
    EXPECT_EQ(manager.GetFontInfo(font)->faceName, longName.c_str());

    CPaintManagerUI::SetDefaultFontName(longName.c_str());
    CPaintManagerUI later;
    CPaintManagerUI::SetDefaultFontName(L"");
    EXPECT_EQ(later.GetDefaultFontInfo()->faceName.GetLength(), LF_FACESIZE - 1);
}

TEST(PaintResources, ParentResourceLendsItsTables) {
    CPaintManagerUI parent;
    CPaintManagerUI child;
    const HFONT parentFont = parent.AddFont(L"Arial", 13, false, false, false);
    parent.SetDefaultFontColor(0xFF112233);
    parent.AddDefaultAttributeList(L"ButtonUI", L"width=\"10\"");
    ASSERT_TRUE(child.UseParentResource(&parent));
    EXPECT_FALSE(parent.UseParentResource(&child)) << "no cycles";
    EXPECT_FALSE(child.UseParentResource(&child));
    EXPECT_EQ(child.GetParentResource(), &parent);

    child.SetDefaultFontColor(0xFF445566);
    EXPECT_EQ(child.GetDefaultFontColor(), 0xFF112233u) << "the parent's colour wins";
    EXPECT_EQ(child.GetDefaultDisabledColor(), 0xFFA7A6AAu);
    EXPECT_EQ(child.GetFont(L"Arial", 13, false, false, false), parentFont);
    EXPECT_TRUE(child.FindFont(parentFont));
    EXPECT_EQ(child.GetFontIndex(parentFont), -1) << "indexes are the own list's";
    EXPECT_NE(child.GetFont(0), parentFont);
    EXPECT_EQ(child.GetFontInfo(parentFont)->font, parentFont);
    EXPECT_EQ(child.GetDefaultFontInfo(), parent.GetDefaultFontInfo());
    EXPECT_STREQ(child.GetDefaultAttributeList(L"ButtonUI"), L"width=\"10\"");
    child.AddDefaultAttributeList(L"ButtonUI", L"height=\"5\"");
    EXPECT_STREQ(child.GetDefaultAttributeList(L"ButtonUI"), L"height=\"5\"") << "own first";

    ASSERT_TRUE(child.UseParentResource(nullptr));
    EXPECT_EQ(child.GetDefaultFontColor(), 0xFF445566u);
    EXPECT_EQ(child.GetFont(L"Arial", 13, false, false, false), nullptr);
}

TEST(PaintResources, FirstDefaultAttributeListWins) {
    CPaintManagerUI manager;
    manager.AddDefaultAttributeList(L"LabelUI", L"text=\"first\"");
    manager.AddDefaultAttributeList(L"LabelUI", L"text=\"second\"");
    EXPECT_STREQ(manager.GetDefaultAttributeList(L"LabelUI"), L"text=\"first\"");
    EXPECT_EQ(manager.GetDefaultAttribultes().GetSize(), 1);
    EXPECT_EQ(manager.GetDefaultAttributeList(L"labelui"), nullptr) << "names are exact";
    EXPECT_TRUE(manager.RemoveDefaultAttributeList(L"LabelUI"));
    EXPECT_FALSE(manager.RemoveDefaultAttributeList(L"LabelUI"));
    manager.AddDefaultAttributeList(L"LabelUI", L"text=\"third\"");
    EXPECT_STREQ(manager.GetDefaultAttributeList(L"LabelUI"), L"text=\"third\"");
}

TEST(PaintResources, HslIsClampedAndProcessWide) {
    short h = 0;
    short s = 0;
    short l = 0;
    CPaintManagerUI::SetHSL(true, 400, -5, 250);
    CPaintManagerUI::GetHSL(&h, &s, &l);
    EXPECT_EQ(h, 360);
    EXPECT_EQ(s, 0);
    EXPECT_EQ(l, 200);
    CPaintManagerUI::SetHSL(false, 180, 100, 100);
    CPaintManagerUI::GetHSL(&h, &s, &l);
    EXPECT_EQ(h, 180);
    EXPECT_EQ(s, 100);
    EXPECT_EQ(l, 100);
}
