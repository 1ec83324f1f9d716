// The body's style object: keeps and logs the properties a host sets after a
// page has loaded (overflow, border, border style).
#pragma once

#include "HtmlDefaults.h"

#include <string>

class MockStyle final : public HtmlStyleDefaults {
public:
    MockStyle();
    ~MockStyle();
    MockStyle(const MockStyle&) = delete;
    MockStyle& operator=(const MockStyle&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP put_overflow(BSTR value) override;
    STDMETHODIMP get_overflow(BSTR* value) override;
    STDMETHODIMP put_border(BSTR value) override;
    STDMETHODIMP get_border(BSTR* value) override;
    STDMETHODIMP put_borderStyle(BSTR value) override;
    STDMETHODIMP get_borderStyle(BSTR* value) override;

private:
    // Stores and logs one property.
    static HRESULT Put(const char* name, std::wstring& field, BSTR value);
    static HRESULT Get(const std::wstring& field, BSTR* value);

    LONG references_ = 1;
    std::wstring overflow_;
    std::wstring border_;
    std::wstring borderStyle_;
};
