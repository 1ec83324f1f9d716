// The paint paths of a window built by hand: the double-buffered path read back through
// WM_PRINTCLIENT and GenerateBitmap, the per-pixel alpha path read back from the layered
// bitmap, partial repaints, the window shadow and the window's opacity.
#include "render/RenderEngine.h"
#include "render/RenderTestSupport.h"
#include "support/SkinTestKit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace SkinUI;
using RenderTest::PixelNear;

namespace {

// A control that writes its text in black, centred, in the default font.
class TextControl : public CControlUI {
public:
    void PaintText(HDC hDC) override {
        RECT rc = m_rcItem;
        CRenderEngine::DrawTextW(hDC, m_pManager, rc, GetText(), 0xFF000000, -1,
                                 DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
};

// The test container, painting its children over itself as containers do.
class PaintingContainer : public skintest::TestContainer {
public:
    void DoPaint(HDC hDC, const RECT& paintRect) override {
        CControlUI::DoPaint(hDC, paintRect);
        for (int i = 0; i < GetCount(); ++i)
            GetItemAt(i)->DoPaint(hDC, paintRect);
    }
};

// Counts the calls the manager makes after painting the tree.
class PostPaintControl : public CControlUI {
public:
    void DoPostPaint(HDC, const RECT&) override { ++calls; }
    int calls = 0;
};

// A 32-bit top-down DIB of the given pixels, for the image cache to own.
HBITMAP MakeBitmap(int width, int height, const std::vector<DWORD>& pixels) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::memcpy(bits, pixels.data(), pixels.size() * sizeof(DWORD));
    return bitmap;
}

// A pixel of a bottom-up 32-bit DIB section, as 0xAARRGGBB.
DWORD BottomUpPixel(HBITMAP bitmap, int x, int y) {
    DIBSECTION section{};
    if (::GetObjectW(bitmap, sizeof(section), &section) != static_cast<int>(sizeof(section)))
        return 0xDEADBEEF;
    ::GdiFlush();
    const int row = section.dsBm.bmHeight - 1 - y;
    const auto* bits = static_cast<const BYTE*>(section.dsBm.bmBits);
    return reinterpret_cast<const DWORD*>(bits + row * section.dsBm.bmWidthBytes)[x];
}

constexpr DWORD kBlue = 0xFF2040C0;
constexpr DWORD kRedHalf = 0x80FF0000;
constexpr DWORD kGreen = 0xFF00A000;
constexpr DWORD kImageColor = 0xFF336699;

class PaintPaths : public ::testing::Test {
protected:
    // The tree of every test, on a 200 x 100 client area:
    //   opaque (10,10,60,40), translucent (70,10,120,40), bordered (130,10,180,40),
    //   image (10,50,60,80), text (70,50,190,90); the root has no background.
    void Open(bool layered) {
        root = new PaintingContainer;
        opaque = Place(new CControlUI, 10, 10, 50, 30);
        opaque->SetBkColor(kBlue);
        translucent = Place(new CControlUI, 70, 10, 50, 30);
        translucent->SetBkColor(kRedHalf);
        bordered = Place(new CControlUI, 130, 10, 50, 30);
        bordered->SetBorderColor(kGreen);
        bordered->SetBorderSize(2);
        image = Place(new CControlUI, 10, 50, 50, 30);
        image->SetBkImage(L"file='cell' corner='1,1,1,1'");
        text = Place(new TextControl, 70, 50, 120, 40);
        text->SetText(L"WWW");
        host = new skintest::HostWindow(root);
        manager = &host->manager;
        manager->SetBackgroundTransparent(layered);
        ASSERT_NE(manager->AddImage(L"cell", MakeBitmap(4, 4, std::vector<DWORD>(16, kImageColor)),
                                    4, 4, false),
                  nullptr);
        window = host->Open(200, 100);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(skintest::PumpUntil([this] { return !host->notifications.empty(); }));
        Repaint();
    }
    template <class T> T* Place(T* control, int x, int y, int cx, int cy) {
        root->Add(control, x, y, cx, cy);
        return control;
    }
    void Repaint() {
        ::UpdateWindow(window);
        skintest::PumpMessages();
    }
    DWORD Layered(int x, int y) { return BottomUpPixel(manager->GetBackgroundBitmap(), x, y); }
    void TearDown() override {
        if (window != nullptr && ::IsWindow(window)) ::DestroyWindow(window);
        delete host;
        skintest::PumpMessages();
    }

