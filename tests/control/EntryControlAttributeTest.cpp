// Names, defaults and skin attributes of the edit, progress, slider and date-time
// controls, and the element names the dialog builder makes them from.
#include <gtest/gtest.h>

#include <memory>

#include "control/ButtonUI.h"
#include "control/ContainerUI.h"
#include "control/DateTimeUI.h"
#include "control/EditUI.h"
#include "control/ProgressUI.h"
#include "control/SliderUI.h"
#include "core/DialogBuilder.h"

using namespace SkinUI;

TEST(EntryControlAttributes, TheBuilderMakesEachControlFromItsElementName) {
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(builder.Create(
        L"<Window><VerticalLayout><Edit/><Progress/><Slider/><DateTime/></VerticalLayout>"
        L"</Window>"));
    ASSERT_NE(root, nullptr);
    auto* layout = static_cast<IContainerUI*>(root->GetInterface(L"IContainer"));
    ASSERT_NE(layout, nullptr);
    ASSERT_EQ(layout->GetCount(), 4);
    const wchar_t* classes[] = {L"EditUI", L"ProgressUI", L"SliderUI", L"DateTimeUI"};
    const wchar_t* interfaces[] = {L"Edit", L"Progress", L"Slider", L"DateTime"};
    for (int i = 0; i < 4; ++i) {
        CControlUI* control = layout->GetItemAt(i);
        EXPECT_STREQ(control->GetClass(), classes[i]);
        EXPECT_EQ(control->GetInterface(interfaces[i]), control);
        EXPECT_EQ(control->GetInterface(L"Label"), control);
    }
    EXPECT_EQ(layout->GetItemAt(2)->GetInterface(L"Progress"), layout->GetItemAt(2))
        << "a slider is a progress bar";
    EXPECT_EQ(layout->GetItemAt(1)->GetInterface(L"Slider"), nullptr);
}

TEST(EntryControlAttributes, EditAttributes) {
    CEditUI edit;
    EXPECT_EQ(edit.GetControlFlags(), UIFLAG_TABSTOP | UIFLAG_SETCURSOR);
    EXPECT_EQ(edit.EstimateSize(SIZE{100, 100}).cy, 6) << "no font without a manager";
    edit.ApplyAttributeList(L"readonly=\"true\" password=\"true\" maxchar=\"12\" "
                            L"nativebkcolor=\"#FF112233\" textcolor=\"#FF010203\"");
    EXPECT_TRUE(edit.IsReadOnly());
    EXPECT_TRUE(edit.IsPasswordMode());
    EXPECT_EQ(edit.GetMaxChar(), 12u);
    EXPECT_EQ(edit.GetNativeEditBkColor(), 0xFF112233u);
    EXPECT_EQ(edit.GetTextColor(), 0xFF010203u) << "the label's attributes";
    edit.SetAttribute(L"nativebkcolor", L"FF445566");
    EXPECT_EQ(edit.GetNativeEditBkColor(), 0xFF445566u) << "the # is optional";

    // Number-only is one style bit, set and cleared alone.
    edit.SetAttribute(L"numberonly", L"true");
    EXPECT_TRUE(edit.IsNumberOnly());
    EXPECT_EQ(edit.GetWindowStyls(), ES_NUMBER);
    edit.SetAttribute(L"numberonly", L"false");
    EXPECT_FALSE(edit.IsNumberOnly());
    EXPECT_EQ(edit.GetWindowStyls(), 0);

    edit.SetEnabled(false);
    EXPECT_EQ(edit.GetControlFlags(), 0u);
}

TEST(EntryControlAttributes, ProgressAndSliderAttributes) {
    CProgressUI progress;
    progress.ApplyAttributeList(L"foreimage=\"bar.png\" hor=\"false\" min=\"-5\" max=\"7\" "
                                L"value=\"99\" isstretchfore=\"false\"");
    EXPECT_STREQ(progress.GetForeImage(), L"bar.png");
    EXPECT_FALSE(progress.IsHorizontal());
    EXPECT_FALSE(progress.IsStretchForeImage());
    EXPECT_EQ(progress.GetMinValue(), -5);
    EXPECT_EQ(progress.GetMaxValue(), 7);
    EXPECT_EQ(progress.GetValue(), 99) << "stored as given until painted";

    CSliderUI slider;
    slider.ApplyAttributeList(L"thumbimage=\"t\" thumbsize=\"14,8\" step=\"5\" max=\"40\"");
    EXPECT_STREQ(slider.GetThumbImage(), L"t");
    EXPECT_EQ(slider.GetThumbSize().cx, 14);
    EXPECT_EQ(slider.GetThumbSize().cy, 8);
    EXPECT_EQ(slider.GetChangeStep(), 5);
    EXPECT_EQ(slider.GetMaxValue(), 40) << "the progress bar's attributes";

    // Hot, then disabled: the state goes.
    TEventUI enter;
    enter.type = UIEVENT_MOUSEENTER;
    slider.Event(enter);
    EXPECT_EQ(slider.GetButtonState(), UISTATE_HOT);
    slider.SetEnabled(false);
    EXPECT_EQ(slider.GetButtonState(), 0u);
    EXPECT_EQ(slider.GetControlFlags(), 0u);
}
