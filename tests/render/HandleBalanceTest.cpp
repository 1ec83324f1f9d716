// Drawing leaves no GDI object behind and gives the target DC back its own objects: every
// primitive, run many times over surfaces with and without alpha, keeps the process's GDI
// object count where it was.
#include "render/RenderClip.h"
#include "render/RenderEngine.h"
#include "render/RenderTestSupport.h"
#include "support/GdiObjectCount.h"
#include "window/PaintManagerUI.h"

#include <gtest/gtest.h>

#include <functional>

using namespace SkinUI;
using RenderTest::Surface;
using skintest::CountGdiObjects;

namespace {

struct Selected {
    HGDIOBJ pen;
    HGDIOBJ brush;
    HGDIOBJ font;
    HGDIOBJ bitmap;
    bool operator==(const Selected& other) const {
        return pen == other.pen && brush == other.brush && font == other.font &&
               bitmap == other.bitmap;
    }
};

Selected SelectedIn(HDC dc) {
    return Selected{::GetCurrentObject(dc, OBJ_PEN), ::GetCurrentObject(dc, OBJ_BRUSH),
                    ::GetCurrentObject(dc, OBJ_FONT), ::GetCurrentObject(dc, OBJ_BITMAP)};
}

// Runs `draw` once to settle caches, then 20 more times; the count must not move and the
// DC must hold the objects it held before.
void ExpectBalanced(const char* what, HDC dc, const std::function<void()>& draw) {
    SCOPED_TRACE(what);
    draw();
    const int before = CountGdiObjects();
    const Selected selected = SelectedIn(dc);
    for (int i = 0; i < 20; ++i)
        draw();
    EXPECT_EQ(CountGdiObjects(), before);
    EXPECT_TRUE(SelectedIn(dc) == selected) << "the DC's own objects are back";
}

} // namespace

TEST(HandleBalance, PrimitivesFreeWhatTheyMakeOnEverySurface) {
    ASSERT_GT(CountGdiObjects(), 0);
    CPaintManagerUI manager; // fonts for the text calls
    for (const int bits : {32, 24}) {
        for (const bool system : {true, false}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, system blending " << system);
            CRenderEngine::SetSystemBlending(system);
            Surface surface(120, 80, 0xFF808080, bits);
            HDC dc = surface.dc();
            const RECT all = surface.rect();
            ExpectBalanced("gradient", dc, [&] {
                CRenderEngine::DrawGradient(dc, all, 0xFFFF0000, 0xFF0000FF, true, 16);
                CRenderEngine::DrawGradient(dc, all, 0x80FF0000, 0x800000FF, false, 16);
            });
            ExpectBalanced("colour", dc, [&] {
                CRenderEngine::DrawColor(dc, all, 0xFF102030);
                CRenderEngine::DrawColor(dc, all, 0x80102030);
            });
            ExpectBalanced("lines", dc, [&] {
                CRenderEngine::DrawLine(dc, RECT{0, 0, 100, 60}, 2, 0xFF00FF00, PS_DASH);
                CRenderEngine::DrawRect(dc, RECT{5, 5, 90, 60}, 1, 0xFF0000FF);
                CRenderEngine::DrawRoundRect(dc, RECT{5, 5, 90, 60}, 2, 8, 8, 0xFFFF00FF);
            });
            ExpectBalanced("text", dc, [&] {
                RECT rc = all;
                CRenderEngine::DrawTextW(dc, &manager, rc, L"Varnel", 0xFF000000, -1,
                                         DT_SINGLELINE);
                CRenderEngine::DrawTextW(dc, &manager, rc, L"Varnel", 0xFF000000, -1, DT_CALCRECT);
                CRenderEngine::GetTextSize(dc, &manager, L"Varnel", -1, 0);
            });
            RenderTest::Bitmap image(8, 8, RenderTest::Solid(8, 8, 0x80402010));
            ExpectBalanced("images", dc, [&] {
                CRenderEngine::DrawImage(dc, image.get(), RECT{0, 0, 100, 70}, all,
                                         RECT{0, 0, 8, 8}, RECT{2, 2, 2, 2}, true, 200, false, true,
                                         true);
                Surface source(60, 40, 0x80FFFFFF);
                CRenderEngine::SoftwareAlphaBlend(dc, 0, 0, 60, 40, source.dc(), 0, 0, 60, 40,
                                                  BLENDFUNCTION{AC_SRC_OVER, 0, 128, AC_SRC_ALPHA});
            });
            ExpectBalanced("clips", dc, [&] {
                CRenderClip outer;
                CRenderClip::GenerateRoundClip(dc, all, RECT{0, 0, 100, 70}, 10, 10, outer);
                CRenderClip inner;
                CRenderClip::GenerateClip(dc, RECT{10, 10, 50, 50}, inner);
                CRenderClip::GenerateClip(dc, RECT{20, 20, 40, 40}, inner); // again: replaced
                CRenderClip::UseOldClipBegin(dc, inner);
                CRenderClip::UseOldClipEnd(dc, inner);
            });
        }
    }
    CRenderEngine::SetSystemBlending(true);
}

TEST(HandleBalance, LoadedImagesGiveEverythingBackWhenFreed) {
    const HICON icon = ::LoadIconW(nullptr, MAKEINTRESOURCEW(32512));
    const auto load = [icon] { CRenderEngine::FreeImage(CRenderEngine::LoadImageFromHICON(icon)); };
    load();
    const int before = CountGdiObjects();
    for (int i = 0; i < 10; ++i)
        load();
    EXPECT_EQ(CountGdiObjects(), before);

    const std::wstring file = RenderTest::SkinDirectory() + L"alpha.png";
    TImageInfo* image = CRenderEngine::LoadImageW(file.c_str());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(CountGdiObjects(), before + 1);
    CRenderEngine::FreeImage(image);
    EXPECT_EQ(CountGdiObjects(), before);
}
