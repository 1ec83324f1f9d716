// The handle owners: each frees its handle exactly once, moves hand it over, scopes put
// back what they changed. GDI objects are counted in the process's GDI handle table.
#include "core/Handles.h"

#include "support/GdiObjectCount.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

using namespace SkinUI;
using skintest::CountGdiObjects;

namespace {

bool IsGdiObject(HGDIOBJ object) {
    return ::GetObjectType(object) != 0;
}

HBRUSH NewBrush() {
    return ::CreateSolidBrush(RGB(10, 20, 30));
}

// A COM object that counts its references and can run a hook inside Release.
class CountedObject final : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (answerNullSuccess) {
            *object = nullptr;
            return S_OK;
        }
        if (!IsEqualIID(iid, IID_IUnknown)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++refs); }
    STDMETHODIMP_(ULONG) Release() override {
        ++releases;
        if (onRelease) onRelease();
        return static_cast<ULONG>(--refs);
    }

    LONG refs = 1; // the test's own
    int releases = 0;
    bool answerNullSuccess = false;
    std::function<void()> onRelease;
};

class HandleOwners : public ::testing::Test {
protected:
    void SetUp() override {
        // The process's first memory DC brings in objects of the display's own that stay
        // (unless a library loaded at start-up made one already): make them before counting.
        { CMemoryDC first(::CreateCompatibleDC(nullptr)); }
        baseline = CountGdiObjects();
        ASSERT_GT(baseline, 0) << "no GDI handle table to count with";
    }
    int baseline = 0;
};

} // namespace

TEST_F(HandleOwners, TheTableCountsEveryObjectOfTheProcess) {
    HBRUSH brushes[100];
    for (HBRUSH& brush : brushes)
        brush = NewBrush();
    EXPECT_EQ(CountGdiObjects(), baseline + 100);
    for (HBRUSH brush : brushes)
        ::DeleteObject(brush);
    EXPECT_EQ(CountGdiObjects(), baseline);
}

TEST_F(HandleOwners, AGdiObjectIsFreedOnceByWhoeverHoldsItLast) {
    HBRUSH brush = NewBrush();
    {
        CGdiBrush first(brush);
        EXPECT_EQ(first.Get(), brush);
        EXPECT_EQ(CountGdiObjects(), baseline + 1);
        {
            CGdiBrush second(std::move(first));
            EXPECT_FALSE(first);
            EXPECT_EQ(second.Get(), brush);
            CGdiBrush third;
            third = std::move(second);
            CGdiBrush& same = third;
            third = std::move(same); // a self-move keeps it
            EXPECT_TRUE(IsGdiObject(brush));
            first = std::move(third);
        }
        // The moved-from owners went without touching it.
        EXPECT_TRUE(IsGdiObject(brush));
        EXPECT_EQ(CountGdiObjects(), baseline + 1);
        first.Reset(brush); // the same handle again: kept
        EXPECT_TRUE(IsGdiObject(brush));
    }
    EXPECT_FALSE(IsGdiObject(brush));
    EXPECT_EQ(CountGdiObjects(), baseline);
}

TEST_F(HandleOwners, ResetReceiveAndDetachHandOverWithoutLeaks) {
    CGdiBrush owner(NewBrush());
    HBRUSH old = owner.Get();
    owner = CGdiBrush(NewBrush()); // the old one goes
    EXPECT_FALSE(IsGdiObject(old));
    EXPECT_EQ(CountGdiObjects(), baseline + 1);

    old = owner.Get();
    HBRUSH* slot = owner.Receive();
    EXPECT_FALSE(IsGdiObject(old));
    EXPECT_EQ(*slot, nullptr);
    *slot = NewBrush();
    EXPECT_EQ(CountGdiObjects(), baseline + 1);

    HBRUSH kept = owner.Detach();
    EXPECT_FALSE(owner);
    owner.Reset();
    EXPECT_TRUE(IsGdiObject(kept));
    ::DeleteObject(kept);
    EXPECT_EQ(CountGdiObjects(), baseline);

    // Memory DCs the same way.
    {
        CMemoryDC dc(::CreateCompatibleDC(nullptr));
        EXPECT_EQ(CountGdiObjects(), baseline + 1);
    }
    EXPECT_EQ(CountGdiObjects(), baseline);
}

