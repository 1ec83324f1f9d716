// A multi-line, optionally rich-text editor drawn into the skinned window without a native
// child window. The platform's windowless text services do the editing; the control hosts
// them (CTxtWinHost), forwards keyboard and mouse messages to them as a message filter of
// its manager, and keeps the framework's own scroll bars in step with the text. Without the
// text services library the control stays empty and inert.
#pragma once

#include <windows.h>

#include <ole2.h>
#include <richedit.h>

#include "control/ContainerUI.h"
#include "core/Handles.h"
#include "core/Point.h"
#include "core/SkinString.h"
#include "window/MessageFilterUI.h"

namespace SkinUI {

class Axis;
class CTxtWinHost;

class CRichEditUI : public CContainerUI, public IMessageFilterUI {
public:
    CRichEditUI();
    /// Leaves the manager's message filters and releases the text services and the host.
    ~CRichEditUI() override;

    /// "RichEditUI".
    const wchar_t* GetClass() const override;
    /// This control for "RichEdit", else as the container.
    void* GetInterface(const wchar_t* name) override;
    /// A tab stop that sets its own cursor.
    UINT GetControlFlags() const override;

    // Settings. Those that the text services know are passed on once the host exists.
    /// Whether Tab is typed into the text: the flag, while there are text services.
    bool IsWantTab() const;
    void SetWantTab(bool want = true);
    bool IsWantReturn() const;
    void SetWantReturn(bool want = true);
    bool IsWantCtrlReturn() const;
    void SetWantCtrlReturn(bool want = true);
    bool IsRich() const;
    void SetRich(bool rich = true);
    bool IsReadOnly() const;
    void SetReadOnly(bool readOnly = true);
    bool GetWordWrap() const;
    void SetWordWrap(bool wrap = true);
    /// Index into the manager's fonts; -1 is the default font.
    int GetFont() const;
    void SetFont(int index);
    /// Default text colour 0xAARRGGBB; 0 takes the manager's default font colour.
    DWORD GetTextColor() const;
    void SetTextColor(DWORD color);
    /// Longest text the user can enter, in characters.
    int GetLimitText() const;
    void SetLimitText(int limit);
    /// ES_* and WS_[HV]SCROLL bits the text services are created with.
    DWORD GetWinStyle() const;
    /// Whether the text services are there (false before DoInit and without the library).
    bool HasTextServices() const;

    // Text and selection.
    /// The whole text, paragraphs ending in CR LF.
    CSkinString GetText() const override;
    void SetText(const wchar_t* text) override;
    /// Length in characters, as EM_GETTEXTLENGTHEX counts with the given GTL_* flags.
    long GetTextLength(DWORD flags = GTL_DEFAULT) const;
    /// Characters from start to end (-1: to the end of the text).
    CSkinString GetTextRange(long start, long end) const;
    void GetSel(CHARRANGE& range) const;
    void GetSel(long& start, long& end) const;
    int SetSel(CHARRANGE& range);
    int SetSel(long start, long end);
    int SetSelAll();
    int SetSelNone();
    CSkinString GetSelText() const;
    void ReplaceSelW(const wchar_t* text, bool canUndo = false);
    /// Inserts at a character position (-1: the end) and selects nothing after it.
    int InsertText(long pos, const wchar_t* text, bool canUndo = false);
    int AppendText(const wchar_t* text, bool canUndo = false);
    WORD GetSelectionType() const;
    void HideSelection(bool hide = true, bool changeStyle = false);
    void ScrollCaret();

    // Lines.
    int GetLineCount() const;
    /// At most maxChars characters of a line; empty for a line that is not there.
    CSkinString GetLine(int index, int maxChars) const;
    /// First character of a line (-1: the caret's line).
    int LineIndex(int line = -1) const;
    int LineLength(int line = -1) const;
    bool LineScroll(int lines, int chars = 0);
    CPoint GetCharPos(long charIndex) const;
    long LineFromChar(long charIndex) const;
    CPoint PosFromChar(UINT charIndex) const;
    int CharFromPos(CPoint point) const;

