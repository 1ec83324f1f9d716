#include "GalleryWindow.h"

#include <cwchar>

#include "LayeredWindow.h"

using namespace SkinUI;

SKIN_BEGIN_MESSAGE_MAP(CGalleryWindow, WindowImplBase)
SKIN_ON_NOTIFY(NotifyType::kSelectChanged, CGalleryWindow, OnTabChanged)
SKIN_ON_NOTIFY_CTRLNAME(NotifyType::kSelectChanged, L"unlock", CGalleryWindow, OnUnlock)
SKIN_ON_NOTIFY_CTRLNAME(NotifyType::kValueChanged, L"volume", CGalleryWindow, OnVolume)
SKIN_ON_NOTIFY(NotifyType::kItemSelect, CGalleryWindow, OnItemSelect)
SKIN_ON_NOTIFY(NotifyType::kLink, CGalleryWindow, OnLink)
SKIN_ON_NOTIFY_CTRLNAME(NotifyType::kReturn, L"player", CGalleryWindow, OnPlayerReturn)
SKIN_ON_NOTIFY_CTRLNAME(NotifyType::kClick, L"openlayered", CGalleryWindow, OnOpenLayered)
SKIN_END_MESSAGE_MAP()

namespace {

// The server list's rows: server, region, players, state.
const wchar_t* const kServers[][4] = {
    {L"Dawn", L"Europe", L"1,204", L"Open"},    {L"Harbour", L"Europe", L"877", L"Open"},
    {L"Ember", L"Asia", L"2,310", L"Busy"},     {L"Frost", L"Americas", L"96", L"Open"},
    {L"Gale", L"Asia", L"0", L"Closed"},        {L"Ivory", L"Americas", L"512", L"Open"},
    {L"Juniper", L"Europe", L"1,020", L"Open"}, {L"Kestrel", L"Asia", L"44", L"Open"},
    {L"Lumen", L"Americas", L"3,002", L"Busy"}, {L"Marble", L"Europe", L"158", L"Open"},
    {L"Nimbus", L"Asia", L"730", L"Open"},      {L"Onyx", L"Americas", L"1,871", L"Open"},
    {L"Pebble", L"Europe", L"12", L"New"},      {L"Quarry", L"Asia", L"655", L"Open"},
};

} // namespace

CGalleryWindow::CGalleryWindow(const wchar_t* skinFolder) : m_skinFolder(skinFolder) {}

void CGalleryWindow::InitWindow() {
    auto* servers = Find<CListUI>(L"servers");
    if (servers == nullptr) return;
    for (const auto& server : kServers) {
        auto* row = new CListTextElementUI;
        row->SetFixedHeight(24);
        // A row takes its column texts once it belongs to a list with a header.
        if (!servers->Add(row)) {
            delete row;
            continue;
        }
        for (int column = 0; column < 4; ++column)
            row->SetText(column, server[column]);
    }
}

void CGalleryWindow::Notify(TNotifyUI& msg) {
    // Focus moves follow nearly every click: shown, they would hide what the click did.
    const bool focus = msg.type == NotifyType::kSetFocus || msg.type == NotifyType::kKillFocus;
    if (msg.sender != nullptr && !focus) {
        if (CControlUI* status = Find<CControlUI>(L"status")) {
            CSkinString sender = msg.sender->GetName();
            if (sender.IsEmpty()) sender = msg.sender->GetClass();
            status->SetText(sender + L": " + msg.type);
        }
    }
    WindowImplBase::Notify(msg);
}

void CGalleryWindow::OnFinalMessage(HWND window) {
    WindowImplBase::OnFinalMessage(window);
    ::PostQuitMessage(0);
}

LRESULT CGalleryWindow::OnSize(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    if (wParam == SIZE_MAXIMIZED || wParam == SIZE_RESTORED) {
        const bool maximized = wParam == SIZE_MAXIMIZED;
        if (CControlUI* button = Find<CControlUI>(L"maxbtn")) button->SetVisible(!maximized);
        if (CControlUI* button = Find<CControlUI>(L"restorebtn")) button->SetVisible(maximized);
    }
    return WindowImplBase::OnSize(message, wParam, lParam, handled);
}

