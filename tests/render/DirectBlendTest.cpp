// Blends between DIB sections are done on the pixels; they must match the system's
// AlphaBlend in every setting image drawing uses: per-pixel and constant alpha, plain
// copies, both row orders, clip regions, moved origins and scaling.

#include "render/RenderClip.h"
#include "render/RenderEngine.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "RenderTestSupport.h"

using SkinUI::CRenderClip;
using SkinUI::CRenderEngine;
using namespace RenderTest;

namespace {

// Valid premultiplied pixels of every kind: opaque, clear and in between.
void FillMixed(Surface& surface, unsigned seed) {
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x) {
            seed = seed * 1103515245u + 12345u;
            const DWORD kind = (seed >> 24) % 3;
            const DWORD alpha = kind == 0 ? 255 : kind == 1 ? 0 : seed >> 24;
            const DWORD channel = alpha * ((seed >> 8) & 0xFF) / 255;
            surface.SetPixel(x, y,
                             alpha << 24 | channel << 16 | (alpha - channel) << 8 | alpha / 2);
        }
}

} // namespace

TEST(DirectBlend, MatchesTheSystemBlend) {
    const struct {
        bool alphaChannel;
        BYTE fade;
        bool bottomUp;
        bool roundClip;
        POINT origin;
    } settings[] = {{true, 255, false, false, {0, 0}},
                    {true, 128, true, false, {0, 0}},
                    {false, 128, false, true, {0, 0}},
                    {false, 255, true, true, {3, -2}},
                    {true, 200, false, true, {-4, 5}}};
    Surface image(64, 48);
    FillMixed(image, 7);
    const RECT dest = {6, 5, 70, 53};
    for (const auto& setting : settings) {
        Surface system(80, 60, 0, 32, setting.bottomUp);
        Surface direct(80, 60, 0, 32, setting.bottomUp);
        FillMixed(system, 11);
        FillMixed(direct, 11);
        CRenderClip clips[2];
        for (Surface* surface : {&system, &direct}) {
            SetViewportOrgEx(surface->dc(), setting.origin.x, setting.origin.y, nullptr);
            if (setting.roundClip)
                CRenderClip::GenerateRoundClip(surface->dc(), dest, dest, 30, 20,
                                               clips[surface == &direct]);
        }
        // Image drawing takes a faded image as premultiplied, with or without its flag.
        const bool perPixel = setting.alphaChannel || setting.fade < 255;
        const BLENDFUNCTION blend = {AC_SRC_OVER, 0, setting.fade,
                                     BYTE(perPixel ? AC_SRC_ALPHA : 0)};
        ASSERT_TRUE(AlphaBlend(system.dc(), 6, 5, 64, 48, image.dc(), 0, 0, 64, 48, blend));
        // The image drawing selects the bitmap itself: a bitmap is in one DC at a time.
        Bitmap source(64, 48, image.Pixels());
        CRenderEngine::DrawImage(direct.dc(), source.get(), dest, dest, RECT{0, 0, 64, 48},
                                 RECT{0, 0, 0, 0}, setting.alphaChannel, setting.fade);
        int differences = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 80; ++x)
                differences += PixelNear(direct.Pixel(x, y), system.Pixel(x, y)) ? 0 : 1;
        EXPECT_EQ(differences, 0) << "fade " << int(setting.fade) << " bottom-up "
                                  << setting.bottomUp << " clip " << setting.roundClip;
    }
}

TEST(DirectBlend, ScalesByNearestPixel) {
    // 4 x 3 blocks of 16 pixels, each its own colour, enlarged 1.5 times; opaque on a
    // surface with alpha, so a plain copy of every channel.
    Surface blocks(64, 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            blocks.SetPixel(x, y, 0xFF000000 | DWORD(x / 16) << 16 | DWORD(y / 16) << 8 | 0x80);
    Bitmap source(64, 48, blocks.Pixels());
    Surface surface(96, 72, 0);
    CRenderEngine::DrawImage(surface.dc(), source.get(), RECT{0, 0, 96, 72}, RECT{0, 0, 96, 72},
                             RECT{0, 0, 64, 48}, RECT{0, 0, 0, 0}, false);
    for (int y = 12; y < 72; y += 24)
        for (int x = 12; x < 96; x += 24)
            EXPECT_EQ(surface.Pixel(x, y),
                      0xFF000000 | DWORD(x / 24) << 16 | DWORD(y / 24) << 8 | 0x80);
    EXPECT_EQ(surface.Pixel(95, 71), 0xFF000000u | 3u << 16 | 2u << 8 | 0x80);
}
