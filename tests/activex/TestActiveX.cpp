#include "TestActiveX.h"

#include <ocidl.h>

namespace activextest {

const CLSID CLSID_TestWindowed = {
    0x6b1f3c2a, 0x9d47, 0x4e58, {0xa1, 0xc3, 0x5e, 0x7d, 0x2b, 0x9f, 0x0a, 0x41}};
const CLSID CLSID_TestWindowless = {
    0x6b1f3c2b, 0x9d47, 0x4e58, {0xa1, 0xc3, 0x5e, 0x7d, 0x2b, 0x9f, 0x0a, 0x41}};

namespace {

LONG g_live = 0;

template <class T> void ReleaseInterface(T*& pointer) {
    if (pointer != nullptr) pointer->Release();
    pointer = nullptr;
}

void Record(const wchar_t* call) {
    Probe().calls.push_back(call);
}

class TestObject final : public IOleObject,
                         public IOleControl,
                         public IOleInPlaceObjectWindowless,
                         public IViewObjectEx,
                         public IObjectWithSite,
                         public IPersistStreamInit {
public:
    explicit TestObject(bool windowless) : m_windowless(windowless), m_behaviour(Probe()) {
        ++g_live;
        ++Probe().created;
    }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (iid == IID_IUnknown || iid == IID_IOleObject)
            *object = static_cast<IOleObject*>(this);
        else if (iid == IID_IOleControl)
            *object = static_cast<IOleControl*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject ||
                 (iid == IID_IOleInPlaceObjectWindowless && m_windowless))
            *object = static_cast<IOleInPlaceObjectWindowless*>(this);
        else if (iid == IID_IViewObject || iid == IID_IViewObject2 ||
                 (iid == IID_IViewObjectEx && m_behaviour.viewObjectEx))
            *object = static_cast<IViewObjectEx*>(this);
        else if (iid == IID_IObjectWithSite)
            *object = static_cast<IObjectWithSite*>(this);
        else if (iid == IID_IPersist || iid == IID_IPersistStreamInit)
            *object = static_cast<IPersistStreamInit*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++m_refs); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = --m_refs;
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override {
        Record(site != nullptr ? L"SetClientSite" : L"SetClientSite(null)");
        if (site != nullptr) site->AddRef();
        ReleaseInterface(m_clientSite);
        m_clientSite = site;
        Probe().site = site;
        return S_OK;
    }
    STDMETHODIMP GetClientSite(IOleClientSite** site) override {
        *site = m_clientSite;
        if (m_clientSite != nullptr) m_clientSite->AddRef();
        return S_OK;
    }
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD) override {
        Record(L"Close");
        Deactivate();
        return S_OK;
    }
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) override {
        Record(L"DoVerb");
        if (m_behaviour.failActivation) return E_FAIL;
        if (!m_active) {
            const HRESULT hr = Activate(site != nullptr ? site : m_clientSite);
            if (FAILED(hr)) return hr;
        }
        if (verb == OLEIVERB_UIACTIVATE) m_inPlaceSite->OnUIActivate();
        return S_OK;
    }
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL* size) override {
        Probe().extent = *size;
        return S_OK;
    }
    STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override {
        *status = m_behaviour.miscStatus;
        return S_OK;
    }
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleControl
    STDMETHODIMP GetControlInfo(CONTROLINFO*) override { return E_NOTIMPL; }
    STDMETHODIMP OnMnemonic(MSG*) override { return E_NOTIMPL; }
    STDMETHODIMP OnAmbientPropertyChange(DISPID) override { return S_OK; }
    STDMETHODIMP FreezeEvents(BOOL) override { return S_OK; }

    // IOleInPlaceObjectWindowless
    STDMETHODIMP GetWindow(HWND* window) override {
        *window = m_window;
        return m_window != nullptr ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP InPlaceDeactivate() override {
        Deactivate();
        return S_OK;
    }
    STDMETHODIMP UIDeactivate() override { return S_OK; }
    STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT) override {
        Probe().objectRect = *position;
        if (m_window != nullptr)
            ::MoveWindow(m_window, position->left, position->top, position->right - position->left,
                         position->bottom - position->top, TRUE);
        return S_OK;
    }
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnWindowMessage(UINT message, WPARAM, LPARAM, LRESULT* result) override {
        Probe().messages.push_back(message);
        *result = 42;
        return S_OK;
    }
    STDMETHODIMP GetDropTarget(IDropTarget**) override { return E_NOTIMPL; }

    // IViewObjectEx
    STDMETHODIMP Draw(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC hDC, LPCRECTL bounds, LPCRECTL,
                      BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override {
        Record(L"Draw");
        const RECT rc{bounds->left, bounds->top, bounds->right, bounds->bottom};
        const HBRUSH brush = ::CreateSolidBrush(m_behaviour.fill);
        ::FillRect(hDC, &rc, brush);
        ::DeleteObject(brush);
        return S_OK;
    }
    STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetAdvise(DWORD, DWORD, IAdviseSink*) override { return E_NOTIMPL; }
    STDMETHODIMP GetAdvise(DWORD*, DWORD*, IAdviseSink**) override { return E_NOTIMPL; }
    STDMETHODIMP GetExtent(DWORD, LONG, DVTARGETDEVICE*, LPSIZEL) override { return E_NOTIMPL; }
    STDMETHODIMP GetRect(DWORD, LPRECTL) override { return E_NOTIMPL; }
    STDMETHODIMP GetViewStatus(DWORD* status) override {
        *status = VIEWSTATUS_OPAQUE;
        return S_OK;
    }
    STDMETHODIMP QueryHitPoint(DWORD, LPCRECT bounds, POINT point, LONG, DWORD* result) override {
        const bool inside = ::PtInRect(bounds, point) != FALSE;
        const bool leftHalf = point.x < (bounds->left + bounds->right) / 2;
        *result = inside && (leftHalf || !m_behaviour.hitLeftHalfOnly) ? HITRESULT_HIT
                                                                       : HITRESULT_OUTSIDE;
        return S_OK;
    }
    STDMETHODIMP QueryHitRect(DWORD, LPCRECT, LPCRECT, LONG, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP GetNaturalExtent(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*,
                                  LPSIZEL) override {
        return E_NOTIMPL;
    }

    // IObjectWithSite
    STDMETHODIMP SetSite(IUnknown* site) override {
        Record(site != nullptr ? L"SetSite" : L"SetSite(null)");
        if (site != nullptr && m_behaviour.failSetSite) return E_FAIL;
        if (site != nullptr) site->AddRef();
        ReleaseInterface(m_site);
        m_site = site;
        return S_OK;
    }
    STDMETHODIMP GetSite(REFIID iid, void** site) override {
        if (m_site == nullptr) return E_FAIL;
        return m_site->QueryInterface(iid, site);
    }

    // IPersistStreamInit
    STDMETHODIMP GetClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(LPSTREAM) override { return E_NOTIMPL; }
    STDMETHODIMP Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP InitNew() override {
        Record(L"InitNew");
        return m_behaviour.failInitNew ? E_FAIL : S_OK;
    }

private:
    ~TestObject() {
        Deactivate();
        ReleaseInterface(m_site);
        if (m_clientSite != nullptr) Probe().site = nullptr;
        ReleaseInterface(m_clientSite);
        --g_live;
    }

    // In-place activation the way controls do it: ask, tell, then take the window and
    // the window context.
    HRESULT Activate(IOleClientSite* site) {
        if (site == nullptr) return E_UNEXPECTED;
        IOleInPlaceSite* inPlace = nullptr;
        if (FAILED(site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlace))))
            return E_NOINTERFACE;
        HRESULT hr = inPlace->CanInPlaceActivate();
        IOleInPlaceSiteWindowless* windowless = nullptr;
        if (hr == S_OK && m_windowless &&
            SUCCEEDED(site->QueryInterface(IID_IOleInPlaceSiteWindowless,
                                           reinterpret_cast<void**>(&windowless)))) {
            BOOL noRedraw = FALSE;
            hr = windowless->OnInPlaceActivateEx(&noRedraw, ACTIVATE_WINDOWLESS);
            windowless->Release();
        } else if (hr == S_OK) {
            hr = inPlace->OnInPlaceActivate();
        }
        if (FAILED(hr)) {
            inPlace->Release();
            return hr;
        }
        m_inPlaceSite = inPlace;
        m_active = true;
        inPlace->GetWindow(&Probe().siteWindow);
        RECT position{};
        RECT clip{};
        OLEINPLACEFRAMEINFO info{};
        info.cb = sizeof(info);
        if (SUCCEEDED(inPlace->GetWindowContext(&m_frame, &m_document, &position, &clip, &info)))
            Probe().accel = info.haccel;
        if (!m_windowless) {
            m_window = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                         Probe().siteWindow, nullptr, nullptr, nullptr);
            Probe().window = m_window;
        }
        return S_OK;
    }

    void Deactivate() {
        if (!m_active) return;
        m_active = false;
        if (m_window != nullptr) ::DestroyWindow(m_window);
        m_window = nullptr;
        ReleaseInterface(m_frame);
        ReleaseInterface(m_document);
        m_inPlaceSite->OnInPlaceDeactivate();
        ReleaseInterface(m_inPlaceSite);
    }

    LONG m_refs = 1;
    bool m_windowless;
    TestObjectProbe m_behaviour; // the probe's settings when created
    bool m_active = false;
    IOleClientSite* m_clientSite = nullptr;
    IOleInPlaceSite* m_inPlaceSite = nullptr;
    IOleInPlaceFrame* m_frame = nullptr;
    IOleInPlaceUIWindow* m_document = nullptr;
    IUnknown* m_site = nullptr;
    HWND m_window = nullptr;
};

class TestFactory final : public IClassFactory {
public:
    explicit TestFactory(bool windowless) : m_windowless(windowless) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (iid != IID_IUnknown && iid != IID_IClassFactory) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++m_refs); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = --m_refs;
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        *object = nullptr;
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        auto* created = new TestObject(m_windowless);
        const HRESULT hr = created->QueryInterface(iid, object);
        created->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

private:
    ~TestFactory() = default;

    LONG m_refs = 1;
    bool m_windowless;
};

} // namespace

bool TestObjectProbe::Called(const wchar_t* call) const {
    for (const std::wstring& seen : calls)
        if (seen == call) return true;
    return false;
}

void TestObjectProbe::Reset() {
    *this = TestObjectProbe();
}

TestObjectProbe& Probe() {
    static TestObjectProbe probe;
    return probe;
}

LONG LiveTestObjects() {
    return g_live;
}

IClassFactory* NewTestFactory(bool windowless) {
    return new TestFactory(windowless);
}

} // namespace activextest
