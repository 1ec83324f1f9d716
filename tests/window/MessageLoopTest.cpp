// The process-wide message loop and the minimal painting of windows without a renderer.
#include "window/ManagerFixture.h"

#include <stdexcept>

using namespace SkinUI;

namespace {

int g_afterThrow = 0;

LRESULT CALLBACK ThrowingProcedure(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP + 7) throw std::runtime_error("handler failed");
    if (message == WM_APP + 8) {
        ++g_afterThrow;
        ::PostQuitMessage(3);
        return 0;
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

int g_placements = 0;
bool CountPlacement(void*) {
    ++g_placements;
    return true;
}

} // namespace

TEST(MessageLoop, RunsUntilQuitAndSurvivesAFailingHandler) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ThrowingProcedure;
    wc.lpszClassName = L"SkinTestThrowing";
    ::RegisterClassW(&wc);
    const HWND window = ::CreateWindowExW(0, L"SkinTestThrowing", L"", WS_POPUP, 0, 0, 10, 10,
                                          nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    g_afterThrow = 0;
    ::PostMessageW(window, WM_APP + 7, 0, 0);
    ::PostMessageW(window, WM_APP + 8, 0, 0);
    CPaintManagerUI::MessageLoop();
    EXPECT_EQ(g_afterThrow, 1) << "the loop went on after the failure and ended on WM_QUIT";
    ::DestroyWindow(window);
}

using MinimalPaint = ManagerFixture;

TEST_F(MinimalPaint, PaintValidatesTheWindowSoItIsNotAskedAgain) {
    ::InvalidateRect(window, nullptr, FALSE);
    skintest::PumpMessages();
    RECT update{};
    EXPECT_FALSE(::GetUpdateRect(window, &update, FALSE));
    EXPECT_EQ(HIWORD(::GetQueueStatus(QS_PAINT)) & QS_PAINT, 0u);
}

TEST_F(MinimalPaint, LayoutPlacesOnlyWhatAskedForIt) {
    const RECT before = c->GetPos();
    d->SetFixedWidth(30); // asks the panel, not the root
    ASSERT_FALSE(root->IsUpdateNeeded());
    ASSERT_TRUE(panel->IsUpdateNeeded());
    g_placements = 0;
    root->OnSize += CountPlacement;
    ASSERT_TRUE(skintest::PumpUntil([this] { return !panel->IsUpdateNeeded(); }));
    EXPECT_EQ(d->GetWidth(), 30);
    EXPECT_EQ(c->GetPos().left, before.left);
    EXPECT_EQ(g_placements, 0) << "the root kept its place";
    EXPECT_TRUE(host->notifications.empty()) << "windowinit comes once";
}
