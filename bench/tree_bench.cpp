// A tree view of 1,000, 10,000 and 100,000 nodes (10 roots, each with 10 folders of
// leaves) built from skin markup in a 600 x 400 window:
//
// 1. building the tree from the markup text;
// 2. the first layout and paint of the window;
// 3. folding the first root with its folder button and unfolding it again, each painted;
// 4. checking the first root's box, which checks its whole subtree;
// 5. adding 100 leaves under a folder in the middle of the rows, one at a time.
//
// Budgets: building and the first paint grow at most linearly (per node, 100,000 nodes
// cost at most 1.5 times what 10,000 cost; 1,000 fit in the caches and are no measure);
// adding one leaf costs at most what a whole fold of the first root costs. Folding hides
// and shows a tenth of the rows, and each row shown or hidden asks the window for a
// repaint of the list: that request is most of the fold's cost.

#include "control/CheckBoxUI.h"
#include "control/TreeNodeUI.h"
#include "control/TreeViewUI.h"
#include "core/DialogBuilder.h"
#include "window/PaintManagerUI.h"
#include "window/WindowWnd.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using namespace SkinUI;

namespace {

const int kWidth = 600;
const int kHeight = 400;

double Now() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

class BenchWindow : public CWindowWnd {
public:
    explicit BenchWindow(CControlUI* root) : m_root(root) {}
    CPaintManagerUI manager;

protected:
    const wchar_t* GetWndClassName() const override { return L"SkinTreeBench"; }
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

// 10 roots of 10 folders each, the rest of the nodes as leaves spread over the folders.
std::wstring TreeMarkup(int count) {
    const int leaves = (count - 110) / 100;
    std::wstring xml = L"<Window><TreeView vscrollbar=\"true\" visiblecheckbtn=\"true\">";
    for (int r = 0; r < 10; ++r) {
        xml += L"<TreeNode text=\"root " + std::to_wstring(r) + L"\">";
        for (int f = 0; f < 10; ++f) {
            xml += L"<TreeNode text=\"folder " + std::to_wstring(f) + L"\">";
            for (int l = 0; l < leaves; ++l)
                xml += L"<TreeNode text=\"leaf " + std::to_wstring(l) + L"\"/>";
            xml += L"</TreeNode>";
        }
        xml += L"</TreeNode>";
    }
    return xml + L"</TreeView></Window>";
}

struct Result {
    int nodes;
    double buildMs;
    double firstPaintMs;
    double foldMs;
    double foldOnlyMs;
    double checkMs;
    double addMs;
};

double Paint(HWND hWnd) {
    const double start = Now();
    UpdateWindow(hWnd);
    GdiFlush();
    return Now() - start;
}

Result Measure(int count) {
    Result result{};
    const std::wstring xml = TreeMarkup(count);
    double start = Now();
    CDialogBuilder builder;
    CControlUI* root = builder.Create(xml.c_str());
    result.buildMs = Now() - start;
    auto* view = static_cast<CTreeViewUI*>(root->GetInterface(L"TreeView"));
    result.nodes = view->GetCount();

    BenchWindow window(root);
    start = Now();
    HWND hWnd = window.Create(nullptr, L"tree bench", WS_POPUP, 0, 0, 0, kWidth, kHeight);
    if (hWnd == nullptr) return result;
    ShowWindow(hWnd, SW_SHOWNOACTIVATE);
    UpdateWindow(hWnd);
    GdiFlush();
    result.firstPaintMs = Now() - start;
    Pump();

    auto* first = static_cast<CTreeNodeUI*>(view->GetItemAt(0));
    start = Now();
    first->GetFolderButton()->Selected(true);
    result.foldOnlyMs = Now() - start;
    Paint(hWnd);
    first->GetFolderButton()->Selected(false);
    Paint(hWnd);
    result.foldMs = (Now() - start) / 2;

    start = Now();
    first->CheckBoxSelected(true);
    Paint(hWnd);
    result.checkMs = Now() - start;

    // A folder of the sixth root, in the middle of the rows.
    auto* middle = static_cast<CTreeNodeUI*>(view->GetItemAt(view->GetCount() / 2));
    CTreeNodeUI* folder = middle->GetParentNode() != nullptr ? middle->GetParentNode() : middle;
    start = Now();
    for (int i = 0; i < 100; ++i) {
        auto* leaf = new CTreeNodeUI;
        leaf->SetItemText(L"new leaf");
        folder->AddChildNode(leaf);
    }
    Paint(hWnd);
    result.addMs = (Now() - start) / 100;

    DestroyWindow(hWnd);
    Pump();
    return result;
}

} // namespace

int main() {
    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    std::vector<Result> results;
    for (int count : {1000, 10000, 100000})
        results.push_back(Measure(count));

    std::printf("%8s %10s %12s %10s %12s %10s %10s\n", "nodes", "build ms", "first paint",
                "fold ms", "(unpainted)", "check ms", "add ms");
    for (const Result& r : results)
        std::printf("%8d %10.1f %12.1f %10.2f %12.2f %10.2f %10.3f\n", r.nodes, r.buildMs,
                    r.firstPaintMs, r.foldMs, r.foldOnlyMs, r.checkMs, r.addMs);

    const Result& small = results[1];
    const Result& large = results.back();
    const double buildRatio = (large.buildMs / large.nodes) / (small.buildMs / small.nodes);
    const double paintRatio =
        (large.firstPaintMs / large.nodes) / (small.firstPaintMs / small.nodes);
    const bool buildOk = buildRatio <= 1.5;
    const bool paintOk = paintRatio <= 1.5;
    const bool addOk = large.addMs <= large.foldMs;
    std::printf("build per node 100,000 / 10,000       %6.2f  (budget: at most 1.5) %s\n",
                buildRatio, buildOk ? "ok" : "OVER");
    std::printf("first paint per node 100,000 / 10,000 %6.2f  (budget: at most 1.5) %s\n",
                paintRatio, paintOk ? "ok" : "OVER");
    std::printf("one added leaf / one fold at 100,000  %6.2f  (budget: at most 1) %s\n",
                large.addMs / large.foldMs, addOk ? "ok" : "OVER");
    return buildOk && paintOk && addOk ? 0 : 1;
}
