#include "control/RichEditUI.h"

#include <cwchar>
#include <initializer_list>
#include <new>
#include <utility>
#include <vector>

#include "control/AttributeValue.h"
#include "control/Axis.h"
#include "control/LayoutMath.h"
#include "control/ScrollBarUI.h"
#include "control/TxtWinHost.h"
#include "render/RenderClip.h"
#include "render/RenderEngine.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

namespace {

// Ranges of window messages the control forwards.
constexpr UINT kFirstMouseMessage = WM_MOUSEMOVE;
constexpr UINT kLastMouseMessage = 0x020D; // WM_XBUTTONDBLCLK
constexpr UINT kFirstKeyMessage = WM_KEYDOWN;
constexpr UINT kLastKeyMessage = 0x0108;
// A bar has at most this many appear or go while it follows one change of the text: each
// one only narrows the text further, so it settles after one per bar.
constexpr int kFitPasses = 3;

bool IsMouseMessage(UINT message) {
    return message >= kFirstMouseMessage && message <= kLastMouseMessage;
}

bool IsKeyMessage(UINT message) {
    return message >= kFirstKeyMessage && message <= kLastKeyMessage;
}

bool IsSystemKeyMessage(UINT message) {
    return message == WM_SYSKEYDOWN || message == WM_SYSKEYUP || message == WM_SYSCHAR ||
           message == WM_SYSDEADCHAR;
}

bool IsControlDown() {
    return ::GetKeyState(VK_CONTROL) < 0;
}

COLORREF ToColorRef(DWORD argb) {
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

// Whether a notification of the text services is one the window hears about.
bool IsWindowNotification(DWORD code) {
    return code == EN_MSGFILTER || (code >= EN_REQUESTRESIZE && code <= EN_DROPFILES) ||
           code == EN_PROTECTED || (code >= EN_OLEOPFAILED && code <= 0x070C);
}

} // namespace

CRichEditUI::CRichEditUI() = default;

CRichEditUI::~CRichEditUI() {
    if (m_pFilterManager != nullptr) m_pFilterManager->RemoveMessageFilter(this);
    if (m_pTwh) m_pTwh->Shutdown();
    m_pTwh.Reset();
}

const wchar_t* CRichEditUI::GetClass() const {
    return L"RichEditUI";
}

void* CRichEditUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"RichEdit") == 0) return this;
    return CContainerUI::GetInterface(name);
}

UINT CRichEditUI::GetControlFlags() const {
    // Without text services the control takes no input: Tab passes it by.
    if (!IsEnabled() || !HasTextServices()) return 0;
    return UIFLAG_TABSTOP | UIFLAG_SETCURSOR;
}

// ---- Settings

bool CRichEditUI::IsWantTab() const {
    // Without text services there is no text to type a tab into: Tab must move on.
    return m_bWantTab && HasTextServices();
}

void CRichEditUI::SetWantTab(bool want) {
    m_bWantTab = want;
}

bool CRichEditUI::IsWantReturn() const {
    return m_bWantReturn;
}

void CRichEditUI::SetWantReturn(bool want) {
    m_bWantReturn = want;
}

bool CRichEditUI::IsWantCtrlReturn() const {
    return m_bWantCtrlReturn;
}

void CRichEditUI::SetWantCtrlReturn(bool want) {
    m_bWantCtrlReturn = want;
}

bool CRichEditUI::IsRich() const {
    return m_bRich;
}

void CRichEditUI::SetRich(bool rich) {
    m_bRich = rich;
    if (m_pTwh) m_pTwh->SetRichTextFlag(rich);
}

bool CRichEditUI::IsReadOnly() const {
    return m_bReadOnly;
}

void CRichEditUI::SetReadOnly(bool readOnly) {
    m_bReadOnly = readOnly;
    if (readOnly)
        m_lTwhStyle |= ES_READONLY;
    else
        m_lTwhStyle &= ~static_cast<DWORD>(ES_READONLY);
    if (m_pTwh) m_pTwh->SetReadOnly(readOnly);
}

bool CRichEditUI::GetWordWrap() const {
    return m_bWordWrap;
}

void CRichEditUI::SetWordWrap(bool wrap) {
    m_bWordWrap = wrap;
    if (m_pTwh) {
        m_pTwh->SetWordWrap(wrap);
        SyncScrollBars();
    }
}

int CRichEditUI::GetFont() const {
    return m_iFont;
}

void CRichEditUI::SetFont(int index) {
    m_iFont = index;
    if (m_pTwh) {
        m_pTwh->SetFont(CurrentFont());
        SyncScrollBars();
    }
}

DWORD CRichEditUI::GetTextColor() const {
    return m_dwTextColor;
}

