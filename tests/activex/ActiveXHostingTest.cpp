// Hosting in place: the windowed object's host window, the windowless object's painting
// and input, repeated activations and the order of release.
#include "ActiveXFixture.h"

#include "render/RenderTestSupport.h"

using activextest::CLSID_TestWindowed;
using activextest::CLSID_TestWindowless;
using activextest::LiveTestObjects;
using activextest::Probe;

namespace {

ProbedActiveX* NewControl(const CLSID& clsid) {
    auto* control = new ProbedActiveX;
    control->CreateControl(clsid);
    return control;
}

RECT ClientRectOf(HWND window) {
    RECT place{};
    ::GetWindowRect(window, &place);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

bool Same(const RECT& a, const RECT& b) {
    return ::EqualRect(&a, &b) != FALSE;
}

constexpr UINT kPaintColour = 0xFF2080C0; // the probe's fill as read back

} // namespace

TEST_F(ActiveXTest, AWindowedObjectLivesInAHostWindowOverTheControl) {
    ProbedActiveX* control = Host(NewControl(CLSID_TestWindowed));
    const HWND window = control->GetHostWindow();
    ASSERT_TRUE(::IsWindow(window));
    wchar_t text[32] = {};
    ::GetClassNameW(window, text, 32);
    EXPECT_STREQ(text, L"ActiveXWnd");
    ::GetWindowTextW(window, text, 32);
    EXPECT_STREQ(text, L"UIActiveX");
    EXPECT_EQ(::GetParent(window), host->GetHWND());
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE)) & 0xFFFF0000, 0x56000000u);
    EXPECT_TRUE(Same(ClientRectOf(window), kPlace));
    // The object's own window sits in the host window, placed at its origin.
    EXPECT_EQ(Probe().siteWindow, window);
    EXPECT_EQ(::GetParent(Probe().window), window);
    EXPECT_TRUE(Same(Probe().objectRect, RECT{0, 0, 200, 100}));
    EXPECT_FALSE(control->Site()->IsWindowless());

    const RECT moved{40, 50, 140, 90};
    control->SetPos(moved);
    EXPECT_TRUE(Same(ClientRectOf(window), moved));
    EXPECT_TRUE(Same(Probe().objectRect, RECT{0, 0, 100, 40}));
    // The extent is in HIMETRIC of the screen's resolution.
    const HDC screen = ::GetDC(nullptr);
    EXPECT_EQ(Probe().extent.cx, ::MulDiv(2540, 100, ::GetDeviceCaps(screen, LOGPIXELSX)));
    ::ReleaseDC(nullptr, screen);

    control->SetVisible(false);
    EXPECT_FALSE(::IsWindowVisible(window));
    control->SetVisible(true);
    EXPECT_TRUE(::IsWindowVisible(window));
    control->SetInternVisible(false);
    EXPECT_FALSE(::IsWindowVisible(window));
    // A control hidden before its object comes keeps the new host window hidden too.
    ProbedActiveX* hidden = Add(NewControl(CLSID_TestWindowed));
    hidden->SetVisible(false);
    hidden->SetDelayCreate(false);
    EXPECT_FALSE(::IsWindowVisible(hidden->GetHostWindow()));
}

TEST_F(ActiveXTest, AWindowlessObjectDrawsIntoThePaintDCUntilHidden) {
    ProbedActiveX* control = Host(NewControl(CLSID_TestWindowless));
    EXPECT_EQ(control->GetHostWindow(), host->GetHWND());
    EXPECT_EQ(::FindWindowExW(host->GetHWND(), nullptr, L"ActiveXWnd", nullptr), nullptr);
    EXPECT_TRUE(Same(Probe().objectRect, kPlace));

    RenderTest::Surface surface(300, 200, 0xFF000000);
    Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.dc()), PRF_CLIENT);
    EXPECT_EQ(surface.CountOther(kPlace, kPaintColour & 0x00FFFFFF), 0);
    EXPECT_EQ(surface.Pixel(kPlace.left - 1, kPlace.top), 0xFF000000u);
    EXPECT_EQ(surface.Pixel(kPlace.right, kPlace.bottom - 1), 0xFF000000u);
    // Painting elsewhere leaves it out.
    Probe().calls.clear();
    control->DoPaint(surface.dc(), RECT{0, 0, 10, 10});
    EXPECT_FALSE(Probe().Called(L"Draw"));

    control->SetVisible(false);
    surface.Fill(0xFF000000);
    Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.dc()), PRF_CLIENT);
    EXPECT_EQ(surface.CountOther(surface.rect(), 0xFF000000), 0);
}

TEST_F(ActiveXTest, AWindowlessObjectGetsTheMouseOnlyWhereItIsHit) {
    Probe().hitLeftHalfOnly = true;
    ProbedActiveX* control = Host(NewControl(CLSID_TestWindowless));
    auto& seen = Probe().messages;
    EXPECT_EQ(Send(WM_LBUTTONDOWN, MK_LBUTTON, skintest::PointParam(30, 40)), 42);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], static_cast<UINT>(WM_LBUTTONDOWN));
    Send(WM_LBUTTONUP, 0, skintest::PointParam(200, 40)); // right half: no hit
    Send(WM_MOUSEMOVE, 0, skintest::PointParam(5, 5));    // outside
    EXPECT_EQ(seen.size(), 1u);
    // Once it captures, it gets them all.
    control->Site()->SetCapture(TRUE);
    Send(WM_MOUSEMOVE, 0, skintest::PointParam(5, 5));
    EXPECT_EQ(seen.size(), 2u);
    control->Site()->SetCapture(FALSE);
    control->SetMouseEnabled(false);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, skintest::PointParam(30, 40));
    EXPECT_EQ(seen.size(), 2u);
}

