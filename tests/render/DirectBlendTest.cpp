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
std::vector<DWORD> Mixed(int count, unsigned seed) {
    std::vector<DWORD> pixels;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        const DWORD alpha = (seed >> 24) % 3 == 0 ? 255 : (seed >> 24) % 3 == 1 ? 0 : seed >> 24;
        const DWORD channel = alpha * ((seed >> 8) & 0xFF) / 255;
        pixels.push_back(alpha << 24 | channel << 16 | (alpha - channel) << 8 | alpha / 2);
    }
    return pixels;
}

struct Setting {
    bool alphaChannel;
    BYTE fade;
    bool bottomUp;
    bool roundClip;
    POINT origin;
};

} // namespace

TEST(DirectBlend, MatchesTheSystemBlend) {
    const int w = 64;
    const int h = 48;
    Bitmap source(w, h, Mixed(w * h, 7));
    HDC sourceDC = CreateCompatibleDC(nullptr);
    const Setting settings[] = {{true, 255, false, false, {0, 0}},
                                {true, 128, true, false, {0, 0}},
                                {false, 128, false, true, {0, 0}},
                                {false, 255, true, true, {3, -2}},
                                {true, 200, false, true, {-4, 5}}};
    for (const Setting& setting : settings) {
        Surface system(80, 60, 0, 32, setting.bottomUp);
        Surface direct(80, 60, 0, 32, setting.bottomUp);
        const std::vector<DWORD> background = Mixed(80 * 60, 11);
        for (int i = 0; i < 80 * 60; ++i) {
            system.SetPixel(i % 80, i / 80, background[i]);
            direct.SetPixel(i % 80, i / 80, background[i]);
        }
        const RECT dest = {6, 5, 6 + w, 5 + h};
        const RECT all = {0, 0, w, h};
        CRenderClip systemClip;
        CRenderClip directClip;
        for (Surface* surface : {&system, &direct}) {
            SetViewportOrgEx(surface->dc(), setting.origin.x, setting.origin.y, nullptr);
            if (setting.roundClip) {
                CRenderClip::GenerateRoundClip(surface->dc(), dest, dest, 30, 20,
                                               surface == &system ? systemClip : directClip);
            }
        }
        // Image drawing takes a faded image as premultiplied, with or without its flag.
        const bool perPixel = setting.alphaChannel || setting.fade < 255;
        const BLENDFUNCTION blend = {AC_SRC_OVER, 0, setting.fade,
                                     BYTE(perPixel ? AC_SRC_ALPHA : 0)};
        // A bitmap is selected into one DC at a time: the image drawing selects its own.
        HGDIOBJ oldSource = SelectObject(sourceDC, source.get());
        ASSERT_TRUE(
            AlphaBlend(system.dc(), dest.left, dest.top, w, h, sourceDC, 0, 0, w, h, blend));
        SelectObject(sourceDC, oldSource);
        CRenderEngine::DrawImage(direct.dc(), source.get(), dest, dest, all, RECT{0, 0, 0, 0},
                                 setting.alphaChannel, setting.fade);
        int differences = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 80; ++x)
                differences += PixelNear(direct.Pixel(x, y), system.Pixel(x, y)) ? 0 : 1;
        EXPECT_EQ(differences, 0) << "fade " << int(setting.fade) << " bottom-up "
                                  << setting.bottomUp << " clip " << setting.roundClip;
    }
    DeleteDC(sourceDC);
}

TEST(DirectBlend, ScalesByNearestPixel) {
    // 4 x 3 blocks of 16 pixels, each its own colour, enlarged 1.5 times.
    std::vector<DWORD> blocks(64 * 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            blocks[y * 64 + x] = 0xFF000000 | DWORD(x / 16) << 16 | DWORD(y / 16) << 8 | 0x80;
    Bitmap source(64, 48, blocks);
    Surface surface(96, 72, 0);
    // Opaque and scaled on a surface with alpha: a plain copy of every channel.
    CRenderEngine::DrawImage(surface.dc(), source.get(), RECT{0, 0, 96, 72}, RECT{0, 0, 96, 72},
                             RECT{0, 0, 64, 48}, RECT{0, 0, 0, 0}, false);
    for (int y = 0; y < 72; ++y)
        for (int x = 0; x < 96; ++x) {
            if (x % 24 < 2 || x % 24 > 21 || y % 24 < 2 || y % 24 > 21) continue;
            ASSERT_EQ(surface.Pixel(x, y),
                      0xFF000000 | DWORD(x / 24) << 16 | DWORD(y / 24) << 8 | 0x80)
                << x << "," << y;
        }
    EXPECT_EQ(surface.Pixel(95, 71), 0xFF000000u | 3u << 16 | 2u << 8 | 0x80);
}