void CRichEditUI::SetTextColor(DWORD color) {
    m_dwTextColor = color;
    if (m_pTwh) m_pTwh->SetColor(CurrentTextColor());
}

int CRichEditUI::GetLimitText() const {
    return m_iLimitText;
}

void CRichEditUI::SetLimitText(int limit) {
    m_iLimitText = limit;
    if (!m_pTwh) return;
    m_pTwh->SetMaxLength(limit);
    // The limit message too: it is the one every version of the text services reads.
    TxSendMessage(EM_EXLIMITTEXT, 0, limit, nullptr);
}

DWORD CRichEditUI::GetWinStyle() const {
    return m_lTwhStyle;
}

bool CRichEditUI::HasTextServices() const {
    return m_pTwh && m_pTwh->GetTextServices() != nullptr;
}

HFONT CRichEditUI::CurrentFont() const {
    return m_pManager != nullptr ? m_pManager->GetFont(m_iFont) : nullptr;
}

COLORREF CRichEditUI::CurrentTextColor() const {
    DWORD color = m_dwTextColor;
    if (color == 0 && m_pManager != nullptr) color = m_pManager->GetDefaultFontColor();
    return ToColorRef(color);
}

// ---- The text services

HRESULT CRichEditUI::TxSendMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                   LRESULT* result) const {
    if (result != nullptr) *result = 0;
    ITextServices* services = m_pTwh ? m_pTwh->GetTextServices() : nullptr;
    if (services == nullptr) return S_FALSE;
    if (EnterIsUnwanted()) {
        if (message == WM_KEYDOWN && wParam == VK_RETURN) {
            if (m_pManager != nullptr)
                m_pManager->SendNotify(const_cast<CRichEditUI*>(this), NotifyType::kReturn);
            return S_OK;
        }
        // The character the Enter key makes follows its key-down: it must not break the
        // line either.
        if (message == WM_CHAR && (wParam == L'\r' || wParam == L'\n')) return S_OK;
    }
    LRESULT answer = 0;
    const HRESULT hr = services->TxSendMessage(message, wParam, lParam, &answer);
    if (result != nullptr) *result = answer;
    return hr;
}

bool CRichEditUI::EnterIsUnwanted() const {
    return !m_bWantReturn || (!m_bWantCtrlReturn && IsControlDown());
}

void CRichEditUI::OnTxNotify(DWORD code, void* data) {
    if (data == nullptr || !IsWindowNotification(code) || m_pManager == nullptr) return;
    const HWND window = m_pManager->GetPaintWindow();
    if (window == nullptr) return;
    auto* header = static_cast<NMHDR*>(data);
    header->hwndFrom = window;
    header->idFrom = static_cast<UINT_PTR>(::GetWindowLongPtrW(window, GWLP_ID));
    header->code = code;
    ::SendMessageW(window, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header));
}

void CRichEditUI::DoInit() {
    if (m_bInited) return;
    m_bInited = true;
    CComPtr<CTxtWinHost> host;
    host.Attach(new (std::nothrow) CTxtWinHost(this));
    if (!host) return;
    TTextHostSetup setup;
    setup.style = m_lTwhStyle;
    setup.rich = m_bRich;
    setup.readOnly = m_bReadOnly;
    setup.limit = m_iLimitText;
    setup.font = CurrentFont();
    setup.textColor = CurrentTextColor();
    setup.text = m_sText.GetData();
    if (!host->Init(setup)) {
        // Without text services the control stays inert: background only, no input.
        host->Shutdown();
        return;
    }
    m_pTwh = std::move(host);
    if (m_pManager != nullptr) {
        m_pManager->AddMessageFilter(this);
        m_pFilterManager = m_pManager;
    }
    // The skin's text is shown from its start, whatever the text services did with it
    // while the control had no size yet.
    CHARRANGE start{0, 0};
    TxSendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start), nullptr);
    TxSendMessage(WM_VSCROLL, SB_TOP, 0, nullptr);
    FitText(true);
}

// ---- Text and selection

CSkinString CRichEditUI::GetText() const {
    if (!HasTextServices()) return m_sText;
    GETTEXTLENGTHEX lengthQuery{GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, 1200};
    LRESULT length = 0;
    TxSendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthQuery), 0, &length);
    if (length <= 0) return CSkinString();
    std::vector<wchar_t> buffer;
    if (static_cast<unsigned long long>(length) >= 0x7FFFFFFFull / sizeof(wchar_t))
        return CSkinString();
    buffer.resize(static_cast<size_t>(length) + 1, L'\0');
    GETTEXTEX textQuery{};
    textQuery.cb = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    textQuery.flags = GT_USECRLF;
    textQuery.codepage = 1200;
    LRESULT copied = 0;
    TxSendMessage(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&textQuery),
                  reinterpret_cast<LPARAM>(buffer.data()), &copied);
    if (copied < 0) copied = 0;
    if (static_cast<size_t>(copied) >= buffer.size())
        copied = static_cast<LRESULT>(buffer.size()) - 1;
    return CSkinString(buffer.data(), static_cast<int>(copied));
}

