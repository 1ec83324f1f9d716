// Paint throughput of a skinned window, measured in the same run against the floor of
// putting one frame of that size on the screen.
//
// 1. Full paint of a 1286 x 768 window (nine-grid background, twenty image buttons with a
//    state image, a border and a caption, a few labels, one on a translucent band) through
//    WM_PAINT: the tree painted
//    into the off-screen buffer and copied to the window. Budget: within 10 times the
//    floor, a window of the same size whose WM_PAINT only copies a ready 1286 x 768 bitmap
//    (BitBlt) in the same paint cycle. The bare BitBlt into the window's DC is printed
//    too: under Wine it only fills the window's surface, which reaches the X server later,
//    outside its timing, while a paint cycle pushes its frame out at EndPaint.
// 2. Full update of the 1112 x 645 per-pixel alpha login window, UpdateLayeredWindow
//    included: the client's own login.xml built from its skin archive (build/app/skin.zip),
//    with the two buttons placed where the client puts them. Budget: 8 ms. A heavier tree of
//    the same size (eight captioned buttons and three text labels over the picture) is
//    printed too, and UpdateLayeredWindow of a ready bitmap of that size as the floor.
//
// Images are made in memory and handed to the image cache. Median of many runs.

#include "control/ControlUI.h"
#include "core/DialogBuilder.h"
#include "core/StdPtrArray.h"
#include "render/RenderEngine.h"
#include "window/PaintManagerUI.h"
#include "window/WindowWnd.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace SkinUI;

