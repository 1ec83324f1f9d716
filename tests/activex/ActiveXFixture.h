// A window with a paint manager around one ActiveX host control, for the host's tests.
#pragma once

#include "support/SkinTestKit.h"

#include <gtest/gtest.h>

#include "TestActiveX.h"
#include "activex/ActiveXCtrl.h"
#include "activex/ActiveXUI.h"

inline std::wstring ClassText(const CLSID& clsid) {
    wchar_t text[64] = {};
    ::StringFromGUID2(clsid, text, 64);
    return text;
}

// Shows what the host keeps to itself.
class ProbedActiveX : public SkinUI::CActiveXUI {
public:
    SkinUI::CActiveXCtrl* Site() const { return m_pControl.Get(); }
    bool Created() const { return m_bCreated; }
    void Release() { ReleaseControl(); }
    bool Create() { return DoCreateControl(); }
    // Like derived hosts that recreate after a release.
    void ReleaseControl() override {
        CActiveXUI::ReleaseControl();
        if (forgetCreation) m_bCreated = false;
    }
    bool forgetCreation = false;
};

// A container that also paints its children, as layouts do.
class PaintingContainer : public skintest::TestContainer {
public:
    void DoPaint(HDC hDC, const RECT& paintRect) override {
        CControlUI::DoPaint(hDC, paintRect);
        for (int i = 0; i < GetCount(); ++i)
            if (GetItemAt(i)->IsVisible()) GetItemAt(i)->DoPaint(hDC, paintRect);
    }
};

class ActiveXTest : public ::testing::Test {
protected:
    static constexpr RECT kPlace{20, 30, 220, 130}; // where Host puts the control

    void SetUp() override {
        // Real pointer moves over the window would reach windowless objects too.
        ::SetCursorPos(1500, 950);
        activextest::Probe().Reset();
    }
    void TearDown() override {
        if (host != nullptr) {
            ::DestroyWindow(host->GetHWND());
            delete host;
        }
        skintest::PumpMessages();
        EXPECT_EQ(activextest::LiveTestObjects(), 0);
    }

    // Opens a 300 by 200 window whose root holds the control (when given) at kPlace, and
    // waits for the first layout.
    ProbedActiveX* Host(ProbedActiveX* control = nullptr) {
        root = new PaintingContainer;
        host = new skintest::HostWindow(root);
        if (control != nullptr)
            root->Add(control, kPlace.left, kPlace.top, kPlace.right - kPlace.left,
                      kPlace.bottom - kPlace.top);
        EXPECT_NE(host->Open(300, 200), nullptr);
        EXPECT_TRUE(skintest::PumpUntil([this] { return Notified(L"windowinit"); }));
        return control;
    }
    // Adds a control to the hosted tree without laying it out.
    ProbedActiveX* Add(ProbedActiveX* control) {
        root->Add(control, kPlace.left, kPlace.top, kPlace.right - kPlace.left,
                  kPlace.bottom - kPlace.top);
        return control;
    }
    bool Notified(const wchar_t* type) const {
        for (const std::wstring& seen : host->notifications)
            if (seen == type) return true;
        return false;
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageW(host->GetHWND(), message, wParam, lParam);
    }

    skintest::HostWindow* host = nullptr;
    PaintingContainer* root = nullptr;
};
