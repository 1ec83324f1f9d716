// HTML-like text: CRenderEngine::DrawHtmlText of a formatted paragraph of about 2 KB
// (bold, colour and link runs) wrapped to 400 pixels, against the system's DrawTextW with
// DT_WORDBREAK of the same text without its tags, in the same run, into the same kind of
// surface a normal window paints into. Best of several rounds of many draws each.
//
// Budget: DrawHtmlText takes at most 4 times as long as DrawTextW.

#include "render/RenderEngine.h"
#include "window/PaintManagerUI.h"

#include <windows.h>

#include <cstdio>
#include <string>

using SkinUI::CPaintManagerUI;
using SkinUI::CRenderEngine;
using SkinUI::CSkinString;

namespace {

const int kRounds = 15;
const int kDrawsPerRound = 20;
const int kWidth = 400;
const int kHeight = 1200;

const wchar_t* const kWords[] = {L"client", L"window", L"skin",  L"layout", L"render", L"button",
                                 L"paint",  L"tray",   L"login", L"game",   L"server", L"the",
                                 L"a",      L"of",     L"and",   L"text",   L"image",  L"frame",
                                 L"link",   L"shows",  L"draws"};

// The paragraph with its tags, and the same words without them.
void MakeParagraph(std::wstring& markup, std::wstring& plain) {
    unsigned state = 2024;
    const auto next = [&state](unsigned bound) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % bound;
    };
    while (markup.size() < 2048) {
        std::wstring word = kWords[next(sizeof(kWords) / sizeof(kWords[0]))];
        if (next(9) == 0) word += L",";
        plain += word + L" ";
        switch (next(8)) {
        case 0:
            markup += L"<b>" + word + L"</b> ";
            break;
        case 1:
            markup += L"<c #CC3300>" + word + L"</c> ";
            break;
        case 2:
            markup += L"<a http://varnel.example/" + word + L">" + word + L"</a> ";
            break;
        default:
            markup += word + L" ";
            break;
        }
    }
}

double Seconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

// A bitmap like a normal window's back buffer, selected into a memory DC while it lives.
struct Canvas {
    Canvas()
        : screen(GetDC(nullptr)), dc(CreateCompatibleDC(screen)),
          bitmap(CreateCompatibleBitmap(screen, kWidth, kHeight)), old(SelectObject(dc, bitmap)) {}
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC screen;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

// Seconds per draw of each of the two, best of the rounds; the rounds alternate between
// them, so that a busy moment of the machine does not fall on one of them only.
template <typename First, typename Second>
void BestRounds(First first, Second second, double& firstBest, double& secondBest) {
    firstBest = secondBest = 1e30;
    const auto time = [](auto draw) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        for (int i = 0; i < kDrawsPerRound; ++i)
            draw();
        GdiFlush();
        QueryPerformanceCounter(&end);
        return Seconds(start, end) / kDrawsPerRound;
    };
    for (int round = 0; round < kRounds; ++round) {
        const double a = time(first);
        const double b = time(second);
        if (a < firstBest) firstBest = a;
        if (b < secondBest) secondBest = b;
    }
}

} // namespace

int main() {
    std::wstring markup;
    std::wstring plain;
    MakeParagraph(markup, plain);

    CPaintManagerUI manager;
    Canvas canvas;
    HDC dc = canvas.dc;
    const RECT area{0, 0, kWidth, kHeight};
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

    RECT links[8];
    CSkinString targets[8];
    const HFONT font = manager.GetDefaultFontInfo()->font;
    double html = 0;
    double system = 0;
    BestRounds(
        [&] {
            RECT rc = area;
            int count = 8;
            CRenderEngine::DrawHtmlText(dc, &manager, rc, markup.c_str(), 0xFF202020, links,
                                        targets, count, DT_WORDBREAK);
        },
        [&] {
            RECT rc = area;
            HGDIOBJ old = SelectObject(dc, font);
            SetBkMode(dc, TRANSPARENT);
            ::DrawTextW(dc, plain.c_str(), -1, &rc, DT_WORDBREAK | DT_NOPREFIX);
            SelectObject(dc, old);
        },
        html, system);
    HGDIOBJ oldFont = SelectObject(dc, font);
    RECT htmlSize = area;
    int none = 0;
    CRenderEngine::DrawHtmlText(dc, &manager, htmlSize, markup.c_str(), 0, nullptr, nullptr, none,
                                DT_WORDBREAK | DT_CALCRECT);
    RECT plainSize = area;
    ::DrawTextW(dc, plain.c_str(), -1, &plainSize, DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
    SelectObject(dc, oldFont);

    std::printf("paragraph: %zu characters of markup, %zu of plain text, wrapped to %d pixels\n",
                markup.size(), plain.size(), kWidth);
    std::printf("  DrawHtmlText %d pixels high, DrawTextW %d pixels high\n",
                static_cast<int>(htmlSize.bottom), static_cast<int>(plainSize.bottom));
    std::printf("DrawHtmlText  %8.3f ms\n", html * 1000);
    std::printf("DrawTextW     %8.3f ms\n", system * 1000);
    const double ratio = html / system;
    std::printf("ratio         %8.2f  (budget: at most 4.00) %s\n", ratio,
                ratio <= 4.0 ? "OK" : "OVER BUDGET");

    // A button's text, centred both ways: the case drawn most often.
    double label = 0;
    double labelSystem = 0;
    const RECT button{0, 0, 120, 30};
    BestRounds(
        [&] {
            RECT rc = button;
            int none = 0;
            CRenderEngine::DrawHtmlText(dc, &manager, rc, L"<b>Log in</b> <c #C00000>now</c>",
                                        0xFF202020, nullptr, nullptr, none,
                                        DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        },
        [&] {
            RECT rc = button;
            CRenderEngine::DrawTextW(dc, &manager, rc, L"Log in now", 0xFF202020, -1,
                                     DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        },
        label, labelSystem);
    std::printf("button text: DrawHtmlText %.3f ms, DrawTextW %.3f ms (for comparison)\n",
                label * 1000, labelSystem * 1000);
    return 0;
}
