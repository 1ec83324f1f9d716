// Combos without a window: the selection kept right through insertions, removals and
// moves, the attributes, the size, and what the combo and the combo box paint.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/ButtonUI.h"
#include "control/ComboBoxUI.h"
#include "control/ComboUI.h"
#include "control/ListLabelElementUI.h"
#include "core/DialogBuilder.h"
#include "render/RenderTestSupport.h"
#include "window/PaintManagerUI.h"

using namespace SkinUI;
using RenderTest::Surface;

namespace {

constexpr DWORD kWhite = 0xFFFFFFFF;

// Records the combo's notifications.
class Notes : public INotifyUI {
public:
    void Notify(TNotifyUI& msg) override {
        types.push_back(msg.type.GetData());
        wParams.push_back(msg.wParam);
        lParams.push_back(msg.lParam);
    }
    std::vector<std::wstring> types;
    std::vector<WPARAM> wParams;
    std::vector<LPARAM> lParams;
};

class ComboItems : public ::testing::Test {
protected:
    // A combo attached to a manager without a window, holding items "a", "b", "c"...
    void Fill(int count) {
        manager.AddNotifier(&notes);
        combo.SetManager(&manager, nullptr, false);
        for (int i = 0; i < count; ++i) {
            auto* item = new CListLabelElementUI;
            item->SetText(std::wstring(1, static_cast<wchar_t>(L'a' + i)).c_str());
            combo.Add(item);
        }
    }
    IListItemUI* Item(int index) {
        return static_cast<IListItemUI*>(combo.GetItemAt(index)->GetInterface(L"ListItem"));
    }
    // Every item's index equals its place.
    void ExpectNumbered() {
        for (int i = 0; i < combo.GetCount(); ++i)
            EXPECT_EQ(Item(i)->GetIndex(), i) << "item " << i;
    }

    CPaintManagerUI manager;
    Notes notes;
    CComboUI combo;
};

} // namespace

TEST_F(ComboItems, ItemsKnowTheirOwnerAndPlaceAndTheSelectionFollowsItsItem) {
    Fill(3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Item(i)->GetOwner(), static_cast<IListOwnerUI*>(&combo));
    ExpectNumbered();
    EXPECT_STREQ(combo.GetText().GetData(), L"") << "nothing selected";

    ASSERT_TRUE(combo.SelectItem(1));
    EXPECT_STREQ(combo.GetText().GetData(), L"b");
    ASSERT_EQ(notes.types.size(), 1u);
    EXPECT_EQ(notes.wParams[0], 1u);
    EXPECT_EQ(notes.lParams[0], -1);

    combo.AddAt(new CListLabelElementUI, 0);
    EXPECT_EQ(combo.GetCurSel(), 2) << "an item inserted before moves the selection down";
    ExpectNumbered();
    combo.SetItemIndex(combo.GetItemAt(2), 0);
    EXPECT_EQ(combo.GetCurSel(), 0) << "a moved item keeps its selection";
    EXPECT_STREQ(combo.GetText().GetData(), L"b");
    ExpectNumbered();
    combo.SetItemIndex(combo.GetItemAt(3), 0);
    EXPECT_EQ(combo.GetCurSel(), 1) << "an item moved in front pushes the selection down";
    ExpectNumbered();
    combo.RemoveAt(0);
    EXPECT_EQ(combo.GetCurSel(), 0) << "an item removed before moves the selection up";
    EXPECT_STREQ(combo.GetText().GetData(), L"b");
    ExpectNumbered();
}