    // Formats.
    DWORD GetDefaultCharFormat(CHARFORMAT2W& format) const;
    bool SetDefaultCharFormat(CHARFORMAT2W& format);
    DWORD GetSelectionCharFormat(CHARFORMAT2W& format) const;
    bool SetSelectionCharFormat(CHARFORMAT2W& format);
    bool SetWordCharFormat(CHARFORMAT2W& format);
    DWORD GetParaFormat(PARAFORMAT2& format) const;
    bool SetParaFormat(PARAFORMAT2& format);

    // Editing.
    bool Undo();
    bool Redo();
    void EmptyUndoBuffer();
    UINT SetUndoLimit(UINT limit);
    void Copy();
    void Cut();
    void Paste();
    void Clear();

    // State.
    bool GetModify() const;
    void SetModify(bool modified = true);
    DWORD GetEventMask() const;
    DWORD SetEventMask(DWORD mask);
    bool GetAutoURLDetect() const;
    bool SetAutoURLDetect(bool detect = true);
    void SetDropAcceptFile(bool accept);
    bool GetZoom(int& numerator, int& denominator) const;
    /// Zoom by numerator / denominator (both 0: off); out-of-range ratios are refused.
    bool SetZoom(int numerator, int denominator);
    bool SetZoomOff();
    long StreamIn(int format, EDITSTREAM& stream);
    long StreamOut(int format, EDITSTREAM& stream);
    /// The text services' drop target (the caller holds the reference), or null.
    IDropTarget* GetTxDropTarget();

    // Scrolling: the text services scroll, the framework's bars follow.
    void SetScrollPos(SIZE pos) override;
    void LineUp() override;
    void LineDown() override;
    void PageUp() override;
    void PageDown() override;
    void HomeUp() override;
    void EndDown() override;
    void LineLeft() override;
    void LineRight() override;
    void PageLeft() override;
    void PageRight() override;
    void HomeLeft() override;
    void EndRight() override;

    /// Sends a message to the text services; S_FALSE (result 0) without them. Enter that
    /// the control does not want becomes the "return" notification instead.
    HRESULT TxSendMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) const;
    /// Passes the text services' notifications the window hears about on as WM_NOTIFY.
    void OnTxNotify(DWORD code, void* data);
    /// Reads the text services' scroll state into the framework's bars; a bar the control
    /// shows by itself is shown while the text overflows and hidden while it fits.
    void SyncScrollBars();
    /// The rectangle the text is drawn in: the item less the inset and the shown bars.
    RECT GetTextRect() const;

    /// Makes the host and its text services once.
    void DoInit() override;
    void SetPos(RECT rect) override;
    void DoEvent(TEventUI& event) override;
    /// The attributes below, then the container's.
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;
    /// The text services draw the text over the background.
    void PaintText(HDC hDC) override;

    /// Forwards mouse and keyboard messages meant for this control to the text services.
    LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    /// The settings handed to a new host.
    HFONT CurrentFont() const;
    COLORREF CurrentTextColor() const;
    /// Whether Enter (with Ctrl when ctrl says so) is left to the "return" notification.
    bool EnterIsUnwanted() const;
    /// Sends a scroll request along an axis.
    void Scroll(const Axis& along, WORD request);
    /// The text services' scroll state along an axis: the largest position and the
    /// position; false without text services.
    bool TextScroll(const Axis& along, long long& range, long long& pos) const;
    /// Hands the text rectangle to the host and fits the bars the control shows by itself
    /// to the text; true when a bar appeared or went. With fromTop, text that makes the
    /// vertical bar appear is scrolled to its top.
    bool FitText(bool fromTop);
    void PlaceScrollBars();
    /// Where a mouse message points, in client coordinates.
    POINT MessagePoint(UINT message, LPARAM lParam) const;
    /// Whether a mouse message is for this control.
    bool TakesMouse(POINT point) const;

    CComPtr<CTxtWinHost> m_pTwh;
    CPaintManagerUI* m_pFilterManager = nullptr; ///< where the control is a message filter
    bool m_bWantTab = true;
    bool m_bWantReturn = true;
    bool m_bWantCtrlReturn = true;
    bool m_bRich = true;
    bool m_bReadOnly = false;
    bool m_bWordWrap = false;
    bool m_bInited = false;
    bool m_bSyncing = false;
    DWORD m_dwTextColor = 0;
    int m_iFont = -1;
    int m_iLimitText = 32767;
    DWORD m_lTwhStyle = ES_MULTILINE;
};

} // namespace SkinUI
