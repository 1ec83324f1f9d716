#include "StandInBrowser.h"

#include "MockDocument.h"
#include "StandInLog.h"
#include "StandInModule.h"
#include "StandInProtocol.h"

#include <exdisp.h>

#include <cwchar>

namespace {

// Posted to the queue window once per queued navigation.
constexpr UINT kRunNavigationMessage = WM_APP + 1;

template <typename Interface> void ReleaseAndClear(Interface*& pointer) {
    if (!pointer) return;
    Interface* old = pointer;
    pointer = nullptr;
    old->Release();
}

HRESULT CopyOut(const std::wstring& text, BSTR* value) {
    if (!value) return E_POINTER;
    *value = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *value ? S_OK : E_OUTOFMEMORY;
}

std::wstring RectText(const RECT& rect) {
    return std::to_wstring(rect.left) + L"," + std::to_wstring(rect.top) + L"," +
           std::to_wstring(rect.right) + L"," + std::to_wstring(rect.bottom);
}

} // namespace

HRESULT StandInBrowser::Create(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    StandInBrowser* browser = new StandInBrowser;
    const HRESULT result = browser->QueryInterface(iid, object);
    browser->Release();
    return result;
}

StandInBrowser::StandInBrowser() : events_(this) {
    StandInModule::ObjectCreated();
    // 300 x 200 pixels at 96 DPI until the host sets an extent.
    extent_.cx = 7938;
    extent_.cy = 5292;
    if (StandInModule::RegisterWindowClass(&StandInBrowser::WindowProcedure))
        queueWindow_ = CreateWindowExW(0, StandIn::kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                       nullptr, StandInModule::Handle(), this);
    StandInLog::Write(StandIn::kLogCreate);
}

StandInBrowser::~StandInBrowser() {
    for (HWND window : {queueWindow_, window_}) {
        if (!window) continue;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
    queueWindow_ = nullptr;
    window_ = nullptr;
    DropDocument();
    events_.DisconnectAll();
    ReleaseAndClear(frame_);
    ReleaseAndClear(uiWindow_);
    ReleaseAndClear(inPlaceSite_);
    ReleaseAndClear(clientSite_);
    StandInModule::ObjectDestroyed();
}

// ---- IUnknown ----

STDMETHODIMP StandInBrowser::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IOleObject) {
        *object = static_cast<IOleObject*>(this);
    } else if (iid == IID_IDispatch || iid == IID_IWebBrowser || iid == IID_IWebBrowserApp ||
               iid == IID_IWebBrowser2) {
        *object = static_cast<IWebBrowser2*>(this);
    } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject) {
        *object = static_cast<IOleInPlaceObject*>(this);
    } else if (iid == IID_IOleInPlaceActiveObject) {
        *object = static_cast<IOleInPlaceActiveObject*>(this);
    } else if (iid == IID_IViewObject || iid == IID_IViewObject2 || iid == IID_IViewObjectEx) {
        *object = static_cast<IViewObjectEx*>(this);
    } else if (iid == IID_IPersist || iid == IID_IPersistStreamInit) {
        *object = static_cast<IPersistStreamInit*>(this);
    } else if (iid == IID_IOleControl) {
        *object = static_cast<IOleControl*>(this);
    } else if (iid == IID_IOleCommandTarget) {
        *object = static_cast<IOleCommandTarget*>(this);
    } else if (iid == IID_IConnectionPointContainer) {
        *object = static_cast<IConnectionPointContainer*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) StandInBrowser::AddRef() {
    return InterlockedIncrement(&references_);
}

STDMETHODIMP_(ULONG) StandInBrowser::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
}

// ---- Window and navigation queue ----

LRESULT CALLBACK StandInBrowser::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* browser = reinterpret_cast<StandInBrowser*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!browser) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // Also reached when the host destroys its window, and ours with it, first.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        if (browser->window_ == window) browser->window_ = nullptr;
        if (browser->queueWindow_ == window) browser->queueWindow_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return browser->HandleMessage(window, message, wParam, lParam);
}