namespace {

const int kRuns = 60;

double Milliseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(end.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

template <class Step> double MedianMs(Step step) {
    std::vector<double> times;
    step(); // warm-up: first loads, buffers
    for (int run = 0; run < kRuns; ++run) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        step();
        QueryPerformanceCounter(&end);
        times.push_back(Milliseconds(start, end));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A premultiplied 32-bit top-down DIB filled by `shade(x, y)` (0xAARRGGBB, premultiplied).
template <class Shade> HBITMAP MakeImage(int width, int height, Shade shade) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* pixels = static_cast<DWORD*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[y * width + x] = shade(x, y);
    return bitmap;
}

// The login window's picture: opaque, its masked corners transparent.
DWORD LoginPicture(int x, int y) {
    const int dx = x < 12 ? 12 - x : x > 1099 ? x - 1099 : 0;
    const int dy = y < 12 ? 12 - y : y > 632 ? y - 632 : 0;
    if (dx * dx + dy * dy > 144) return 0;
    return 0xFF000000 | DWORD(y * 255 / 645) << 16 | 0x6080;
}

// Registers the skin's images with a manager, as the skins of the client have them: the
// game window's background is a small opaque frame stretched as a nine-grid, the login
// window's a picture of the window's size whose masked corners are transparent.
void AddImages(CPaintManagerUI& manager, bool layered) {
    if (!layered) {
        manager.AddImage(L"bg.png",
                         MakeImage(64, 64,
                                   [](int x, int y) -> DWORD {
                                       const bool edge = x < 10 || y < 32 || x >= 54 || y >= 54;
                                       return edge ? 0xFF203040 : 0xFFE0E8F0;
                                   }),
                         64, 64, false);
    } else {
        // The manager blends every image of a per-pixel alpha window.
        manager.AddImage(L"bg.png", MakeImage(1112, 645, LoginPicture), 1112, 645, true);
    }
    // Three 27 x 27 states side by side, round and antialiased: per-pixel alpha.
    manager.AddImage(L"btn.png",
                     MakeImage(81, 27,
                               [](int x, int y) -> DWORD {
                                   const int dx = x % 27 - 13;
                                   const int dy = y - 13;
                                   const int d = dx * dx + dy * dy;
                                   if (d > 169) return 0;
                                   const DWORD a = d > 144 ? 0x80 : 0xFF;
                                   const DWORD c = (0x40 + 0x30 * (x / 27)) * a / 255;
                                   return (a << 24) | (c << 16) | (c << 8) | (a * 3 / 4);
                               }),
                     81, 27, true);
}

// A button made of the base control: background image, a state image and a caption.
class ImageButton : public CControlUI {
public:
    void PaintStatusImage(HDC hDC) override {
        DrawImage(hDC, L"file='btn.png' source='27,0,54,27'", L"dest='2,2,25,25'");
    }
    void PaintText(HDC hDC) override {
        RECT rc = m_rcItem;
        rc.left += 30;
        CRenderEngine::DrawTextW(hDC, m_pManager, rc, GetText(), 0xFF202020, -1,
                                 DT_SINGLELINE | DT_VCENTER);
    }
};

class Label : public CControlUI {
public:
    void PaintText(HDC hDC) override {
        RECT rc = m_rcItem;
        CRenderEngine::DrawTextW(hDC, m_pManager, rc, GetText(), 0xFF000000, 0,
                                 DT_WORDBREAK | DT_END_ELLIPSIS);
    }
};

// The least container: owns its children, places them at their fixed positions and
// paints them over itself.
class Panel : public CControlUI {
public:
    ~Panel() override {
        for (int i = 0; i < m_children.GetSize(); ++i)
            delete static_cast<CControlUI*>(m_children[i]);
    }
    void Add(CControlUI* child, int x, int y, int cx, int cy) {
        child->SetFixedXY(SIZE{x, y});
        child->SetFixedWidth(cx);
        child->SetFixedHeight(cy);
        m_children.Add(child);
    }
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) override {
        for (int i = 0; i < m_children.GetSize(); ++i)
            static_cast<CControlUI*>(m_children[i])->SetManager(manager, this, init);
        CControlUI::SetManager(manager, parent, init);
    }
    void SetPos(RECT rect) override {
        CControlUI::SetPos(rect);
        for (int i = 0; i < m_children.GetSize(); ++i) {
            auto* child = static_cast<CControlUI*>(m_children[i]);
            const SIZE xy = child->GetFixedXY();
            child->SetPos(RECT{rect.left + xy.cx, rect.top + xy.cy,
                               rect.left + xy.cx + child->GetFixedWidth(),
                               rect.top + xy.cy + child->GetFixedHeight()});
        }
    }
    void DoPaint(HDC hDC, const RECT& paintRect) override {
        CControlUI::DoPaint(hDC, paintRect);
        for (int i = 0; i < m_children.GetSize(); ++i)
            static_cast<CControlUI*>(m_children[i])->DoPaint(hDC, paintRect);
    }

private:
    CStdPtrArray m_children;
};

Panel* BuildTree(int width, int height, int buttons, bool layered) {
    auto* root = new Panel;
    root->SetBkImage(layered ? L"file='bg.png'" : L"file='bg.png' corner='10,32,10,10'");
    auto* title = new Label;
    title->SetText(L"Varnel \x6E38\x620F\x5BA2\x6237\x7AEF");
    root->Add(title, 16, 8, 300, 20);
    for (int i = 0; i < buttons; ++i) {
        auto* button = new ImageButton;
        button->SetText(L"Button");
        button->SetBorderColor(0xFF8090A0);
        button->SetBorderSize(1);
        button->SetBorderRound(SIZE{6, 6});
        root->Add(button, 20 + (i % 5) * (width - 40) / 5, 60 + (i / 5) * 60, 120, 29);
    }
    for (int i = 0; i < 3; ++i) {
        auto* label = new Label;
        label->SetText(L"The quick brown fox jumps over the lazy dog; "
                       L"\x5FEB\x901F\x7684\x68D5\x8272\x72D0\x72F8.");
        if (i == 0) label->SetBkColor(0x40FFFFFF); // a translucent band
        root->Add(label, 20, height - 150 + i * 40, width - 40, 32);
    }
    return root;
}

class BenchWindow : public CWindowWnd {
public:
    BenchWindow(CControlUI* root, bool layered) : m_root(root) {
        manager.SetBackgroundTransparent(layered);
        AddImages(manager, layered);
    }
    CPaintManagerUI manager;

protected:
    const wchar_t* GetWndClassName() const override { return L"SkinPaintBench"; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CREATE) {
            manager.Init(GetHWND());
            manager.AttachDialog(m_root);
        }
        LRESULT result = 0;
        if (manager.MessageHandler(message, wParam, lParam, result)) return result;
        return CWindowWnd::HandleMessage(message, wParam, lParam);
    }

private:
    CControlUI* m_root;
};