TEST_F(HandleOwners, ASelectionPutsTheOldObjectBackOnce) {
    CMemoryDC dc(::CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    const HGDIOBJ stockPen = ::GetCurrentObject(dc.Get(), OBJ_PEN);
    CGdiPen red(::CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
    CGdiPen blue(::CreatePen(PS_SOLID, 1, RGB(0, 0, 255)));
    {
        CSelection outer(dc.Get(), red.Get());
        ASSERT_TRUE(outer);
        EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_PEN), red.Get());
        {
            const CSelection inner(dc.Get(), blue.Get());
            EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_PEN), blue.Get());
        }
        EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_PEN), red.Get());
        CSelection moved(std::move(outer));
        EXPECT_FALSE(outer);
        outer.Reset(); // the moved-from one has nothing to put back
        EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_PEN), red.Get());
    }
    EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_PEN), stockPen);
    // Deselected, the pens really go when their owners do.
    red.Reset();
    blue.Reset();
    dc.Reset();
    EXPECT_EQ(CountGdiObjects(), baseline);

    EXPECT_FALSE(CSelection(nullptr, ::GetStockObject(BLACK_PEN)));
    const CWindowDC screen(nullptr);
    EXPECT_FALSE(CSelection(screen.Get(), static_cast<HPEN>(nullptr)));
}

TEST_F(HandleOwners, ABitmapDCSelectsItsBitmapAndFreesBoth) {
    CBitmapDC surface;
    EXPECT_FALSE(surface.Create(nullptr, CGdiBitmap()));
    EXPECT_FALSE(surface);
    HBITMAP bitmap = ::CreateBitmap(4, 4, 1, 32, nullptr);
    ASSERT_TRUE(surface.Create(nullptr, CGdiBitmap(bitmap)));
    EXPECT_EQ(surface.GetBitmap(), bitmap);
    EXPECT_EQ(::GetCurrentObject(surface.GetDC(), OBJ_BITMAP), bitmap);
    EXPECT_EQ(CountGdiObjects(), baseline + 2);
    const HDC dc = surface.GetDC();
    // A second surface replaces the first entirely.
    ASSERT_TRUE(surface.Create(nullptr, CGdiBitmap(::CreateBitmap(2, 2, 1, 32, nullptr))));
    EXPECT_FALSE(IsGdiObject(bitmap));
    EXPECT_EQ(CountGdiObjects(), baseline + 2);
    surface.Reset();
    EXPECT_FALSE(IsGdiObject(dc));
    EXPECT_EQ(CountGdiObjects(), baseline);
}

TEST_F(HandleOwners, WindowDCsAndPaintsAreGivenBack) {
    const HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 40, 40, nullptr,
                                          nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    ::ShowWindow(window, SW_SHOWNOACTIVATE); // an activated window is slow to destroy
    { const CWindowDC first(window); }       // the window's first DC stays cached
    const int before = CountGdiObjects();
    for (int i = 0; i < 50; ++i) {
        CWindowDC dc(window);
        ASSERT_TRUE(dc);
        CWindowDC moved = std::move(dc);
        EXPECT_FALSE(dc);
    }
    // DCs not given back would pile up, several objects for each.
    EXPECT_EQ(CountGdiObjects(), before);

    ::InvalidateRect(window, nullptr, FALSE);
    RECT update{};
    ASSERT_TRUE(::GetUpdateRect(window, &update, FALSE));
    {
        CPaintScope paint(window);
        EXPECT_NE(paint.GetDC(), nullptr);
        EXPECT_EQ(paint.GetPaintRect().right, 40);
        paint.End();
        EXPECT_EQ(paint.GetDC(), nullptr);
        paint.End(); // once only
    }
    EXPECT_FALSE(::GetUpdateRect(window, &update, FALSE));
    ::DestroyWindow(window);
}

