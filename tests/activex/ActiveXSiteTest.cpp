// What the site, its frame and its enumerator answer the hosted object.
#include "ActiveXFixture.h"

#include "support/FailingAllocation.h"

using activextest::CLSID_TestWindowless;
using activextest::Probe;

namespace {

// The IUnknown behind any face, released at once (the object stays alive meanwhile).
IUnknown* Identity(IUnknown* face) {
    IUnknown* unknown = nullptr;
    face->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown));
    unknown->Release();
    return unknown;
}

template <class T> T* Query(IUnknown* from, REFIID iid) {
    T* face = nullptr;
    return from->QueryInterface(iid, reinterpret_cast<void**>(&face)) == S_OK ? face : nullptr;
}

} // namespace

class ActiveXSiteTest : public ActiveXTest {
protected:
    void SetUp() override {
        ActiveXTest::SetUp();
        auto* made = new ProbedActiveX;
        made->CreateControl(CLSID_TestWindowless);
        control = Host(made);
        ASSERT_NE(control->Site(), nullptr);
        site = static_cast<IOleClientSite*>(control->Site());
    }

    ProbedActiveX* control = nullptr;
    IOleClientSite* site = nullptr;
};

TEST_F(ActiveXSiteTest, EveryFaceIsTheSameObject) {
    IUnknown* self = Identity(site);
    const IID faces[] = {IID_IOleClientSite,    IID_IOleInPlaceSiteWindowless,
                         IID_IOleInPlaceSiteEx, IID_IOleInPlaceSite,
                         IID_IOleWindow,        IID_IOleControlSite,
                         IID_IObjectWithSite,   IID_IOleContainer};
    for (const IID& iid : faces) {
        IUnknown* face = Query<IUnknown>(site, iid);
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(Identity(face), self);
        face->Release();
    }
    EXPECT_EQ(Query<IUnknown>(site, IID_IDispatch), nullptr);
    EXPECT_EQ(site->QueryInterface(IID_IOleClientSite, nullptr), E_POINTER);
    // The container is the site itself until a site of its own is given.
    IOleContainer* container = nullptr;
    ASSERT_EQ(site->GetContainer(&container), S_OK);
    EXPECT_EQ(Identity(container), self);
    container->Release();
    EXPECT_EQ(site->GetContainer(nullptr), E_POINTER);
}