// A window whose paint only copies a ready frame: the floor of any double-buffered paint.
class FrameWindow : public CWindowWnd {
public:
    HDC frame = nullptr;

protected:
    const wchar_t* GetWndClassName() const override { return L"SkinPaintBenchFloor"; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_ERASEBKGND) return 1;
        if (message != WM_PAINT) return CWindowWnd::HandleMessage(message, wParam, lParam);
        PAINTSTRUCT ps;
        HDC hDC = BeginPaint(GetHWND(), &ps);
        const RECT& rc = ps.rcPaint;
        BitBlt(hDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, frame, rc.left, rc.top,
               SRCCOPY);
        EndPaint(GetHWND(), &ps);
        return 0;
    }
};

// The client's login window: its skin from the client's archive, its buttons placed as the
// client places them.
class LoginWindow : public CWindowWnd {
public:
    LoginWindow() { manager.SetBackgroundTransparent(true); }
    CPaintManagerUI manager;

protected:
    const wchar_t* GetWndClassName() const override { return L"SkinPaintBenchLogin"; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CREATE) {
            manager.Init(GetHWND());
            CDialogBuilder builder;
            CControlUI* root = builder.Create(STRINGorID(L"login.xml"), nullptr, nullptr, &manager);
            if (root == nullptr) return -1;
            manager.AttachDialog(root);
            Place(L"minbtn", 981, 108, 21, 21);
            Place(L"closebtn", 1009, 124, 26, 26);
        }
        LRESULT result = 0;
        if (manager.MessageHandler(message, wParam, lParam, result)) return result;
        return CWindowWnd::HandleMessage(message, wParam, lParam);
    }

private:
    void Place(const wchar_t* name, int x, int y, int cx, int cy) {
        if (CControlUI* button = manager.FindControl(name)) {
            button->SetFloat(true);
            button->SetFixedXY(SIZE{x, y});
            button->SetFixedWidth(cx);
            button->SetFixedHeight(cy);
        }
    }
};

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

HWND OpenWindow(CWindowWnd& window, int width, int height) {
    HWND hWnd = window.Create(nullptr, L"paint bench", WS_POPUP, 0, 0, 0, width, height);
    if (hWnd == nullptr) return nullptr;
    ShowWindow(hWnd, SW_SHOWNOACTIVATE);
    UpdateWindow(hWnd);
    Pump();
    return hWnd;
}

void Repaint(HWND hWnd) {
    InvalidateRect(hWnd, nullptr, FALSE);
    UpdateWindow(hWnd);
}

} // namespace

