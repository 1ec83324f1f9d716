#include "control/TxtWinHost.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <utility>

#include "control/RichEditUI.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

const IID kIidTextServices = {
    0x8D33F740, 0xCF58, 0x11CE, {0xA8, 0x9D, 0x00, 0xAA, 0x00, 0x6C, 0xAD, 0xC5}};
const IID kIidTextHost = {
    0xC5BDD8D0, 0xD26E, 0x11CE, {0xA8, 0x9E, 0x00, 0xAA, 0x00, 0x6C, 0xAD, 0xC5}};

namespace {

constexpr LONG kTwipsPerInch = 1440;
constexpr LONG kDefaultTab = 720; // half an inch, in twips
constexpr wchar_t kPasswordChar = L'*';

// The text services library, loaded once and kept for the process: objects it hands out
// (a drop target) may outlive the control that asked for them. A failed load is tried
// again next time.
PCreateTextServices TextServicesFactory() {
    static PCreateTextServices factory = nullptr;
    if (factory != nullptr) return factory;
    HMODULE module = ::LoadLibraryExW(L"msftedit.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr) return nullptr;
    // Through the generic function pointer type, which any entry point converts to.
    using AnyProc = void (*)();
    factory = reinterpret_cast<PCreateTextServices>(
        reinterpret_cast<AnyProc>(::GetProcAddress(module, "CreateTextServices")));
    return factory;
}

// The system's DPI is fixed for the life of the process, and asking for a screen DC costs
// a round trip to the window server: it is read once, not for every rich edit made.
int ScreenPixelsPerInchY() {
    static const int dpi = [] {
        const CWindowDC screen(nullptr);
        const int read = screen ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
        return read > 0 ? read : 96;
    }();
    return dpi;
}

} // namespace

CTxtWinHost::CTxtWinHost(CRichEditUI* owner) : m_owner(owner) {
    m_charFormat.cbSize = sizeof(m_charFormat);
    m_paraFormat.cbSize = sizeof(m_paraFormat);
}

CTxtWinHost::~CTxtWinHost() {
    Shutdown();
}

bool CTxtWinHost::Init(const TTextHostSetup& setup) {
    if (m_services) return true;
    m_style = setup.style;
    m_limit = setup.limit;
    m_properties = 0;
    if (setup.rich) m_properties |= TXTBIT_RICHTEXT;
    if ((m_style & ES_MULTILINE) != 0) m_properties |= TXTBIT_MULTILINE;
    if (setup.readOnly || (m_style & ES_READONLY) != 0) m_properties |= TXTBIT_READONLY;
    if ((m_style & ES_PASSWORD) != 0) m_properties |= TXTBIT_USEPASSWORD;
    if ((m_style & ES_NOHIDESEL) == 0) m_properties |= TXTBIT_HIDESELECTION;
    // Text that may scroll sideways is not wrapped.
    if ((m_style & (WS_HSCROLL | ES_AUTOHSCROLL)) == 0) m_properties |= TXTBIT_WORDWRAP;
    m_properties |= TXTBIT_SAVESELECTION;
    SetFont(setup.font);
    SetColor(setup.textColor);

    m_paraFormat.dwMask = PFM_ALL;
    m_paraFormat.wAlignment = PFA_LEFT;
    if ((m_style & ES_CENTER) != 0) m_paraFormat.wAlignment = PFA_CENTER;
    if ((m_style & ES_RIGHT) != 0) m_paraFormat.wAlignment = PFA_RIGHT;
    m_paraFormat.cTabCount = 1;
    m_paraFormat.rgxTabs[0] = kDefaultTab;

    const PCreateTextServices create = TextServicesFactory();
    if (create == nullptr) return false;
    CComPtr<IUnknown> unknown;
    if (FAILED(create(nullptr, this, unknown.Receive())) || !unknown) return false;
    CComPtr<ITextServices> services;
    if (FAILED(services.QueryFrom(unknown.Get(), kIidTextServices))) return false;
    m_services = std::move(services);
    m_services->TxSetText(setup.text != nullptr ? setup.text : L"");
    m_services->OnTxInPlaceActivate(&m_client);
    return true;
}

void CTxtWinHost::Shutdown() {
    if (m_services) m_services->OnTxInPlaceDeactivate();
    DestroyCaret();
    if (m_capturing) TxSetCapture(FALSE);
    // Releasing may still call back: the owner stays known until the services are gone.
    m_services.Reset();
    m_owner = nullptr;
}

ITextServices* CTxtWinHost::GetTextServices() const {
    return m_services.Get();
}

HWND CTxtWinHost::Window() const {
    CPaintManagerUI* manager = m_owner != nullptr ? m_owner->GetManager() : nullptr;
    return manager != nullptr ? manager->GetPaintWindow() : nullptr;
}

// ---- Settings

const RECT& CTxtWinHost::GetClientRect() const {
    return m_client;
}

void CTxtWinHost::SetClientRect(const RECT& rc) {
    if (::EqualRect(&rc, &m_client)) return;
    const DWORD wrapBefore = Properties() & TXTBIT_WORDWRAP;
    m_client = rc;
    const DWORD wrap = Properties() & TXTBIT_WORDWRAP;
    // Wrapping starts with the first width and stops when the width goes.
    const DWORD mask = TXTBIT_CLIENTRECTCHANGE | (wrap != wrapBefore ? TXTBIT_WORDWRAP : 0);
    PropertyChanged(mask, TXTBIT_CLIENTRECTCHANGE | wrap);
}

DWORD CTxtWinHost::Properties() const {
    if (m_client.right > m_client.left) return m_properties;
    return m_properties & ~static_cast<DWORD>(TXTBIT_WORDWRAP);
}

void CTxtWinHost::PropertyChanged(DWORD mask, DWORD bits) {
    if (m_services) m_services->OnTxPropertyBitsChange(mask, bits);
}

void CTxtWinHost::ChangeProperty(DWORD bit, bool on) {
    if (on)
        m_properties |= bit;
    else
        m_properties &= ~bit;
    PropertyChanged(bit, Properties() & bit);
}

void CTxtWinHost::SetWordWrap(bool wrap) {
    ChangeProperty(TXTBIT_WORDWRAP, wrap);
}

bool CTxtWinHost::GetReadOnly() const {
    return (m_properties & TXTBIT_READONLY) != 0;
}

void CTxtWinHost::SetReadOnly(bool readOnly) {
    ChangeProperty(TXTBIT_READONLY, readOnly);
}

void CTxtWinHost::SetRichTextFlag(bool rich) {
    ChangeProperty(TXTBIT_RICHTEXT, rich);
}

LONG CTxtWinHost::GetMaxLength() const {
    return m_limit;
}

void CTxtWinHost::SetMaxLength(LONG limit) {
    m_limit = limit;
    PropertyChanged(TXTBIT_MAXLENGTHCHANGE, TXTBIT_MAXLENGTHCHANGE);
}

void CTxtWinHost::SetFont(HFONT font) {
    if (font == nullptr) font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW logFont{};
    if (font == nullptr || ::GetObjectW(font, sizeof(logFont), &logFont) == 0) return;
    CHARFORMAT2W& cf = m_charFormat;
    cf.dwMask |= CFM_SIZE | CFM_OFFSET | CFM_FACE | CFM_CHARSET | CFM_COLOR | CFM_BOLD |
                 CFM_ITALIC | CFM_UNDERLINE;
    cf.yHeight = ::MulDiv(std::labs(logFont.lfHeight), kTwipsPerInch, ScreenPixelsPerInchY());
    cf.yOffset = 0;
    cf.dwEffects &= ~(CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE);
    if (logFont.lfWeight >= FW_BOLD) cf.dwEffects |= CFE_BOLD;
    if (logFont.lfItalic != 0) cf.dwEffects |= CFE_ITALIC;
    if (logFont.lfUnderline != 0) cf.dwEffects |= CFE_UNDERLINE;
    cf.bCharSet = logFont.lfCharSet;
    cf.bPitchAndFamily = logFont.lfPitchAndFamily;
    const size_t faceRoom = sizeof(cf.szFaceName) / sizeof(cf.szFaceName[0]);
    wcsncpy(cf.szFaceName, logFont.lfFaceName, faceRoom - 1);
    cf.szFaceName[faceRoom - 1] = L'\0';
    PropertyChanged(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
}

void CTxtWinHost::SetColor(COLORREF color) {
    m_charFormat.dwMask |= CFM_COLOR;
    m_charFormat.dwEffects &= ~CFE_AUTOCOLOR;
    m_charFormat.crTextColor = color;
    PropertyChanged(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
}

const CHARFORMAT2W& CTxtWinHost::GetCharFormat() const {
    return m_charFormat;
}

void CTxtWinHost::SetCharFormat(const CHARFORMAT2W& format) {
    // Only what fits our record is read; the caller's size may be an older, smaller one.
    const UINT size = format.cbSize < sizeof(m_charFormat) ? format.cbSize : sizeof(m_charFormat);
    if (size < sizeof(CHARFORMATW)) return;
    std::memcpy(&m_charFormat, &format, size);
    m_charFormat.cbSize = sizeof(m_charFormat);
    PropertyChanged(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
}

const PARAFORMAT2& CTxtWinHost::GetParaFormat() const {
    return m_paraFormat;
}

void CTxtWinHost::SetParaFormat(const PARAFORMAT2& format) {
    const UINT size = format.cbSize < sizeof(m_paraFormat) ? format.cbSize : sizeof(m_paraFormat);
    if (size < sizeof(PARAFORMAT)) return;
    std::memcpy(&m_paraFormat, &format, size);
    m_paraFormat.cbSize = sizeof(m_paraFormat);
    PropertyChanged(TXTBIT_PARAFORMATCHANGE, TXTBIT_PARAFORMATCHANGE);
}

bool CTxtWinHost::IsCapturing() const {
    return m_capturing;
}

void CTxtWinHost::DestroyCaret() {
    if (!m_caret) return;
    m_caret = false;
    ::DestroyCaret();
}

// ---- IUnknown

STDMETHODIMP CTxtWinHost::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, kIidTextHost)) return E_NOINTERFACE;
    *object = static_cast<ITextHost*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CTxtWinHost::AddRef() {
    return ++m_refs;
}

STDMETHODIMP_(ULONG) CTxtWinHost::Release() {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

// ---- ITextHost: drawing surface and invalidation

HDC CTxtWinHost::TxGetDC() {
    CPaintManagerUI* manager = m_owner != nullptr ? m_owner->GetManager() : nullptr;
    if (manager != nullptr && manager->GetPaintDC() != nullptr) return manager->GetPaintDC();
    // Measuring still needs a DC while the control has no window.
    if (!m_measureDC) m_measureDC.Reset(::CreateCompatibleDC(nullptr));
    return m_measureDC.Get();
}

INT CTxtWinHost::TxReleaseDC(HDC) {
    // Both DCs stay with their owners.
    return 1;
}

void CTxtWinHost::TxInvalidateRect(LPCRECT rc, BOOL) {
    CPaintManagerUI* manager = m_owner != nullptr ? m_owner->GetManager() : nullptr;
    if (manager == nullptr) return;
    RECT area = m_client;
    if (rc != nullptr && !::IntersectRect(&area, rc, &m_client)) return;
    manager->Invalidate(area);
}

void CTxtWinHost::TxViewChange(BOOL) {
    TxInvalidateRect(nullptr, FALSE);
}

void CTxtWinHost::TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT updateRect, UINT) {
    // The window is painted from a buffer: the scrolled text is simply drawn again.
    if (updateRect != nullptr) *updateRect = m_client;
    TxInvalidateRect(nullptr, FALSE);
}

// ---- ITextHost: scroll bars. The control reads the text services' scroll state after
// every message it sends them, so these only acknowledge.

BOOL CTxtWinHost::TxShowScrollBar(INT, BOOL) {
    return TRUE;
}

BOOL CTxtWinHost::TxEnableScrollBar(INT, INT) {
    return TRUE;
}

BOOL CTxtWinHost::TxSetScrollRange(INT, LONG, INT, BOOL) {
    return TRUE;
}

BOOL CTxtWinHost::TxSetScrollPos(INT, INT, BOOL) {
    return TRUE;
}

// ---- ITextHost: caret, timers, capture, focus, cursor

BOOL CTxtWinHost::TxCreateCaret(HBITMAP bitmap, INT width, INT height) {
    // The thread has one caret: only the focused control may take it.
    const HWND window = Window();
    if (window == nullptr || !m_owner->IsFocused()) return FALSE;
    m_caret = ::CreateCaret(window, bitmap, width, height) != FALSE;
    return m_caret ? TRUE : FALSE;
}

BOOL CTxtWinHost::TxShowCaret(BOOL show) {
    if (!m_caret) return FALSE;
    return show ? ::ShowCaret(Window()) : ::HideCaret(Window());
}

BOOL CTxtWinHost::TxSetCaretPos(INT x, INT y) {
    return m_caret ? ::SetCaretPos(x, y) : FALSE;
}

BOOL CTxtWinHost::TxSetTimer(UINT id, UINT timeout) {
    CPaintManagerUI* manager = m_owner != nullptr ? m_owner->GetManager() : nullptr;
    if (manager == nullptr) return FALSE;
    // A running timer is started again with the new period.
    manager->KillTimer(m_owner, id);
    return manager->SetTimer(m_owner, id, timeout) ? TRUE : FALSE;
}

void CTxtWinHost::TxKillTimer(UINT id) {
    CPaintManagerUI* manager = m_owner != nullptr ? m_owner->GetManager() : nullptr;
    if (manager != nullptr) manager->KillTimer(m_owner, id);
}

void CTxtWinHost::TxSetCapture(BOOL capture) {
    const HWND window = Window();
    if (capture) {
        if (window == nullptr) return;
        ::SetCapture(window);
        m_capturing = true;
        return;
    }
    m_capturing = false;
    if (window != nullptr && ::GetCapture() == window) ::ReleaseCapture();
}

void CTxtWinHost::TxSetFocus() {
    if (m_owner != nullptr) m_owner->SetFocus();
}

void CTxtWinHost::TxSetCursor(HCURSOR cursor, BOOL) {
    ::SetCursor(cursor);
}

BOOL CTxtWinHost::TxScreenToClient(LPPOINT point) {
    const HWND window = Window();
    return window != nullptr && point != nullptr ? ::ScreenToClient(window, point) : FALSE;
}

BOOL CTxtWinHost::TxClientToScreen(LPPOINT point) {
    const HWND window = Window();
    return window != nullptr && point != nullptr ? ::ClientToScreen(window, point) : FALSE;
}

HRESULT CTxtWinHost::TxActivate(LONG* oldState) {
    if (oldState != nullptr) *oldState = 0;
    return S_OK;
}

HRESULT CTxtWinHost::TxDeactivate(LONG) {
    return S_OK;
}

// ---- ITextHost: what the text services ask about the text

HRESULT CTxtWinHost::TxGetClientRect(LPRECT rc) {
    if (rc == nullptr) return E_INVALIDARG;
    *rc = m_client;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetViewInset(LPRECT rc) {
    if (rc == nullptr) return E_INVALIDARG;
    // The control's inset is already outside the client rectangle.
    ::SetRectEmpty(rc);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetCharFormat(const CHARFORMATW** format) {
    if (format == nullptr) return E_INVALIDARG;
    *format = reinterpret_cast<const CHARFORMATW*>(&m_charFormat);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetParaFormat(const PARAFORMAT** format) {
    if (format == nullptr) return E_INVALIDARG;
    *format = reinterpret_cast<const PARAFORMAT*>(&m_paraFormat);
    return S_OK;
}

COLORREF CTxtWinHost::TxGetSysColor(int index) {
    return ::GetSysColor(index);
}

HRESULT CTxtWinHost::TxGetBackStyle(TXTBACKSTYLE* style) {
    if (style == nullptr) return E_INVALIDARG;
    // The control paints its own background.
    *style = TXTBACK_TRANSPARENT;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetMaxLength(DWORD* length) {
    if (length == nullptr) return E_INVALIDARG;
    *length = m_limit > 0 ? static_cast<DWORD>(m_limit) : 0;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetScrollBars(DWORD* scrollBars) {
    if (scrollBars == nullptr) return E_INVALIDARG;
    *scrollBars =
        m_style & (WS_VSCROLL | WS_HSCROLL | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_DISABLENOSCROLL);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetPasswordChar(TCHAR* ch) {
    if (ch == nullptr) return E_INVALIDARG;
    *ch = kPasswordChar;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetAcceleratorPos(LONG* pos) {
    if (pos == nullptr) return E_INVALIDARG;
    *pos = -1;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetExtent(LPSIZEL) {
    // No zoom extent: the text services use the client rectangle.
    return E_NOTIMPL;
}

HRESULT CTxtWinHost::OnTxCharFormatChange(const CHARFORMATW*) {
    return S_OK;
}

HRESULT CTxtWinHost::OnTxParaFormatChange(const PARAFORMAT*) {
    return S_OK;
}

HRESULT CTxtWinHost::TxGetPropertyBits(DWORD mask, DWORD* bits) {
    if (bits == nullptr) return E_INVALIDARG;
    *bits = Properties() & mask;
    return S_OK;
}

HRESULT CTxtWinHost::TxNotify(DWORD code, void* data) {
    if (m_owner != nullptr) m_owner->OnTxNotify(code, data);
    return S_OK;
}

HIMC CTxtWinHost::TxImmGetContext() {
    const HWND window = Window();
    return window != nullptr ? ::ImmGetContext(window) : nullptr;
}

void CTxtWinHost::TxImmReleaseContext(HIMC context) {
    const HWND window = Window();
    if (window != nullptr && context != nullptr) ::ImmReleaseContext(window, context);
}

HRESULT CTxtWinHost::TxGetSelectionBarWidth(LONG* width) {
    if (width == nullptr) return E_INVALIDARG;
    *width = 0;
    return S_OK;
}

} // namespace SkinUI
