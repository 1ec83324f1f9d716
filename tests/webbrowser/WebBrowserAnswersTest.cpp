// What the web browser control answers before any browser exists: the document host's
// questions, script errors, services, its COM faces, the event relays and the calls by name.
#include "BrowserTestKit.h"

#include <exdispid.h>

#include "activex/WebBrowserUI.h"
#include "core/DialogBuilder.h"

using browsertest::RecordingHandler;
using SkinUI::CWebBrowserUI;

namespace {

const GUID kDocHostCommandGroup = {
    0xf38bc242, 0xb950, 0x11d1, {0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36}};

VARIANT ByRef(VARIANT* value) {
    VARIANT argument;
    VariantInit(&argument);
    V_VT(&argument) = VT_BYREF | VT_VARIANT;
    argument.pvarVal = value;
    return argument;
}

VARIANT Of(VARTYPE type, LONG number = 0) {
    VARIANT value;
    VariantInit(&value);
    V_VT(&value) = type;
    V_I4(&value) = number;
    return value;
}

// An object with one property, "value" (id 1), and one method, "twice" (id 2), that
// remembers the locale it was called with.
class PropertyObject : public IDispatch {
public:
    STDMETHODIMP QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override {
        *ids = wcscmp(names[0], L"value") == 0 ? 1 : wcscmp(names[0], L"twice") == 0 ? 2 : -1;
        return *ids == -1 ? DISP_E_UNKNOWNNAME : S_OK;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID lcid, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO*, UINT*) override {
        locale = lcid;
        if (id == 1 && flags == DISPATCH_PROPERTYGET) {
            *result = Of(VT_I4, value);
        } else if (id == 1 && flags == DISPATCH_PROPERTYPUT) {
            if (params->cNamedArgs != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
                return DISP_E_PARAMNOTOPTIONAL;
            value = V_I4(&params->rgvarg[0]);
        } else if (id == 2 && flags == DISPATCH_METHOD && params->cArgs == 1) {
            *result = Of(VT_I4, 2 * V_I4(&params->rgvarg[0]));
        } else {
            return DISP_E_MEMBERNOTFOUND;
        }
        return S_OK;
    }
    LONG value = 5;
    LCID locale = 0;
};

} // namespace

TEST(WebBrowserAnswers, DocumentHostAnswersWithoutAndWithAHandler) {
    CWebBrowserUI web;
    IDropTarget* target = reinterpret_cast<IDropTarget*>(1);
    IDispatch* external = reinterpret_cast<IDispatch*>(1);
    LPWSTR translated = reinterpret_cast<LPWSTR>(1);
    IDataObject* filtered = reinterpret_cast<IDataObject*>(1);
    MSG msg{};
    EXPECT_EQ(web.ShowContextMenu(7, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(web.ShowUI(0, nullptr, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(web.HideUI() | web.UpdateUI() | web.EnableModeless(TRUE), S_OK);
    EXPECT_EQ(web.OnDocWindowActivate(TRUE), S_OK);
    EXPECT_EQ(web.OnFrameWindowActivate(TRUE), E_NOTIMPL);
    EXPECT_EQ(web.ResizeBorder(nullptr, nullptr, TRUE), E_NOTIMPL);
    EXPECT_EQ(web.GetOptionKeyPath(nullptr, 0), E_NOTIMPL);
    EXPECT_EQ(web.TranslateAccelerator(&msg, nullptr, 0), S_FALSE);
    EXPECT_EQ(web.GetDropTarget(nullptr, &target), S_FALSE);
    EXPECT_EQ(web.GetExternal(&external), S_FALSE);
    EXPECT_EQ(web.TranslateUrl(0, nullptr, &translated), E_NOTIMPL);
    EXPECT_EQ(web.FilterDataObject(nullptr, &filtered), E_NOTIMPL);
    EXPECT_EQ(target, nullptr);
    EXPECT_EQ(external, nullptr);
    EXPECT_EQ(translated, nullptr);
    EXPECT_EQ(filtered, nullptr);

    // With a handler its answers count: overridden ones and the base class's own.
    RecordingHandler handler;
    web.SetWebBrowserEventHandler(&handler);
    EXPECT_EQ(web.ShowContextMenu(7, nullptr, nullptr, nullptr), S_FALSE);
    EXPECT_EQ(web.ShowUI(0, nullptr, nullptr, nullptr, nullptr), S_FALSE);
    EXPECT_EQ(web.OnFrameWindowActivate(TRUE), S_OK);
    EXPECT_EQ(web.ResizeBorder(nullptr, nullptr, TRUE), S_OK);
    EXPECT_EQ(web.GetDropTarget(nullptr, &target), E_NOTIMPL);
    EXPECT_EQ(web.TranslateUrl(0, nullptr, &translated), S_OK);
}

TEST(WebBrowserAnswers, HostInfoIsNeverAskedOfTheHandler) {
    CWebBrowserUI web;
    RecordingHandler handler;
    web.SetWebBrowserEventHandler(&handler);
    EXPECT_EQ(web.GetHostInfo(nullptr), E_INVALIDARG);
    DOCHOSTUIINFO info{};
    info.dwFlags = 0x100;
    info.dwDoubleClick = 2;
    EXPECT_EQ(web.GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.cbSize, sizeof(DOCHOSTUIINFO));
    EXPECT_EQ(info.dwFlags, 0x100u | DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO);
    EXPECT_EQ(info.dwDoubleClick, 0u);
    EXPECT_EQ(handler.hostInfoCalls, 0);
}

TEST(WebBrowserAnswers, ScriptErrorsAreSwallowedAndBadCommandsRefused) {
    CWebBrowserUI web;
    PropertyObject document; // no IHTMLDocument2: the error details cannot be read
    VARIANT input = Of(VT_DISPATCH);
    V_DISPATCH(&input) = &document;
    VARIANT output = Of(VT_EMPTY);
    const GUID other = IID_IDispatch;
    auto exec = [&web](const GUID* group, DWORD id, VARIANT* in, VARIANT* out) {
        return web.Exec(group, id, 0, in, out);
    };
    const GUID* group = &kDocHostCommandGroup;
    EXPECT_EQ(web.QueryStatus(group, 0, nullptr, nullptr), OLECMDERR_E_NOTSUPPORTED);
    EXPECT_EQ(exec(nullptr, OLECMDID_SHOWSCRIPTERROR, &input, &output), OLECMDERR_E_UNKNOWNGROUP);
    EXPECT_EQ(exec(&other, OLECMDID_SHOWSCRIPTERROR, &input, &output), OLECMDERR_E_UNKNOWNGROUP);
    EXPECT_EQ(exec(group, OLECMDID_REFRESH, &input, &output), OLECMDERR_E_NOTSUPPORTED);
    EXPECT_EQ(exec(group, OLECMDID_SHOWSCRIPTERROR, &input, nullptr), E_POINTER);
    VARIANT number = Of(VT_I4, 3);
    EXPECT_EQ(exec(group, OLECMDID_SHOWSCRIPTERROR, &number, &output), E_INVALIDARG);
    EXPECT_EQ(V_VT(&output), VT_EMPTY);
    EXPECT_EQ(exec(group, OLECMDID_SHOWSCRIPTERROR, &input, &output), S_OK);
    EXPECT_EQ(V_VT(&output), VT_BOOL);
    EXPECT_EQ(V_BOOL(&output), VARIANT_TRUE);
}

TEST(WebBrowserAnswers, DownloadManagerServiceAndComFaces) {
    CWebBrowserUI web;
    void* object = &web;
    const IID downloads = __uuidof(IDownloadManager);
    EXPECT_EQ(web.QueryService(IID_IDispatch, downloads, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(web.QueryService(downloads, IID_IDispatch, &object), E_NOINTERFACE);
    ASSERT_EQ(web.QueryService(downloads, downloads, &object), S_OK);
    auto* manager = static_cast<IDownloadManager*>(object);
    EXPECT_EQ(manager, static_cast<IDownloadManager*>(&web));
    EXPECT_EQ(manager->Download(nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, 0), S_OK);
    RecordingHandler handler;
    web.SetWebBrowserEventHandler(&handler);
    EXPECT_EQ(manager->Download(nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, 0), E_ABORT);
    manager->Release();

    IUnknown* unknown = nullptr;
    ASSERT_EQ(web.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    for (const IID& iid : {IID_IDispatch, DIID_DWebBrowserEvents2, __uuidof(IDocHostUIHandler),
                           IID_IServiceProvider, IID_IOleCommandTarget}) {
        IUnknown* face = nullptr;
        ASSERT_EQ(web.QueryInterface(iid, reinterpret_cast<void**>(&face)), S_OK);
        IUnknown* identity = nullptr;
        face->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
        EXPECT_EQ(identity, unknown); // one object behind every face
        identity->Release();
        face->Release();
    }
    IDispatch* events = nullptr;
    web.QueryInterface(DIID_DWebBrowserEvents2, reinterpret_cast<void**>(&events));
    EXPECT_EQ(events, static_cast<IDispatch*>(&web));
    events->Release();
    EXPECT_EQ(web.QueryInterface(IID_IOleObject, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    unknown->Release();
}

TEST(WebBrowserAnswers, EventsReachTheHandlerWithTheirArgumentsChecked) {
    CWebBrowserUI web;
    web.SetName(L"gameWeb");
    auto invoke = [&web](DISPID id, DISPPARAMS* params, UINT* argError = nullptr,
                         VARIANT* result = nullptr, const IID& riid = IID_NULL) {
        return web.Invoke(id, riid, 0, DISPATCH_METHOD, params, result, nullptr, argError);
    };
    RecordingHandler handler;
    handler.cancelPart = L"blocked";
    VARIANT url = Of(VT_BSTR);
    V_BSTR(&url) = SysAllocString(L"http://blocked.example/");
    VARIANT flags = Of(VT_I4), other = Of(VT_EMPTY);
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT before[7] = {Of(VT_BYREF | VT_BOOL), ByRef(&other), ByRef(&other),  ByRef(&other),
                         ByRef(&flags),          ByRef(&url),   Of(VT_DISPATCH)};
    before[0].pboolVal = &cancel;
    DISPPARAMS params{before, nullptr, 7, 0};
    // Without a handler nothing is relayed; a riid other than IID_NULL is refused.
    EXPECT_EQ(invoke(DISPID_BEFORENAVIGATE2, &params), S_OK);
    web.SetWebBrowserEventHandler(&handler);
    web.SetWebBrowserEventHandler(nullptr); // keeps the handler
    EXPECT_EQ(web.GetWebBrowserEventHandler(), &handler);
    EXPECT_EQ(invoke(DISPID_BEFORENAVIGATE2, &params, nullptr, nullptr, IID_IDispatch),
              E_INVALIDARG);
    EXPECT_TRUE(handler.before.empty());
    EXPECT_EQ(invoke(DISPID_BEFORENAVIGATE2, &params), S_OK);
    EXPECT_EQ(handler.before, std::vector<std::wstring>{L"http://blocked.example/"});
    EXPECT_EQ(cancel, VARIANT_TRUE); // written through into the event's arguments

    // Wrong counts, types and empty references are refused before any handler runs.
    UINT argError = 99;
    params.cArgs = 6;
    EXPECT_EQ(invoke(DISPID_BEFORENAVIGATE2, &params), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(invoke(DISPID_NAVIGATEERROR, nullptr), DISP_E_BADPARAMCOUNT);
    params.cArgs = 7;
    before[3] = Of(VT_BSTR);
    EXPECT_EQ(invoke(DISPID_BEFORENAVIGATE2, &params, &argError), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argError, 3u);
    before[3] = ByRef(nullptr);
    EXPECT_EQ(invoke(DISPID_BEFORENAVIGATE2, &params), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(handler.before.size(), 1u);

    // NavigateComplete2 carries the control's name; the others their own arguments.
    VARIANT complete[2] = {ByRef(&url), Of(VT_DISPATCH)};
    DISPPARAMS two{complete, nullptr, 2, 0};
    EXPECT_EQ(invoke(DISPID_NAVIGATECOMPLETE2, &two), S_OK);
    EXPECT_EQ(invoke(DISPID_DOCUMENTCOMPLETE, &two), S_OK);
    EXPECT_EQ(handler.completed, std::vector<std::wstring>{L"http://blocked.example/ gameWeb"});
    VARIANT status = Of(VT_I4, 404);
    VARIANT error[5] = {before[0], ByRef(&status), ByRef(&other), ByRef(&url), Of(VT_DISPATCH)};
    DISPPARAMS five{error, nullptr, 5, 0};
    EXPECT_EQ(invoke(DISPID_NAVIGATEERROR, &five), S_OK);
    EXPECT_EQ(handler.errors, std::vector<std::wstring>{L"http://blocked.example/ 404"});
    IDispatch* newWindow = nullptr;
    VARIANT window[5] = {url, Of(VT_BSTR), Of(VT_I4, 6), before[0], Of(VT_BYREF | VT_DISPATCH)};
    window[4].ppdispVal = &newWindow;
    five.rgvarg = window;
    EXPECT_EQ(invoke(DISPID_NEWWINDOW3, &five), S_OK);
    EXPECT_EQ(handler.newWindows, std::vector<std::wstring>{L"http://blocked.example/ 6"});
    VARIANT state[2] = {Of(VT_BOOL, VARIANT_TRUE), Of(VT_I4, CSC_NAVIGATEBACK)};
    two.rgvarg = state;
    EXPECT_EQ(invoke(DISPID_COMMANDSTATECHANGE, &two), S_OK);
    EXPECT_EQ(handler.commands, std::vector<std::wstring>{L"2 on"});

    // The download-control ambient property; unknown members.
    VARIANT result = Of(VT_EMPTY);
    EXPECT_EQ(invoke(-5512, &params, nullptr, &result), S_OK);
    EXPECT_EQ(V_VT(&result), VT_I4);
    EXPECT_EQ(V_I4(&result), 48);
    EXPECT_EQ(invoke(-5512, &params), E_INVALIDARG);
    EXPECT_EQ(invoke(DISPID_STATUSTEXTCHANGE, &params), S_OK);
    EXPECT_EQ(invoke(DISPID_PROGRESSCHANGE, &params), DISP_E_MEMBERNOTFOUND);
    VariantClear(&url);
}

TEST(WebBrowserAnswers, CallsByName) {
    PropertyObject object;
    VARIANT result = Of(VT_EMPTY);
    EXPECT_EQ(CWebBrowserUI::FindId(&object, L"twice"), 2);
    EXPECT_EQ(CWebBrowserUI::FindId(&object, L"missing"), -1);
    EXPECT_EQ(CWebBrowserUI::FindId(nullptr, L"value"), -1);
    EXPECT_EQ(CWebBrowserUI::GetProperty(&object, L"missing", &result), E_FAIL);
    VARIANT seven = Of(VT_I4, 7);
    EXPECT_EQ(CWebBrowserUI::SetProperty(&object, L"value", &seven), S_OK);
    EXPECT_EQ(CWebBrowserUI::GetProperty(&object, L"value", &result), S_OK);
    EXPECT_EQ(V_I4(&result), 7);
    EXPECT_EQ(object.locale, 2048u);
    EXPECT_EQ(CWebBrowserUI::InvokeMethod(&object, L"twice", &result, &seven, 1), S_OK);
    EXPECT_EQ(V_I4(&result), 14);
    EXPECT_EQ(CWebBrowserUI::InvokeMethod(&object, L"missing", &result, &seven, 1), E_FAIL);
    EXPECT_EQ(CWebBrowserUI::InvokeMethod(&object, L"twice", &result, nullptr, 1), E_INVALIDARG);
}

TEST(WebBrowserAnswers, BuiltFromSkinAndInertWithoutABrowser) {
    SkinUI::CDialogBuilder builder;
    SkinUI::CControlUI* control = builder.Create(
        L"<Window><WebBrowser name=\"web\" homepage=\"http://home.example/\" autonavi=\"true\" "
        L"width=\"30\"/></Window>");
    ASSERT_NE(control, nullptr);
    auto* web = static_cast<CWebBrowserUI*>(control->GetInterface(L"WebBrowser"));
    ASSERT_EQ(web, control);
    EXPECT_STREQ(web->GetClass(), L"WebBrowserUI");
    EXPECT_EQ(web->GetInterface(L"ActiveX"), static_cast<SkinUI::CActiveXUI*>(web));
    EXPECT_EQ(web->GetHomePage(), L"http://home.example/");
    EXPECT_TRUE(web->IsAutoNavigation());
    EXPECT_EQ(web->GetFixedWidth(), 30); // the control base's attributes still apply
    EXPECT_TRUE(IsEqualCLSID(web->GetClisd(), CLSID_WebBrowser));
    web->SetAttribute(L"autonavi", L"TRUE");
    EXPECT_FALSE(web->IsAutoNavigation());

    // No browser: every operation is a no-op, keys are not translated.
    web->Navigate2(L"http://a.example/");
    web->NavigateUrl(L"http://a.example/");
    web->NavigateHomePage();
    web->Refresh();
    web->Refresh2(3);
    web->GoBack();
    web->GoForward();
    EXPECT_EQ(web->GetWebBrowser2(), nullptr);
    EXPECT_EQ(web->GetHtmlWindow(), nullptr);
    MSG key{nullptr, WM_KEYDOWN, VK_F5, 0, 0, {}};
    MSG mouse{nullptr, WM_MOUSEMOVE, 0, 0, 0, {}};
    EXPECT_EQ(web->TranslateAccelerator(&key), E_NOTIMPL);
    EXPECT_EQ(web->TranslateAccelerator(&mouse), S_FALSE);
    delete control;
}