LRESULT StandInBrowser::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kRunNavigationMessage:
        RunNextNavigation(); // may release the last reference: nothing follows
        return 0;
    case WM_ERASEBKGND:
        return 1; // the page paints every pixel
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        page_.Paint(dc, client, refreshCount_);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            POINT point;
            RECT client;
            GetCursorPos(&point);
            ScreenToClient(window, &point);
            GetClientRect(window, &client);
            if (page_.HitsLoginButton(point, client.right, client.bottom)) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
        }
        break;
    case WM_MOUSEACTIVATE:
        // A click makes the page UI active, as the system browser does; the
        // parents still get their say through the default handling.
        if (!uiActive_ && inPlaceActive_) Activate(nullptr, nullptr, nullptr, true);
        break;
    case WM_LBUTTONUP: {
        const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        RECT client;
        GetClientRect(window, &client);
        if (page_.HitsLoginButton(point, client.right, client.bottom)) {
            StandInLog::Write(StandIn::kLogLoginClicked);
            QueueNavigation(StandIn::kGameAddress, 0);
        }
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HRESULT StandInBrowser::QueueNavigation(const std::wstring& address, int historyStep) {
    if (!queueWindow_) return E_FAIL;
    pending_.push_back(PendingNavigation{address, historyStep});
    if (!PostMessageW(queueWindow_, kRunNavigationMessage, 0, 0)) {
        pending_.pop_back();
        return E_FAIL;
    }
    return S_OK;
}

void StandInBrowser::RunNextNavigation() {
    if (pending_.empty()) return; // dropped by Stop or Close
    const PendingNavigation navigation = pending_.front();
    pending_.pop_front();
    const unsigned serial = navigationSerial_;
    AddRef(); // a handler may release the browser while it handles an event

    const bool cancelled = events_.FireBeforeNavigate2(Dispatch(), navigation.address);
    StandInLog::Write(StandIn::kLogBeforeNavigate2,
                      navigation.address + (cancelled ? L" cancelled" : L" allowed"));
    if (!cancelled && serial == navigationSerial_) {
        const bool unreachable = MockPage::IsUnreachable(navigation.address);
        bool errorCancelled = false;
        if (unreachable) {
            errorCancelled =
                events_.FireNavigateError(Dispatch(), navigation.address, StandIn::kNotFoundStatus);
            StandInLog::Write(StandIn::kLogNavigateError,
                              navigation.address + (errorCancelled ? L" cancelled" : L" shown"));
        }
        if (!errorCancelled && serial == navigationSerial_) LoadPage(navigation, unreachable);
    }
    Release();
}

void StandInBrowser::LoadPage(const PendingNavigation& navigation, bool unreachable) {
    const std::wstring& address = navigation.address;
    page_ = MockPage(address, unreachable);
    DropDocument();
    document_ = new MockDocument(address, page_.GetTitle());

    if (navigation.historyStep == 0) {
        if (!history_.empty()) history_.resize(historyIndex_ + 1);
        history_.push_back(address);
        historyIndex_ = history_.size() - 1;
    } else if (navigation.historyStep < 0 && historyIndex_ > 0) {
        --historyIndex_;
    } else if (navigation.historyStep > 0 && historyIndex_ + 1 < history_.size()) {
        ++historyIndex_;
    }

    if (window_) SetWindowTextW(window_, address.c_str());
    Repaint();

    // The document and its title exist before NavigateComplete2, so a handler
    // can read the title there; a Stop or Close from a handler ends the events.
    const unsigned serial = navigationSerial_;
    StandInLog::Write(StandIn::kLogNavigateComplete2, address);
    events_.FireNavigateComplete2(Dispatch(), address);
    if (serial != navigationSerial_) return;
    events_.FireTitleChange(page_.GetTitle().empty() ? address : page_.GetTitle());
    if (serial != navigationSerial_) return;
    events_.FireCommandStateChange(CSC_NAVIGATEBACK, historyIndex_ > 0);
    events_.FireCommandStateChange(CSC_NAVIGATEFORWARD, historyIndex_ + 1 < history_.size());
    if (serial != navigationSerial_) return;
    StandInLog::Write(StandIn::kLogDocumentComplete, address);
    events_.FireDocumentComplete(Dispatch(), address);
}

void StandInBrowser::DropDocument() {
    if (!document_) return;
    document_->DropUIHandler();
    ReleaseAndClear(document_);
}

void StandInBrowser::Repaint() {
    if (window_) InvalidateRect(window_, nullptr, TRUE);
}

HRESULT StandInBrowser::Activate(IOleClientSite* activeSite, HWND parentHint, LPCRECT positionHint,
                                 bool uiActivate) {
    if (!inPlaceActive_) {
        IOleClientSite* site = activeSite ? activeSite : clientSite_;
        if (!site) return E_UNEXPECTED;
        IOleInPlaceSite* inPlaceSite = nullptr;
        if (FAILED(site->QueryInterface(IID_IOleInPlaceSite,
                                        reinterpret_cast<void**>(&inPlaceSite))) ||
            !inPlaceSite)
            return E_NOINTERFACE;
        if (inPlaceSite->CanInPlaceActivate() != S_OK) {
            inPlaceSite->Release();
            return E_FAIL;
        }
        // Announced before the window exists, as the system browser does: a
        // host may make the window it gives the object only now.
        HRESULT result;
        IOleInPlaceSiteEx* siteEx = nullptr;
        if (SUCCEEDED(inPlaceSite->QueryInterface(IID_IOleInPlaceSiteEx,
                                                  reinterpret_cast<void**>(&siteEx))) &&
            siteEx) {
            BOOL noRedraw = FALSE;
            result = siteEx->OnInPlaceActivateEx(&noRedraw, 0);
            siteEx->Release();
        } else {
            result = inPlaceSite->OnInPlaceActivate();
        }
        if (FAILED(result)) {
            inPlaceSite->Release();
            return result;
        }
        inPlaceSite_ = inPlaceSite;
        inPlaceActive_ = true;

        HWND parent = nullptr;
        if (FAILED(inPlaceSite_->GetWindow(&parent)) || !parent) parent = parentHint;
        IOleInPlaceFrame* frame = nullptr;
        IOleInPlaceUIWindow* uiWindow = nullptr;
        RECT position{};
        RECT clip{};
        OLEINPLACEFRAMEINFO frameInfo{};
        frameInfo.cb = sizeof(frameInfo);
        const HRESULT context =
            inPlaceSite_->GetWindowContext(&frame, &uiWindow, &position, &clip, &frameInfo);
        frame_ = frame;
        uiWindow_ = uiWindow;
        if (FAILED(context)) SetRectEmpty(&position);
        // A host may size its window only after activation; then the rectangle
        // it gave SetObjectRects, or the one passed with the verb, is the better guess.
        if (IsRectEmpty(&position)) {
            if (hasObjectRect_)
                position = objectRect_;
            else if (positionHint)
                position = *positionHint;
        }
        if (parent) {
            window_ = CreateWindowExW(0, StandIn::kWindowClass, page_.GetAddress().c_str(),
                                      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                      position.left, position.top, position.right - position.left,
                                      position.bottom - position.top, parent, nullptr,
                                      StandInModule::Handle(), this);
        }
        if (!window_) {
            InPlaceDeactivate();
            return E_FAIL;
        }
        StandInLog::Write(StandIn::kLogInPlaceActive, RectText(position));
    }
    if (window_ && !(GetWindowLongPtrW(window_, GWL_STYLE) & WS_VISIBLE))
        ShowWindow(window_, SW_SHOW);
    if (uiActivate && !uiActive_) {
        uiActive_ = true;
        if (inPlaceSite_) inPlaceSite_->OnUIActivate();
        IOleInPlaceActiveObject* active = this;
        if (frame_) frame_->SetActiveObject(active, StandIn::kBrowserName);
        if (uiWindow_) uiWindow_->SetActiveObject(active, StandIn::kBrowserName);
        if (window_ && GetFocus() != window_) SetFocus(window_);
        StandInLog::Write(StandIn::kLogUIActive);
    }
    return S_OK;
}

// ---- IWebBrowser2 ----

STDMETHODIMP StandInBrowser::GoBack() {
    StandInLog::Write(StandIn::kLogGoBack);
    if (history_.empty() || historyIndex_ == 0) return E_FAIL;
    return QueueNavigation(history_[historyIndex_ - 1], -1);
}

STDMETHODIMP StandInBrowser::GoForward() {
    StandInLog::Write(StandIn::kLogGoForward);
    if (historyIndex_ + 1 >= history_.size()) return E_FAIL;
    return QueueNavigation(history_[historyIndex_ + 1], 1);
}

STDMETHODIMP StandInBrowser::GoHome() {
    StandInLog::Write(StandIn::kLogGoHome);
    return QueueNavigation(L"about:blank", 0);
}

STDMETHODIMP StandInBrowser::Navigate(BSTR url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) {
    if (!url || SysStringLen(url) == 0) return E_INVALIDARG;
    const std::wstring address(url, SysStringLen(url));
    StandInLog::Write(StandIn::kLogNavigate, address);
    return QueueNavigation(address, 0);
}

STDMETHODIMP StandInBrowser::Navigate2(VARIANT* url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) {
    if (!url) return E_INVALIDARG;
    VARIANT text;
    VariantInit(&text);
    // The address may come by reference (VT_BYREF | VT_VARIANT) or as any type
    // that converts to text.
    if (FAILED(VariantCopyInd(&text, url)) || FAILED(VariantChangeType(&text, &text, 0, VT_BSTR))) {
        VariantClear(&text);
        return E_INVALIDARG;
    }
    const std::wstring address =
        text.bstrVal ? std::wstring(text.bstrVal, SysStringLen(text.bstrVal)) : std::wstring();
    VariantClear(&text);
    if (address.empty()) return E_INVALIDARG;
    StandInLog::Write(StandIn::kLogNavigate2, address);
    return QueueNavigation(address, 0);
}

STDMETHODIMP StandInBrowser::Refresh() {
    StandInLog::Write(StandIn::kLogRefresh);
    ++refreshCount_;
    Repaint();
    return S_OK;
}

STDMETHODIMP StandInBrowser::Refresh2(VARIANT* level) {
    LONG value = REFRESH_NORMAL;
    // A missing optional argument arrives as null, VT_EMPTY or VT_ERROR.
    if (level && level->vt != VT_EMPTY && level->vt != VT_ERROR) {
        VARIANT number;
        VariantInit(&number);
        if (FAILED(VariantCopyInd(&number, level)) ||
            FAILED(VariantChangeType(&number, &number, 0, VT_I4))) {
            VariantClear(&number);
            return E_INVALIDARG;
        }
        value = number.lVal;
        VariantClear(&number);
    }
    StandInLog::Write(StandIn::kLogRefresh2, std::to_wstring(value));
    ++refreshCount_;
    Repaint();
    return S_OK;
}

STDMETHODIMP StandInBrowser::Stop() {
    StandInLog::Write(StandIn::kLogStop);
    ++navigationSerial_;
    pending_.clear();
    return S_OK;
}

STDMETHODIMP StandInBrowser::get_Application(IDispatch** application) {
    if (!application) return E_POINTER;
    *application = Dispatch();
    AddRef();
    return S_OK;
}

STDMETHODIMP StandInBrowser::get_Document(IDispatch** document) {
    if (!document) return E_POINTER;
    *document = nullptr;
    // No document before the first navigation completes, and none after Close.
    if (!document_) return E_FAIL;
    return document_->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(document));
}

