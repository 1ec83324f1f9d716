// The paint paths of a window built by hand: the double-buffered path read back through
// WM_PRINTCLIENT and GenerateBitmap, the per-pixel alpha path read back from the layered
// bitmap, partial repaints, the window shadow and the window's opacity.
#include "render/RenderEngine.h"
#include "render/RenderTestSupport.h"
#include "support/GdiObjectCount.h"
#include "support/SkinTestKit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace SkinUI;
using RenderTest::PixelNear;

namespace {

// Writes its text in black, centred, in the default font.
struct TextControl : CControlUI {
    void PaintText(HDC hDC) override {
        RECT rc = m_rcItem;
        CRenderEngine::DrawTextW(hDC, m_pManager, rc, GetText(), 0xFF000000, -1,
                                 DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
};

// Paints its children over itself, as containers do; counts the post-paint calls.
struct PaintingContainer : skintest::TestContainer {
    void DoPaint(HDC hDC, const RECT& paintRect) override {
        CControlUI::DoPaint(hDC, paintRect);
        for (int i = 0; i < GetCount(); ++i)
            GetItemAt(i)->DoPaint(hDC, paintRect);
    }
    void DoPostPaint(HDC, const RECT&) override { ++postPaints; }
    int postPaints = 0;
};

HBITMAP SolidBitmap(int width, int height, const std::vector<DWORD>& pixels) {
    return ::CreateBitmap(width, height, 1, 32, pixels.data());
}

// A pixel of a bottom-up 32-bit DIB section, as 0xAARRGGBB.
DWORD BottomUpPixel(HBITMAP bitmap, int x, int y) {
    DIBSECTION section{};
    ::GetObjectW(bitmap, sizeof(section), &section);
    ::GdiFlush();
    const auto* bits = static_cast<const BYTE*>(section.dsBm.bmBits);
    const int row = section.dsBm.bmHeight - 1 - y;
    return reinterpret_cast<const DWORD*>(bits + row * section.dsBm.bmWidthBytes)[x];
}

constexpr DWORD kBlue = 0xFF2040C0;
constexpr DWORD kGreen = 0xFF00A000;
constexpr DWORD kImageColor = 0xFF336699;

// On a 200 x 100 client area without a root background: opaque (10,10,60,40), half red
// (70,10,120,40), green border (130,10,180,40), image (10,50,60,80), text (70,50,190,90).
class PaintPaths : public ::testing::Test {
protected:
    void Open(bool layered) {
        root = new PaintingContainer;
        opaque =
            root->Add(new CControlUI, 10, 10, 50, 30)->ApplyAttributeList(L"bkcolor=\"#FF2040C0\"");
        translucent =
            root->Add(new CControlUI, 70, 10, 50, 30)->ApplyAttributeList(L"bkcolor=\"#80FF0000\"");
        root->Add(new CControlUI, 130, 10, 50, 30)
            ->ApplyAttributeList(L"bordercolor=\"#FF00A000\" bordersize=\"2\"");
        root->Add(new CControlUI, 10, 50, 50, 30)->SetBkImage(L"file='cell' corner='1,1,1,1'");
        root->Add(new TextControl, 70, 50, 120, 40)->SetText(L"WWW");
        host = new skintest::HostWindow(root);
        manager = &host->manager;
        manager->SetBackgroundTransparent(layered);
        manager->AddImage(L"cell", SolidBitmap(4, 4, std::vector<DWORD>(16, kImageColor)), 4, 4,
                          false);
        window = host->Open(200, 100);
        ASSERT_TRUE(skintest::PumpUntil([this] { return !host->notifications.empty(); }));
        Repaint();
    }
    void Repaint() {
        ::UpdateWindow(window);
        skintest::PumpMessages();
    }
    DWORD Layered(int x, int y) { return BottomUpPixel(manager->GetBackgroundBitmap(), x, y); }
    void TearDown() override {
        if (window != nullptr) ::DestroyWindow(window);
        delete host;
        skintest::PumpMessages();
    }

    PaintingContainer* root = nullptr;
    CControlUI* opaque = nullptr;
    CControlUI* translucent = nullptr;
    skintest::HostWindow* host = nullptr;
    CPaintManagerUI* manager = nullptr;
    HWND window = nullptr;
};

} // namespace

TEST_F(PaintPaths, NormalWindowPaintsAndPrintsTheTree) {
    Open(false);
    manager->AddPostPaint(root);
    ::InvalidateRect(window, nullptr, FALSE);
    Repaint();
    EXPECT_EQ(root->postPaints, 1) << "post-paint controls run after the tree";
    EXPECT_EQ(manager->GetBackgroundBitmap(), nullptr) << "no layered bitmap";

    // A 24-bit surface, like the screen: no alpha to look after.
    RenderTest::Surface surface(200, 100, 0xFFFFFFFF, 24);
    ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.dc()), PRF_CLIENT);
    EXPECT_EQ(surface.Pixel(20, 20), kBlue);
    EXPECT_TRUE(PixelNear(surface.Pixel(90, 20), 0xFFFF7F7F)) << "half red over white";
    EXPECT_EQ(surface.Pixel(130, 20), kGreen);
    EXPECT_EQ(surface.Pixel(150, 25), 0xFFFFFFFFu);
    EXPECT_EQ(surface.Pixel(30, 65), kImageColor);
    EXPECT_GT(surface.CountOther(RECT{70, 50, 190, 90}, 0xFFFFFFFF), 20) << "the text";