int main() {
    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    int status = 0;

    // 1. Double-buffered paint against one frame copy.
    const int width = 1286;
    const int height = 768;
    FrameWindow floorWindow;
    HWND floorHandle =
        floorWindow.Create(nullptr, L"paint bench floor", WS_POPUP, 0, 0, 0, width, height);
    BenchWindow normal(BuildTree(width, height, 20, false), false);
    HWND normalWindow = OpenWindow(normal, width, height);
    if (floorHandle == nullptr || normalWindow == nullptr) {
        std::printf("cannot open the windows\n");
        return 1;
    }
    HDC floorDC = GetDC(floorHandle);
    HDC frameDC = CreateCompatibleDC(floorDC);
    HBITMAP frame = CreateCompatibleBitmap(floorDC, width, height);
    HGDIOBJ oldFrame = SelectObject(frameDC, frame);
    PatBlt(frameDC, 0, 0, width, height, WHITENESS);
    floorWindow.frame = frameDC;
    ShowWindow(floorHandle, SW_SHOWNOACTIVATE);
    Pump();
    const double bareCopyMs = MedianMs([&] {
        BitBlt(floorDC, 0, 0, width, height, frameDC, 0, 0, SRCCOPY);
        GdiFlush();
    });
    const double frameMs = MedianMs([&] {
        Repaint(floorHandle);
        GdiFlush();
    });
    ShowWindow(floorHandle, SW_HIDE);
    const double paintMs = MedianMs([&] {
        Repaint(normalWindow);
        GdiFlush();
    });
    SelectObject(frameDC, oldFrame);
    DeleteObject(frame);
    DeleteDC(frameDC);
    ReleaseDC(floorHandle, floorDC);
    DestroyWindow(floorHandle);
    DestroyWindow(normalWindow);
    const double ratio = paintMs / frameMs;
    std::printf("full paint %dx%d              %8.3f ms\n", width, height, paintMs);
    std::printf("floor: frame copy in WM_PAINT    %8.3f ms\n", frameMs);
    std::printf("bare BitBlt into the window DC   %8.3f ms  (ratio %.1f)\n", bareCopyMs,
                paintMs / bareCopyMs);
    std::printf("ratio paint/floor                %8.2f  (budget: at most 10) %s\n", ratio,
                ratio <= 10.0 ? "OK" : "OVER BUDGET");
    if (ratio > 10.0) status = 1;

    // 2. Per-pixel alpha windows, UpdateLayeredWindow included.
    const int layeredWidth = 1112;
    const int layeredHeight = 645;
    wchar_t folder[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, folder, MAX_PATH);
    *wcsrchr(folder, L'\\') = L'\0';
    wcscat_s(folder, L"\\..\\app\\");
    CPaintManagerUI::SetResourcePath(folder);
    CPaintManagerUI::SetResourceZip(L"skin.zip", true);
    LoginWindow login;
    HWND loginWindow = OpenWindow(login, layeredWidth, layeredHeight);
    if (loginWindow == nullptr || login.manager.GetBackgroundBitmap() == nullptr) {
        std::printf("cannot open the login window from %ls\n", folder);
        return 1;
    }
    const double loginMs = MedianMs([&] {
        Repaint(loginWindow);
        GdiFlush();
    });
    RECT place;
    GetWindowRect(loginWindow, &place);
    DestroyWindow(loginWindow);

    BenchWindow layered(BuildTree(layeredWidth, layeredHeight, 8, true), true);
    HWND layeredWindow = OpenWindow(layered, layeredWidth, layeredHeight);
    if (layeredWindow == nullptr || layered.manager.GetBackgroundBitmap() == nullptr) {
        std::printf("cannot open the layered window\n");
        return 1;
    }
    const double layeredMs = MedianMs([&] {
        Repaint(layeredWindow);
        GdiFlush();
    });
    // A hover: one button repainted.
    const RECT hovered = {20, 60, 140, 89};
    const double hoverMs = MedianMs([&] {
        InvalidateRect(layeredWindow, &hovered, FALSE);
        UpdateWindow(layeredWindow);
        GdiFlush();
    });
    // The floor: pushing a finished bitmap of that size.
    HBITMAP finished = MakeImage(layeredWidth, layeredHeight, LoginPicture);
    HDC pushDC = CreateCompatibleDC(nullptr);
    HGDIOBJ oldPush = SelectObject(pushDC, finished);
    GetWindowRect(layeredWindow, &place);
    POINT position{place.left, place.top};
    SIZE size{layeredWidth, layeredHeight};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    std::fflush(stdout);
    const double pushMs = MedianMs([&] {
        UpdateLayeredWindow(layeredWindow, nullptr, &position, &size, pushDC, &origin, 0, &blend,
                            ULW_ALPHA);
    });
    SelectObject(pushDC, oldPush);
    DeleteDC(pushDC);
    DeleteObject(finished);
    DestroyWindow(layeredWindow);
    std::printf("login window update %dx%d     %8.3f ms  (budget: at most 8 ms) %s\n", layeredWidth,
                layeredHeight, loginMs, loginMs <= 8.0 ? "OK" : "OVER BUDGET");
    std::printf("floor: UpdateLayeredWindow alone %8.3f ms; painting %.3f ms\n", pushMs,
                loginMs - pushMs);
    std::printf("heavier layered tree, same size  %8.3f ms; painting %.3f ms\n", layeredMs,
                layeredMs - pushMs);
    std::printf("layered repaint of one button    %8.3f ms\n", hoverMs);
    if (loginMs > 8.0) status = 1;
    return status;
}
