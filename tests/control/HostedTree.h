// A control tree in a shown window, laid out by its paint manager, for tests of what
// containers do with a manager: delayed destruction, focus, input and notifications.
#pragma once

#include "support/SkinTestKit.h"

#include <gtest/gtest.h>

#include "control/ControlUI.h"

// Counts its own destruction.
class DestructionProbe : public SkinUI::CControlUI {
public:
    explicit DestructionProbe(int* destroyed) : m_destroyed(destroyed) {}
    ~DestructionProbe() override { ++*m_destroyed; }

private:
    int* m_destroyed;
};

class HostedTree : public ::testing::Test {
protected:
    // Opens a 300 by 300 window around the tree and waits for the first layout pass.
    void Host(SkinUI::CControlUI* root) {
        host = new skintest::HostWindow(root);
        ASSERT_NE(host->Open(300, 300), nullptr);
        ASSERT_TRUE(skintest::PumpUntil([this] { return !host->notifications.empty(); }));
        host->manager.SetFocus(nullptr);
        host->notifications.clear();
    }
    // Runs a layout pass now.
    void Layout() {
        ::RedrawWindow(host->GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    LRESULT Send(UINT message, int x, int y) {
        return ::SendMessageW(host->GetHWND(), message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0,
                              skintest::PointParam(x, y));
    }
    void TearDown() override {
        if (host != nullptr) {
            ::DestroyWindow(host->GetHWND());
            delete host;
        }
        skintest::PumpMessages();
    }

    skintest::HostWindow* host = nullptr;
};
