// A list hosted as the root of a shown 300 by 300 window, filled by each test, with
// helpers that send real mouse, key and wheel messages and read the notifications.
#pragma once

#include "HostedTree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/ListLabelElementUI.h"
#include "control/ListTextElementUI.h"
#include "control/ListUI.h"

// One notification as the window heard it.
struct HeardNotify {
    std::wstring type;
    SkinUI::CControlUI* sender;
    WPARAM wParam;
    LPARAM lParam;
};

class ListFixture : public HostedTree {
protected:
    // A list without a header row, of `count` label items 20 pixels high named "0", "1"...
    // (item i at y = 20 i), hosted and laid out.
    SkinUI::CListUI* HostLabels(int count, const wchar_t* attributes = L"") {
        list = new SkinUI::CListUI;
        list->SetAttribute(L"header", L"hidden");
        list->ApplyAttributeList(attributes);
        for (int i = 0; i < count; ++i)
            list->Add(Label(i));
        HostList();
        return list;
    }
    static SkinUI::CListLabelElementUI* Label(int i) {
        auto* item = new SkinUI::CListLabelElementUI;
        item->SetFixedHeight(20);
        item->SetText(std::to_wstring(i).c_str());
        return item;
    }
    void HostList() {
        Host(list);
        host->onNotify = [this](SkinUI::TNotifyUI& msg) {
            heard.push_back(HeardNotify{msg.type.GetData(), msg.sender, msg.wParam, msg.lParam});
        };
        Layout();
        heard.clear();
    }
    SkinUI::CControlUI* Item(int i) const { return list->GetItemAt(i); }
    SkinUI::IListItemUI* ListItem(int i) const {
        return static_cast<SkinUI::IListItemUI*>(Item(i)->GetInterface(L"ListItem"));
    }
    bool Selected(int i) const { return ListItem(i)->IsSelected(); }
    // Indexes of the selected items, in order.
    std::vector<int> SelectedItems() const {
        std::vector<int> indexes;
        for (int i = 0; i < list->GetCount(); ++i)
            if (Selected(i)) indexes.push_back(i);
        return indexes;
    }
    // Where the first notification of a type came, or -1.
    int Order(const wchar_t* type) const {
        for (size_t i = 0; i < heard.size(); ++i)
            if (heard[i].type == type) return static_cast<int>(i);
        return -1;
    }
    // The notifications of one type, in order.
    std::vector<HeardNotify> Heard(const wchar_t* type) const {
        std::vector<HeardNotify> found;
        for (const HeardNotify& one : heard)
            if (one.type == type) found.push_back(one);
        return found;
    }
    // Mouse messages at a point of the window, with a key-state mask.
    void Press(int x, int y, WPARAM keys = 0) {
        ::SendMessageW(host->GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON | keys,
                       skintest::PointParam(x, y));
        ::SendMessageW(host->GetHWND(), WM_LBUTTONUP, keys, skintest::PointParam(x, y));
    }
    void Key(WPARAM key) { ::SendMessageW(host->GetHWND(), WM_KEYDOWN, key, 0); }
    // A key with Shift held, as the keyboard state says.
    void ShiftKey(WPARAM key) {
        BYTE state[256] = {};
        ::GetKeyboardState(state);
        state[VK_SHIFT] = 0x80;
        ::SetKeyboardState(state);
        Key(key);
        state[VK_SHIFT] = 0;
        ::SetKeyboardState(state);
    }
    void Wheel(bool down) {
        const short delta = static_cast<short>(down ? -WHEEL_DELTA : WHEEL_DELTA);
        ::SendMessageW(host->GetHWND(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta),
                       skintest::ScreenPointParam(host->GetHWND(), 100, 100));
    }

    SkinUI::CListUI* list = nullptr; // owned by the window's manager
    std::vector<HeardNotify> heard;
};
