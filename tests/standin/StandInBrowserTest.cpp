// The stand-in browser hosted the way a container hosts the system browser:
// in-place in a real window, events through DWebBrowserEvents2, navigation
// cancelled from BeforeNavigate2, and registration under the browser's class id.
#include "StandInProtocol.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <exdisp.h>
#include <exdispid.h>
#include <mshtml.h>
#include <ocidl.h>
#include <oleidl.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::wstring ExecutableDirectory() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path, length);
    return directory.substr(0, directory.find_last_of(L"\\/") + 1);
}

// An export of a module, through the generic function pointer type any entry point converts to.
template <typename Function> Function Export(HMODULE module, const char* name) {
    using AnyProc = void (*)();
    return reinterpret_cast<Function>(reinterpret_cast<AnyProc>(GetProcAddress(module, name)));
}

std::wstring StandInPath() {
    return ExecutableDirectory() + L"browser-standin.dll";
}

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text)
        narrow += static_cast<char>(c < 128 ? c : '?');
    return narrow;
}

// Runs the message loop until the condition holds or two seconds pass.
bool PumpUntil(const std::function<bool()>& condition) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > 2000) return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(1);
    }
    return true;
}

// Handles every message already queued, including what they post in turn.
void PumpQueued() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::vector<std::string> ReadLines(const std::wstring& path) {
    std::ifstream file(Narrow(path));
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
    for (const std::string& candidate : lines)
        if (candidate == line) return true;
    return false;
}

// The smallest in-place container: a client site and an in-place site over one window.
class TestSite : public IOleClientSite, public IOleInPlaceSite {
public:
    TestSite(HWND window, RECT rect) : window_(window), rect_(rect) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IOleClientSite)
            *object = static_cast<IOleClientSite*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
            *object = static_cast<IOleInPlaceSite*>(this);
        else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
    STDMETHODIMP_(ULONG) Release() override { return --references; }

    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
        *moniker = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetContainer(IOleContainer** container) override {
        *container = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    STDMETHODIMP GetWindow(HWND* window) override {
        *window = window_;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override {
        ++activations;
        return S_OK;
    }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                  LPRECT position, LPRECT clip,
                                  LPOLEINPLACEFRAMEINFO info) override {
        *frame = nullptr;
        *document = nullptr;
        *position = rect_;
        *clip = rect_;
        info->fMDIApp = FALSE;
        info->hwndFrame = window_;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override {
        ++deactivations;
        return S_OK;
    }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

    ULONG references = 1;
    int activations = 0;
    int deactivations = 0;

private:
    HWND window_;
    RECT rect_;
};

// DWebBrowserEvents2 sink that records navigation events, cancels addresses
// containing a given text, and reads the document title at NavigateComplete2
// as the client's game window does.
class EventSink : public IDispatch {
public:
    struct Event {
        DISPID id;
        std::wstring address;
    };

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
    STDMETHODIMP_(ULONG) Release() override { return --references; }
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }

    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*,
                        UINT*) override {
        VARIANT* arguments = parameters->rgvarg;
        if (id == DISPID_BEFORENAVIGATE2) {
            EXPECT_EQ(7u, parameters->cArgs);
            EXPECT_EQ(VT_DISPATCH, arguments[6].vt);
            EXPECT_EQ(VT_BOOL | VT_BYREF, arguments[0].vt);
            const std::wstring address = Address(arguments[5]);
            events.push_back(Event{id, address});
            if (!cancelWhenContains.empty() &&
                address.find(cancelWhenContains) != std::wstring::npos)
                *arguments[0].pboolVal = VARIANT_TRUE;
        } else if (id == DISPID_NAVIGATEERROR) {
            EXPECT_EQ(5u, parameters->cArgs);
            events.push_back(Event{id, Address(arguments[3])});
        } else if (id == DISPID_NAVIGATECOMPLETE2 || id == DISPID_DOCUMENTCOMPLETE) {
            EXPECT_EQ(2u, parameters->cArgs);
            EXPECT_EQ(VT_DISPATCH, arguments[1].vt);
            events.push_back(Event{id, Address(arguments[0])});
            if (id == DISPID_NAVIGATECOMPLETE2)
                titleAtComplete = DocumentTitle(arguments[1].pdispVal);
        }
        return S_OK;
    }

    // The navigation events (250, 252, 259, 271) in order, as "<id> <address>".
    std::vector<std::string> Navigation() const {
        std::vector<std::string> lines;
        for (const Event& event : events)
            lines.push_back(std::to_string(event.id) + " " + Narrow(event.address));
        return lines;
    }

    bool Has(DISPID id, const std::wstring& address) const {
        for (const Event& event : events)
            if (event.id == id && event.address == address) return true;
        return false;
    }

    ULONG references = 1;
    std::wstring cancelWhenContains;
    std::vector<Event> events;
    std::wstring titleAtComplete;

