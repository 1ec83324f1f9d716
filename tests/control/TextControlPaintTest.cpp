// What the text controls paint: state images and colours of buttons and options, text
// colours, and the GDI+ effect text, read back from memory surfaces.
#include "control/ButtonUI.h"
#include "control/LabelUI.h"
#include "control/OptionUI.h"
#include "render/RenderTestSupport.h"
#include "window/PaintManagerUI.h"

#include <gtest/gtest.h>

#include <functional>

using namespace SkinUI;
using RenderTest::Surface;

namespace {

constexpr DWORD kWhite = 0xFFFFFFFF;
constexpr DWORD kBlue = 0xFF0000FF;
constexpr DWORD kGreen = 0xFF00FF00;
constexpr DWORD kRed = 0xFFFF0000;
constexpr DWORD kYellow = 0xFFFFFF00;
constexpr DWORD kMagenta = 0xFFFF00FF;

// A manager without a window whose image cache holds one opaque 4 x 4 bitmap per colour,
// named after the colour's initial.
class TextControlPaint : public ::testing::Test {
protected:
    void SetUp() override {
        const struct {
            const wchar_t* name;
            DWORD color;
        } images[] = {{L"n", kBlue}, {L"h", kGreen}, {L"p", kRed}, {L"w", kWhite}};
        for (const auto& image : images) {
            RenderTest::Bitmap solid(4, 4, RenderTest::Solid(4, 4, image.color));
            HBITMAP copy = static_cast<HBITMAP>(
                ::CopyImage(solid.get(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
            ASSERT_NE(manager.AddImage(image.name, copy, 4, 4, false), nullptr);
        }
    }
    // Paints a control placed over the 20 x 20 surface, after `prepare`.
    void Paint(CControlUI& control, const std::function<void()>& prepare = nullptr) {
        control.SetManager(&manager, nullptr, false);
        control.SetPos(surface.rect());
        if (prepare) prepare();
        surface.Fill(kWhite);
        control.DoPaint(surface.dc(), surface.rect());
    }
    void Send(CControlUI& control, int type) {
        TEventUI event;
        event.type = type;
        event.mousePos = POINT{10, 10};
        control.Event(event);
    }
    // Pixels close to a colour.
    int Count(DWORD color) const {
        int count = 0;
        for (DWORD pixel : surface.Pixels())
            count += RenderTest::PixelNear(pixel, color, 60) ? 1 : 0;
        return count;
    }

    CPaintManagerUI manager;
    Surface surface{40, 20, kWhite, 24};
};

} // namespace

TEST_F(TextControlPaint, ButtonsShowTheImageOfTheirState) {
    const wchar_t* images = L"normalimage=\"n\" hotimage=\"h\" pushedimage=\"p\" "
                            L"foreimage=\"file='w' dest='0,0,2,2'\"";
    const struct {
        const char* state;
        int event;
        bool disable;
        DWORD middle;
    } cases[] = {{"normal", 0, false, kBlue},
                 {"hot", UIEVENT_MOUSEENTER, false, kGreen},
                 {"pushed", UIEVENT_BUTTONDOWN, false, kRed},
                 {"disabled without its image", 0, true, kBlue}};
    for (const auto& c : cases) {
        CButtonUI button;
        button.ApplyAttributeList(images);
        Paint(button, [&] {
            if (c.event != 0) Send(button, c.event);
            if (c.disable) button.SetEnabled(false);
        });
        EXPECT_EQ(surface.Pixel(10, 10), c.middle) << c.state;
        EXPECT_EQ(surface.Pixel(1, 1), kWhite) << c.state << ": the fore image on top";
    }

    CButtonUI hotColour;
    hotColour.ApplyAttributeList(L"normalimage=\"n\" foreimage=\"w\" hotbkcolor=\"#FFFFFF00\"");
    Paint(hotColour, [&] { Send(hotColour, UIEVENT_MOUSEENTER); });
    EXPECT_EQ(surface.Pixel(1, 1), kYellow) << "neither the normal nor the fore image";

    COptionUI option;
    option.ApplyAttributeList(L"normalimage=\"n\" selectedbkcolor=\"#FFFF00FF\" "
                              L"foreimage=\"w\" selected=\"true\"");
    Paint(option);
    EXPECT_EQ(surface.Pixel(10, 10), kMagenta);
    option.SetAttribute(L"selectedimage", L"h");
    Paint(option, [&] { Send(option, UIEVENT_BUTTONDOWN); });
    EXPECT_EQ(surface.Pixel(10, 10), kWhite) << "the option's fore image over the selected one";
    option.SetForeImage(L"");
    Paint(option);
    EXPECT_EQ(surface.Pixel(10, 10), kGreen) << "never a pushed look";
}

TEST_F(TextControlPaint, TextTakesTheColourOfItsState) {
    CLabelUI transparentRed;
    transparentRed.ApplyAttributeList(L"text=\"WWW\" textcolor=\"#00FF0000\"");
    Paint(transparentRed);
    EXPECT_GT(Count(kRed), 0) << "alpha 0 still draws the colour";
    EXPECT_EQ(transparentRed.GetTextColor(), 0x00FF0000u);

    CLabelUI plain;
    plain.SetText(L"WWW");
    Paint(plain);
    EXPECT_EQ(plain.GetTextColor(), manager.GetDefaultFontColor()) << "0 takes the default";
    EXPECT_GT(Count(0xFF000000), 0);

    CButtonUI button;
    button.ApplyAttributeList(L"text=\"WWW\" textcolor=\"#FF0000FF\" hottextcolor=\"#FF00FF00\"");
    Paint(button, [&] { Send(button, UIEVENT_MOUSEENTER); });
    EXPECT_GT(Count(kGreen), 0);
    EXPECT_EQ(Count(kBlue), 0);

    COptionUI option;
    option.ApplyAttributeList(L"text=\"WWW\" textcolor=\"#FF0000FF\" "
                              L"selectedtextcolor=\"#FFFF0000\" selected=\"true\"");
    Paint(option);
    EXPECT_GT(Count(kRed), 0);
    EXPECT_EQ(option.GetTextColor(), 0xFF0000FFu) << "the text colour is given back";
}

TEST_F(TextControlPaint, EffectTextIsDrawnThroughGdiplusWithItsShadow) {
    CLabelUI label;
    label.ApplyAttributeList(L"enabledeffect=\"true\" text=\"WWW\" textcolor=\"#FFFF0000\" "
                             L"transtext=\"255\" transtext1=\"255\" enabledshadow=\"true\" "
                             L"textshadowcolora=\"#FF0000FF\" transshadow=\"255\" "
                             L"transshadow1=\"255\" shadowoffset=\"3,-45\"");
    Paint(label);
    EXPECT_GT(Count(kRed), 0);
    EXPECT_GT(Count(kBlue), 0) << "the shadow, moved right and up";

    label.SetAttribute(L"enabledshadow", L"false");
    Paint(label);
    EXPECT_EQ(Count(kBlue), 0);
    label.SetText(L"");
    Paint(label);
    EXPECT_EQ(Count(kRed), 0);
}
