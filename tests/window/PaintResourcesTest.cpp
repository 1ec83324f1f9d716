// The tables controls draw with: fonts, default colours, default attribute lists and the
// parent resource that lends them, and the global hue, saturation and lightness.
#include "window/PaintManagerUI.h"

#include "control/ControlUI.h"
#include "support/SkinTestKit.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>

using namespace SkinUI;

TEST(PaintFonts, IndexesAndDescriptions) {
    CPaintManagerUI manager;
    const HFONT fallback = manager.GetFont(-1);
    ASSERT_NE(fallback, nullptr);
    const HFONT first = manager.AddFont(L"Arial", 12, false, false, false);
    const HFONT second = manager.AddFont(L"Arial", 14, true, false, true);
    EXPECT_EQ(manager.GetFont(0), first);
    EXPECT_EQ(manager.GetFont(manager.GetCustomFontCount()), fallback) << "outside: the default";
    EXPECT_EQ(manager.GetFontInfo(5), manager.GetDefaultFontInfo());
    EXPECT_GT(manager.GetDefaultFontInfo()->metrics.tmHeight, 0) << "measured on demand";
    EXPECT_EQ(manager.GetFont(L"Arial", 14, true, false, true), second);
    EXPECT_EQ(manager.GetFont(L"Arial", 14, true, false, false), nullptr);
    const HFONT inserted = manager.AddFontAt(0, L"Tahoma", 9, false, true, false);
    EXPECT_EQ(manager.GetFontIndex(second), 2) << "insertion moves the later fonts";
    EXPECT_TRUE(manager.RemoveFont(inserted));
    EXPECT_EQ(manager.GetFontIndex(second), 1);
    ASSERT_TRUE(manager.SetDefaultFont(L"Arial", 20, false, true, false));
    EXPECT_TRUE(manager.GetDefaultFontInfo()->underline);
    EXPECT_EQ(manager.GetFont(-1), manager.GetDefaultFontInfo()->font);

    // Face names are cut to what a font description holds, terminated; bold stays a
    // valid weight.
    const std::wstring longName(40, L'Q');
    LOGFONTW description{};
    ::GetObjectW(manager.AddFont(longName.c_str(), 12, true, false, false), sizeof(description),
                 &description);
    EXPECT_EQ(std::wstring(description.lfFaceName), std::wstring(LF_FACESIZE - 1, L'Q'));
    EXPECT_LE(description.lfWeight, FW_HEAVY);

    // A font tens of thousands of pixels high would take the glyph rasterizer seconds a
    // glyph: heights are drawn at most 2,048 pixels, either way of giving them.
    for (const int size : {65535, -65535, INT_MIN}) {
        ::GetObjectW(manager.AddFont(L"Arial", size, false, false, false), sizeof(description),
                     &description);
        EXPECT_EQ(std::abs(description.lfHeight), 2048) << size;
    }
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

    child.SetDefaultFontColor(0xFF445566);
    EXPECT_EQ(child.GetDefaultFontColor(), 0xFF112233u) << "the parent's colour wins";
    EXPECT_EQ(child.GetFont(L"Arial", 13, false, false, false), parentFont);
    EXPECT_TRUE(child.FindFont(parentFont));
    EXPECT_EQ(child.GetFontIndex(parentFont), -1) << "indexes are the own list's";
    EXPECT_NE(child.GetFont(0), parentFont);
    EXPECT_EQ(child.GetDefaultFontInfo(), parent.GetDefaultFontInfo());
    EXPECT_STREQ(child.GetDefaultAttributeList(L"ButtonUI"), L"width=\"10\"");

    // The first list of a class wins; the own list comes before the parent's.
    child.AddDefaultAttributeList(L"ButtonUI", L"height=\"5\"");
    child.AddDefaultAttributeList(L"ButtonUI", L"height=\"6\"");
    EXPECT_STREQ(child.GetDefaultAttributeList(L"ButtonUI"), L"height=\"5\"");
    EXPECT_TRUE(child.RemoveDefaultAttributeList(L"ButtonUI"));
    EXPECT_FALSE(child.RemoveDefaultAttributeList(L"ButtonUI"));

    ASSERT_TRUE(child.UseParentResource(nullptr));
    EXPECT_EQ(child.GetDefaultFontColor(), 0xFF445566u);
    EXPECT_EQ(child.GetDefaultAttributeList(L"ButtonUI"), nullptr);
}

TEST(PaintResources, HslIsClamped) {
    short hsl[3] = {};
    CPaintManagerUI::SetHSL(true, 400, -5, 250);
    CPaintManagerUI::GetHSL(&hsl[0], &hsl[1], &hsl[2]);
    EXPECT_EQ(hsl[0], 360);
    EXPECT_EQ(hsl[1], 0);
    EXPECT_EQ(hsl[2], 200);
    CPaintManagerUI::SetHSL(true, 180, 100, 100);
}

TEST(PaintResources, HslCanBeSwitchedOffAndEveryRealChangeRepaints) {
    auto* root = new CControlUI;
    root->SetColorHSL(true);
    skintest::HostWindow host(root);
    const HWND window = host.Open(100, 100);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(skintest::PumpUntil([&host] { return !host.notifications.empty(); }));
    RECT update{};
    const auto repainting = [window, &update] {
        const bool invalid = ::GetUpdateRect(window, &update, FALSE) != FALSE;
        ::ValidateRect(window, nullptr);
        return invalid;
    };
    repainting();

    CPaintManagerUI::SetHSL(true, 300, 100, 100);
    EXPECT_TRUE(CPaintManagerUI::IsUseHSL());
    EXPECT_EQ(root->GetAdjustColor(0x800000FF), 0x8000FF00u) << "red turned to green";
    EXPECT_TRUE(repainting());

    CPaintManagerUI::SetHSL(false, 300, 100, 100);
    EXPECT_FALSE(CPaintManagerUI::IsUseHSL());
    EXPECT_EQ(root->GetAdjustColor(0x800000FF), 0x800000FFu) << "switched off, the colour stays";
    EXPECT_TRUE(repainting()) << "only the switch changed, and that is a change";
    CPaintManagerUI::SetHSL(false, 300, 100, 100);
    EXPECT_FALSE(repainting()) << "nothing changed";

    CPaintManagerUI::SetHSL(true, 400, 100, 100);
    EXPECT_TRUE(repainting());
    CPaintManagerUI::SetHSL(true, 360, 100, 100);
    EXPECT_FALSE(repainting()) << "the same once clamped";

    CPaintManagerUI::SetHSL(true, 180, 100, 100);
    ::DestroyWindow(window);
}
