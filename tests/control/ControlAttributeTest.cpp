// The attribute vocabulary of the control base and its value syntax.
#include "control/AttributeValue.h"
#include "control/ControlUI.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using SkinUI::CControlUI;

namespace {

// Records every pair ApplyAttributeList hands to SetAttribute.
class PairRecorder : public CControlUI {
public:
    void SetAttribute(const wchar_t* name, const wchar_t* value) override {
        pairs.emplace_back(name, value);
        CControlUI::SetAttribute(name, value);
    }
    std::vector<std::pair<std::wstring, std::wstring>> pairs;
};

} // namespace

TEST(AttributeValue, ColoursSkipLeadingSpaceAndAnOptionalHash) {
    EXPECT_EQ(SkinUI::ParseColorValue(L"#FF102030"), 0xFF102030u);
    EXPECT_EQ(SkinUI::ParseColorValue(L"80FFFFFF"), 0x80FFFFFFu);
    EXPECT_EQ(SkinUI::ParseColorValue(L"  \t#ff00ff00"), 0xFF00FF00u);
    EXPECT_EQ(SkinUI::ParseColorValue(L"#zz"), 0u);
    EXPECT_EQ(SkinUI::ParseColorValue(L""), 0u);
    EXPECT_EQ(SkinUI::ParseColorValue(nullptr), 0u);
    // Border colours skip only a '#' in the very first place.
    EXPECT_EQ(SkinUI::ParseColorValueHashOnly(L"#FF0000FF"), 0xFF0000FFu);
    EXPECT_EQ(SkinUI::ParseColorValueHashOnly(L" #FF0000FF"), 0u);
}

TEST(AttributeValue, RectanglesAndSizesAreNumberLists) {
    const RECT rc = SkinUI::ParseRectValue(L"10,-20,30");
    EXPECT_EQ((std::vector<LONG>{rc.left, rc.top, rc.right, rc.bottom}),
              (std::vector<LONG>{10, -20, 30, 0}))
        << "missing numbers are 0";
    const SIZE size = SkinUI::ParseSizeValue(L"7;8;9");
    EXPECT_EQ(size.cx, 7);
    EXPECT_EQ(size.cy, 8);
    EXPECT_EQ(SkinUI::ParseSizeValue(nullptr).cx, 0);
}

TEST(AttributeValue, BooleansAreTrueOnlyForLowerCaseTrue) {
    EXPECT_TRUE(SkinUI::ParseBoolValue(L"true"));
    EXPECT_FALSE(SkinUI::ParseBoolValue(L"TRUE"));
    EXPECT_FALSE(SkinUI::ParseBoolValue(L"True"));
    EXPECT_FALSE(SkinUI::ParseBoolValue(L"1"));
    EXPECT_FALSE(SkinUI::ParseBoolValue(L"true "));
    EXPECT_FALSE(SkinUI::ParseBoolValue(nullptr));
    EXPECT_EQ(SkinUI::ParseIntValue(L"  -42px"), -42);
    EXPECT_EQ(SkinUI::ParseIntValue(L"px"), 0);
}

TEST(ControlAttributes, PosGivesFixedPlaceAndSize) {
    CControlUI control;
    control.SetAttribute(L"pos", L"10,20,110,50");
    EXPECT_EQ(control.GetFixedXY().cx, 10);
    EXPECT_EQ(control.GetFixedXY().cy, 20);
    EXPECT_EQ(control.GetFixedWidth(), 100);
    EXPECT_EQ(control.GetFixedHeight(), 30);

    CControlUI anchored;
    anchored.SetAttribute(L"pos", L"-50,10,-10,40");
    EXPECT_EQ(anchored.GetFixedXY().cx, -10) << "from the right edge";
    EXPECT_EQ(anchored.GetFixedXY().cy, 10);
    EXPECT_EQ(anchored.GetFixedWidth(), 40);
    EXPECT_EQ(anchored.GetFixedHeight(), 30);

    CControlUI shortValue;
    shortValue.SetAttribute(L"pos", L"5,6");
    EXPECT_EQ(shortValue.GetFixedXY().cx, 5);
    EXPECT_EQ(shortValue.GetFixedWidth(), 0) << "r-l = -5 is refused";
    EXPECT_EQ(shortValue.GetFixedHeight(), 0);
}

