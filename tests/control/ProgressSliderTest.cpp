// Progress bars and sliders along either axis: how much of the fore image a value
// shows, ranges up to the limits of int, and sliders driven by real mouse and wheel
// messages with "valuechanged" at the end of each press and each wheel step.
#include "Along.h"
#include "HostedTree.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "control/ButtonUI.h"
#include "control/ProgressUI.h"
#include "control/SliderUI.h"
#include "render/RenderTestSupport.h"

using namespace SkinUI;

namespace {

constexpr DWORD kWhite = 0xFFFFFFFF;
constexpr DWORD kGreen = 0xFF00FF00;
constexpr DWORD kRed = 0xFFFF0000;
constexpr DWORD kBlue = 0xFF0000FF;

// Caches an image of `pixels` under a name.
void AddImage(CPaintManagerUI& manager, const wchar_t* name, int cx, int cy,
              const std::vector<DWORD>& pixels) {
    RenderTest::Bitmap bitmap(cx, cy, pixels);
    HBITMAP copy =
        static_cast<HBITMAP>(::CopyImage(bitmap.get(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(manager.AddImage(name, copy, cx, cy, false), nullptr);
}

// A progress bar 200 long and 12 across painted by a manager without a window. "fore" is
// green; "halves" is an image as large as the bar, red on the half nearer the minimum
// and blue on the other.
class ProgressPaint : public Along<::testing::Test> {
protected:
    void SetUp() override {
        AddImage(manager, L"fore", 4, 4, RenderTest::Solid(4, 4, kGreen));
        const SIZE size = Turn(200, 12);
        std::vector<DWORD> halves(static_cast<size_t>(size.cx) * size.cy);
        for (int y = 0; y < size.cy; ++y)
            for (int x = 0; x < size.cx; ++x) {
                const int along = Vertical() ? 199 - y : x;
                halves[static_cast<size_t>(y) * size.cx + x] = along < 100 ? kRed : kBlue;
            }
        AddImage(manager, L"halves", size.cx, size.cy, halves);
        progress.SetHorizontal(!Vertical());
        progress.ApplyAttributeList(L"foreimage=\"fore\"");
    }
    // Paints and answers the colour at each step along the middle of the bar, from the
    // minimum's end.
    std::vector<DWORD> Paint() {
        progress.SetManager(&manager, nullptr, false);
        progress.SetPos(surface.rect());
        surface.Fill(kWhite);
        progress.DoPaint(surface.dc(), surface.rect());
        std::vector<DWORD> line;
        for (int d = 0; d < 200; ++d) {
            const POINT at = Vertical() ? POINT{6, 199 - d} : POINT{d, 6};
            line.push_back(surface.Pixel(at.x, at.y));
        }
        return line;
    }
    // How many steps from the minimum's end are filled, and that they are contiguous.
    int Filled() {
        const std::vector<DWORD> line = Paint();
        int filled = 0;
        while (filled < 200 && line[filled] != kWhite)
            ++filled;
        for (int d = filled; d < 200; ++d)
            EXPECT_EQ(line[d], kWhite) << "at " << d;
        return filled;
    }

    CPaintManagerUI manager;
    CProgressUI progress;
    RenderTest::Surface surface{Turn(200, 12).cx, Turn(200, 12).cy, kWhite, 24};
};

INSTANTIATE_TEST_SUITE_P(BothAxes, ProgressPaint, ::testing::Bool(), AxisName);

} // namespace

TEST_P(ProgressPaint, TheForeImageCoversTheShareOfTheValue) {
    EXPECT_EQ(Filled(), 0);
    progress.SetValue(50);
    EXPECT_EQ(Filled(), 100);
    progress.SetValue(100);
    EXPECT_EQ(Filled(), 200);
    progress.SetValue(33);
    EXPECT_EQ(Filled(), 66);

    // Products of this size overflow 32 bits.
    progress.ApplyAttributeList(L"max=\"200000000\" value=\"100000000\"");
    EXPECT_EQ(Filled(), 100);
    // A horizontal bar rounds its length down, a vertical one its empty part.
    progress.SetValue(199999999);
    EXPECT_EQ(Filled(), Vertical() ? 200 : 199);
    progress.ApplyAttributeList(L"min=\"-2147483648\" max=\"2147483647\" value=\"0\"");
    EXPECT_EQ(Filled(), Vertical() ? 101 : 100) << "a range wider than int";
    progress.SetValue(INT_MAX);
    EXPECT_EQ(Filled(), 200);
}

TEST_P(ProgressPaint, PaintingBringsRangeAndValueIntoOrder) {
    progress.ApplyAttributeList(L"min=\"50\" max=\"50\" value=\"50\"");
    EXPECT_EQ(Filled(), 0);
    EXPECT_EQ(progress.GetMaxValue(), 51) << "an empty range is one step";
    progress.ApplyAttributeList(L"min=\"0\" max=\"100\" value=\"150\"");
    EXPECT_EQ(Filled(), 200);
    EXPECT_EQ(progress.GetValue(), 100);
    progress.SetValue(-5);
    EXPECT_EQ(Filled(), 0);
    EXPECT_EQ(progress.GetValue(), 0);
    progress.ApplyAttributeList(L"min=\"2147483647\" max=\"0\" value=\"7\"");
    EXPECT_EQ(Filled(), 0);
    EXPECT_EQ(progress.GetMaxValue(), INT_MAX);
    EXPECT_LT(progress.GetMinValue(), progress.GetMaxValue());
    EXPECT_EQ(progress.GetValue(), progress.GetMinValue());
}

TEST_P(ProgressPaint, WithoutStretchingTheBarShowsItsPartOfTheImage) {
    progress.ApplyAttributeList(L"foreimage=\"halves\" value=\"75\"");
    std::vector<DWORD> line = Paint();
    EXPECT_EQ(line[0], kRed);
    EXPECT_EQ(line[74], kRed) << "the whole image squeezed into 150";
    EXPECT_EQ(line[76], kBlue);
    EXPECT_EQ(line[149], kBlue);
    EXPECT_EQ(line[150], kWhite);

    progress.SetStretchForeImage(false);
    line = Paint();
    EXPECT_EQ(line[0], kRed);
    EXPECT_EQ(line[99], kRed);
    EXPECT_EQ(line[100], kBlue);
    EXPECT_EQ(line[149], kBlue);
    EXPECT_EQ(line[150], kWhite);
}

namespace {

// A slider 110 long and 20 across at (10, 10), range 0..100, with a 10 by 10 thumb: the
// thumb travels 100 pixels, one per step.
class SliderInput : public Along<HostedTree> {
protected:
    CSliderUI* HostSlider(const wchar_t* attributes = L"") {
        auto* root = new CVerticalLayoutUI;
        root->SetInset(RECT{10, 10, 10, 10});
        slider = new CSliderUI;
        slider->SetHorizontal(!Vertical());
        slider->ApplyAttributeList(L"thumbsize=\"10,10\"");
        slider->ApplyAttributeList(attributes);
        const SIZE size = Turn(110, 20);
        slider->SetFixedWidth(size.cx);
        slider->SetFixedHeight(size.cy);
        root->Add(slider);
        Host(root);
        host->onNotify = [this](TNotifyUI& msg) {
            if (msg.type == L"valuechanged") reported.push_back(slider->GetValue());
        };
        return slider;
    }
    // A client point `distance` pixels from the slider's minimum end, in its middle.
    POINT At(LONG distance) const {
        const LONG along = Vertical() ? 120 - distance : 10 + distance;
        return Along::At(along, 20);
    }
    void Mouse(UINT message, LONG distance) {
        const POINT point = At(distance);
        Send(message, point.x, point.y);
    }
    void Click(LONG distance) {
        Mouse(WM_LBUTTONDOWN, distance);
        Mouse(WM_LBUTTONUP, distance);
    }
    void Wheel(bool up) {
        const POINT point = At(50);
        ::SendMessageW(host->GetHWND(), WM_MOUSEWHEEL,
                       MAKEWPARAM(0, up ? WHEEL_DELTA : -WHEEL_DELTA),
                       skintest::ScreenPointParam(host->GetHWND(), point.x, point.y));
    }
    // The thumb's distance from the minimum end.
    LONG ThumbOffset() const {
        const RECT thumb = slider->GetThumbRect();
        return Vertical() ? 120 - thumb.bottom : thumb.left - 10;
    }

    CSliderUI* slider = nullptr;
    std::vector<int> reported; // the value at each "valuechanged"
};

INSTANTIATE_TEST_SUITE_P(BothAxes, SliderInput, ::testing::Bool(), AxisName);

} // namespace

TEST_P(SliderInput, ADragFromEndToEndReportsTheValuesAtTheEnds) {
    HostSlider();
    EXPECT_EQ(ThumbOffset(), 0);
    Mouse(WM_LBUTTONDOWN, 5);
    EXPECT_NE(slider->GetButtonState() & UISTATE_CAPTURED, 0u);
    Mouse(WM_MOUSEMOVE, 40);
    EXPECT_EQ(slider->GetValue(), 35) << "the value follows the thumb";
    Mouse(WM_MOUSEMOVE, 300);
    EXPECT_EQ(slider->GetValue(), 100);
    EXPECT_TRUE(reported.empty()) << "nothing while dragging";
    Mouse(WM_LBUTTONUP, 300);
    EXPECT_EQ(reported, std::vector<int>{100});
    EXPECT_EQ(ThumbOffset(), 100);
    EXPECT_EQ(slider->GetButtonState() & UISTATE_CAPTURED, 0u);

    Mouse(WM_LBUTTONDOWN, 105);
    Mouse(WM_MOUSEMOVE, -300);
    Mouse(WM_LBUTTONUP, -300);
    EXPECT_EQ(reported, (std::vector<int>{100, 0}));
    EXPECT_EQ(ThumbOffset(), 0);
}

TEST_P(SliderInput, AClickOnTheTrackMovesTheValueThere) {
    HostSlider();
    Mouse(WM_LBUTTONDOWN, 55);
    EXPECT_EQ(slider->GetButtonState() & UISTATE_CAPTURED, 0u) << "not on the thumb";
    Mouse(WM_LBUTTONUP, 55);
    EXPECT_EQ(reported, std::vector<int>{50}) << "the middle is the middle value";
    EXPECT_EQ(ThumbOffset(), 50);
    Click(2);
    EXPECT_EQ(slider->GetValue(), 0) << "within half a thumb of the end";

    // A disabled slider keeps its value.
    slider->SetEnabled(false);
    Click(80);
    EXPECT_EQ(slider->GetValue(), 0);
    Wheel(true);
    EXPECT_EQ(slider->GetValue(), 0);
    EXPECT_EQ(reported.size(), 2u);
}

TEST_P(SliderInput, TheWheelStepsAndReportsEvenPastTheEnd) {
    HostSlider(L"step=\"7\" value=\"95\"");
    Wheel(true);
    EXPECT_EQ(slider->GetValue(), 102) << "clamped only when painted";
    EXPECT_EQ(reported.size(), 1u);
    Layout();
    EXPECT_EQ(slider->GetValue(), 100);
    Wheel(false);
    EXPECT_EQ(slider->GetValue(), 93);
    EXPECT_EQ(reported.size(), 2u);

    slider->ApplyAttributeList(L"step=\"2147483647\" value=\"2147483647\" max=\"2147483647\"");
    Wheel(true);
    EXPECT_EQ(slider->GetValue(), INT_MAX) << "no overflow";
}

TEST_P(SliderInput, AnEmptyRangeIsOneStep) {
    HostSlider(L"min=\"50\" max=\"50\" value=\"50\"");
    EXPECT_EQ(ThumbOffset(), 0);
    Mouse(WM_LBUTTONDOWN, 5);
    Mouse(WM_MOUSEMOVE, 60);
    Mouse(WM_LBUTTONUP, 60);
    EXPECT_EQ(reported.size(), 1u);
    Layout();
    EXPECT_EQ(slider->GetMaxValue(), 51);
    EXPECT_EQ(slider->GetValue(), 50);
    Click(108);
    EXPECT_EQ(slider->GetValue(), 51);
    EXPECT_EQ(ThumbOffset(), 100);

    // A thumb longer than the slider, and one of negative size.
    slider->SetThumbSize(Turn(500, 10));
    Click(50);
    EXPECT_EQ(slider->GetValue(), 51);
    Layout();
    slider->SetThumbSize(SIZE{-4, -4});
    Click(50);
    Layout();
    EXPECT_EQ(slider->GetValue(), 50);
}

TEST_P(SliderInput, TheThumbShowsTheImageOfItsState) {
    HostSlider(L"thumbimage=\"n\" thumbhotimage=\"h\" thumbpushedimage=\"p\" value=\"50\"");
    AddImage(host->manager, L"n", 4, 4, RenderTest::Solid(4, 4, kBlue));
    AddImage(host->manager, L"h", 4, 4, RenderTest::Solid(4, 4, kGreen));
    AddImage(host->manager, L"p", 4, 4, RenderTest::Solid(4, 4, kRed));
    const auto thumbColour = [this] {
        RenderTest::Surface surface(300, 300, kWhite, 24);
        ::SendMessageW(host->GetHWND(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.dc()),
                       PRF_CLIENT);
        const POINT middle = At(55);
        return surface.Pixel(middle.x, middle.y);
    };
    EXPECT_EQ(thumbColour(), kBlue);
    TEventUI enter;
    enter.type = UIEVENT_MOUSEENTER;
    slider->Event(enter);
    EXPECT_EQ(thumbColour(), kGreen);
    Mouse(WM_LBUTTONDOWN, 55);
    EXPECT_EQ(thumbColour(), kRed);
    Mouse(WM_LBUTTONUP, 55);
    EXPECT_EQ(thumbColour(), kGreen);
    slider->SetThumbHotImage(L"");
    EXPECT_EQ(thumbColour(), kBlue) << "the normal thumb without a hot one";
}