TEST_F(ActiveXSiteTest, TheEnumeratorHandsOutTheOneObjectOnce) {
    IOleContainer* container = Query<IOleContainer>(site, IID_IOleContainer);
    IEnumUnknown* objects = nullptr;
    ASSERT_EQ(container->EnumObjects(OLECONTF_EMBEDDINGS, &objects), S_OK);
    IOleObject* object = nullptr;
    control->GetControl(IID_IOleObject, reinterpret_cast<void**>(&object));

    IUnknown* got[3] = {};
    ULONG fetched = 99;
    EXPECT_EQ(objects->Next(3, got, &fetched), S_FALSE); // fewer than asked
    EXPECT_EQ(fetched, 1u);
    EXPECT_EQ(Identity(got[0]), Identity(object));
    EXPECT_EQ(got[1], nullptr);
    got[0]->Release();
    EXPECT_EQ(objects->Next(1, got, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
    EXPECT_EQ(objects->Reset(), S_OK);
    EXPECT_EQ(objects->Next(1, got, nullptr), S_OK); // no count wanted
    got[0]->Release();
    objects->Reset();
    EXPECT_EQ(objects->Skip(1), S_OK);
    EXPECT_EQ(objects->Next(1, got, nullptr), S_FALSE);
    IEnumUnknown* copy = objects;
    EXPECT_EQ(objects->Clone(&copy), E_NOTIMPL);
    EXPECT_EQ(copy, nullptr);
    IUnknown* same = Query<IUnknown>(objects, IID_IEnumUnknown);
    EXPECT_EQ(Identity(same), Identity(objects));
    same->Release();
    objects->Release();
    object->Release();
    container->Release();
}

TEST_F(ActiveXSiteTest, WindowContextAndFrame) {
    auto* inPlace = Query<IOleInPlaceSiteWindowless>(site, IID_IOleInPlaceSiteWindowless);
    EXPECT_EQ(inPlace->GetWindowContext(nullptr, nullptr, nullptr, nullptr, nullptr), E_POINTER);
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = nullptr;
    RECT position{};
    RECT clip{};
    OLEINPLACEFRAMEINFO info{};
    ASSERT_EQ(inPlace->GetWindowContext(&frame, &document, &position, &clip, &info), S_OK);
    EXPECT_EQ(document, nullptr);
    EXPECT_EQ(info.cb, sizeof(OLEINPLACEFRAMEINFO));
    EXPECT_EQ(info.hwndFrame, host->GetHWND());
    EXPECT_EQ(info.cAccelEntries, 1u);
    EXPECT_EQ(info.haccel, Probe().accel);
    EXPECT_EQ(position.right, 300); // the host window's client area
    HWND window = nullptr;
    EXPECT_EQ(frame->GetWindow(&window), S_OK);
    EXPECT_EQ(window, host->GetHWND());
    EXPECT_EQ(frame->RequestBorderSpace(nullptr), INPLACE_E_NOTOOLSPACE);
    frame->Release();

    // Windowless services work on the paint window.
    EXPECT_EQ(inPlace->GetWindow(&window), S_OK);
    EXPECT_EQ(window, host->GetHWND());
    HDC dc = nullptr;
    EXPECT_EQ(inPlace->GetDC(nullptr, OLEDC_PAINTBKGND, &dc), S_OK);
    EXPECT_EQ(inPlace->ReleaseDC(dc), S_OK);
    EXPECT_EQ(inPlace->GetFocus(), S_FALSE);
    EXPECT_EQ(inPlace->SetFocus(TRUE), S_OK);
    EXPECT_EQ(inPlace->GetFocus(), S_OK);
    EXPECT_TRUE(control->IsFocused());
    inPlace->Release();
}

TEST_F(ActiveXSiteTest, WithoutMemoryTheSiteAnswersSoAndHandsOutNothing) {
    auto* container = Query<IOleContainer>(site, IID_IOleContainer);
    auto* inPlace = Query<IOleInPlaceSite>(site, IID_IOleInPlaceSite);
    IEnumUnknown* objects = nullptr;
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = nullptr;
    RECT position{};
    RECT clip{};
    OLEINPLACEFRAMEINFO info{};
    {
        skintest::FailingAllocations failing;
        EXPECT_EQ(container->EnumObjects(OLECONTF_EMBEDDINGS, &objects), E_OUTOFMEMORY);
        EXPECT_EQ(inPlace->GetWindowContext(&frame, &document, &position, &clip, &info),
                  E_OUTOFMEMORY);
        EXPECT_EQ(failing.Refused(), 2);
    }
    EXPECT_EQ(objects, nullptr);
    EXPECT_EQ(frame, nullptr);
    EXPECT_EQ(document, nullptr);
    // With memory again both work.
    ASSERT_EQ(container->EnumObjects(OLECONTF_EMBEDDINGS, &objects), S_OK);
    objects->Release();
    ASSERT_EQ(inPlace->GetWindowContext(&frame, &document, &position, &clip, &info), S_OK);
    frame->Release();
    inPlace->Release();
    container->Release();
}

TEST_F(ActiveXSiteTest, ControlSiteAndObjectWithSite) {
    auto* controlSite = Query<IOleControlSite>(site, IID_IOleControlSite);
    IDispatch* dispatch = nullptr;
    EXPECT_EQ(controlSite->GetExtendedControl(&dispatch), E_NOINTERFACE); // the object has none
    controlSite->Release();

    auto* withSite = Query<IObjectWithSite>(site, IID_IObjectWithSite);
    IUnknown* given = nullptr;
    EXPECT_EQ(withSite->GetSite(IID_IUnknown, reinterpret_cast<void**>(&given)), E_FAIL);
    withSite->SetSite(controlSite);
    EXPECT_EQ(withSite->GetSite(IID_IOleControlSite, reinterpret_cast<void**>(&given)), S_OK);
    EXPECT_EQ(Identity(given), Identity(site));
    given->Release();
    withSite->SetSite(nullptr);
    withSite->Release();
}
