// The document's body: an element whose style, scroll and inner HTML a host
// may set without effect beyond the log.
#pragma once

#include "HtmlDefaults.h"

#include <string>

class MockStyle;

class MockBodyElement final : public HtmlElementDefaults, public HtmlBodyElementDefaults {
public:
    MockBodyElement();
    ~MockBodyElement();
    MockBodyElement(const MockBodyElement&) = delete;
    MockBodyElement& operator=(const MockBodyElement&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IHTMLElement
    STDMETHODIMP get_tagName(BSTR* name) override;
    STDMETHODIMP get_style(IHTMLStyle** style) override;
    STDMETHODIMP put_innerHTML(BSTR html) override;
    STDMETHODIMP get_innerHTML(BSTR* html) override;

    // IHTMLBodyElement
    STDMETHODIMP put_scroll(BSTR value) override;
    STDMETHODIMP get_scroll(BSTR* value) override;

private:
    LONG references_ = 1;
    MockStyle* style_;
    std::wstring innerHtml_;
    std::wstring scroll_;
};
