// A window built by hand from controls, laid out and ready for input:
//
//   root (0,0,400,300)
//   +- a  (10,10,110,50)    tab stop
//   +- b  (150,10,250,50)
//   +- panel (10,100,310,250)
//      +- c (20,110,120,150) tab stop
//      +- d (150,110,250,150) tab stop
//   +- e  (300,10,390,50)   tab stop
#pragma once

#include "support/SkinTestKit.h"

#include <gtest/gtest.h>

class ManagerFixture : public ::testing::Test {
protected:
    using RecordingControl = skintest::RecordingControl;

    void SetUp() override {
        root = new skintest::TestContainer(L"root");
        a = Add(root, new RecordingControl(L"a", SkinUI::UIFLAG_TABSTOP), 10, 10, 100, 40);
        b = Add(root, new RecordingControl(L"b"), 150, 10, 100, 40);
        panel = Add(root, new skintest::TestContainer(L"panel"), 10, 100, 300, 150);
        c = Add(panel, new RecordingControl(L"c", SkinUI::UIFLAG_TABSTOP), 10, 10, 100, 40);
        d = Add(panel, new RecordingControl(L"d", SkinUI::UIFLAG_TABSTOP), 140, 10, 100, 40);
        e = Add(root, new RecordingControl(L"e", SkinUI::UIFLAG_TABSTOP), 300, 10, 90, 40);
        host = new skintest::HostWindow(root);
        window = host->Open(400, 300);
        ASSERT_NE(window, nullptr);
        manager = &host->manager;
        // The pointer rests over the window, where the messages say it is.
        POINT centre{200, 80};
        ::ClientToScreen(window, &centre);
        ::SetCursorPos(centre.x, centre.y);
        ASSERT_TRUE(skintest::PumpUntil([this] { return !host->notifications.empty(); }))
            << "the first layout pass sends windowinit";
        // The first layout pass also focused the first tab stop; start from nothing.
        EXPECT_EQ(manager->GetFocus(), a);
        manager->SetFocus(nullptr);
        host->notifications.clear();
        host->senders.clear();
        ClearEvents();
    }

    void TearDown() override {
        if (window != nullptr && ::IsWindow(window)) ::DestroyWindow(window);
        delete host; // deletes the tree with the manager
        skintest::PumpMessages();
    }

    template <class T>
    T* Add(skintest::TestContainer* parent, T* child, int x, int y, int cx, int cy) {
        parent->Add(child, x, y, cx, cy);
        return child;
    }

    void ClearEvents() {
        for (RecordingControl* control : {static_cast<RecordingControl*>(root), a, b,
                                          static_cast<RecordingControl*>(panel), c, d, e})
            control->events.clear();
    }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageW(window, message, wParam, lParam);
    }
    LRESULT SendAt(UINT message, int x, int y, WPARAM wParam = 0) {
        return Send(message, wParam, skintest::PointParam(x, y));
    }
    // Runs a queued keyboard message through the loop's pre-translation, then dispatches it.
    bool Key(UINT message, WPARAM key, HWND target = nullptr) {
        MSG msg{};
        msg.hwnd = target != nullptr ? target : window;
        msg.message = message;
        msg.wParam = key;
        msg.time = ::GetTickCount();
        if (SkinUI::CPaintManagerUI::TranslateMessage(&msg)) return true;
        ::DispatchMessageW(&msg);
        return false;
    }

    skintest::TestContainer* root = nullptr;
    skintest::TestContainer* panel = nullptr;
    RecordingControl* a = nullptr;
    RecordingControl* b = nullptr;
    RecordingControl* c = nullptr;
    RecordingControl* d = nullptr;
    RecordingControl* e = nullptr;
    skintest::HostWindow* host = nullptr;
    SkinUI::CPaintManagerUI* manager = nullptr;
    HWND window = nullptr;
};