TEST_F(HandleOwners, AWindowDCLentOutIsTakenBackOnce) {
    const HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 40, 40, nullptr,
                                          nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    { const CWindowDC first(window); } // the window's first DC stays cached
    const int before = CountGdiObjects();
    for (int i = 0; i < 50; ++i) {
        CWindowDC lender(window);
        const HDC lent = lender.Detach();
        ASSERT_NE(lent, nullptr);
        EXPECT_FALSE(lender);
        EXPECT_TRUE(lender.Reset()); // nothing held, nothing to give back
        CWindowDC back = CWindowDC::Adopt(window, lent);
        EXPECT_EQ(back.Get(), lent);
        EXPECT_TRUE(back.Reset());
        EXPECT_FALSE(back);
    }
    EXPECT_EQ(CountGdiObjects(), before);
    // A DC the window never gave out is refused.
    CMemoryDC stranger(::CreateCompatibleDC(nullptr));
    EXPECT_FALSE(CWindowDC::Adopt(window, stranger.Get()).Reset());
    ::DestroyWindow(window);
}

TEST_F(HandleOwners, AMenuIsDestroyedByItsOwner) {
    HMENU menu = ::CreatePopupMenu();
    ASSERT_NE(menu, nullptr);
    {
        CMenu owner(menu);
        CMenu moved(std::move(owner));
        EXPECT_FALSE(owner);
        EXPECT_TRUE(::IsMenu(menu));
    }
    EXPECT_FALSE(::IsMenu(menu));
}

TEST_F(HandleOwners, AnIconGoesWithItsOwner) {
    const BYTE andMask[4 * 4] = {};
    const BYTE xorMask[4 * 4] = {};
    HICON icon = ::CreateIcon(nullptr, 4, 4, 1, 1, andMask, xorMask);
    ASSERT_NE(icon, nullptr);
    const auto alive = [](HICON which) {
        ICONINFO info{};
        if (!::GetIconInfo(which, &info)) return false;
        CGdiBitmap color(info.hbmColor);
        CGdiBitmap mask(info.hbmMask);
        return true;
    };
    {
        CIcon owner(icon);
        CIcon moved(std::move(owner));
        EXPECT_TRUE(alive(icon));
    }
    EXPECT_FALSE(alive(icon));
    EXPECT_EQ(CountGdiObjects(), baseline);
}

TEST_F(HandleOwners, AGdiplusSessionStartsOnceAndObjectsGoWithIt) {
    CGdiplusSession session;
    ASSERT_TRUE(session.Start());
    EXPECT_TRUE(session.Start()); // already running: nothing more to end later
    EXPECT_TRUE(session.IsStarted());
    session.End();
    EXPECT_FALSE(session.IsStarted());
    session.End();
}

TEST(ComPointer, CopiesAddAReferenceAndEveryHolderReleasesOnce) {
    CountedObject object;
    {
        CComPtr<IUnknown> first(&object);
        EXPECT_EQ(object.refs, 2);
        CComPtr<IUnknown> copy(first);
        EXPECT_EQ(object.refs, 3);
        CComPtr<IUnknown> moved(std::move(copy));
        EXPECT_FALSE(copy);
        EXPECT_EQ(object.refs, 3);
        copy = first;
        CComPtr<IUnknown>& sameCopy = copy;
        copy = sameCopy; // self-assignment keeps the count
        EXPECT_EQ(object.refs, 4);
        CComPtr<IUnknown>& sameMoved = moved;
        moved = std::move(sameMoved);
        EXPECT_EQ(object.refs, 4);
        moved = std::move(copy); // the old reference of `moved` goes
        EXPECT_EQ(object.refs, 3);
        IUnknown* out = nullptr;
        EXPECT_EQ(first.CopyTo(&out), S_OK);
        EXPECT_EQ(object.refs, 4);
        out->Release();
        EXPECT_EQ(first.CopyTo(nullptr), E_POINTER);
    }
    EXPECT_EQ(object.refs, 1);
}