private:
    static std::wstring Address(const VARIANT& argument) {
        EXPECT_EQ(VT_VARIANT | VT_BYREF, argument.vt);
        const VARIANT* url = argument.pvarVal;
        if (!url || url->vt != VT_BSTR || !url->bstrVal) return std::wstring();
        return url->bstrVal;
    }

    static std::wstring DocumentTitle(IDispatch* browserDispatch) {
        std::wstring title;
        IWebBrowser2* browser = nullptr;
        IDispatch* document = nullptr;
        IHTMLDocument2* html = nullptr;
        BSTR text = nullptr;
        if (SUCCEEDED(browserDispatch->QueryInterface(IID_IWebBrowser2,
                                                      reinterpret_cast<void**>(&browser))) &&
            SUCCEEDED(browser->get_Document(&document)) && document &&
            SUCCEEDED(
                document->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&html))) &&
            SUCCEEDED(html->get_title(&text)) && text)
            title = text;
        SysFreeString(text);
        if (html) html->Release();
        if (document) document->Release();
        if (browser) browser->Release();
        return title;
    }
};

class StandInBrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        logPath_ = ExecutableDirectory() + L"standin-test.log";
        DeleteFileW(logPath_.c_str());
        SetEnvironmentVariableW(StandIn::kLogPathVariable, logPath_.c_str());
        module_ = LoadLibraryW(StandInPath().c_str());
        ASSERT_NE(nullptr, module_) << "browser-standin.dll beside the test";
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
        SetEnvironmentVariableW(StandIn::kLogPathVariable, nullptr);
        OleUninitialize();
    }

    std::vector<std::string> Log() const { return ReadLines(logPath_); }

    std::wstring logPath_;
    HMODULE module_ = nullptr;
};

