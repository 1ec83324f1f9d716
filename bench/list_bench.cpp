// A list of text items at 1,000, 10,000 and 100,000 items, each a row of three columns
// under a header, in a 600 x 400 window:
//
// 1. building the list from code (header, items, three cell texts each);
// 2. the first layout and paint of the window;
// 3. a repaint after a wheel step, half-way down the list;
// 4. moving the selection from the first item to the last with the Down key, one key
//    message at a time, and the paint after it;
// 5. heap bytes per item: the C runtime's heap in use after building, less before.
//
// Repeated steps report their best run: other work on the machine only ever adds time.
//
// Budgets: a repaint after scrolling costs at most 1.5 times as much at 100,000 items as at
// 1,000 (only the rows in view paint); layout grows at most linearly (per item, 100,000
// items cost at most 1.5 times what 1,000 cost); at most 2.5 KB of heap per item.

#include "control/ListHeaderItemUI.h"
#include "control/ListTextElementUI.h"
#include "control/ListUI.h"
#include "window/PaintManagerUI.h"
#include "window/WindowWnd.h"

#include <windows.h>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using namespace SkinUI;

namespace {

const int kWidth = 600;
const int kHeight = 400;
const int kScrollRuns = 60;

double Now() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

// Bytes in use on the C runtime's heap (where the framework's allocations go).
long long HeapInUse() {
    long long used = 0;
    _HEAPINFO entry{};
    while (_heapwalk(&entry) == _HEAPOK)
        if (entry._useflag == _USEDENTRY) used += static_cast<long long>(entry._size);
    return used;
}

class BenchWindow : public CWindowWnd {
public:
    explicit BenchWindow(CControlUI* root) : m_root(root) {}
    CPaintManagerUI manager;

protected:
    const wchar_t* GetWndClassName() const override { return L"SkinListBench"; }
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

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

CListUI* BuildList(int count) {
    auto* list = new CListUI;
    list->SetAttribute(L"vscrollbar", L"true");
    list->SetAttribute(L"itemtextpadding", L"4,0,4,0");
    const wchar_t* captions[] = {L"Name", L"Server", L"Level"};
    const int widths[] = {240, 200, 120};
    for (int c = 0; c < 3; ++c) {
        auto* column = new CListHeaderItemUI;
        column->SetText(captions[c]);
        column->SetFixedWidth(widths[c]);
        list->Add(column);
    }
    std::wstring text;
    for (int i = 0; i < count; ++i) {
        auto* item = new CListTextElementUI;
        list->Add(item);
        text = L"Player " + std::to_wstring(i);
        item->SetText(0, text.c_str());
        text = L"Server " + std::to_wstring(i % 17);
        item->SetText(1, text.c_str());
        text = std::to_wstring(1 + i % 90);
        item->SetText(2, text.c_str());
    }
    return list;
}

struct Result {
    int count;
    double buildMs;
    double firstPaintMs;
    double relayoutMs;
    double scrollPaintMs;
    double keysMs;
    double bytesPerItem;
    double laidOutBytesPerItem; ///< with what the first layout adds (the body's row places)
};

Result Measure(int count) {
    Result result{};
    result.count = count;
    const long long heapBefore = HeapInUse();
    double start = Now();
    CListUI* list = BuildList(count);
    result.buildMs = Now() - start;
    result.bytesPerItem = double(HeapInUse() - heapBefore) / count;

    BenchWindow window(list);
    start = Now();
    HWND hWnd = window.Create(nullptr, L"list bench", WS_POPUP, 0, 0, 0, kWidth, kHeight);
    if (hWnd == nullptr) return result;
    ShowWindow(hWnd, SW_SHOWNOACTIVATE);
    UpdateWindow(hWnd);
    GdiFlush();
    result.firstPaintMs = Now() - start;
    Pump();
    result.laidOutBytesPerItem = double(HeapInUse() - heapBefore) / count;

    // A layout of the whole list again, with its paint.
    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
        start = Now();
        list->NeedUpdate();
        UpdateWindow(hWnd);
        GdiFlush();
        times.push_back(Now() - start);
    }
    result.relayoutMs = *std::min_element(times.begin(), times.end());