TEST_F(ActiveXTest, WithoutViewObjectExAnyPointInsideHits) {
    Probe().hitLeftHalfOnly = true;
    Probe().viewObjectEx = false;
    ProbedActiveX* control = Host(NewControl(CLSID_TestWindowless));
    EXPECT_EQ(control->Site()->GetViewObjectEx(), nullptr);
    ASSERT_NE(control->Site()->GetViewObject(), nullptr);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, skintest::PointParam(200, 40));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, skintest::PointParam(5, 5));
    EXPECT_EQ(Probe().messages, std::vector<UINT>{WM_LBUTTONDOWN});
}

TEST_F(ActiveXTest, AWindowlessObjectGetsKeysOnlyWhenFocused) {
    ProbedActiveX* control = Host(NewControl(CLSID_TestWindowless));
    Send(WM_KEYDOWN, 'A');
    EXPECT_TRUE(Probe().messages.empty());
    control->SetFocus();
    ASSERT_TRUE(control->IsFocused());
    Send(WM_KEYDOWN, 'A');
    Send(WM_CHAR, 'a');
    Send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(host->GetHWND()), -1);
    Send(WM_TIMER, 77); // not for the object
    EXPECT_EQ(Probe().messages, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_CONTEXTMENU}));
}

TEST_F(ActiveXTest, RepeatedActivationsShareOneFilterAndOneAcceleratorTable) {
    ProbedActiveX* control = Host(NewControl(CLSID_TestWindowless));
    IOleObject* object = nullptr;
    ASSERT_EQ(control->GetControl(IID_IOleObject, reinterpret_cast<void**>(&object)), S_OK);
    IOleInPlaceObject* inPlace = nullptr;
    object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace));
    const HACCEL first = Probe().accel;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(::CopyAcceleratorTableW(first, nullptr, 0), 1);

    inPlace->InPlaceDeactivate();
    EXPECT_FALSE(control->Site()->IsInPlaceActive());
    EXPECT_EQ(::CopyAcceleratorTableW(first, nullptr, 0), 0); // freed with the activation
    Send(WM_LBUTTONDOWN, MK_LBUTTON, skintest::PointParam(30, 40));
    EXPECT_TRUE(Probe().messages.empty());

    IOleClientSite* site = Probe().site;
    for (int i = 0; i < 3; ++i) {
        object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site, 0, host->GetHWND(), &kPlace);
        // Asked again within the same activation, the site hands out the same table.
        IOleInPlaceSite* inPlaceSite = nullptr;
        site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlaceSite));
        IOleInPlaceFrame* frame = nullptr;
        IOleInPlaceUIWindow* document = nullptr;
        RECT position{};
        RECT clip{};
        OLEINPLACEFRAMEINFO info{};
        ASSERT_EQ(inPlaceSite->GetWindowContext(&frame, &document, &position, &clip, &info), S_OK);
        EXPECT_EQ(info.haccel, Probe().accel);
        frame->Release();
        inPlaceSite->Release();
        if (i < 2) inPlace->InPlaceDeactivate();
    }
    Send(WM_LBUTTONDOWN, MK_LBUTTON, skintest::PointParam(30, 40));
    EXPECT_EQ(Probe().messages.size(), 1u);
    inPlace->Release();
    object->Release();
}

TEST_F(ActiveXTest, ReleaseDetachesTheObjectInOrder) {
    ProbedActiveX* windowless = Host(NewControl(CLSID_TestWindowless));
    ProbedActiveX* windowed = Add(NewControl(CLSID_TestWindowed));
    windowed->SetDelayCreate(false);
    const HWND hostWindow = windowed->GetHostWindow();
    ASSERT_TRUE(::IsWindow(hostWindow));
    IOleClientSite* site = Probe().site;
    site->AddRef(); // outlives its owner's release
    EXPECT_EQ(LiveTestObjects(), 2);

    Probe().calls.clear();
    windowed->Release();
    EXPECT_EQ(Probe().calls,
              (std::vector<std::wstring>{L"SetSite(null)", L"Close", L"SetClientSite(null)"}));
    EXPECT_FALSE(::IsWindow(hostWindow));
    EXPECT_EQ(windowed->GetHostWindow(), nullptr);
    EXPECT_EQ(LiveTestObjects(), 1);
    // The cut-loose site refuses what needs its owner.
    HWND window = nullptr;
    IOleInPlaceSite* inPlaceSite = nullptr;
    site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlaceSite));
    EXPECT_EQ(inPlaceSite->GetWindow(&window), E_UNEXPECTED);
    EXPECT_EQ(inPlaceSite->OnInPlaceActivate(), E_UNEXPECTED);
    inPlaceSite->Release();
    site->Release();

    // The windowless control's filter goes with its object: messages no longer reach it,
    // and the deleted control is not called.
    root->Remove(windowless);
    delete windowless;
    EXPECT_EQ(LiveTestObjects(), 0);
    Probe().messages.clear();
    Send(WM_LBUTTONDOWN, MK_LBUTTON, skintest::PointParam(30, 40));
    EXPECT_TRUE(Probe().messages.empty());
}