void CRichEditUI::SetText(const wchar_t* text) {
    m_sText = text != nullptr ? text : L"";
    if (!HasTextServices()) {
        Invalidate();
        return;
    }
    // The text as it stands: WM_SETTEXT would read text that starts like RTF as RTF, so
    // GetText would not give back what was set.
    m_pTwh->GetTextServices()->TxSetText(m_sText.GetData());
    // New text is shown from its start.
    SetSel(0, 0);
    Invalidate();
}

long CRichEditUI::GetTextLength(DWORD flags) const {
    GETTEXTLENGTHEX query{flags, 1200};
    LRESULT length = 0;
    TxSendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query), 0, &length);
    return static_cast<long>(length);
}

CSkinString CRichEditUI::GetTextRange(long start, long end) const {
    // The text services write as far as the range reaches: size the buffer by the text
    // that is there, never by what the caller asked for.
    const long length = GetTextLength(GTL_PRECISE | GTL_NUMCHARS);
    if (start < 0) start = 0;
    if (end < 0 || end > length) end = length;
    if (start >= end) return CSkinString();
    std::vector<wchar_t> buffer(static_cast<size_t>(end - start) + 1, L'\0');
    TEXTRANGEW range{{start, end}, buffer.data()};
    LRESULT copied = 0;
    TxSendMessage(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range), &copied);
    if (copied < 0 || static_cast<size_t>(copied) >= buffer.size()) copied = 0;
    return CSkinString(buffer.data(), static_cast<int>(copied));
}

void CRichEditUI::GetSel(CHARRANGE& range) const {
    range = CHARRANGE{0, 0};
    TxSendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range), nullptr);
}

void CRichEditUI::GetSel(long& start, long& end) const {
    CHARRANGE range{};
    GetSel(range);
    start = range.cpMin;
    end = range.cpMax;
}

int CRichEditUI::SetSel(CHARRANGE& range) {
    LRESULT result = 0;
    TxSendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range), &result);
    SyncScrollBars();
    return static_cast<int>(result);
}

int CRichEditUI::SetSel(long start, long end) {
    CHARRANGE range{start, end};
    return SetSel(range);
}

int CRichEditUI::SetSelAll() {
    return SetSel(0, -1);
}

int CRichEditUI::SetSelNone() {
    return SetSel(-1, 0);
}

CSkinString CRichEditUI::GetSelText() const {
    CHARRANGE range{};
    GetSel(range);
    if (range.cpMax <= range.cpMin) return CSkinString();
    // EM_GETSELTEXT writes the whole selection: room for all of it and the terminator.
    std::vector<wchar_t> buffer(static_cast<size_t>(range.cpMax - range.cpMin) + 1, L'\0');
    LRESULT copied = 0;
    TxSendMessage(EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(buffer.data()), &copied);
    if (copied < 0 || static_cast<size_t>(copied) >= buffer.size()) copied = 0;
    return CSkinString(buffer.data(), static_cast<int>(copied));
}

void CRichEditUI::ReplaceSelW(const wchar_t* text, bool canUndo) {
    TxSendMessage(EM_REPLACESEL, canUndo ? TRUE : FALSE,
                  reinterpret_cast<LPARAM>(text != nullptr ? text : L""), nullptr);
    SyncScrollBars();
}

int CRichEditUI::InsertText(long pos, const wchar_t* text, bool canUndo) {
    const int result = SetSel(pos, pos);
    ReplaceSelW(text, canUndo);
    return result;
}

int CRichEditUI::AppendText(const wchar_t* text, bool canUndo) {
    const int result = SetSel(-1, -1);
    ReplaceSelW(text, canUndo);
    return result;
}

WORD CRichEditUI::GetSelectionType() const {
    LRESULT result = 0;
    TxSendMessage(EM_SELECTIONTYPE, 0, 0, &result);
    return static_cast<WORD>(result);
}

void CRichEditUI::HideSelection(bool hide, bool changeStyle) {
    TxSendMessage(EM_HIDESELECTION, hide ? TRUE : FALSE, changeStyle ? TRUE : FALSE, nullptr);
}

void CRichEditUI::ScrollCaret() {
    TxSendMessage(EM_SCROLLCARET, 0, 0, nullptr);
    SyncScrollBars();
}

// ---- Lines

