// Names, flags and skin attributes of the label, text, button, option and check box.
#include "control/ButtonUI.h"
#include "control/CheckBoxUI.h"
#include "control/LabelUI.h"
#include "control/OptionUI.h"
#include "control/TextUI.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace SkinUI;

TEST(TextControls, AnswerTheirClassAndInterfaceNames) {
    struct Case {
        std::unique_ptr<CControlUI> control;
        const wchar_t* className;
        const wchar_t* ownInterface;
        bool isButton;
    };
    Case cases[] = {{std::make_unique<CLabelUI>(), L"LabelUI", L"Label", false},
                    {std::make_unique<CTextUI>(), L"TextUI", L"Text", false},
                    {std::make_unique<CButtonUI>(), L"ButtonUI", L"Button", true},
                    {std::make_unique<COptionUI>(), L"OptionUI", L"Option", true},
                    {std::make_unique<CCheckBoxUI>(), L"CheckBoxUI", L"Option", true}};
    for (Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.className);
        EXPECT_STREQ(c.control->GetClass(), c.className);
        EXPECT_EQ(c.control->GetInterface(c.ownInterface), c.control.get());
        EXPECT_EQ(c.control->GetInterface(L"Label"), c.control.get());
        EXPECT_EQ(c.control->GetInterface(L"Control"), c.control.get());
        EXPECT_EQ(c.control->GetInterface(L"Button") != nullptr, c.isButton);
        EXPECT_EQ(c.control->GetControlFlags(),
                  c.isButton ? UIFLAG_TABSTOP | UIFLAG_SETCURSOR : 0u);
    }
    CButtonUI button;
    button.SetKeyboardEnabled(false);
    EXPECT_EQ(button.GetControlFlags(), UIFLAG_SETCURSOR);
    button.SetKeyboardEnabled(true);
    button.SetEnabled(false);
    EXPECT_EQ(button.GetControlFlags(), UIFLAG_TABSTOP);
}

TEST(TextControls, AlignWordsAdjustTheStyleInAFixedOrder) {
    const struct {
        const wchar_t* align;
        UINT expected;
    } cases[] = {
        {L"left", 0},
        {L"center", DT_CENTER | DT_VCENTER},
        {L"right", DT_RIGHT},
        {L"top", DT_SINGLELINE},
        {L"vcenter", DT_CENTER | DT_VCENTER | DT_SINGLELINE}, // also contains "center"
        {L"bottom", DT_BOTTOM | DT_SINGLELINE},
        {L"right bottom", DT_RIGHT | DT_BOTTOM | DT_SINGLELINE},
        {L"Left", DT_VCENTER}, // case-sensitive words
    };
    for (const auto& c : cases) {
        CLabelUI label;
        label.SetAttribute(L"align", c.align);
        EXPECT_EQ(label.GetTextStyle(), c.expected) << static_cast<int>(c.expected);
    }
    CButtonUI button;
    EXPECT_EQ(button.GetTextStyle(), static_cast<UINT>(DT_SINGLELINE | DT_VCENTER | DT_CENTER));
    button.SetAttribute(L"endellipsis", L"true");
    EXPECT_EQ(button.GetTextStyle() & DT_END_ELLIPSIS, static_cast<UINT>(DT_END_ELLIPSIS));
    button.SetAttribute(L"endellipsis", L"false");
    EXPECT_EQ(button.GetTextStyle() & DT_END_ELLIPSIS, 0u);
    CTextUI text;
    EXPECT_EQ(text.GetTextStyle(), static_cast<UINT>(DT_WORDBREAK));
    EXPECT_EQ(text.GetTextPadding().left, 2);
    EXPECT_EQ(text.GetTextPadding().right, 2);
}

TEST(TextControls, LabelAttributesParse) {
    CLabelUI label;
    label.ApplyAttributeList(L"textcolor=\"#00FFFBF0\" disabledtextcolor=\"FF808080\" "
                             L"font=\"3\" textpadding=\"1,2,3\" showhtml=\"true\" rhaa=\"4\" "
                             L"transshadow=\"10\" transshadow1=\"11\" transtext=\"12\" "
                             L"transtext1=\"13\" transstroke=\"14\" gradientangle=\"15\" "
                             L"gradientlength=\"16\" enabledstroke=\"true\" "
                             L"enabledshadow=\"true\" textcolor1=\"#FF010203\" "
                             L"textshadowcolora=\"#FF040506\" textshadowcolorb=\"#FF070809\" "
                             L"strokecolor=\"#FF0A0B0C\" bkcolor=\"#FF112233\"");
    EXPECT_EQ(label.GetTextColor(), 0x00FFFBF0u) << "alpha 0 is kept: only 0 means none";
    EXPECT_EQ(label.GetDisabledTextColor(), 0xFF808080u);
    EXPECT_EQ(label.GetFont(), 3);
    const RECT padding = label.GetTextPadding();
    EXPECT_EQ(padding.right, 3);
    EXPECT_EQ(padding.bottom, 0) << "a missing number reads as 0";
    EXPECT_TRUE(label.IsShowHtml());
    EXPECT_EQ(label.GetTextRenderingHintAntiAlias(), 4);
    const int numbers[] = {label.GetTransShadow(),   label.GetTransShadow1(),
                           label.GetTransText(),     label.GetTransText1(),
                           label.GetTransStroke(),   label.GetGradientAngle(),
                           label.GetGradientLength()};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(numbers[i], 10 + i);
    EXPECT_TRUE(label.GetEnabledStroke());
    EXPECT_TRUE(label.GetEnabledShadow());
    EXPECT_EQ(label.GetTextColor1(), 0xFF010203u);
    EXPECT_EQ(label.GetTextShadowColorA(), 0xFF040506u);
    EXPECT_EQ(label.GetTextShadowColorB(), 0xFF070809u);
    EXPECT_EQ(label.GetStrokeColor(), 0xFF0A0B0Cu);
    EXPECT_EQ(label.GetBkColor(), 0xFF112233u) << "unknown names reach the base";

    label.SetAttribute(L"textcolor", L" #FF000000");
    EXPECT_EQ(label.GetTextColor(), 0u) << "only a '#' in the first place is skipped";
    label.SetAttribute(L"rhaa", L"7");
    EXPECT_EQ(label.GetTextRenderingHintAntiAlias(), 0);
    label.SetAttribute(L"rhaa", L"-1");
    EXPECT_EQ(label.GetTextRenderingHintAntiAlias(), 0);
}