TEST_F(StandInBrowserTest, NavigatesInPlaceWithCancellableEvents) {
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    const auto getClassObject = Export<GetClassObject>(module_, "DllGetClassObject");
    ASSERT_NE(nullptr, getClassObject);
    IClassFactory* factory = nullptr;
    ASSERT_EQ(S_OK, getClassObject(CLSID_WebBrowser, IID_IClassFactory,
                                   reinterpret_cast<void**>(&factory)));
    IOleObject* object = nullptr;
    ASSERT_EQ(S_OK,
              factory->CreateInstance(nullptr, IID_IOleObject, reinterpret_cast<void**>(&object)));
    factory->Release();

    // One identity behind every interface a host asks for.
    IUnknown* identity = nullptr;
    IWebBrowser2* browser = nullptr;
    IOleInPlaceObject* inPlace = nullptr;
    IViewObject2* view = nullptr;
    IPersistStreamInit* persist = nullptr;
    IConnectionPointContainer* container = nullptr;
    ASSERT_EQ(S_OK, object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)));
    ASSERT_EQ(S_OK, object->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser)));
    ASSERT_EQ(S_OK,
              object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)));
    ASSERT_EQ(S_OK, object->QueryInterface(IID_IViewObject2, reinterpret_cast<void**>(&view)));
    ASSERT_EQ(S_OK,
              object->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist)));
    ASSERT_EQ(S_OK, browser->QueryInterface(IID_IConnectionPointContainer,
                                            reinterpret_cast<void**>(&container)));
    IUnknown* again = nullptr;
    ASSERT_EQ(S_OK, view->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&again)));
    EXPECT_EQ(identity, again);
    again->Release();

    // In-place activation in a real window, the way the ActiveX host does it.
    HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                800, 600, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, host);
    TestSite site(host, RECT{0, 0, 100, 100});
    DWORD misc = 0;
    object->GetMiscStatus(DVASPECT_CONTENT, &misc);
    EXPECT_TRUE(misc & OLEMISC_SETCLIENTSITEFIRST);
    ASSERT_EQ(S_OK, object->SetClientSite(&site));
    ASSERT_EQ(S_OK, persist->InitNew());
    RECT area{0, 0, 100, 100};
    ASSERT_EQ(S_OK, object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, host, &area));
    EXPECT_EQ(1, site.activations);
    HWND page = nullptr;
    ASSERT_EQ(S_OK, inPlace->GetWindow(&page));
    EXPECT_EQ(host, GetParent(page));
    wchar_t className[64] = {};
    GetClassNameW(page, className, 64);
    EXPECT_STREQ(StandIn::kWindowClass, className);
    const RECT placed{10, 20, 710, 450};
    ASSERT_EQ(S_OK, inPlace->SetObjectRects(&placed, &placed));
    RECT moved;
    GetWindowRect(page, &moved);
    MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&moved), 2);
    EXPECT_TRUE(EqualRect(&placed, &moved));

    IConnectionPoint* point = nullptr;
    ASSERT_EQ(S_OK, container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point));
    EventSink sink;
    DWORD cookie = 0;
    ASSERT_EQ(S_OK, point->Advise(&sink, &cookie));

    // Events come from the message queue, never from inside Navigate2.
    const std::wstring login = L"http://www.varnel.example/Client/login";
    VARIANT address;
    VariantInit(&address);
    address.vt = VT_BSTR;
    address.bstrVal = SysAllocString(login.c_str());
    ASSERT_EQ(S_OK, browser->Navigate2(&address, nullptr, nullptr, nullptr, nullptr));
    VariantClear(&address);
    EXPECT_TRUE(sink.events.empty());
    ASSERT_TRUE(PumpUntil([&] { return sink.Has(DISPID_DOCUMENTCOMPLETE, login); }));
    const std::string loginText = Narrow(login);
    EXPECT_EQ(
        (std::vector<std::string>{"250 " + loginText, "252 " + loginText, "259 " + loginText}),
        sink.Navigation());
    EXPECT_EQ(StandIn::kLoginTitle, sink.titleAtComplete);
    wchar_t windowText[256] = {};
    GetWindowTextW(page, windowText, 256);
    EXPECT_EQ(login, windowText);

    // The page's "log in" button starts a navigation to the game address; the
    // client cancels it in BeforeNavigate2, so the login page stays.
    sink.events.clear();
    sink.cancelWhenContains = L"client=pc";
    RECT client;
    GetClientRect(page, &client);
    const RECT button = StandIn::LoginButtonRect(client.right, client.bottom);
    const LPARAM middle =
        MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    SendMessageW(page, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageW(page, WM_LBUTTONUP, 0, middle);
    ASSERT_TRUE(PumpUntil([&] { return !sink.events.empty(); }));
    PumpQueued();
    EXPECT_EQ((std::vector<std::string>{"250 " + Narrow(StandIn::kGameAddress)}),
              sink.Navigation());
    BSTR location = nullptr;
    ASSERT_EQ(S_OK, browser->get_LocationURL(&location));
    EXPECT_EQ(login, location);
    SysFreeString(location);

    // Not cancelled, the game address loads the game page titled "Varnel".
    sink.events.clear();
    sink.cancelWhenContains.clear();
    BSTR game = SysAllocString(StandIn::kGameAddress);
    ASSERT_EQ(S_OK, browser->Navigate(game, nullptr, nullptr, nullptr, nullptr));
    SysFreeString(game);
    ASSERT_TRUE(
        PumpUntil([&] { return sink.Has(DISPID_DOCUMENTCOMPLETE, StandIn::kGameAddress); }));
    EXPECT_TRUE(sink.Has(DISPID_NAVIGATECOMPLETE2, StandIn::kGameAddress));
    EXPECT_EQ(StandIn::kGameTitle, sink.titleAtComplete);

    // An unreachable address reports NavigateError, then shows the error page.
    sink.events.clear();
    const std::wstring offline = L"http://offline.invalid/";
    BSTR unreachable = SysAllocString(offline.c_str());
    ASSERT_EQ(S_OK, browser->Navigate(unreachable, nullptr, nullptr, nullptr, nullptr));
    SysFreeString(unreachable);
    ASSERT_TRUE(PumpUntil([&] { return sink.Has(DISPID_DOCUMENTCOMPLETE, offline); }));
    const std::string offlineText = Narrow(offline);
    EXPECT_EQ((std::vector<std::string>{"250 " + offlineText, "271 " + offlineText,
                                        "252 " + offlineText, "259 " + offlineText}),
              sink.Navigation());
    EXPECT_EQ(StandIn::kErrorTitle, sink.titleAtComplete);

    // Refresh levels reach the log, as does what the host does to the body.
    VARIANT level;
    VariantInit(&level);
    level.vt = VT_I4;
    level.lVal = REFRESH_COMPLETELY;
    ASSERT_EQ(S_OK, browser->Refresh2(&level));
    IDispatch* document = nullptr;
    IHTMLDocument2* html = nullptr;
    IHTMLElement* body = nullptr;
    IHTMLStyle* style = nullptr;
    ASSERT_EQ(S_OK, browser->get_Document(&document));
    ASSERT_EQ(S_OK, document->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&html)));
    ASSERT_EQ(S_OK, html->get_body(&body));
    ASSERT_EQ(S_OK, body->get_style(&style));
    BSTR hidden = SysAllocString(L"hidden");
    EXPECT_EQ(S_OK, style->put_overflow(hidden));
    SysFreeString(hidden);
    style->Release();
    body->Release();
    html->Release();
    document->Release();

    const std::vector<std::string> log = Log();
    EXPECT_TRUE(HasLine(log, "Navigate2 " + loginText));
    EXPECT_TRUE(HasLine(log, "LoginClicked"));
    EXPECT_TRUE(HasLine(log, "BeforeNavigate2 " + Narrow(StandIn::kGameAddress) + " cancelled"));
    EXPECT_TRUE(HasLine(log, "NavigateComplete2 " + Narrow(StandIn::kGameAddress)));
    EXPECT_TRUE(HasLine(log, "Refresh2 3"));
    EXPECT_TRUE(HasLine(log, "Style overflow hidden"));

    // Closing takes the window down and lets go of the site and the sink.
    EXPECT_EQ(S_OK, point->Unadvise(cookie));
    EXPECT_EQ(S_OK, object->Close(OLECLOSE_NOSAVE));
    EXPECT_EQ(1, site.deactivations);
    EXPECT_FALSE(IsWindow(page));
    object->SetClientSite(nullptr);
    point->Release();
    container->Release();
    persist->Release();
    view->Release();
    inPlace->Release();
    browser->Release();
    identity->Release();
    object->Release();
    EXPECT_EQ(1u, site.references);
    EXPECT_EQ(1u, sink.references);
    const auto canUnloadNow = Export<HRESULT(STDAPICALLTYPE*)()>(module_, "DllCanUnloadNow");
    ASSERT_NE(nullptr, canUnloadNow);
    EXPECT_EQ(S_OK, canUnloadNow());
    DestroyWindow(host);
}