    HBITMAP snapshot = CRenderEngine::GenerateBitmap(manager, root, RECT{10, 10, 130, 40});
    ASSERT_NE(snapshot, nullptr);
    EXPECT_EQ(BottomUpPixel(snapshot, 5, 5) & 0xFFFFFF, kBlue & 0xFFFFFF);
    ::DeleteObject(snapshot);
    manager->RemovePostPaint(root);
}

TEST_F(PaintPaths, LayeredWindowKeepsWhatControlsDrawOpaque) {
    Open(true);
    EXPECT_NE(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    ASSERT_NE(manager->GetBackgroundBitmap(), nullptr);
    EXPECT_EQ(Layered(2, 2), 0u) << "nothing drawn: transparent";
    EXPECT_EQ(Layered(20, 20), kBlue);
    EXPECT_TRUE(PixelNear(Layered(90, 20), 0x80800000)) << "premultiplied half red";
    EXPECT_EQ(Layered(130, 20), kGreen) << "GDI borders stay opaque";
    EXPECT_EQ(Layered(30, 65), kImageColor);
    int opaqueText = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            const DWORD pixel = Layered(x, y);
            const DWORD alpha = pixel >> 24;
            if (x >= 70 && y >= 50 && x < 190 && alpha == 255) ++opaqueText;
            // Valid premultiplied colour everywhere: no channel above alpha.
            ASSERT_TRUE(((pixel >> 16) & 0xFF) <= alpha && ((pixel >> 8) & 0xFF) <= alpha &&
                        (pixel & 0xFF) <= alpha)
                << x << "," << y << " " << RenderTest::Hex(pixel);
        }
    EXPECT_GT(opaqueText, 10) << "text is visible";

    // A repaint draws the invalid part from scratch and leaves the rest.
    translucent->SetBkColor(0x40FF0000);
    opaque->SetBkColor(0xFF123456);
    ::ValidateRect(window, &opaque->GetPos());
    Repaint();
    EXPECT_TRUE(PixelNear(Layered(90, 20), 0x40400000)) << "not blended over the old colour";
    EXPECT_EQ(Layered(20, 20), kBlue);
}

TEST_F(PaintPaths, HiddenLayeredWindowLetsItsBitmapGoAndPaintsWholeWhenBack) {
    Open(true);
    ASSERT_NE(manager->GetBackgroundBitmap(), nullptr);
    ::ShowWindow(window, SW_HIDE);
    EXPECT_EQ(manager->GetBackgroundBitmap(), nullptr);
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    // Even a small update repaints a new bitmap whole.
    const RECT corner{0, 0, 4, 4};
    ::InvalidateRect(window, &corner, FALSE);
    Repaint();
    ASSERT_NE(manager->GetBackgroundBitmap(), nullptr);
    EXPECT_EQ(Layered(20, 20), kBlue);
    EXPECT_EQ(Layered(30, 65), kImageColor);
}