int CRichEditUI::GetLineCount() const {
    LRESULT result = 0;
    TxSendMessage(EM_GETLINECOUNT, 0, 0, &result);
    return static_cast<int>(result);
}

CSkinString CRichEditUI::GetLine(int index, int maxChars) const {
    if (index < 0 || maxChars <= 0) return CSkinString();
    // The first word of the buffer tells how much room there is.
    if (maxChars > 0xFFFF) maxChars = 0xFFFF;
    std::vector<wchar_t> buffer(static_cast<size_t>(maxChars) + 2, L'\0');
    buffer[0] = static_cast<wchar_t>(maxChars);
    LRESULT copied = 0;
    TxSendMessage(EM_GETLINE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()),
                  &copied);
    if (copied <= 0 || copied > maxChars) return CSkinString();
    return CSkinString(buffer.data(), static_cast<int>(copied));
}

int CRichEditUI::LineIndex(int line) const {
    LRESULT result = 0;
    TxSendMessage(EM_LINEINDEX, static_cast<WPARAM>(line), 0, &result);
    return static_cast<int>(result);
}

int CRichEditUI::LineLength(int line) const {
    LRESULT result = 0;
    TxSendMessage(EM_LINELENGTH, static_cast<WPARAM>(line), 0, &result);
    return static_cast<int>(result);
}

bool CRichEditUI::LineScroll(int lines, int chars) {
    LRESULT result = 0;
    TxSendMessage(EM_LINESCROLL, static_cast<WPARAM>(chars), lines, &result);
    SyncScrollBars();
    return result != 0;
}

CPoint CRichEditUI::GetCharPos(long charIndex) const {
    POINTL point{};
    TxSendMessage(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), charIndex, nullptr);
    return CPoint(point.x, point.y);
}

long CRichEditUI::LineFromChar(long charIndex) const {
    LRESULT result = 0;
    TxSendMessage(EM_EXLINEFROMCHAR, 0, charIndex, &result);
    return static_cast<long>(result);
}

CPoint CRichEditUI::PosFromChar(UINT charIndex) const {
    return GetCharPos(static_cast<long>(charIndex));
}

int CRichEditUI::CharFromPos(CPoint point) const {
    POINTL at{point.x, point.y};
    LRESULT result = 0;
    TxSendMessage(EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&at), &result);
    return static_cast<int>(result);
}

// ---- Formats

DWORD CRichEditUI::GetDefaultCharFormat(CHARFORMAT2W& format) const {
    format.cbSize = sizeof(format);
    LRESULT result = 0;
    TxSendMessage(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format), &result);
    return static_cast<DWORD>(result);
}

bool CRichEditUI::SetDefaultCharFormat(CHARFORMAT2W& format) {
    if (!HasTextServices()) return false;
    format.cbSize = sizeof(format);
    LRESULT result = 0;
    TxSendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format), &result);
    if (result == 0) return false;
    // The host keeps the default too, for when the text services ask again.
    CHARFORMAT2W current{};
    GetDefaultCharFormat(current);
    m_pTwh->SetCharFormat(current);
    SyncScrollBars();
    return true;
}

DWORD CRichEditUI::GetSelectionCharFormat(CHARFORMAT2W& format) const {
    format.cbSize = sizeof(format);
    LRESULT result = 0;
    TxSendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format), &result);
    return static_cast<DWORD>(result);
}

bool CRichEditUI::SetSelectionCharFormat(CHARFORMAT2W& format) {
    format.cbSize = sizeof(format);
    LRESULT result = 0;
    TxSendMessage(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format), &result);
    SyncScrollBars();
    return result != 0;
}

bool CRichEditUI::SetWordCharFormat(CHARFORMAT2W& format) {
    format.cbSize = sizeof(format);
    LRESULT result = 0;
    TxSendMessage(EM_SETCHARFORMAT, SCF_SELECTION | SCF_WORD, reinterpret_cast<LPARAM>(&format),
                  &result);
    SyncScrollBars();
    return result != 0;
}

DWORD CRichEditUI::GetParaFormat(PARAFORMAT2& format) const {
    format.cbSize = sizeof(format);
    LRESULT result = 0;
    TxSendMessage(EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format), &result);
    return static_cast<DWORD>(result);
}

bool CRichEditUI::SetParaFormat(PARAFORMAT2& format) {
    format.cbSize = sizeof(format);
    LRESULT result = 0;
    TxSendMessage(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format), &result);
    SyncScrollBars();
    return result != 0;
}

// ---- Editing

bool CRichEditUI::Undo() {
    LRESULT result = 0;
    TxSendMessage(EM_UNDO, 0, 0, &result);
    SyncScrollBars();
    return result != 0;
}