TEST(ComPointer, AttachAndDetachHandReferencesOverUntouched) {
    CountedObject object;
    object.AddRef(); // a reference to give away
    CComPtr<IUnknown> holder;
    holder.Attach(&object);
    EXPECT_EQ(object.refs, 2);
    IUnknown* taken = holder.Detach();
    EXPECT_EQ(taken, &object);
    EXPECT_EQ(object.refs, 2);
    EXPECT_EQ(object.releases, 0);
    holder.Attach(taken);
    *holder.Receive() = nullptr; // Receive releases first
    EXPECT_EQ(object.refs, 1);
    EXPECT_EQ(object.releases, 1);
}

TEST(ComPointer, TheHolderIsClearedBeforeReleaseCallsBack) {
    CountedObject object;
    CComPtr<IUnknown> holder(&object);
    IUnknown* seen = reinterpret_cast<IUnknown*>(1);
    object.onRelease = [&] { seen = holder.Get(); };
    holder.Reset();
    EXPECT_EQ(seen, nullptr);
    EXPECT_EQ(object.refs, 1);
}

TEST(ComPointer, QueryFromHoldsTheAnswerOrNothing) {
    CountedObject object;
    CComPtr<IUnknown> holder;
    EXPECT_EQ(holder.QueryFrom(&object, IID_IUnknown), S_OK);
    EXPECT_EQ(holder.Get(), &object);
    EXPECT_EQ(object.refs, 2);
    // A failed query lets go of what was held before.
    EXPECT_EQ(holder.QueryFrom(&object, IID_IDispatch), E_NOINTERFACE);
    EXPECT_FALSE(holder);
    EXPECT_EQ(object.refs, 1);
    EXPECT_EQ(holder.QueryFrom(static_cast<IUnknown*>(nullptr), IID_IUnknown), E_POINTER);
    object.answerNullSuccess = true;
    EXPECT_EQ(holder.QueryFrom(&object, IID_IUnknown), E_NOINTERFACE);
    EXPECT_FALSE(holder);
}

TEST(Bstr, OwnsItsTextAndReceivesANewOne) {
    CBstr text(L"abc");
    EXPECT_EQ(::SysStringLen(text), 3u);
    CBstr moved(std::move(text));
    EXPECT_EQ(text.Get(), nullptr);
    EXPECT_STREQ(moved.Get(), L"abc");
    *moved.Receive() = ::SysAllocString(L"de");
    EXPECT_EQ(::SysStringLen(moved), 2u);
    EXPECT_EQ(CBstr(nullptr).Get(), nullptr);
}

TEST(Variant, ClearsWhatItHoldsOnceAndHandsItOverOnAMove) {
    CVariant text = CVariant::FromText(L"address");
    ASSERT_EQ(V_VT(text.Get()), VT_BSTR);
    EXPECT_STREQ(V_BSTR(text.Get()), L"address");
    CVariant moved(std::move(text));
    EXPECT_EQ(V_VT(text.Get()), VT_EMPTY);
    EXPECT_STREQ(V_BSTR(moved.Get()), L"address");
    const CVariant number = CVariant::FromLong(-3);
    EXPECT_EQ(V_VT(number.Get()), VT_I4);
    EXPECT_EQ(V_I4(number.Get()), -3);
    EXPECT_EQ(V_BSTR(CVariant::FromText(nullptr).Get()), nullptr);

    // An interface it holds is released when the value goes or is received into.
    CountedObject object;
    {
        CVariant holder;
        VARIANT* slot = holder.Receive();
        V_VT(slot) = VT_UNKNOWN;
        V_UNKNOWN(slot) = &object;
        object.AddRef();
        CVariant other;
        other = std::move(holder);
        EXPECT_EQ(object.releases, 0);
        EXPECT_EQ(V_VT(other.Receive()), VT_EMPTY);
        EXPECT_EQ(object.releases, 1);
        V_VT(other.Get()) = VT_UNKNOWN;
        V_UNKNOWN(other.Get()) = &object;
        object.AddRef();
    }
    EXPECT_EQ(object.releases, 2);
    EXPECT_EQ(object.refs, 1);
}