    PaintingContainer* root = nullptr;
    CControlUI* opaque = nullptr;
    CControlUI* translucent = nullptr;
    CControlUI* bordered = nullptr;
    CControlUI* image = nullptr;
    CControlUI* text = nullptr;
    skintest::HostWindow* host = nullptr;
    CPaintManagerUI* manager = nullptr;
    HWND window = nullptr;
};

int CountInked(const RenderTest::Surface& surface, const RECT& area) {
    int inked = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            inked += surface.Pixel(x, y) != 0xFFFFFFFF ? 1 : 0;
    return inked;
}

} // namespace

TEST_F(PaintPaths, NormalWindowPrintsTheTree) {
    Open(false);
    // A 24-bit surface, like the screen: no alpha to look after.
    RenderTest::Surface surface(200, 100, 0xFFFFFFFF, 24);
    ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.dc()), PRF_CLIENT);
    EXPECT_EQ(surface.Pixel(20, 20), kBlue);
    EXPECT_TRUE(PixelNear(surface.Pixel(90, 20), 0xFFFF7F7F)) << "half red over white";
    EXPECT_EQ(surface.Pixel(130, 20), kGreen);
    EXPECT_EQ(surface.Pixel(150, 25), 0xFFFFFFFFu) << "inside the border nothing is drawn";
    EXPECT_EQ(surface.Pixel(30, 65), kImageColor);
    EXPECT_GT(CountInked(surface, RECT{70, 50, 190, 90}), 20) << "the text";
    EXPECT_EQ(surface.Pixel(195, 5), 0xFFFFFFFFu);

    // GenerateBitmap paints a control the same way, into a bottom-up snapshot.
    HBITMAP snapshot = CRenderEngine::GenerateBitmap(manager, root, RECT{10, 10, 130, 40});
    ASSERT_NE(snapshot, nullptr);
    EXPECT_EQ(BottomUpPixel(snapshot, 5, 5) & 0xFFFFFF, kBlue & 0xFFFFFF);
    ::DeleteObject(snapshot);
    EXPECT_EQ(CRenderEngine::GenerateBitmap(manager, root, RECT{0, 0, 0, 0}), nullptr);
}

TEST_F(PaintPaths, NormalPaintRunsThePostPaintControls) {
    Open(false);
    PostPaintControl after;
    manager->AddPostPaint(&after);
    ::InvalidateRect(window, nullptr, FALSE);
    Repaint();
    EXPECT_EQ(after.calls, 1);
    manager->RemovePostPaint(&after);
    EXPECT_EQ(manager->GetBackgroundBitmap(), nullptr) << "the layered bitmap is not made";
}

TEST_F(PaintPaths, LayeredWindowKeepsWhatControlsDrawOpaque) {
    Open(true);
    EXPECT_NE(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    ASSERT_NE(manager->GetBackgroundBitmap(), nullptr);
    EXPECT_EQ(Layered(2, 2), 0u) << "nothing drawn: transparent";
    EXPECT_EQ(Layered(20, 20), kBlue);
    EXPECT_TRUE(PixelNear(Layered(90, 20), 0x80800000)) << "premultiplied half red";
    EXPECT_EQ(Layered(130, 20), kGreen) << "GDI borders stay opaque";
    EXPECT_EQ(Layered(150, 25), 0u);
    EXPECT_EQ(Layered(30, 65), kImageColor) << "an opaque image stays opaque";
    int opaqueText = 0;
    for (int y = 50; y < 90; ++y)
        for (int x = 70; x < 190; ++x)
            opaqueText += Layered(x, y) >> 24 == 0xFF ? 1 : 0;
    EXPECT_GT(opaqueText, 10) << "text is visible";
    // Everywhere the colour is valid premultiplied: no channel above alpha.
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            const DWORD pixel = Layered(x, y);
            const DWORD alpha = pixel >> 24;
            ASSERT_TRUE(((pixel >> 16) & 0xFF) <= alpha && ((pixel >> 8) & 0xFF) <= alpha &&
                        (pixel & 0xFF) <= alpha)
                << x << "," << y << " " << RenderTest::Hex(pixel);
        }
}

TEST_F(PaintPaths, LayeredRepaintRedrawsOnlyTheChangedPartFromScratch) {
    Open(true);
    translucent->SetBkColor(0x40FF0000); // invalidates just that control
    opaque->SetBkColor(0xFF000000 | 0x123456);
    ::ValidateRect(window, &opaque->GetPos()); // so only the translucent one repaints
    Repaint();
    EXPECT_TRUE(PixelNear(Layered(90, 20), 0x40400000)) << "not blended over the old colour";
    EXPECT_EQ(Layered(20, 20), kBlue) << "outside the update nothing changed";
    EXPECT_EQ(Layered(130, 20), kGreen);
}