TEST_F(ComboItems, RemovingTheSelectedItemSelectsTheOneTakingItsPlace) {
    Fill(5);
    combo.SelectItem(2);
    notes.types.clear();
    notes.wParams.clear();
    notes.lParams.clear();
    ASSERT_TRUE(combo.RemoveAt(2));
    EXPECT_EQ(combo.GetCurSel(), 2);
    EXPECT_STREQ(combo.GetText().GetData(), L"d");
    EXPECT_TRUE(Item(2)->IsSelected()) << "the item now there is the selected one";
    ASSERT_EQ(notes.types.size(), 1u);
    EXPECT_EQ(notes.types[0], L"itemselect");
    EXPECT_EQ(notes.wParams[0], 2u);

    // The last item: its predecessor; a disabled neighbour is passed over.
    combo.SelectItem(3);
    combo.GetItemAt(2)->SetEnabled(false);
    ASSERT_TRUE(combo.Remove(combo.GetItemAt(3)));
    EXPECT_EQ(combo.GetCurSel(), 1);
    EXPECT_STREQ(combo.GetText().GetData(), L"b");

    combo.RemoveAll();
    EXPECT_EQ(combo.GetCurSel(), -1);
    EXPECT_STREQ(combo.GetText().GetData(), L"");
}

TEST_F(ComboItems, SelectionRefusesWhatCannotBeChosenAndClampsPastTheEnd) {
    Fill(3);
    combo.SelectItem(0);
    combo.GetItemAt(1)->SetVisible(false);
    EXPECT_FALSE(combo.SelectItem(1)) << "hidden";
    EXPECT_EQ(combo.GetCurSel(), -1) << "the old item was let go first";
    EXPECT_FALSE(Item(0)->IsSelected());
    EXPECT_TRUE(combo.SelectItem(-1)) << "none stays none";
    EXPECT_TRUE(combo.SelectItem(99)) << "past the end is the last item";
    EXPECT_EQ(combo.GetCurSel(), 2);
    EXPECT_TRUE(combo.SelectItem(2)) << "the same item again";
    // A click on an item selects it through the owner.
    EXPECT_TRUE(Item(0)->Select(true));
    EXPECT_EQ(combo.GetCurSel(), 0);
    EXPECT_FALSE(Item(2)->IsSelected());
}

TEST_F(ComboItems, AttributesSizeAndTheClosedComboGivesItsItemsNoPlace) {
    Fill(2);
    combo.ApplyAttributeList(
        L"textpadding=\"1,2,3,4\" dropboxsize=\"0,80\" "
        L"itemfont=\"2\" itemalign=\"center\" itemtextpadding=\"5,0,5,0\" "
        L"itemtextcolor=\"#FF112233\" itemselectedbkcolor=\"#FF445566\" itemaltbk=\"true\" "
        L"itemshowhtml=\"true\" itemlinecolor=\"#FF778899\" itemhotimage=\"hot.png\"");
    combo.SetAttribute(L"dropbox", L"bkcolor=\"#FF102030\"");
    EXPECT_STREQ(combo.GetDropBoxAttributeList().GetData(), L"bkcolor=\"#FF102030\"");
    const RECT padding = combo.GetTextPadding();
    EXPECT_EQ(padding.left, 1);
    EXPECT_EQ(padding.bottom, 4);
    EXPECT_EQ(combo.GetDropBoxSize().cy, 80);
    TListInfoUI* info = combo.GetListInfo();
    EXPECT_EQ(info->font, 2);
    EXPECT_EQ(info->textStyle & (DT_CENTER | DT_RIGHT), static_cast<UINT>(DT_CENTER));
    EXPECT_EQ(info->textPadding.left, 5);
    EXPECT_EQ(info->textColor, 0xFF112233u);
    EXPECT_EQ(info->selectedBkColor, 0xFF445566u);
    EXPECT_TRUE(info->alternateBk);
    EXPECT_TRUE(info->showHtml);
    EXPECT_EQ(info->lineColor, 0xFF778899u);
    EXPECT_STREQ(info->hotImage.GetData(), L"hot.png");
    combo.SetAttribute(L"itemalign", L"right");
    EXPECT_EQ(info->textStyle & (DT_CENTER | DT_RIGHT), static_cast<UINT>(DT_RIGHT));

    const int fontHeight = manager.GetDefaultFontInfo()->metrics.tmHeight;
    EXPECT_EQ(combo.EstimateSize(SIZE{100, 100}).cy, fontHeight + 12);
    combo.SetFixedHeight(30);
    EXPECT_EQ(combo.EstimateSize(SIZE{100, 100}).cy, 30);

    combo.GetItemAt(0)->SetPos(RECT{1, 1, 50, 20});
    combo.SetPos(RECT{0, 0, 100, 30});
    EXPECT_TRUE(::IsRectEmpty(&combo.GetItemAt(0)->GetPos()));
    EXPECT_EQ(combo.Activate(), false) << "no window to open a list from";
}

