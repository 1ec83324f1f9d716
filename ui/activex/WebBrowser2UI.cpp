#include "activex/WebBrowser2UI.h"

#include <new>

namespace SkinUI {

CWebBrowser2UI::CWebBrowser2UI()
    : m_bAutoNavi(true), m_bAutoSink(true), m_bBorder(false), m_bScrollbar(false) {
    m_clsid = CLSID_WebBrowser;
}

CWebBrowser2UI::~CWebBrowser2UI() {
    CWebBrowser2UI::ReleaseControl();
}

const wchar_t* CWebBrowser2UI::GetClass() const {
    return L"WebBrowser2UI";
}

void* CWebBrowser2UI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"WebBrowser2") == 0) return this;
    return CActiveXUI::GetInterface(name);
}

void CWebBrowser2UI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name == nullptr) return;
    if (value == nullptr) value = L"";
    const bool isTrue = wcscmp(value, L"true") == 0;
    if (wcscmp(name, L"url") == 0)
        m_sUrl = value;
    else if (wcscmp(name, L"autonavi") == 0)
        m_bAutoNavi = isTrue;
    else if (wcscmp(name, L"autosink") == 0)
        m_bAutoSink = isTrue;
    else if (wcscmp(name, L"boder") == 0)
        m_bBorder = isTrue;
    else if (wcscmp(name, L"scrollbar") == 0)
        m_bScrollbar = isTrue;
    else if (wcscmp(name, L"clsid") == 0 || wcscmp(name, L"modulename") == 0)
        return; // always the system browser
    else
        CActiveXUI::SetAttribute(name, value);
}

void CWebBrowser2UI::Navigate2(const wchar_t* url) {
    if (!m_pWebBrowser2) return;
    const CSkinString address = url != nullptr ? CSkinString(url) : m_sUrl;
    if (address.IsEmpty()) return;
    CVariant target = CVariant::FromText(address.GetData());
    if (V_BSTR(target.Get()) == nullptr) return; // no memory for the copy
    m_pWebBrowser2->Navigate2(target.Get(), nullptr, nullptr, nullptr, nullptr);
}

IWebBrowser2* CWebBrowser2UI::GetWebBrowser() const {
    return m_pWebBrowser2.Get();
}

bool CWebBrowser2UI::DoCreateControl() {
    // A second creation: the old browser and its sink go first.
    ReleaseBrowser();
    if (!CActiveXUI::DoCreateControl()) return false;
    if (FAILED(GetControl(IID_IWebBrowser2, m_pWebBrowser2.ReceiveAsVoid())) || !m_pWebBrowser2)
        return AbandonCreation();
    if (m_bAutoSink) {
        m_pSinker.Attach(new (std::nothrow) WebBrowserEventSinker(this, m_bBorder, m_bScrollbar));
        if (!m_pSinker || FAILED(m_pSinker->Connect(m_pWebBrowser2.Get())))
            return AbandonCreation();
    }
    if (m_bAutoNavi) {
        if (m_pSinker) Navigate2(L"about:blank");
        Navigate2(nullptr);
    }
    return true;
}

bool CWebBrowser2UI::AbandonCreation() {
    ReleaseControl();
    m_bCreated = true;
    return false;
}

void CWebBrowser2UI::ReleaseControl() {
    m_bCreated = false;
    ReleaseBrowser();
    CActiveXUI::ReleaseControl();
}

void CWebBrowser2UI::ReleaseBrowser() {
    if (m_pSinker) {
        m_pSinker->Disconnect();
        m_pSinker.Reset();
    }
    m_pWebBrowser2.Reset();
}

} // namespace SkinUI
