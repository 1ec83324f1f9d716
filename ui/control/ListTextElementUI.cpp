#include "control/ListTextElementUI.h"

#include <cwchar>
#include <new>

#include "window/PaintManagerUI.h"

namespace SkinUI {

CListTextElementUI::CListTextElementUI() = default;

CListTextElementUI::~CListTextElementUI() = default;

const wchar_t* CListTextElementUI::GetClass() const {
    return L"ListTextElementUI";
}

void* CListTextElementUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"ListTextElement") == 0) return this;
    return CListLabelElementUI::GetInterface(name);
}

UINT CListTextElementUI::GetControlFlags() const {
    return UIFLAG_WANTRETURN | (IsEnabled() && GetLinkCount() > 0 ? UIFLAG_SETCURSOR : 0);
}

void CListTextElementUI::SetOwner(CControlUI* owner) {
    CListLabelElementUI::SetOwner(owner);
    m_pList = owner != nullptr ? static_cast<IListUI*>(owner->GetInterface(L"IList")) : nullptr;
}

const wchar_t* CListTextElementUI::GetText(int column) const {
    if (column < 0 || column >= static_cast<int>(m_texts.size())) return nullptr;
    return m_texts[column].get();
}

void CListTextElementUI::SetText(int column, const wchar_t* text) {
    const TListInfoUI* info = ListInfo();
    if (info == nullptr || column < 0 || column >= info->columnCount) return;
    if (static_cast<int>(m_texts.size()) < info->columnCount) m_texts.resize(info->columnCount);
    std::unique_ptr<wchar_t[]>& stored = m_texts[column];
    const wchar_t* old = stored ? stored.get() : L"";
    if (text == nullptr) text = L"";
    if (wcscmp(old, text) == 0) return;
    if (*text == L'\0') {
        stored.reset();
    } else {
        // Exactly the text's length: a list may hold a hundred thousand of them.
        const size_t length = wcslen(text);
        std::unique_ptr<wchar_t[]> copy(new (std::nothrow) wchar_t[length + 1]);
        if (!copy) return;
        wmemcpy(copy.get(), text, length + 1);
        stored = std::move(copy);
    }
    Invalidate();
}

int CListTextElementUI::GetLinkCount() const {
    return m_links ? m_links->count : 0;
}

const wchar_t* CListTextElementUI::GetLinkContent(int index) const {
    if (index < 0 || index >= GetLinkCount()) return nullptr;
    return m_links->targets[index].GetData();
}

int CListTextElementUI::LinkAt(POINT point) const {
    for (int i = 0; i < GetLinkCount(); ++i)
        if (::PtInRect(&m_links->rects[i], point)) return i;
    return -1;
}

void CListTextElementUI::DoEvent(TEventUI& event) {
    const int link = GetLinkCount() > 0 ? LinkAt(event.mousePos) : -1;
    switch (event.type) {
    case UIEVENT_SETCURSOR:
        if (link >= 0) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            return;
        }
        break;
    case UIEVENT_BUTTONUP:
        if (link >= 0 && IsEnabled()) SendNotify(NotifyType::kLink, static_cast<WPARAM>(link));
        break;
    case UIEVENT_MOUSEMOVE:
        if (link != m_nHoverLink) {
            m_nHoverLink = link;
            Invalidate();
        }
        break;
    case UIEVENT_MOUSELEAVE:
        if (m_nHoverLink >= 0) {
            m_nHoverLink = -1;
            Invalidate();
        }
        break;
    default:
        break;
    }
    CListLabelElementUI::DoEvent(event);
}

SIZE CListTextElementUI::EstimateSize(SIZE) {
    const TListInfoUI* info = ListInfo();
    if (info == nullptr) return SIZE{0, 0};
    SIZE size = m_cxyFixed;
    if (size.cy == 0)
        size.cy = ItemFontHeight() + 8 + info->textPadding.top + info->textPadding.bottom;
    return size;
}

void CListTextElementUI::DrawItemText(HDC hDC, const RECT& rcItem) {
    const TListInfoUI* info = ListInfo();
    if (info == nullptr) return;
    const DWORD color = ListItem::TextColor(*this, *info, m_bSelected, m_uButtonState);
    IListCallbackUI* callback = m_pList != nullptr ? m_pList->GetTextCallback() : nullptr;
    const int columns = info->columnCount < kMaxListColumns ? info->columnCount : kMaxListColumns;

    // Links are looked for only in HTML-like text. The drawing learns from the rectangles
    // of the last paint which link the pointer is over, and records this paint's.
    Links scratch;
    const bool html = info->showHtml;
    if (html && m_links) scratch = *m_links;
    int found = 0;
    for (int i = 0; i < columns; ++i) {
        const RECT& column = info->columns[i];
        RECT text{column.left + info->textPadding.left, rcItem.top + info->textPadding.top,
                  column.right - info->textPadding.right, rcItem.bottom - info->textPadding.bottom};
        const wchar_t* content =
            callback != nullptr ? callback->GetItemText(this, m_iIndex, i) : GetText(i);
        if (content == nullptr || *content == L'\0') continue;
        int room = html ? kMaxLinks - found : 0;
        DrawListText(hDC, text, content, color, info->textStyle | DT_SINGLELINE,
                     html ? scratch.rects + found : nullptr,
                     html ? scratch.targets + found : nullptr, &room);
        found += room;
    }
    if (found == 0) {
        m_links.reset();
        return;
    }
    for (int i = found; i < kMaxLinks; ++i) {
        scratch.rects[i] = RECT{};
        scratch.targets[i].Empty();
    }
    scratch.count = found;
    if (!m_links) m_links.reset(new (std::nothrow) Links);
    if (m_links) *m_links = scratch;
}

} // namespace SkinUI