TEST(ControlAttributes, GeometryRequests) {
    CControlUI control;
    control.SetAttribute(L"width", L"120");
    control.SetAttribute(L"height", L"30");
    control.SetAttribute(L"width", L"-1");
    EXPECT_EQ(control.GetFixedWidth(), 120) << "negative widths are ignored";
    EXPECT_EQ(control.GetFixedHeight(), 30);
    control.SetAttribute(L"minwidth", L"10");
    control.SetAttribute(L"maxwidth", L"300");
    control.SetAttribute(L"minheight", L"5");
    control.SetAttribute(L"maxheight", L"-7");
    EXPECT_EQ(control.GetMinWidth(), 10);
    EXPECT_EQ(control.GetMaxWidth(), 300);
    EXPECT_EQ(control.GetMinHeight(), 5);
    EXPECT_EQ(control.GetMaxHeight(), 9999);

    control.SetAttribute(L"padding", L"1,2,3,4");
    const RECT padding = control.GetPadding();
    EXPECT_EQ(std::vector<LONG>({padding.left, padding.top, padding.right, padding.bottom}),
              std::vector<LONG>({1, 2, 3, 4}));
    control.SetAttribute(L"padding", L"8");
    EXPECT_EQ(control.GetPadding().left, 8);
    EXPECT_EQ(control.GetPadding().bottom, 0);

    control.SetAttribute(L"relativepos", L"50,25,100,0");
    const SkinUI::TRelativePosUI relative = control.GetRelativePos();
    EXPECT_TRUE(control.IsRelativePos());
    EXPECT_EQ(relative.moveXPercent, 50);
    EXPECT_EQ(relative.moveYPercent, 25);
    EXPECT_EQ(relative.zoomXPercent, 100);
    EXPECT_EQ(relative.zoomYPercent, 0);
    EXPECT_EQ(relative.parentSize.cx, 0);

    control.SetAttribute(L"float", L"true");
    EXPECT_TRUE(control.IsFloat());
}

TEST(ControlAttributes, ColoursAndBorders) {
    CControlUI control;
    control.SetAttribute(L"bkcolor", L"#FF112233");
    control.SetAttribute(L"bkcolor2", L"FF445566");
    control.SetAttribute(L"bkcolor3", L" #80778899");
    control.SetAttribute(L"bordercolor", L"#FFAABBCC");
    control.SetAttribute(L"focusbordercolor", L"FF010203");
    EXPECT_EQ(control.GetBkColor(), 0xFF112233u);
    EXPECT_EQ(control.GetBkColor2(), 0xFF445566u);
    EXPECT_EQ(control.GetBkColor3(), 0x80778899u);
    EXPECT_EQ(control.GetBorderColor(), 0xFFAABBCCu);
    EXPECT_EQ(control.GetFocusBorderColor(), 0xFF010203u);
    control.SetAttribute(L"bkcolor1", L"#FF000001");
    EXPECT_EQ(control.GetBkColor(), 0xFF000001u);
    control.SetAttribute(L"colorhsl", L"true");
    EXPECT_TRUE(control.IsColorHSL());

    control.SetAttribute(L"borderstyle", L"2");
    control.SetAttribute(L"borderround", L"6,8");
    control.SetAttribute(L"leftbordersize", L"3");
    EXPECT_EQ(control.GetBorderStyle(), 2);
    EXPECT_EQ(control.GetBorderRound().cx, 6);
    EXPECT_EQ(control.GetBorderRound().cy, 8);
    EXPECT_EQ(control.GetLeftBorderSize(), 3);
    control.SetAttribute(L"borderround", L"4");
    EXPECT_EQ(control.GetBorderRound().cy, 0) << "a missing number reads as 0";
    control.SetAttribute(L"bkimage", L"file='back.png' corner='2,2,2,2'");
    EXPECT_STREQ(control.GetBkImage().GetData(), L"file='back.png' corner='2,2,2,2'");
}