STDMETHODIMP StandInBrowser::get_TopLevelContainer(VARIANT_BOOL* topLevel) {
    if (!topLevel) return E_POINTER;
    *topLevel = VARIANT_TRUE;
    return S_OK;
}

STDMETHODIMP StandInBrowser::get_Type(BSTR* type) {
    return CopyOut(L"HTML Document", type);
}

STDMETHODIMP StandInBrowser::get_LocationName(BSTR* name) {
    return CopyOut(page_.GetTitle().empty() ? page_.GetAddress() : page_.GetTitle(), name);
}

STDMETHODIMP StandInBrowser::get_LocationURL(BSTR* url) {
    return CopyOut(page_.GetAddress(), url);
}

STDMETHODIMP StandInBrowser::get_Busy(VARIANT_BOOL* busy) {
    if (!busy) return E_POINTER;
    *busy = pending_.empty() ? VARIANT_FALSE : VARIANT_TRUE;
    return S_OK;
}

STDMETHODIMP StandInBrowser::get_Name(BSTR* name) {
    return CopyOut(StandIn::kBrowserName, name);
}

STDMETHODIMP StandInBrowser::get_HWND(SHANDLE_PTR* window) {
    if (!window) return E_POINTER;
    *window = reinterpret_cast<SHANDLE_PTR>(window_);
    return window_ ? S_OK : E_FAIL;
}

