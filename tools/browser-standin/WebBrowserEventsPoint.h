// The DWebBrowserEvents2 connection point of the stand-in browser: keeps the
// advised sinks and fires the browser events to them through IDispatch::Invoke
// with the system browser's DISPIDs and argument layouts.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>
#include <vector>

class WebBrowserEventsPoint : public IConnectionPoint {
public:
    // `container` is the owning browser: the point lives inside it and shares its
    // reference count.
    explicit WebBrowserEventsPoint(IConnectionPointContainer* container);
    ~WebBrowserEventsPoint();
    WebBrowserEventsPoint(const WebBrowserEventsPoint&) = delete;
    WebBrowserEventsPoint& operator=(const WebBrowserEventsPoint&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections** connections) override;

    // BeforeNavigate2 (250); true when a sink set Cancel.
    bool FireBeforeNavigate2(IDispatch* browser, const std::wstring& address);
    // NavigateError (271) with the status code; true when a sink set Cancel.
    bool FireNavigateError(IDispatch* browser, const std::wstring& address, LONG status);
    // NavigateComplete2 (252).
    void FireNavigateComplete2(IDispatch* browser, const std::wstring& address);
    // DocumentComplete (259).
    void FireDocumentComplete(IDispatch* browser, const std::wstring& address);
    // TitleChange (113).
    void FireTitleChange(const std::wstring& title);
    // CommandStateChange (105) for CSC_NAVIGATEBACK / CSC_NAVIGATEFORWARD.
    void FireCommandStateChange(LONG command, bool enabled);

    // Releases every sink (the browser is going away).
    void DisconnectAll();

private:
    struct Connection {
        DWORD cookie;
        IDispatch* sink;
    };

    // Invokes the event on a snapshot of the sinks: a sink may unadvise, or
    // release the browser, while it handles the event.
    void Fire(DISPID event, VARIANT* arguments, UINT count);

    IConnectionPointContainer* container_;
    std::vector<Connection> connections_;
    DWORD nextCookie_ = 1;
};