TEST_F(PaintPaths, RepaintsResizesAndPathSwitchesLeaveNoGdiObjectBehind) {
    { CPaintManagerUI first; } // the process-wide pen, made by the first manager
    const int before = skintest::CountGdiObjects();
    ASSERT_GT(before, 0);
    Open(false);
    const auto cycle = [this](int width) {
        ::InvalidateRect(window, nullptr, FALSE);
        Repaint();
        ::SetWindowPos(window, nullptr, 0, 0, width, 100,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Repaint();
        manager->SetBackgroundTransparent(true);
        Repaint();
        ::SetWindowPos(window, nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Repaint();
        manager->SetBackgroundTransparent(false);
        Repaint();
        ::DeleteObject(CRenderEngine::GenerateBitmap(manager, root, RECT{10, 10, 130, 40}));
    };
    cycle(150);
    const int open = skintest::CountGdiObjects();
    for (int i = 0; i < 5; ++i)
        cycle(160 + i * 10);
    EXPECT_EQ(skintest::CountGdiObjects(), open);

    ::DestroyWindow(window);
    window = nullptr;
    delete host;
    host = nullptr;
    skintest::PumpMessages();
    EXPECT_EQ(skintest::CountGdiObjects(), before) << "buffers, fonts and images go with it";
}

TEST_F(PaintPaths, OpacityAndInitSize) {
    Open(false);
    manager->SetTransparent(128);
    BYTE alpha = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(window, nullptr, &alpha, nullptr));
    EXPECT_EQ(alpha, 128);
    manager->SetTransparent(300);
    EXPECT_EQ(manager->GetTransparent(), 255);
    EXPECT_EQ(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED, 0);

    // Layered attributes would make UpdateLayeredWindow fail: a per-pixel alpha window has
    // none, whichever came first.
    manager->SetTransparent(200);
    manager->SetBackgroundTransparent(true);
    Repaint();
    manager->SetTransparent(100);
    EXPECT_FALSE(::GetLayeredWindowAttributes(window, nullptr, &alpha, nullptr));
    EXPECT_NE(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_EQ(Layered(20, 20), kBlue);

    manager->SetInitSize(300, 150);
    EXPECT_EQ(manager->GetClientSize().cx, 200) << "a tree is attached: the size stays";
}

TEST(WindowShadow, PiecesGoToTheCornersAndTheContentInside) {
    // A 30 x 30 shadow image: each 10 x 10 cell (1 to 9, row by row) in its own
    // colour 0xFFc00000.
    std::vector<DWORD> pixels(900);
    for (int i = 0; i < 900; ++i)
        pixels[i] = 0xFF000000 | DWORD((i / 300) * 3 + (i % 30) / 10 + 1) << 20;
    skintest::HostWindow host((new CControlUI)->ApplyAttributeList(L"bkcolor=\"#FF2040C0\""));
    CPaintManagerUI& manager = host.manager;
    manager.SetBackgroundTransparent(true);
    manager.SetHasWindowShadow(true);
    manager.SetWindowShadowImage(L"shadow");
    manager.SetTopleftShadowRect(0, 0, 10, 10);
    manager.SetToprightShadowRect(20, 0, 10, 10);
    manager.SetBottomleftShadowRect(0, 20, 10, 10);
    manager.SetBottomrightShadowRect(20, 20, 10, 10);
    manager.CalMiddleShadowRect();
    manager.AddImage(L"shadow", SolidBitmap(30, 30, pixels), 30, 30, false);

    RECT content{0, 0, 200, 100};
    manager.DrawWindowShadow(content);
    const RECT inside{10, 10, 190, 90};
    EXPECT_TRUE(::EqualRect(&content, &inside));

    const HWND window = host.Open(200, 100);
    ASSERT_TRUE(skintest::PumpUntil([&] { return !host.notifications.empty(); }));
    ::UpdateWindow(window);
    const struct {
        int x, y, cell;
    } expected[] = {{0, 0, 1},  {100, 5, 2},  {199, 0, 3},  {5, 50, 4},  {195, 50, 6},
                    {0, 99, 7}, {100, 95, 8}, {199, 99, 9}, {10, 10, 0}, {189, 89, 0}};
    for (const auto& point : expected) {
        const DWORD color = point.cell == 0 ? kBlue : 0xFF000000 | DWORD(point.cell) << 20;
        EXPECT_EQ(BottomUpPixel(manager.GetBackgroundBitmap(), point.x, point.y), color)
            << point.x << "," << point.y;
    }
    ::DestroyWindow(window);
}

TEST(WindowShadow, RenderStringIsBoundedAndSigned) {
    CPaintManagerUI manager;
    manager.SetWindowShadowImage(L"s.png");
    wchar_t text[512];
    const RECT source{0, 0, 10, 10};
    ASSERT_TRUE(manager.GenerateShadowRenderString(source, RECT{-5, 0, 10, 10}, text, 512));
    EXPECT_STREQ(text, L"file='s.png' dest='-5,0,10,10' source='0,0,10,10'");
    EXPECT_FALSE(manager.GenerateShadowRenderString(source, source, text, 20));
    EXPECT_STREQ(text, L"");
    manager.SetWindowShadowImage(std::wstring(600, L'x').c_str());
    EXPECT_FALSE(manager.GenerateShadowRenderString(source, source, text, 512));
}

// A layout pass invalidates only what is not invalid already: the layered bitmap, which
// is repainted only where the window was invalidated, shows every control where it moved
// and nothing where it left.
TEST_F(PaintPaths, LayoutPassRepaintsWhereControlsLeftAndWhereTheyWent) {
    Open(true);
    CControlUI* middle = root->Add(new CControlUI, 90, 45, 20, 10);
    middle->SetBkColor(kGreen);
    Repaint();
    ASSERT_EQ(Layered(100, 50), kGreen);
    // Two corners first, then the middle, which lies between them and inside neither.
    opaque->SetFixedXY(SIZE{0, 0});
    translucent->SetFixedXY(SIZE{150, 70});
    middle->SetFixedXY(SIZE{95, 40});
    root->NeedUpdate();
    Repaint();
    EXPECT_EQ(Layered(5, 5), kBlue);
    EXPECT_EQ(Layered(55, 35), 0u) << "where the blue control left";
    EXPECT_EQ(Layered(102, 42), kGreen);
    EXPECT_EQ(Layered(92, 52), 0u) << "where the green control left";
    EXPECT_NE(Layered(175, 95), 0u);
}