STDMETHODIMP StandInBrowser::get_Visible(VARIANT_BOOL* visible) {
    if (!visible) return E_POINTER;
    *visible = visible_ ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP StandInBrowser::put_Visible(VARIANT_BOOL visible) {
    visible_ = visible != VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP StandInBrowser::QueryStatusWB(OLECMDID, OLECMDF* status) {
    if (!status) return E_POINTER;
    *status = static_cast<OLECMDF>(OLECMDF_SUPPORTED | OLECMDF_ENABLED);
    return S_OK;
}

STDMETHODIMP StandInBrowser::ExecWB(OLECMDID command, OLECMDEXECOPT, VARIANT*, VARIANT*) {
    StandInLog::Write(StandIn::kLogExecWB, std::to_wstring(static_cast<int>(command)));
    return S_OK;
}

STDMETHODIMP StandInBrowser::get_ReadyState(READYSTATE* state) {
    if (!state) return E_POINTER;
    if (!pending_.empty())
        *state = READYSTATE_LOADING;
    else
        *state = document_ ? READYSTATE_COMPLETE : READYSTATE_UNINITIALIZED;
    return S_OK;
}

STDMETHODIMP StandInBrowser::get_Silent(VARIANT_BOOL* silent) {
    if (!silent) return E_POINTER;
    *silent = silent_ ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP StandInBrowser::put_Silent(VARIANT_BOOL silent) {
    silent_ = silent != VARIANT_FALSE;
    StandInLog::Write(StandIn::kLogSilent, silent_ ? L"1" : L"0");
    return S_OK;
}

// ---- IOleObject ----

STDMETHODIMP StandInBrowser::SetClientSite(IOleClientSite* site) {
    if (site) site->AddRef();
    ReleaseAndClear(clientSite_);
    clientSite_ = site;
    return S_OK;
}

STDMETHODIMP StandInBrowser::GetClientSite(IOleClientSite** site) {
    if (!site) return E_POINTER;
    *site = clientSite_;
    if (clientSite_) clientSite_->AddRef();
    return S_OK;
}

STDMETHODIMP StandInBrowser::SetHostNames(LPCOLESTR, LPCOLESTR) {
    return S_OK;
}

STDMETHODIMP StandInBrowser::Close(DWORD) {
    AddRef(); // the site may release its last reference while we deactivate
    ++navigationSerial_;
    pending_.clear();
    InPlaceDeactivate();
    DropDocument();
    StandInLog::Write(StandIn::kLogClose);
    Release();
    return S_OK;
}

STDMETHODIMP StandInBrowser::SetMoniker(DWORD, IMoniker*) {
    return E_NOTIMPL;
}

STDMETHODIMP StandInBrowser::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP StandInBrowser::InitFromData(IDataObject*, BOOL, DWORD) {
    return E_NOTIMPL;
}

STDMETHODIMP StandInBrowser::GetClipboardData(DWORD, IDataObject** data) {
    if (data) *data = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP StandInBrowser::DoVerb(LONG verb, LPMSG, IOleClientSite* activeSite, LONG, HWND parent,
                                    LPCRECT position) {
    StandInLog::Write(StandIn::kLogDoVerb, std::to_wstring(verb));
    switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_UIACTIVATE:
        return Activate(activeSite, parent, position, true);
    case OLEIVERB_INPLACEACTIVATE:
        return Activate(activeSite, parent, position, false);
    case OLEIVERB_HIDE:
        if (window_) ShowWindow(window_, SW_HIDE);
        return S_OK;
    default:
        if (verb < 0) return E_NOTIMPL;
        // An unknown positive verb runs the primary one, as OLE asks.
        const HRESULT result = Activate(activeSite, parent, position, true);
        return FAILED(result) ? result : OLEOBJ_S_INVALIDVERB;
    }
}

STDMETHODIMP StandInBrowser::EnumVerbs(IEnumOLEVERB** verbs) {
    if (verbs) *verbs = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP StandInBrowser::Update() {
    return S_OK;
}

STDMETHODIMP StandInBrowser::IsUpToDate() {
    return S_OK;
}

STDMETHODIMP StandInBrowser::GetUserClassID(CLSID* classId) {
    return GetClassID(classId);
}

STDMETHODIMP StandInBrowser::GetUserType(DWORD, LPOLESTR* userType) {
    if (userType) *userType = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP StandInBrowser::SetExtent(DWORD aspect, SIZEL* size) {
    if (!size) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    extent_ = *size;
    return S_OK;
}

STDMETHODIMP StandInBrowser::GetExtent(DWORD aspect, SIZEL* size) {
    if (!size) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    *size = extent_;
    return S_OK;
}

STDMETHODIMP StandInBrowser::Advise(IAdviseSink*, DWORD* connection) {
    if (connection) *connection = 0;
    return OLE_E_ADVISENOTSUPPORTED;
}

STDMETHODIMP StandInBrowser::Unadvise(DWORD) {
    return OLE_E_NOCONNECTION;
}

STDMETHODIMP StandInBrowser::EnumAdvise(IEnumSTATDATA** advise) {
    if (advise) *advise = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
}

STDMETHODIMP StandInBrowser::GetMiscStatus(DWORD, DWORD* status) {
    if (!status) return E_POINTER;
    *status = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_RECOMPOSEONRESIZE |
              OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT;
    return S_OK;
}

STDMETHODIMP StandInBrowser::SetColorScheme(LOGPALETTE*) {
    return E_NOTIMPL;
}

// ---- IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject ----

STDMETHODIMP StandInBrowser::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = window_;
    return window_ ? S_OK : E_FAIL;
}

STDMETHODIMP StandInBrowser::ContextSensitiveHelp(BOOL) {
    return E_NOTIMPL;
}

STDMETHODIMP StandInBrowser::InPlaceDeactivate() {
    if (!inPlaceActive_) return S_OK;
    UIDeactivate();
    inPlaceActive_ = false;
    if (HWND window = window_) {
        window_ = nullptr;
        DestroyWindow(window);
    }
    ReleaseAndClear(frame_);
    ReleaseAndClear(uiWindow_);
    IOleInPlaceSite* site = inPlaceSite_;
    inPlaceSite_ = nullptr;
    if (site) {
        site->OnInPlaceDeactivate();
        site->Release();
    }
    StandInLog::Write(StandIn::kLogInPlaceDeactivate);
    return S_OK;
}

STDMETHODIMP StandInBrowser::UIDeactivate() {
    if (!uiActive_) return S_OK;
    uiActive_ = false;
    if (frame_) frame_->SetActiveObject(nullptr, nullptr);
    if (uiWindow_) uiWindow_->SetActiveObject(nullptr, nullptr);
    if (inPlaceSite_) inPlaceSite_->OnUIDeactivate(FALSE);
    StandInLog::Write(StandIn::kLogUIDeactivate);
    return S_OK;
}

STDMETHODIMP StandInBrowser::SetObjectRects(LPCRECT position, LPCRECT) {
    if (!position) return E_INVALIDARG;
    objectRect_ = *position;
    hasObjectRect_ = true;
    if (window_) {
        SetWindowPos(window_, nullptr, position->left, position->top,
                     position->right - position->left, position->bottom - position->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    StandInLog::Write(StandIn::kLogObjectRects, RectText(*position));
    return S_OK;
}

STDMETHODIMP StandInBrowser::ReactivateAndUndo() {
    return INPLACE_E_NOTUNDOABLE;
}

STDMETHODIMP StandInBrowser::TranslateAccelerator(LPMSG message) {
    if (!message) return E_INVALIDARG;
    // Logged, never used: a host sees whether it handed the key on.
    wchar_t text[48];
    swprintf(text, 48, L"0x%04x 0x%llx", message->message,
             static_cast<unsigned long long>(message->wParam));
    StandInLog::Write(StandIn::kLogTranslateAccelerator, text);
    return S_FALSE;
}

STDMETHODIMP StandInBrowser::OnFrameWindowActivate(BOOL) {
    return S_OK;
}

STDMETHODIMP StandInBrowser::OnDocWindowActivate(BOOL) {
    return S_OK;
}

STDMETHODIMP StandInBrowser::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) {
    return S_OK;
}

STDMETHODIMP StandInBrowser::EnableModeless(BOOL) {
    return S_OK;
}

// ---- IViewObject, IViewObject2, IViewObjectEx ----

STDMETHODIMP StandInBrowser::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc,
                                  LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                                  ULONG_PTR) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!dc || !bounds) return E_INVALIDARG;
    const RECT rect{bounds->left, bounds->top, bounds->right, bounds->bottom};
    page_.Paint(dc, rect, refreshCount_);
    return S_OK;
}

STDMETHODIMP StandInBrowser::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC,
                                         LOGPALETTE** colours) {
    if (colours) *colours = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP StandInBrowser::Freeze(DWORD, LONG, void*, DWORD*) {
    return E_NOTIMPL;
}

STDMETHODIMP StandInBrowser::Unfreeze(DWORD) {
    return E_NOTIMPL;
}

STDMETHODIMP StandInBrowser::SetAdvise(DWORD, DWORD, IAdviseSink*) {
    return E_NOTIMPL;
}

STDMETHODIMP StandInBrowser::GetAdvise(DWORD*, DWORD*, IAdviseSink** sink) {
    if (sink) *sink = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP StandInBrowser::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
    return GetExtent(aspect, size);
}

STDMETHODIMP StandInBrowser::GetRect(DWORD, LPRECTL) {
    return E_NOTIMPL;
}

STDMETHODIMP StandInBrowser::GetViewStatus(DWORD* status) {
    if (!status) return E_POINTER;
    *status = VIEWSTATUS_OPAQUE;
    return S_OK;
}

STDMETHODIMP StandInBrowser::QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT point, LONG,
                                           DWORD* hitResult) {
    if (!bounds || !hitResult) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    *hitResult = PtInRect(bounds, point) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
    return S_OK;
}

STDMETHODIMP StandInBrowser::QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT rect, LONG,
                                          DWORD* hitResult) {
    if (!bounds || !rect || !hitResult) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    RECT overlap;
    *hitResult = IntersectRect(&overlap, bounds, rect) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
    return S_OK;
}