TEST(ControlAttributes, BorderSizeScalarAndPerSideForms) {
    CControlUI sidesThenScalar;
    sidesThenScalar.SetAttribute(L"bordersize", L"1,2,3,4");
    sidesThenScalar.SetAttribute(L"bordersize", L"2");
    EXPECT_EQ(sidesThenScalar.GetBorderSize(), 2);
    EXPECT_EQ(sidesThenScalar.GetLeftBorderSize(), 0);
    EXPECT_EQ(sidesThenScalar.GetTopBorderSize(), 0);
    EXPECT_EQ(sidesThenScalar.GetRightBorderSize(), 0);
    EXPECT_EQ(sidesThenScalar.GetBottomBorderSize(), 0);

    CControlUI scalarThenSides;
    scalarThenSides.SetAttribute(L"bordersize", L"2");
    scalarThenSides.SetAttribute(L"bordersize", L"1,2,3,4");
    scalarThenSides.SetAttribute(L"bottombordersize", L"9");
    EXPECT_EQ(scalarThenSides.GetBorderSize(), 2);
    EXPECT_EQ(scalarThenSides.GetLeftBorderSize(), 1);
    EXPECT_EQ(scalarThenSides.GetTopBorderSize(), 2);
    EXPECT_EQ(scalarThenSides.GetRightBorderSize(), 3);
    EXPECT_EQ(scalarThenSides.GetBottomBorderSize(), 9);

    CControlUI twoNumbers;
    twoNumbers.SetAttribute(L"bordersize", L"5,6");
    EXPECT_EQ(twoNumbers.GetLeftBorderSize(), 5);
    EXPECT_EQ(twoNumbers.GetTopBorderSize(), 6);
    EXPECT_EQ(twoNumbers.GetRightBorderSize(), 0);
}

TEST(ControlAttributes, StateTextAndBooleans) {
    CControlUI control;
    control.SetAttribute(L"visible", L"TRUE");
    EXPECT_FALSE(control.IsVisible()) << "only lower-case true is true";
    control.SetAttribute(L"visible", L"true");
    EXPECT_TRUE(control.IsVisible());
    control.SetAttribute(L"enabled", L"false");
    control.SetAttribute(L"mouse", L"no");
    control.SetAttribute(L"keyboard", L"0");
    control.SetAttribute(L"menu", L"true");
    EXPECT_FALSE(control.IsEnabled());
    EXPECT_FALSE(control.IsMouseEnabled());
    EXPECT_FALSE(control.IsKeyboardEnabled());
    EXPECT_TRUE(control.IsContextMenuUsed());

    control.SetAttribute(L"name", L"okButton");
    control.SetAttribute(L"text", L"OK");
    control.SetAttribute(L"userdata", L"payload");
    control.SetAttribute(L"tooltip", L"first<n>second<n>");
    control.SetAttribute(L"shortcut", L"kx");
    control.SetAttribute(L"virtualwnd", L"panel");
    EXPECT_STREQ(control.GetName().GetData(), L"okButton");
    EXPECT_STREQ(control.GetText().GetData(), L"OK");
    EXPECT_STREQ(control.GetUserData().GetData(), L"payload");
    EXPECT_STREQ(control.GetToolTip().GetData(), L"first\r\nsecond\r\n");
    EXPECT_EQ(control.GetShortcut(), L'k');
    EXPECT_STREQ(control.GetVirtualWnd().GetData(), L"panel");

    control.SetAttribute(L"shortcut", L"");
    EXPECT_EQ(control.GetShortcut(), L'\0');
    control.SetAttribute(L"Name", L"ignored");
    control.SetAttribute(L"nosuchattribute", L"1");
    control.SetAttribute(L"text", nullptr);
    control.SetAttribute(nullptr, L"x");
    EXPECT_STREQ(control.GetName().GetData(), L"okButton") << "names are case-sensitive";
    EXPECT_STREQ(control.GetText().GetData(), L"");
}