    // Wheel steps down and up, half-way down the list, each painted.
    list->SetScrollPos(SIZE{0, list->GetScrollRange().cy / 2});
    UpdateWindow(hWnd);
    POINT centre{kWidth / 2, kHeight / 2};
    ClientToScreen(hWnd, &centre);
    times.clear();
    for (int run = -10; run < kScrollRuns; ++run) {
        const short delta = static_cast<short>(run % 2 == 0 ? -WHEEL_DELTA : WHEEL_DELTA);
        start = Now();
        SendMessageW(hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(centre.x, centre.y));
        UpdateWindow(hWnd);
        GdiFlush();
        if (run >= 0) times.push_back(Now() - start); // the first ones warm up
    }
    result.scrollPaintMs = *std::min_element(times.begin(), times.end());

    // The selection from the first item to the last, one key at a time, in the window
    // that has the keyboard focus.
    SetFocus(hWnd);
    list->SelectItem(0, true);
    UpdateWindow(hWnd);
    start = Now();
    for (int i = 1; i < count; ++i)
        SendMessageW(hWnd, WM_KEYDOWN, VK_DOWN, 0);
    UpdateWindow(hWnd);
    GdiFlush();
    result.keysMs = Now() - start;
    if (list->GetCurSel() != count - 1)
        std::printf("  (the selection stopped at %d)\n", list->GetCurSel());

    DestroyWindow(hWnd);
    Pump();
    return result;
}

} // namespace

int main() {
    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    std::vector<Result> results;
    Measure(1000); // warm-up: the first window of the process pays for more than its list
    for (int count : {1000, 10000, 100000})
        results.push_back(Measure(count));

    std::printf("%8s %9s %12s %9s %12s %12s %8s %10s %10s\n", "items", "build ms", "first paint",
                "relayout", "scroll+paint", "keys to end", "us/key", "heap B/it", "laid out");
    for (const Result& r : results)
        std::printf("%8d %9.1f %12.1f %9.1f %12.3f %12.1f %8.1f %10.0f %10.0f\n", r.count,
                    r.buildMs, r.firstPaintMs, r.relayoutMs, r.scrollPaintMs, r.keysMs,
                    r.keysMs * 1000.0 / (r.count - 1), r.bytesPerItem, r.laidOutBytesPerItem);

    // Where an item's bytes go: the control itself (most of it the base control's six
    // strings with their inline buffers), its three cell texts in blocks of their own
    // length, and a pointer and a remembered place in the body.
    std::printf("one text item: %u B of object (base control %u B, of which %u B in strings)\n",
                unsigned(sizeof(CListTextElementUI)), unsigned(sizeof(CControlUI)),
                unsigned(6 * sizeof(CSkinString)));

    const Result& small = results.front();
    const Result& large = results.back();
    const double scrollRatio = large.scrollPaintMs / small.scrollPaintMs;
    const double layoutRatio = (large.relayoutMs / large.count) / (small.relayoutMs / small.count);
    double worstBytes = 0;
    for (const Result& r : results)
        worstBytes = std::max(worstBytes, std::max(r.bytesPerItem, r.laidOutBytesPerItem));
    const bool scrollOk = scrollRatio <= 1.5;
    const bool layoutOk = layoutRatio <= 1.5;
    const bool heapOk = worstBytes <= 2560;
    std::printf("scroll+paint 100,000 / 1,000        %6.2f  (budget: at most 1.5) %s\n",
                scrollRatio, scrollOk ? "ok" : "OVER");
    std::printf("layout per item 100,000 / 1,000     %6.2f  (budget: at most 1.5) %s\n",
                layoutRatio, layoutOk ? "ok" : "OVER");
    std::printf("heap per item, worst                %6.0f B (budget: at most 2560) %s\n",
                worstBytes, heapOk ? "ok" : "OVER");
    return scrollOk && layoutOk && heapOk ? 0 : 1;
}