STDMETHODIMP StandInBrowser::GetNaturalExtent(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*,
                                              LPSIZEL) {
    return E_NOTIMPL;
}

// ---- IPersistStreamInit ----

STDMETHODIMP StandInBrowser::GetClassID(CLSID* classId) {
    if (!classId) return E_POINTER;
    *classId = CLSID_WebBrowser;
    return S_OK;
}

STDMETHODIMP StandInBrowser::IsDirty() {
    return S_FALSE;
}

STDMETHODIMP StandInBrowser::Load(LPSTREAM) {
    return E_NOTIMPL;
}

STDMETHODIMP StandInBrowser::Save(LPSTREAM, BOOL) {
    return E_NOTIMPL;
}

STDMETHODIMP StandInBrowser::GetSizeMax(ULARGE_INTEGER*) {
    return E_NOTIMPL;
}

STDMETHODIMP StandInBrowser::InitNew() {
    StandInLog::Write(StandIn::kLogInitNew);
    return S_OK;
}

// ---- IOleControl ----

STDMETHODIMP StandInBrowser::GetControlInfo(CONTROLINFO*) {
    return E_NOTIMPL;
}

STDMETHODIMP StandInBrowser::OnMnemonic(MSG*) {
    return E_NOTIMPL;
}

STDMETHODIMP StandInBrowser::OnAmbientPropertyChange(DISPID) {
    return S_OK;
}

STDMETHODIMP StandInBrowser::FreezeEvents(BOOL) {
    return S_OK;
}

// ---- IOleCommandTarget ----

STDMETHODIMP StandInBrowser::QueryStatus(const GUID* group, ULONG count, OLECMD* commands,
                                         OLECMDTEXT*) {
    if (!commands && count > 0) return E_POINTER;
    for (ULONG i = 0; i < count; ++i)
        commands[i].cmdf = 0;
    return group ? OLECMDERR_E_UNKNOWNGROUP : S_OK;
}

STDMETHODIMP StandInBrowser::Exec(const GUID* group, DWORD, DWORD, VARIANT*, VARIANT*) {
    return group ? OLECMDERR_E_UNKNOWNGROUP : OLECMDERR_E_NOTSUPPORTED;
}

// ---- IConnectionPointContainer ----

STDMETHODIMP StandInBrowser::EnumConnectionPoints(IEnumConnectionPoints** points) {
    if (points) *points = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP StandInBrowser::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
    if (!point) return E_POINTER;
    if (iid != DIID_DWebBrowserEvents2) {
        *point = nullptr;
        return CONNECT_E_NOCONNECTION;
    }
    *point = &events_;
    events_.AddRef();
    return S_OK;
}