TEST(ApplyAttributeList, ReadsPairsSeparatedBySingleSpaces) {
    PairRecorder both;
    EXPECT_EQ(both.ApplyAttributeList(L"text=\"Hello world\" name=\"greeting\""), &both);
    EXPECT_STREQ(both.GetText().GetData(), L"Hello world");
    EXPECT_STREQ(both.GetName().GetData(), L"greeting");
    EXPECT_EQ(both.pairs.size(), 2u);

    PairRecorder twoSpaces;
    twoSpaces.ApplyAttributeList(L"text=\"a\"  name=\"b\"");
    EXPECT_STREQ(twoSpaces.GetText().GetData(), L"a");
    EXPECT_STREQ(twoSpaces.GetName().GetData(), L"") << "the second pair never starts";

    PairRecorder singleQuotes;
    singleQuotes.ApplyAttributeList(L"text='a'");
    EXPECT_TRUE(singleQuotes.pairs.empty());

    PairRecorder broken;
    broken.ApplyAttributeList(L"text=\"a\" name=\"unterminated");
    EXPECT_EQ(broken.pairs.size(), 1u);
    broken.ApplyAttributeList(L"text=\"y\",name=\"z\"");
    broken.ApplyAttributeList(L"novalue");
    broken.ApplyAttributeList(L"name= \"z\"");
    EXPECT_EQ(broken.pairs.size(), 2u);
    EXPECT_STREQ(broken.GetText().GetData(), L"y");
    EXPECT_STREQ(broken.GetName().GetData(), L"");

    // A space before '=' belongs to the name, which no control knows.
    broken.ApplyAttributeList(L"text =\"x\"");
    ASSERT_EQ(broken.pairs.size(), 3u);
    EXPECT_EQ(broken.pairs[2].first, L"text ");
    EXPECT_STREQ(broken.GetText().GetData(), L"y");

    PairRecorder empty;
    empty.ApplyAttributeList(L"");
    empty.ApplyAttributeList(nullptr);
    empty.ApplyAttributeList(L"text=\"\"");
    ASSERT_EQ(empty.pairs.size(), 1u);
    EXPECT_EQ(empty.pairs[0].second, L"");
}

TEST(ApplyAttributeList, KeepsSurrogatePairsWhole) {
    PairRecorder control;
    const std::wstring value = L"a\xD83D\xDE00z";
    control.ApplyAttributeList((L"text=\"" + value + L"\" name=\"\xD83D\xDE00\"").c_str());
    ASSERT_EQ(control.pairs.size(), 2u);
    EXPECT_EQ(control.pairs[0].second, value);
    EXPECT_EQ(control.pairs[1].second, L"\xD83D\xDE00");
}

// A skin's default list can be a megabyte long; its names and values arrive whole.
TEST(ApplyAttributeList, ReadsNamesAndValuesOfHundredsOfKilobytes) {
    PairRecorder control;
    const std::wstring longName(300000, L'<');
    const std::wstring longValue = std::wstring(400000, L'x') + L"\xD83D\xDE00";
    control.ApplyAttributeList(
        (longName + L"=\"1\" text=\"" + longValue + L"\" name=\"n\"").c_str());
    ASSERT_EQ(control.pairs.size(), 3u);
    EXPECT_EQ(control.pairs[0].first, longName);
    EXPECT_EQ(control.pairs[1].second, longValue);
    EXPECT_STREQ(control.GetName().GetData(), L"n");
}