namespace {

// Solid 4 x 4 images by colour, a surface and a way to paint a control on it.
class ComboPaint : public ::testing::Test {
protected:
    void AddImage(const wchar_t* name, DWORD color, int cx = 4, int cy = 4) {
        RenderTest::Bitmap solid(cx, cy, RenderTest::Solid(cx, cy, color));
        AddImage(name, solid.get(), cx, cy);
    }
    void AddImage(const wchar_t* name, HBITMAP bitmap, int cx, int cy) {
        auto copy =
            static_cast<HBITMAP>(::CopyImage(bitmap, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(manager.AddImage(name, copy, cx, cy, false), nullptr);
    }
    void Place(CComboUI& combo, const wchar_t* attributes) {
        combo.ApplyAttributeList(attributes);
        combo.SetManager(&manager, nullptr, false);
        combo.SetPos(RECT{0, 0, 100, 24});
    }
    void Paint(CComboUI& combo) {
        surface.Fill(kWhite);
        combo.DoPaint(surface.dc(), surface.rect());
    }
    void Event(CComboUI& combo, int type) {
        TEventUI event;
        event.type = type;
        event.mousePos = POINT{10, 10};
        combo.Event(event);
    }

    CPaintManagerUI manager;
    Surface surface{100, 24, kWhite, 24};
};

} // namespace

TEST_F(ComboPaint, TheStateChoosesTheImageAndTheSelectedItemDrawsTheText) {
    AddImage(L"normal", 0xFF0000FF);
    AddImage(L"hot", 0xFF00FF00);
    AddImage(L"disabled", 0xFF808080);
    AddImage(L"pushed", 0xFFFF0000);
    CComboUI combo;
    Place(combo, L"normalimage=\"normal\" hotimage=\"hot\" disabledimage=\"disabled\" "
                 L"pushedimage=\"pushed\" textpadding=\"4,0,0,0\"");
    auto* item = new CListLabelElementUI;
    item->SetText(L"WWWW");
    combo.Add(item);

    Paint(combo);
    EXPECT_EQ(surface.Pixel(50, 12), 0xFF0000FFu);
    Event(combo, UIEVENT_MOUSEENTER);
    Paint(combo);
    EXPECT_EQ(surface.Pixel(50, 12), 0xFF00FF00u);
    Event(combo, UIEVENT_MOUSELEAVE);
    combo.SetEnabled(false);
    Paint(combo);
    EXPECT_EQ(surface.Pixel(50, 12), 0xFF808080u);
    combo.SetEnabled(true);

    // Pressed (the list cannot open without a window), then focused without an image.
    Event(combo, UIEVENT_BUTTONDOWN);
    Paint(combo);
    EXPECT_EQ(surface.Pixel(50, 12), 0xFFFF0000u);
    Event(combo, UIEVENT_BUTTONUP);
    EXPECT_NE(combo.GetButtonState() & UISTATE_PUSHED, 0u) << "pushed until a list closes";
    combo.SetEnabled(false);
    combo.SetEnabled(true);
    Event(combo, UIEVENT_SETFOCUS);
    Paint(combo);
    EXPECT_EQ(surface.Pixel(50, 12), 0xFF0000FFu) << "no focused image: the normal one";

    // The text shows only with a selection, inside the text padding.
    const RECT text{4, 0, 100, 24};
    const int before = surface.CountOther(text, 0xFF0000FF);
    combo.SelectItem(0);
    Paint(combo);
    EXPECT_GT(surface.CountOther(text, 0xFF0000FF), before);
    EXPECT_EQ(surface.CountOther(RECT{0, 0, 4, 24}, 0xFF0000FF), 0);
}

TEST_F(ComboPaint, AComboBoxDrawsTheArrowFrameOfItsStateAtItsRightEdge) {
    // A strip of five 20-pixel frames: normal, hot, pushed, focused, disabled.
    const DWORD frames[5] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFF00FFFF};
    std::vector<DWORD> strip;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 100; ++x)
            strip.push_back(frames[x / 20]);
    RenderTest::Bitmap bitmap(100, 20, strip);
    AddImage(L"arrow", bitmap.get(), 100, 20);
    AddImage(L"normal", 0xFF000000);

