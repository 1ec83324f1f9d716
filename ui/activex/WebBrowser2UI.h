// A simpler web browser control: hosts the system browser, navigates to its address
// once created and, through its event sink, reports completed pages to its window with
// the notification "HTML_COMPLETE" (wParam: the address as narrow text, lParam: 1 when
// the page followed a navigation error). No skin element creates it by default.
#pragma once

#include <windows.h>
#include <exdisp.h>

#include "activex/ActiveXUI.h"
#include "activex/WebBrowserEventSinker.h"
#include "core/Handles.h"
#include "core/SkinString.h"

namespace SkinUI {

class CWebBrowser2UI : public CActiveXUI {
public:
    CWebBrowser2UI();
    /// Disconnects the sink and lets go of the browser while this object is whole.
    ~CWebBrowser2UI() override;

    /// "WebBrowser2UI".
    const wchar_t* GetClass() const override;
    /// This control for "WebBrowser2", else the ActiveX host's answer.
    void* GetInterface(const wchar_t* name) override;
    /// "url", "autonavi", "autosink", "boder" (the border flag) and "scrollbar"; "clsid"
    /// and "modulename" are ignored; other names go to the ActiveX host.
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;

    /// Navigates to url, or to the stored address when url is null; nothing for an empty
    /// address or without a browser.
    void Navigate2(const wchar_t* url = nullptr);
    /// The hosted browser, null before creation (not AddRef'd).
    IWebBrowser2* GetWebBrowser() const;

protected:
    /// Creates the browser, connects the sink (autosink) and navigates (autonavi). False,
    /// with nothing hosted, when the object is no IWebBrowser2 or the sink asked for cannot
    /// be connected.
    bool DoCreateControl() override;
    /// Disconnects the sink, releases the browser, then the host.
    void ReleaseControl() override;

    CComPtr<IWebBrowser2> m_pWebBrowser2;     ///< the hosted browser
    CSkinString m_sUrl;                       ///< address to navigate to once created
    bool m_bAutoNavi;                         ///< navigate once created
    bool m_bAutoSink;                         ///< connect an event sink once created
    bool m_bBorder;                           ///< pages keep their border
    bool m_bScrollbar;                        ///< pages keep their scroll bars
    CComPtr<WebBrowserEventSinker> m_pSinker; ///< connected sink

private:
    void ReleaseBrowser();
    /// Undoes a creation that failed half-way, keeping layouts from retrying it; false.
    bool AbandonCreation();
};

} // namespace SkinUI