TEST(TextControls, EffectTextTakesTheTextOnlyOnceEffectsAreOn) {
    CLabelUI late;
    late.ApplyAttributeList(L"text=\"Hello\" enabledeffect=\"true\"");
    EXPECT_TRUE(late.GetText().IsEmpty()) << "the text went into the normal text";
    EXPECT_STREQ(late.CControlUI::GetText().GetData(), L"Hello");

    CLabelUI early;
    early.ApplyAttributeList(L"enabledeffect=\"true\" text=\"Hello\"");
    EXPECT_STREQ(early.GetText().GetData(), L"Hello");
    EXPECT_TRUE(early.CControlUI::GetText().IsEmpty());
}

TEST(TextControls, ShadowOffsetTurnsOffsetAndAngleIntoAMove) {
    const struct {
        int angle;
        float x;
        float y;
    } cases[] = {{45, -2, -2}, {135, -2, 2}, {-45, 2, -2}, {-90, 2, 0},
                 {-180, 0, 2}, {180, -2, 2}, {90, -2, -2}};
    for (const auto& c : cases) {
        CLabelUI label;
        label.SetAttribute(L"shadowoffset", (L"2," + std::to_wstring(c.angle)).c_str());
        EXPECT_FLOAT_EQ(label.GetShadowOffset().x, c.x) << c.angle;
        EXPECT_FLOAT_EQ(label.GetShadowOffset().y, c.y) << c.angle;
    }
    CLabelUI label;
    label.SetShadowOffset(2, 45);
    label.SetShadowOffset(5, 181);
    EXPECT_FLOAT_EQ(label.GetShadowOffset().x, -2) << "angles past 180 are ignored";
    label.SetPos(RECT{10, 20, 50, 40});
    label.SetShadowOffset(3, 45);
    EXPECT_FLOAT_EQ(label.GetShadowOffset().x, 17) << "starts from the control's top";
    EXPECT_FLOAT_EQ(label.GetShadowOffset().y, 7) << "and left";
}

TEST(TextControls, ButtonAndOptionAttributesParse) {
    COptionUI option;
    option.ApplyAttributeList(
        L"normalimage=\"n.png\" hotimage=\"h.png\" pushedimage=\"p.png\" "
        L"focusedimage=\"f.png\" disabledimage=\"d.png\" hotforeimage=\"hf.png\" "
        L"hotbkcolor=\"#FF000001\" hottextcolor=\"#FF000002\" pushedtextcolor=\"#FF000003\" "
        L"focusedtextcolor=\"#FF000004\" selectedimage=\"s.png\" selectedhotimage=\"sh.png\" "
        L"foreimage=\"fore.png\" selectedbkcolor=\"#FF000005\" selectedtextcolor=\"#FF000006\" "
        L"group=\"tabs\" selected=\"true\" textcolor=\"#FF000007\"");
    const std::wstring images[] = {
        option.GetNormalImage().GetData(),   option.GetHotImage().GetData(),
        option.GetPushedImage().GetData(),   option.GetFocusedImage().GetData(),
        option.GetDisabledImage().GetData(), option.GetHotForeImage().GetData(),
        option.GetSelectedImage().GetData(), option.GetSelectedHotImage().GetData(),
        option.GetForeImage().GetData()};
    const std::wstring expected[] = {L"n.png",  L"h.png", L"p.png",  L"f.png",   L"d.png",
                                     L"hf.png", L"s.png", L"sh.png", L"fore.png"};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(images[i], expected[i]);
    EXPECT_TRUE(option.CButtonUI::GetForeImage().IsEmpty())
        << "the option keeps its own fore image";
    const DWORD colors[] = {option.GetHotBkColor(),      option.GetHotTextColor(),
                            option.GetPushedTextColor(), option.GetFocusedTextColor(),
                            option.GetSelectedBkColor(), option.GetSelectedTextColor(),
                            option.GetTextColor()};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(colors[i], 0xFF000001u + i);
    EXPECT_STREQ(option.GetGroup().GetData(), L"tabs");
    EXPECT_TRUE(option.IsSelected());
    EXPECT_EQ(option.GetButtonState(), UISTATE_SELECTED);
    option.SetEnabled(false);
    EXPECT_EQ(option.GetButtonState(), UISTATE_SELECTED) << "disabling keeps only selected";

    CCheckBoxUI box;
    box.SetCheck(true);
    EXPECT_TRUE(box.GetCheck());
    EXPECT_TRUE(box.IsSelected());
}

TEST(TextControls, FixedHeightWinsTheEstimate) {
    CLabelUI label;
    label.SetFixedWidth(80);
    label.SetFixedHeight(24);
    CButtonUI button;
    button.SetFixedHeight(30);
    EXPECT_EQ(label.EstimateSize(SIZE{500, 500}).cy, 24);
    EXPECT_EQ(label.EstimateSize(SIZE{500, 500}).cx, 80);
    EXPECT_EQ(button.EstimateSize(SIZE{500, 500}).cy, 30);
}