bool CRichEditUI::Redo() {
    LRESULT result = 0;
    TxSendMessage(EM_REDO, 0, 0, &result);
    SyncScrollBars();
    return result != 0;
}

void CRichEditUI::EmptyUndoBuffer() {
    TxSendMessage(EM_EMPTYUNDOBUFFER, 0, 0, nullptr);
}

UINT CRichEditUI::SetUndoLimit(UINT limit) {
    LRESULT result = 0;
    TxSendMessage(EM_SETUNDOLIMIT, limit, 0, &result);
    return static_cast<UINT>(result);
}

void CRichEditUI::Copy() {
    TxSendMessage(WM_COPY, 0, 0, nullptr);
}

void CRichEditUI::Cut() {
    TxSendMessage(WM_CUT, 0, 0, nullptr);
    SyncScrollBars();
}

void CRichEditUI::Paste() {
    TxSendMessage(WM_PASTE, 0, 0, nullptr);
    SyncScrollBars();
}

void CRichEditUI::Clear() {
    TxSendMessage(WM_CLEAR, 0, 0, nullptr);
    SyncScrollBars();
}

// ---- State

bool CRichEditUI::GetModify() const {
    LRESULT result = 0;
    TxSendMessage(EM_GETMODIFY, 0, 0, &result);
    return result != 0;
}

void CRichEditUI::SetModify(bool modified) {
    TxSendMessage(EM_SETMODIFY, modified ? TRUE : FALSE, 0, nullptr);
}

DWORD CRichEditUI::GetEventMask() const {
    LRESULT result = 0;
    TxSendMessage(EM_GETEVENTMASK, 0, 0, &result);
    return static_cast<DWORD>(result);
}

DWORD CRichEditUI::SetEventMask(DWORD mask) {
    LRESULT result = 0;
    TxSendMessage(EM_SETEVENTMASK, 0, static_cast<LPARAM>(mask), &result);
    return static_cast<DWORD>(result);
}

bool CRichEditUI::GetAutoURLDetect() const {
    LRESULT result = 0;
    TxSendMessage(EM_GETAUTOURLDETECT, 0, 0, &result);
    return result != 0;
}

bool CRichEditUI::SetAutoURLDetect(bool detect) {
    LRESULT result = 0;
    TxSendMessage(EM_AUTOURLDETECT, detect ? TRUE : FALSE, 0, &result);
    // The message answers 0 on success.
    return HasTextServices() && result == 0;
}

void CRichEditUI::SetDropAcceptFile(bool accept) {
    // Dropped files are reported to the window through EN_DROPFILES.
    const DWORD mask = GetEventMask();
    SetEventMask(accept ? mask | ENM_DROPFILES : mask & ~static_cast<DWORD>(ENM_DROPFILES));
}

bool CRichEditUI::GetZoom(int& numerator, int& denominator) const {
    numerator = 0;
    denominator = 0;
    LRESULT result = 0;
    TxSendMessage(EM_GETZOOM, reinterpret_cast<WPARAM>(&numerator),
                  reinterpret_cast<LPARAM>(&denominator), &result);
    return result != 0;
}

bool CRichEditUI::SetZoom(int numerator, int denominator) {
    // The text services take ratios from 1/64 to 64, or 0/0 for none.
    if (numerator < 0 || numerator >= 64 || denominator < 0 || denominator >= 64) return false;
    LRESULT result = 0;
    TxSendMessage(EM_SETZOOM, static_cast<WPARAM>(numerator), denominator, &result);
    SyncScrollBars();
    return result != 0;
}

bool CRichEditUI::SetZoomOff() {
    return SetZoom(0, 0);
}

long CRichEditUI::StreamIn(int format, EDITSTREAM& stream) {
    LRESULT result = 0;
    TxSendMessage(EM_STREAMIN, static_cast<WPARAM>(format), reinterpret_cast<LPARAM>(&stream),
                  &result);
    SyncScrollBars();
    return static_cast<long>(result);
}

long CRichEditUI::StreamOut(int format, EDITSTREAM& stream) {
    LRESULT result = 0;
    TxSendMessage(EM_STREAMOUT, static_cast<WPARAM>(format), reinterpret_cast<LPARAM>(&stream),
                  &result);
    return static_cast<long>(result);
}

IDropTarget* CRichEditUI::GetTxDropTarget() {
    ITextServices* services = m_pTwh ? m_pTwh->GetTextServices() : nullptr;
    IDropTarget* target = nullptr;
    if (services == nullptr || FAILED(services->TxGetDropTarget(&target))) return nullptr;
    return target;
}

// ---- Scrolling