TEST_F(PaintPaths, OpacityOfNormalAndLayeredWindows) {
    Open(false);
    manager->SetTransparent(128);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 128);
    manager->SetTransparent(300);
    EXPECT_EQ(manager->GetTransparent(), 255);
    EXPECT_EQ(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED, 0);

    // Made layered by attributes first, the window must still take per-pixel alpha.
    manager->SetTransparent(200);
    manager->SetBackgroundTransparent(true);
    Repaint();
    EXPECT_FALSE(::GetLayeredWindowAttributes(window, nullptr, &alpha, &flags))
        << "attributes would make UpdateLayeredWindow fail";
    EXPECT_NE(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    manager->SetTransparent(100);
    EXPECT_EQ(manager->GetTransparent(), 100);
    EXPECT_FALSE(::GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
    EXPECT_EQ(Layered(20, 20), kBlue);
}

TEST_F(PaintPaths, InitSizeResizesOnlyBeforeATreeIsAttached) {
    Open(false);
    manager->SetInitSize(300, 150);
    EXPECT_EQ(manager->GetClientSize().cx, 200);
    EXPECT_EQ(manager->GetInitSize().cx, 300);
    skintest::HostWindow bare;
    ASSERT_NE(bare.Open(100, 100), nullptr);
    bare.manager.SetInitSize(120, 80);
    EXPECT_EQ(bare.manager.GetClientSize().cx, 120);
    EXPECT_EQ(bare.manager.GetClientSize().cy, 80);
    ::DestroyWindow(bare.GetHWND());
}

// ---------------------------------------------------------------------------
// Window shadow

TEST(WindowShadow, PiecesGoToTheCornersAndTheContentInside) {
    // A 30 x 30 shadow image: each of the nine 10 x 10 cells in its own colour.
    const DWORD cells[3][3] = {{0xFF110000, 0xFF220000, 0xFF330000},
                               {0xFF440000, 0xFF550000, 0xFF660000},
                               {0xFF770000, 0xFF880000, 0xFF990000}};
    std::vector<DWORD> pixels(900);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            pixels[y * 30 + x] = cells[y / 10][x / 10];
    auto* root = new CControlUI;
    root->SetBkColor(kBlue);
    skintest::HostWindow host(root);
    CPaintManagerUI& manager = host.manager;
    manager.SetBackgroundTransparent(true);
    manager.SetHasWindowShadow(true);
    manager.SetWindowShadowImage(L"shadow");
    manager.SetTopleftShadowRect(0, 0, 10, 10);
    manager.SetToprightShadowRect(20, 0, 10, 10);
    manager.SetBottomleftShadowRect(0, 20, 10, 10);
    manager.SetBottomrightShadowRect(20, 20, 10, 10);
    manager.CalMiddleShadowRect();
    ASSERT_NE(manager.AddImage(L"shadow", MakeBitmap(30, 30, pixels), 30, 30, false), nullptr);

    RECT content{0, 0, 200, 100};
    manager.DrawWindowShadow(content);
    EXPECT_EQ(content.left, 10);
    EXPECT_EQ(content.top, 10);
    EXPECT_EQ(content.right, 190);
    EXPECT_EQ(content.bottom, 90);

    const HWND window = host.Open(200, 100);
    ASSERT_TRUE(skintest::PumpUntil([&] { return !host.notifications.empty(); }));
    ::UpdateWindow(window);
    const HBITMAP bitmap = manager.GetBackgroundBitmap();
    ASSERT_NE(bitmap, nullptr);
    const struct {
        int x, y;
        DWORD color;
    } expected[] = {{0, 0, cells[0][0]},    {199, 0, cells[0][2]},  {0, 99, cells[2][0]},
                    {199, 99, cells[2][2]}, {100, 5, cells[0][1]},  {100, 95, cells[2][1]},
                    {5, 50, cells[1][0]},   {195, 50, cells[1][2]}, {10, 10, kBlue},
                    {189, 89, kBlue},       {100, 50, kBlue}};
    for (const auto& point : expected)
        EXPECT_EQ(BottomUpPixel(bitmap, point.x, point.y), point.color)
            << point.x << "," << point.y;
    ::DestroyWindow(window);
}

TEST(WindowShadow, RenderStringIsBoundedAndSigned) {
    CPaintManagerUI manager;
    manager.SetWindowShadowImage(L"s.png");
    wchar_t text[512];
    ASSERT_TRUE(
        manager.GenerateShadowRenderString(RECT{0, 0, 10, 10}, RECT{-5, 0, 10, 10}, text, 512));
    EXPECT_STREQ(text, L"file='s.png' dest='-5,0,10,10' source='0,0,10,10'");
    EXPECT_FALSE(
        manager.GenerateShadowRenderString(RECT{0, 0, 10, 10}, RECT{0, 0, 10, 10}, text, 20));
    EXPECT_STREQ(text, L"");
    manager.SetWindowShadowImage(std::wstring(600, L'x').c_str());
    EXPECT_FALSE(
        manager.GenerateShadowRenderString(RECT{0, 0, 10, 10}, RECT{0, 0, 10, 10}, text, 512));
}
