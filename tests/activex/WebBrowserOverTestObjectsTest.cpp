// The browser controls over an object that is no web browser (the windowed test object
// answers no IWebBrowser2): the creation fails, nothing stays hosted, and the controls
// behave as ones without a browser.
#include "ActiveXFixture.h"

#include "activex/WebBrowser2UI.h"
#include "activex/WebBrowserUI.h"

using activextest::CLSID_TestWindowed;
using activextest::LiveTestObjects;
using activextest::Probe;

namespace {

bool Hosts(SkinUI::CActiveXUI* control) {
    IUnknown* object = nullptr;
    const HRESULT hr = control->GetControl(IID_IUnknown, reinterpret_cast<void**>(&object));
    if (object != nullptr) object->Release();
    return hr != E_PENDING;
}

} // namespace

TEST_F(ActiveXTest, AWebBrowserOverAnObjectWithoutIWebBrowser2FailsToCreate) {
    Host();
    auto* web = new SkinUI::CWebBrowserUI;
    root->Add(web, kPlace.left, kPlace.top, 200, 100);
    web->SetHomePage(L"http://www.varnel.example/home");
    web->SetAutoNavigation(true);
    web->CreateControl(CLSID_TestWindowed); // waits for a layout
    web->SetDelayCreate(false);             // creates at once
    EXPECT_EQ(Probe().created, 1);
    EXPECT_TRUE(Probe().Called(L"Close")); // made, then let go
    EXPECT_EQ(LiveTestObjects(), 0);
    EXPECT_FALSE(Hosts(web));
    EXPECT_EQ(web->GetWebBrowser2(), nullptr);
    EXPECT_EQ(web->GetHostWindow(), nullptr);
    EXPECT_EQ(web->GetHtmlWindow(), nullptr);
    MSG key{host->GetHWND(), WM_KEYDOWN, VK_F5, 0, 0, {}};
    EXPECT_EQ(web->TranslateAccelerator(&key), E_NOTIMPL);
    // Layouts do not try again; an explicit creation says it failed.
    web->SetPos(RECT{0, 0, 100, 100});
    EXPECT_EQ(Probe().created, 1);
    EXPECT_FALSE(web->CreateControl(CLSID_TestWindowed));
    EXPECT_EQ(Probe().created, 2);
    EXPECT_EQ(LiveTestObjects(), 0);
}

TEST_F(ActiveXTest, AWebBrowser2OverAnObjectWithoutIWebBrowser2FailsAtItsFirstLayout) {
    auto* web = new SkinUI::CWebBrowser2UI;
    web->SetAttribute(L"autosink", L"false"); // the browser interface alone decides
    web->CreateControl(CLSID_TestWindowed);
    root = new PaintingContainer;
    host = new skintest::HostWindow(root);
    root->Add(web, kPlace.left, kPlace.top, 200, 100);
    ASSERT_NE(host->Open(300, 200), nullptr);
    ASSERT_TRUE(skintest::PumpUntil([this] { return Notified(L"windowinit"); }));
    EXPECT_EQ(Probe().created, 1);
    EXPECT_EQ(LiveTestObjects(), 0);
    EXPECT_FALSE(Hosts(web));
    EXPECT_EQ(web->GetWebBrowser(), nullptr);
    web->Navigate2(L"http://www.varnel.example/");
    web->SetPos(RECT{0, 0, 100, 100});
    EXPECT_EQ(Probe().created, 1);
    // An immediate creation says so.
    web->SetDelayCreate(false);
    EXPECT_FALSE(web->CreateControl(CLSID_TestWindowed));
    EXPECT_EQ(Probe().created, 2);
    EXPECT_EQ(LiveTestObjects(), 0);
}