void CRichEditUI::Scroll(const Axis& along, WORD request) {
    TxSendMessage(along.IsVertical() ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(request, 0), 0, nullptr);
    SyncScrollBars();
}

void CRichEditUI::SetScrollPos(SIZE pos) {
    if (!HasTextServices()) return;
    // An absolute position in 32 bits: the thumb requests of WM_VSCROLL carry only 16, and
    // long text is taller than that. EM_GETSCROLLPOS scales into 16 bits as well, so the
    // axis left alone keeps the position the scroll state tells.
    long long range = 0;
    long long x = 0;
    long long y = 0;
    TextScroll(kHorizontal, range, x);
    TextScroll(kVertical, range, y);
    POINT target{ClampToInt(x), ClampToInt(y)};
    if (ShownScrollBar(kHorizontal) != nullptr) target.x = pos.cx < 0 ? 0 : pos.cx;
    if (ShownScrollBar(kVertical) != nullptr) target.y = pos.cy < 0 ? 0 : pos.cy;
    TxSendMessage(EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&target), nullptr);
    SyncScrollBars();
}

void CRichEditUI::LineUp() {
    Scroll(kVertical, SB_LINEUP);
}

void CRichEditUI::LineDown() {
    Scroll(kVertical, SB_LINEDOWN);
}

void CRichEditUI::PageUp() {
    Scroll(kVertical, SB_PAGEUP);
}

void CRichEditUI::PageDown() {
    Scroll(kVertical, SB_PAGEDOWN);
}

void CRichEditUI::HomeUp() {
    Scroll(kVertical, SB_TOP);
}

void CRichEditUI::EndDown() {
    Scroll(kVertical, SB_BOTTOM);
}

void CRichEditUI::LineLeft() {
    Scroll(kHorizontal, SB_LINELEFT);
}

void CRichEditUI::LineRight() {
    Scroll(kHorizontal, SB_LINERIGHT);
}

void CRichEditUI::PageLeft() {
    Scroll(kHorizontal, SB_PAGELEFT);
}

void CRichEditUI::PageRight() {
    Scroll(kHorizontal, SB_PAGERIGHT);
}

void CRichEditUI::HomeLeft() {
    Scroll(kHorizontal, SB_LEFT);
}

void CRichEditUI::EndRight() {
    Scroll(kHorizontal, SB_RIGHT);
}

bool CRichEditUI::TextScroll(const Axis& along, long long& range, long long& pos) const {
    range = 0;
    pos = 0;
    ITextServices* services = m_pTwh ? m_pTwh->GetTextServices() : nullptr;
    if (services == nullptr) return false;
    LONG minPos = 0;
    LONG maxPos = 0;
    LONG position = 0;
    LONG page = 0;
    BOOL enabled = FALSE;
    const HRESULT hr = along.IsVertical()
                           ? services->TxGetVScroll(&minPos, &maxPos, &position, &page, &enabled)
                           : services->TxGetHScroll(&minPos, &maxPos, &position, &page, &enabled);
    if (FAILED(hr)) return false;
    // The largest position leaves one page of the text in view.
    range = static_cast<long long>(maxPos) - minPos - page;
    if (range < 0) range = 0;
    pos = static_cast<long long>(position) - minPos;
    if (pos < 0) pos = 0;
    if (pos > range) pos = range;
    return true;
}

RECT CRichEditUI::GetTextRect() const {
    return ClientRect();
}

void CRichEditUI::PlaceScrollBars() {
    const RECT rc = InsetRect();
    for (const Axis& along : {kVertical, kHorizontal}) {
        CScrollBarUI* bar = ShownScrollBar(along);
        if (bar == nullptr) continue;
        // Along the far side across its axis, short of the other bar's corner.
        const Axis across = along.Cross();
        long long farEnd = along.Far(rc);
        if (const CScrollBarUI* other = ShownScrollBar(across)) farEnd -= along.Fixed(*other);
        const long long side = across.Far(rc);
        bar->SetPos(along.Rect(along.Near(rc), farEnd, side - across.Fixed(*bar), side));
    }
}

bool CRichEditUI::FitText(bool fromTop) {
    bool changed = false;
    for (int pass = 0; pass < kFitPasses; ++pass) {
        if (m_pTwh) m_pTwh->SetClientRect(GetTextRect());
        bool appeared = false;
        for (const Axis& along : {kVertical, kHorizontal}) {
            CScrollBarUI* bar = ScrollBar(along);
            if (bar == nullptr) continue;
            long long range = 0;
            long long pos = 0;
            TextScroll(along, range, pos);
            const bool show = range > 0;
            if (bar->IsVisible() != show) {
                bar->SetVisible(show);
                appeared = true;
                // Text that a new layout finds too tall is shown from its top.
                if (show && fromTop && along.IsVertical()) {
                    TxSendMessage(WM_VSCROLL, SB_TOP, 0, nullptr);
                    TextScroll(along, range, pos);
                }
            }
            bar->SetScrollRange(ClampToInt(range));
            bar->SetScrollPos(ClampToInt(pos));
        }
        if (!appeared) break;
        changed = true;
    }
    PlaceScrollBars();
    return changed;
}