// regsvr32 makes CoCreateInstance of the browser's class id load the stand-in,
// and unregistering puts the system browser's entry back.
TEST_F(StandInBrowserTest, RegistersUnderTheBrowserClassId) {
    const wchar_t* serverKey = L"CLSID\\{8856F961-340A-11D0-A96B-00C04FD705A2}\\InprocServer32";
    auto server = [&] {
        wchar_t value[MAX_PATH] = {};
        DWORD size = sizeof(value);
        if (RegGetValueW(HKEY_CLASSES_ROOT, serverKey, nullptr, RRF_RT_REG_SZ, nullptr, value,
                         &size) != ERROR_SUCCESS)
            return std::wstring();
        return std::wstring(value);
    };
    auto regsvr32 = [&](const std::wstring& options) {
        std::wstring command = L"regsvr32.exe " + options + L" \"" + StandInPath() + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process))
            return static_cast<DWORD>(-1);
        WaitForSingleObject(process.hProcess, 30000);
        DWORD exitCode = static_cast<DWORD>(-1);
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return exitCode;
    };

    const std::wstring systemServer = server();
    ASSERT_EQ(0u, regsvr32(L"/s"));
    EXPECT_EQ(StandInPath(), server());
    IWebBrowser2* browser = nullptr;
    HRESULT created = CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IWebBrowser2, reinterpret_cast<void**>(&browser));
    BSTR name = nullptr;
    if (SUCCEEDED(created)) {
        browser->get_Name(&name);
        browser->Release();
    }
    // Unregister before judging, so a failure leaves the prefix as it was.
    EXPECT_EQ(0u, regsvr32(L"/s /u"));
    EXPECT_EQ(systemServer, server());
    ASSERT_EQ(S_OK, created);
    ASSERT_NE(nullptr, name);
    EXPECT_STREQ(StandIn::kBrowserName, name);
    SysFreeString(name);
}

} // namespace