    CComboBoxUI box;
    Place(box, L"arrowimage=\"file='arrow' source='0,0,100,20'\" normalimage=\"normal\" "
               L"bordersize=\"2\"");
    Paint(box);
    EXPECT_EQ(box.GetArrowFrameWidth(), 20);
    EXPECT_EQ(surface.Pixel(90, 12), frames[0]);
    EXPECT_EQ(surface.Pixel(97, 12), frames[0]);
    EXPECT_EQ(surface.Pixel(98, 12), kWhite) << "inside the border";
    EXPECT_EQ(surface.Pixel(90, 1), kWhite) << "inside the border";
    EXPECT_EQ(surface.Pixel(70, 12), kWhite) << "only the arrow is drawn, no combo image";
    Event(box, UIEVENT_MOUSEENTER);
    Paint(box);
    EXPECT_EQ(surface.Pixel(90, 12), frames[1]) << "the hot frame starts at x = 20";
    Event(box, UIEVENT_MOUSELEAVE);
    box.SetEnabled(false);
    Paint(box);
    EXPECT_EQ(surface.Pixel(90, 12), frames[4]);

    // Without an arrow strip, the combo's images.
    CComboBoxUI plain;
    Place(plain, L"normalimage=\"normal\"");
    Paint(plain);
    EXPECT_EQ(surface.Pixel(90, 12), 0xFF000000u);
    EXPECT_EQ(plain.GetClass(), std::wstring(L"ComboBoxUI"));
    EXPECT_NE(plain.GetInterface(L"Combo"), nullptr);
}

TEST(ComboMarkup, CombosAndComboBoxesHoldTheItemsOfTheirElements) {
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        L"<Window><HorizontalLayout><Combo dropboxsize=\"0,90\"><ListLabelElement text=\"a\"/>"
        L"<ListLabelElement text=\"b\" selected=\"true\"/></Combo>"
        L"<ComboBox arrowimage=\"file='arrow.png' source='0,0,100,20'\">"
        L"<ListLabelElement text=\"c\"/></ComboBox></HorizontalLayout></Window>");
    ASSERT_NE(root, nullptr);
    auto* row = static_cast<IContainerUI*>(root->GetInterface(L"IContainer"));
    ASSERT_EQ(row->GetCount(), 2);
    auto* combo = static_cast<CComboUI*>(row->GetItemAt(0)->GetInterface(L"Combo"));
    ASSERT_NE(combo, nullptr);
    EXPECT_STREQ(combo->GetClass(), L"ComboUI");
    EXPECT_EQ(combo->GetCount(), 2);
    EXPECT_EQ(combo->GetCurSel(), 1) << "an item's own \"selected\"";
    EXPECT_STREQ(combo->GetText().GetData(), L"b");
    EXPECT_EQ(combo->GetDropBoxSize().cy, 90);
    CControlUI* box = row->GetItemAt(1);
    EXPECT_STREQ(box->GetClass(), L"ComboBoxUI");
    EXPECT_STREQ(static_cast<CComboBoxUI*>(box)->GetArrowImage().GetData(),
                 L"file='arrow.png' source='0,0,100,20'");
    auto* item = static_cast<IListItemUI*>(
        static_cast<CComboUI*>(box)->GetItemAt(0)->GetInterface(L"ListItem"));
    EXPECT_EQ(item->GetOwner(), static_cast<IListOwnerUI*>(static_cast<CComboUI*>(box)));
    delete root;
}
