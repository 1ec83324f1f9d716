// The host side of the platform's windowless text services: what the text services of a
// rich edit ask of their surroundings (client rectangle, device context, scroll bars, caret,
// timers, default formats and property bits), answered from the owning control and its
// paint manager.
#pragma once

#include <windows.h>

#include <imm.h>
#include <ole2.h>
#include <richedit.h>
#include <textserv.h>

#include "core/Handles.h"

namespace SkinUI {

class CRichEditUI;

/// Interface ids of the text services, defined here so the library is only needed at run
/// time.
extern const IID kIidTextServices;
extern const IID kIidTextHost;

/// How a host is built: the control's style bits and settings at creation.
struct TTextHostSetup {
    DWORD style = ES_MULTILINE; ///< ES_* and WS_[HV]SCROLL bits
    bool rich = true;
    bool readOnly = false;
    LONG limit = 32767;
    HFONT font = nullptr; ///< null: the stock GUI font
    COLORREF textColor = 0;
    const wchar_t* text = nullptr;
};

class CTxtWinHost final : public ITextHost {
public:
    /// One reference, held by the creator.
    explicit CTxtWinHost(CRichEditUI* owner);
    CTxtWinHost(const CTxtWinHost&) = delete;
    CTxtWinHost& operator=(const CTxtWinHost&) = delete;

    /// Loads the text services library and makes the text services over this host; false,
    /// with nothing made, when the library, its entry or the interface is missing.
    bool Init(const TTextHostSetup& setup);
    /// Releases the text services and forgets the owner: no call reaches the control after
    /// this, whoever still holds the host.
    void Shutdown();
    /// The text services; null before Init succeeded and after Shutdown.
    ITextServices* GetTextServices() const;

    /// The rectangle the text is laid out and drawn in, in window client coordinates.
    const RECT& GetClientRect() const;
    /// Stores a new client rectangle and tells the text services when it changed.
    void SetClientRect(const RECT& rc);

    // Settings that answer the text services' questions; each is passed on at once.
    void SetWordWrap(bool wrap);
    bool GetReadOnly() const;
    void SetReadOnly(bool readOnly);
    void SetRichTextFlag(bool rich);
    LONG GetMaxLength() const;
    void SetMaxLength(LONG limit);
    /// Rebuilds the default character format from a font and a colour.
    void SetFont(HFONT font);
    void SetColor(COLORREF color);
    const CHARFORMAT2W& GetCharFormat() const;
    /// A new default character format (only the parts its mask names change).
    void SetCharFormat(const CHARFORMAT2W& format);
    const PARAFORMAT2& GetParaFormat() const;
    void SetParaFormat(const PARAFORMAT2& format);
    /// Whether the text services hold the mouse (a selection being dragged).
    bool IsCapturing() const;
    /// Drops the caret of this host, if it made one.
    void DestroyCaret();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // ITextHost
    HDC TxGetDC() override;
    INT TxReleaseDC(HDC hdc) override;
    BOOL TxShowScrollBar(INT bar, BOOL show) override;
    BOOL TxEnableScrollBar(INT flags, INT arrows) override;
    BOOL TxSetScrollRange(INT bar, LONG minPos, INT maxPos, BOOL redraw) override;
    BOOL TxSetScrollPos(INT bar, INT pos, BOOL redraw) override;
    void TxInvalidateRect(LPCRECT rc, BOOL mode) override;
    void TxViewChange(BOOL update) override;
    BOOL TxCreateCaret(HBITMAP bitmap, INT width, INT height) override;
    BOOL TxShowCaret(BOOL show) override;
    BOOL TxSetCaretPos(INT x, INT y) override;
    BOOL TxSetTimer(UINT id, UINT timeout) override;
    void TxKillTimer(UINT id) override;
    void TxScrollWindowEx(INT dx, INT dy, LPCRECT scroll, LPCRECT clip, HRGN update,
                          LPRECT updateRect, UINT flags) override;
    void TxSetCapture(BOOL capture) override;
    void TxSetFocus() override;
    void TxSetCursor(HCURSOR cursor, BOOL text) override;
    BOOL TxScreenToClient(LPPOINT point) override;
    BOOL TxClientToScreen(LPPOINT point) override;
    HRESULT TxActivate(LONG* oldState) override;
    HRESULT TxDeactivate(LONG newState) override;
    HRESULT TxGetClientRect(LPRECT rc) override;
    HRESULT TxGetViewInset(LPRECT rc) override;
    HRESULT TxGetCharFormat(const CHARFORMATW** format) override;
    HRESULT TxGetParaFormat(const PARAFORMAT** format) override;
    COLORREF TxGetSysColor(int index) override;
    HRESULT TxGetBackStyle(TXTBACKSTYLE* style) override;
    HRESULT TxGetMaxLength(DWORD* length) override;
    HRESULT TxGetScrollBars(DWORD* scrollBars) override;
    HRESULT TxGetPasswordChar(TCHAR* ch) override;
    HRESULT TxGetAcceleratorPos(LONG* pos) override;
    HRESULT TxGetExtent(LPSIZEL extent) override;
    HRESULT OnTxCharFormatChange(const CHARFORMATW* format) override;
    HRESULT OnTxParaFormatChange(const PARAFORMAT* format) override;
    HRESULT TxGetPropertyBits(DWORD mask, DWORD* bits) override;
    HRESULT TxNotify(DWORD code, void* data) override;
    HIMC TxImmGetContext() override;
    void TxImmReleaseContext(HIMC context) override;
    HRESULT TxGetSelectionBarWidth(LONG* width) override;

private:
    /// Released through Release only.
    ~CTxtWinHost();

    HWND Window() const;
    /// Sets or clears property bits and tells the text services.
    void ChangeProperty(DWORD bit, bool on);
    /// Tells the text services that a property changed (nothing before Init).
    void PropertyChanged(DWORD mask, DWORD bits);
    /// The properties answered to the text services: word wrap only while the client
    /// rectangle has a width, since wrapping at no width puts every character on a line
    /// of its own, at a cost that grows faster than the text.
    DWORD Properties() const;

    ULONG m_refs = 1;
    CRichEditUI* m_owner; ///< not owned; null after Shutdown
    CComPtr<ITextServices> m_services;
    CMemoryDC m_measureDC; ///< measures text while the window has no DC
    CHARFORMAT2W m_charFormat{};
    PARAFORMAT2 m_paraFormat{};
    DWORD m_style = ES_MULTILINE;
    DWORD m_properties = 0; ///< TXTBIT_* set; see Properties for what is answered
    LONG m_limit = 32767;
    RECT m_client{};
    bool m_caret = false; ///< this host made the thread's caret
    bool m_capturing = false;
};

} // namespace SkinUI