// The tabs are the options of the group "tabs"; each names its page in "userdata".
void CGalleryWindow::OnTabChanged(TNotifyUI& msg) {
    auto* tab = static_cast<COptionUI*>(msg.sender->GetInterface(L"Option"));
    if (tab == nullptr || tab->GetGroup() != L"tabs" || !tab->IsSelected()) return;
    if (auto* pages = Find<CTabLayoutUI>(L"pages"))
        pages->SelectItem(static_cast<int>(std::wcstol(tab->GetUserData(), nullptr, 10)));
}

void CGalleryWindow::OnUnlock(TNotifyUI& msg) {
    // A check box answers as the option it is.
    auto* unlock = static_cast<COptionUI*>(msg.sender->GetInterface(L"Option"));
    CControlUI* locked = Find<CControlUI>(L"lockedbtn");
    if (unlock == nullptr || locked == nullptr) return;
    locked->SetEnabled(unlock->IsSelected());
    locked->SetText(unlock->IsSelected() ? L"Unlocked" : L"Locked");
}

void CGalleryWindow::OnVolume(TNotifyUI& msg) {
    auto* volume = static_cast<CSliderUI*>(msg.sender->GetInterface(L"Slider"));
    if (volume == nullptr) return;
    if (auto* meter = Find<CProgressUI>(L"meter")) meter->SetValue(volume->GetValue());
    if (CControlUI* percent = Find<CControlUI>(L"percent")) {
        CSkinString text;
        text.SmallFormat(L"%d %%", volume->GetValue());
        percent->SetText(text);
    }
}

void CGalleryWindow::OnItemSelect(TNotifyUI& msg) {
    const CSkinString name = msg.sender->GetName();
    const int index = static_cast<int>(msg.wParam);
    if (name == L"region" || name == L"mode") {
        // A combo's text is its chosen item's.
        ShowChoice(name + L": " + msg.sender->GetText());
    } else if (name == L"servers") {
        auto* list = static_cast<CListUI*>(msg.sender->GetInterface(L"List"));
        CControlUI* item = list != nullptr ? list->GetItemAt(index) : nullptr;
        auto* row = item != nullptr
                        ? static_cast<CListTextElementUI*>(item->GetInterface(L"ListTextElement"))
                        : nullptr;
        if (row != nullptr)
            ShowChoice(CSkinString(L"Server: ") + row->GetText(0) + L", " + row->GetText(1));
    } else if (name == L"tree") {
        auto* tree = static_cast<CTreeViewUI*>(msg.sender->GetInterface(L"TreeView"));
        CControlUI* item = tree != nullptr ? tree->GetItemAt(index) : nullptr;
        auto* node =
            item != nullptr ? static_cast<CTreeNodeUI*>(item->GetInterface(L"TreeNode")) : nullptr;
        if (node != nullptr) ShowChoice(CSkinString(L"Tree: ") + node->GetItemText());
    }
}

void CGalleryWindow::OnLink(TNotifyUI& msg) {
    auto* text = static_cast<CTextUI*>(msg.sender->GetInterface(L"Text"));
    const CSkinString* target =
        text != nullptr ? text->GetLinkContent(static_cast<int>(msg.wParam)) : nullptr;
    // A real program would open it; the gallery only shows where it leads.
    if (target != nullptr) ShowChoice(CSkinString(L"Link: ") + *target);
}

void CGalleryWindow::OnPlayerReturn(TNotifyUI& msg) {
    ShowChoice(CSkinString(L"Hello, ") + msg.sender->GetText());
}

void CGalleryWindow::OnOpenLayered(TNotifyUI&) {
    // Still open: brought back rather than opened twice.
    if (::IsWindow(m_layered) && ::GetWindow(m_layered, GW_OWNER) == GetHWND()) {
        ::ShowWindow(m_layered, SW_SHOWNORMAL);
        return;
    }
    // Owned by this window, it closes with it; it deletes itself when it goes. Should
    // creation fail once begun, the window's end has deleted it already.
    auto* layered = new CLayeredWindow(m_skinFolder);
    m_layered = layered->Create(GetHWND(), L"SkinUI Layered Window", WS_POPUP, WS_EX_TOOLWINDOW);
    if (m_layered == nullptr) return;
    layered->CenterWindow();
    layered->ShowWindow();
}

void CGalleryWindow::ShowChoice(const CSkinString& text) {
    if (CControlUI* choice = Find<CControlUI>(L"choice")) choice->SetText(text);
}