void CRichEditUI::SyncScrollBars() {
    // The bars' own changes reach the text services and come back here.
    if (m_bSyncing) return;
    m_bSyncing = true;
    if (FitText(false)) Invalidate();
    m_bSyncing = false;
}

// ---- Layout, events, attributes, painting

void CRichEditUI::SetPos(RECT rect) {
    CControlUI::SetPos(rect);
    m_bSyncing = true;
    FitText(true);
    m_bSyncing = false;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (child->IsVisible() && child->IsFloat()) SetFloatPos(i);
    }
}

void CRichEditUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CContainerUI::DoEvent(event);
        return;
    }
    switch (event.type) {
    case UIEVENT_SETCURSOR: {
        ITextServices* services = m_pTwh ? m_pTwh->GetTextServices() : nullptr;
        const RECT text = GetTextRect();
        if (services != nullptr && IsEnabled() && ::PtInRect(&text, event.mousePos)) {
            services->OnTxSetCursor(DVASPECT_CONTENT, -1, nullptr, nullptr,
                                    m_pManager != nullptr ? m_pManager->GetPaintDC() : nullptr,
                                    nullptr, &text, event.mousePos.x, event.mousePos.y);
        } else {
            ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        }
        return;
    }
    case UIEVENT_SETFOCUS:
        // Focused first: the text services make their caret while they hear of it.
        m_bFocused = true;
        TxSendMessage(WM_SETFOCUS, 0, 0, nullptr);
        Invalidate();
        return;
    case UIEVENT_KILLFOCUS:
        m_bFocused = false;
        TxSendMessage(WM_KILLFOCUS, 0, 0, nullptr);
        if (m_pTwh) m_pTwh->DestroyCaret();
        Invalidate();
        return;
    case UIEVENT_TIMER:
        TxSendMessage(WM_TIMER, event.wParam, event.lParam, nullptr);
        SyncScrollBars();
        return;
    case UIEVENT_SCROLLWHEEL:
        // Plain wheel turns are not the text services' (only Ctrl zooms there): they
        // scroll the text a line at a time.
        if (IsEnabled()) {
            if (LOWORD(event.wParam) == SB_LINEDOWN)
                LineDown();
            else
                LineUp();
        }
        return;
    default:
        break;
    }
    // The message filter has delivered mouse and keys to the text services already.
    if (IsMouseEvent(event.type) || IsKeyEvent(event.type)) return;
    CContainerUI::DoEvent(event);
}

void CRichEditUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name == nullptr) return;
    if (value == nullptr) value = L"";
    const auto is = [name](const wchar_t* known) { return wcscmp(name, known) == 0; };
    const bool on = ParseBoolValue(value);
    const auto style = [this, on](DWORD bits) {
        if (on) m_lTwhStyle |= bits;
    };
    if (is(L"vscrollbar")) {
        style(WS_VSCROLL | ES_DISABLENOSCROLL);
        CContainerUI::SetAttribute(name, value);
    } else if (is(L"autovscroll")) {
        style(ES_AUTOVSCROLL);
    } else if (is(L"hscrollbar")) {
        style(WS_HSCROLL | ES_DISABLENOSCROLL);
        CContainerUI::SetAttribute(name, value);
    } else if (is(L"autohscroll")) {
        style(ES_AUTOHSCROLL);
    } else if (is(L"wanttab")) {
        SetWantTab(on);
    } else if (is(L"wantreturn")) {
        SetWantReturn(on);
    } else if (is(L"wantctrlreturn")) {
        SetWantCtrlReturn(on);
    } else if (is(L"rich")) {
        SetRich(on);
    } else if (is(L"multiline")) {
        if (wcscmp(value, L"false") == 0) m_lTwhStyle &= ~static_cast<DWORD>(ES_MULTILINE);
    } else if (is(L"readonly")) {
        if (on) SetReadOnly(true);
    } else if (is(L"password")) {
        style(ES_PASSWORD);
    } else if (is(L"align")) {
        // Each word found rewrites the alignment bits: the last rule that applies wins.
        const DWORD center = ES_CENTER;
        const DWORD right = ES_RIGHT;
        if (wcsstr(value, L"left") != nullptr) m_lTwhStyle &= ~(center | right);
        if (wcsstr(value, L"center") != nullptr) m_lTwhStyle = (m_lTwhStyle | center) & ~right;
        if (wcsstr(value, L"right") != nullptr) m_lTwhStyle = (m_lTwhStyle | right) & ~center;
    } else if (is(L"font")) {
        SetFont(ParseIntValue(value));
    } else if (is(L"textcolor")) {
        SetTextColor(ParseColorValue(value));
    } else {
        CContainerUI::SetAttribute(name, value);
    }
}

