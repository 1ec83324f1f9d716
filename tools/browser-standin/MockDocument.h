// The document of a loaded mock page: its title, address and body, and the
// host UI handler a host installs through ICustomDoc.
#pragma once

#include "HtmlDefaults.h"

#include <mshtmhst.h>

#include <string>

class MockBodyElement;

class MockDocument final : public HtmlDocumentDefaults, public ICustomDoc {
public:
    MockDocument(const std::wstring& address, const std::wstring& title);
    ~MockDocument();
    MockDocument(const MockDocument&) = delete;
    MockDocument& operator=(const MockDocument&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IHTMLDocument2
    STDMETHODIMP get_title(BSTR* title) override;
    STDMETHODIMP put_title(BSTR title) override;
    STDMETHODIMP get_body(IHTMLElement** body) override;
    STDMETHODIMP get_URL(BSTR* address) override;
    STDMETHODIMP get_readyState(BSTR* state) override;

    // ICustomDoc: keeps the handler and logs the host information it gives.
    STDMETHODIMP SetUIHandler(IDocHostUIHandler* handler) override;

    // Lets go of the host's UI handler (the browser is closing, the host may go next).
    void DropUIHandler();

private:
    LONG references_ = 1;
    std::wstring address_;
    std::wstring title_;
    MockBodyElement* body_;
    IDocHostUIHandler* uiHandler_ = nullptr;
};