void CRichEditUI::PaintText(HDC hDC) {
    ITextServices* services = m_pTwh ? m_pTwh->GetTextServices() : nullptr;
    if (services == nullptr) return;
    const RECT text = m_pTwh->GetClientRect();
    RECT update{};
    if (!::IntersectRect(&update, &m_rcPaint, &text)) return;
    CRenderClip clip;
    CRenderClip::GenerateClip(hDC, update, clip);
    struct Drawing {
        ITextServices* services;
        HDC dc;
        RECTL bounds;
        RECT update;
    } drawing{services, hDC, RECTL{text.left, text.top, text.right, text.bottom}, update};
    // GDI text leaves alpha 0 behind on a layered window's surface: keep it opaque.
    CRenderEngine::DrawOpaque(
        hDC, update,
        [](void* context) {
            auto* d = static_cast<Drawing*>(context);
            d->services->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, d->dc, nullptr, &d->bounds,
                                nullptr, &d->update, nullptr, 0, TXTVIEW_ACTIVE);
        },
        &drawing);
}

// ---- Input from the window

POINT CRichEditUI::MessagePoint(UINT message, LPARAM lParam) const {
    POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    // The wheel and the context menu carry screen coordinates.
    if ((message == WM_MOUSEWHEEL || message == WM_MOUSEHWHEEL || message == WM_CONTEXTMENU) &&
        m_pManager != nullptr)
        ::ScreenToClient(m_pManager->GetPaintWindow(), &point);
    return point;
}

bool CRichEditUI::TakesMouse(POINT point) const {
    if (m_pManager == nullptr) return false;
    const RECT text = GetTextRect();
    if (!::PtInRect(&text, point) || m_pManager->IsCaptured()) return false;
    return m_pManager->FindControl(point) == this;
}

LRESULT CRichEditUI::MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    if (!IsVisible() || !IsEnabled() || !HasTextServices()) return 0;
    bool always = false; // handled whatever the text services answer
    if (IsMouseMessage(message)) {
        if (!IsMouseEnabled()) return 0;
        const bool wheel = message == WM_MOUSEWHEEL || message == WM_MOUSEHWHEEL;
        if (wheel && !IsControlDown()) return 0;
        // While the text services hold the mouse (a selection being dragged), every mouse
        // message is theirs: the button may come up anywhere.
        if (!m_pTwh->IsCapturing() && !TakesMouse(MessagePoint(message, lParam))) return 0;
        if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDOWN ||
            message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDOWN || message == WM_MBUTTONDBLCLK)
            SetFocus();
        always = message != WM_MOUSEMOVE;
    } else if (message == WM_SETCURSOR) {
        if (m_pManager == nullptr) return 0;
        POINT point{};
        ::GetCursorPos(&point);
        ::ScreenToClient(m_pManager->GetPaintWindow(), &point);
        if (!TakesMouse(point)) return 0;
    } else if (IsKeyMessage(message) || message == WM_IME_CHAR) {
        if (!IsFocused()) return 0;
        // The window's own system keys (Alt+F4, menus) pass unless the text took them.
        always = !IsSystemKeyMessage(message) && message != WM_CHAR;
    } else if (message == WM_CONTEXTMENU) {
        if (m_pManager == nullptr) return 0;
        POINT point = MessagePoint(message, lParam);
        if (m_pManager->FindControl(point) != this) return 0;
        always = true;
    } else if (message == WM_CAPTURECHANGED) {
        // Losing the mouse in the middle of a drag ends the drag.
        if (!m_pTwh->IsCapturing()) return 0;
    } else {
        return 0;
    }
    LRESULT result = 0;
    HRESULT hr = TxSendMessage(message, wParam, lParam, &result);
    // Text services that leave an input method's character alone still take it typed;
    // the window must not make it a WM_CHAR of its own as well, or it would come twice.
    if (message == WM_IME_CHAR && hr != S_OK) hr = TxSendMessage(WM_CHAR, wParam, lParam, &result);
    SyncScrollBars();
    const bool taken = hr == S_OK;
    if (message == WM_SETCURSOR || message == WM_CAPTURECHANGED || message == WM_CHAR)
        handled = false;
    else
        handled = always || taken;
    return result;
}

} // namespace SkinUI
