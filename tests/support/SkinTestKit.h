// Test-only building blocks for windows built by hand from controls: a control that
// records the events it gets, a minimal container that places children where their
// fixed position says, and a window that hosts a paint manager. Header-only, for test
// executables that link the framework.
#pragma once

#include <windows.h>

#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "control/ControlUI.h"
#include "core/StdPtrArray.h"
#include "window/PaintManagerUI.h"
#include "window/WindowWnd.h"

namespace skintest {

using SkinUI::CControlUI;
using SkinUI::CPaintManagerUI;
using SkinUI::TEventUI;
using SkinUI::TNotifyUI;

// One event as a control received it.
struct SeenEvent {
    int type;
    CControlUI* sender;
    POINT mousePos;
    wchar_t key;
    WORD keyState;
    WPARAM wParam;
    LPARAM lParam;
};

// A control that records every event it gets and can be given a class name, control
// flags and a hook run on each event.
class RecordingControl : public CControlUI {
public:
    explicit RecordingControl(const wchar_t* name = L"", UINT flags = 0,
                              const wchar_t* className = L"RecordingUI")
        : m_flags(flags), m_className(className) {
        SetName(name);
    }

    const wchar_t* GetClass() const override { return m_className.c_str(); }
    UINT GetControlFlags() const override { return m_flags; }
    bool Activate() override {
        ++activations;
        return CControlUI::Activate();
    }
    void DoEvent(TEventUI& event) override {
        events.push_back(SeenEvent{event.type, event.sender, event.mousePos, event.key,
                                   event.keyState, event.wParam, event.lParam});
        if (onEvent) onEvent(event);
        CControlUI::DoEvent(event);
    }

    // Event types in the order they came.
    std::vector<int> Types() const {
        std::vector<int> types;
        for (const SeenEvent& seen : events)
            types.push_back(seen.type);
        return types;
    }
    int Count(int type) const {
        int count = 0;
        for (const SeenEvent& seen : events)
            count += seen.type == type ? 1 : 0;
        return count;
    }
    const SeenEvent* Last(int type) const {
        for (auto it = events.rbegin(); it != events.rend(); ++it)
            if (it->type == type) return &*it;
        return nullptr;
    }

    std::vector<SeenEvent> events;
    std::function<void(TEventUI&)> onEvent;
    int activations = 0;

private:
    UINT m_flags;
    std::wstring m_className;
};

// A container in its simplest form: owns its children, places each at its fixed position
// and size inside itself (all of itself when no size is fixed), and searches them the
// way containers do.
class TestContainer : public RecordingControl {
public:
    explicit TestContainer(const wchar_t* name = L"", UINT flags = 0)
        : RecordingControl(name, flags, L"TestContainerUI") {}
    ~TestContainer() override {
        for (int i = 0; i < m_children.GetSize(); ++i)
            delete static_cast<CControlUI*>(m_children[i]);
    }

    // Adds a child placed at (x, y) with size cx by cy; attaches it when this container
    // is attached.
    CControlUI* Add(CControlUI* child, int x = 0, int y = 0, int cx = 0, int cy = 0) {
        child->SetFixedXY(SIZE{x, y});
        child->SetFixedWidth(cx);
        child->SetFixedHeight(cy);
        m_children.Add(child);
        if (GetManager() != nullptr) GetManager()->InitControls(child, this);
        NeedUpdate();
        return child;
    }
    // Unlinks a child without deleting it.
    bool Remove(CControlUI* child) {
        const int index = m_children.Find(child);
        return index >= 0 && m_children.Remove(index);
    }
    int GetCount() const { return m_children.GetSize(); }
    CControlUI* GetItemAt(int index) const {
        return static_cast<CControlUI*>(m_children.GetAt(index));
    }

    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override {
        for (int i = 0; i < m_children.GetSize(); ++i)
            GetItemAt(i)->SetManager(manager, this, init);
        CControlUI::SetManager(manager, parent, init);
    }

    void SetPos(RECT rect) override {
        CControlUI::SetPos(rect);
        for (int i = 0; i < m_children.GetSize(); ++i) {
            CControlUI* child = GetItemAt(i);
            const SIZE xy = child->GetFixedXY();
            const int cx = child->GetFixedWidth();
            const int cy = child->GetFixedHeight();
            RECT place{rect.left + xy.cx, rect.top + xy.cy, 0, 0};
            place.right = cx > 0 ? place.left + cx : rect.right;
            place.bottom = cy > 0 ? place.top + cy : rect.bottom;
            child->SetPos(place);
        }
    }

    CControlUI* FindControl(SkinUI::FINDCONTROLPROC proc, void* data, UINT flags) override {
        if ((flags & SkinUI::UIFIND_VISIBLE) != 0 && !IsVisible()) return nullptr;
        if ((flags & SkinUI::UIFIND_ENABLED) != 0 && !IsEnabled()) return nullptr;
        if ((flags & SkinUI::UIFIND_HITTEST) != 0 &&
            !::PtInRect(&GetPos(), *static_cast<const POINT*>(data)))
            return nullptr;
        if ((flags & SkinUI::UIFIND_ME_FIRST) != 0) {
            if (CControlUI* self = CControlUI::FindControl(proc, data, flags)) return self;
        }
        const int count = m_children.GetSize();
        for (int n = 0; n < count; ++n) {
            const int i = (flags & SkinUI::UIFIND_TOP_FIRST) != 0 ? count - 1 - n : n;
            if (CControlUI* found = GetItemAt(i)->FindControl(proc, data, flags)) return found;
        }
        if ((flags & SkinUI::UIFIND_ME_FIRST) != 0) return nullptr;
        return CControlUI::FindControl(proc, data, flags);
    }

private:
    SkinUI::CStdPtrArray m_children; // owned CControlUI*
};

// A window that hosts a paint manager, like the skinned window base: the manager sees
// every message first. The tree, if any, is attached on WM_CREATE.
class HostWindow : public SkinUI::CWindowWnd, public SkinUI::INotifyUI {
public:
    explicit HostWindow(CControlUI* root = nullptr) : m_root(root) {}

    // Creates the window at (x, y) with a client area of cx by cy and shows it.
    HWND Open(int cx = 400, int cy = 300, HWND parent = nullptr, DWORD style = WS_POPUP,
              int x = 100, int y = 100) {
        if (Create(parent, L"host", style, 0, x, y, cx, cy) == nullptr) return nullptr;
        ResizeClient(cx, cy);
        ::ShowWindow(GetHWND(), SW_SHOWNOACTIVATE);
        return GetHWND();
    }
    void Notify(TNotifyUI& msg) override {
        notifications.push_back(msg.type.GetData());
        senders.push_back(msg.sender);
        if (onNotify) onNotify(msg);
    }

    CPaintManagerUI manager;
    std::vector<std::wstring> notifications;
    std::vector<CControlUI*> senders;
    std::function<void(TNotifyUI&)> onNotify;
    std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)> onMessage; // true: handled
    std::vector<UINT> seenMessages;
    bool finalMessage = false;

protected:
    const wchar_t* GetWndClassName() const override { return L"SkinTestHost"; }
    UINT GetClassStyle() const override { return CS_DBLCLKS; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        seenMessages.push_back(message);
        if (message == WM_CREATE) {
            manager.Init(GetHWND());
            manager.AddNotifier(this);
            if (m_root != nullptr) manager.AttachDialog(m_root);
        }
        LRESULT result = 0;
        if (onMessage && onMessage(message, wParam, lParam, result)) return result;
        if (manager.MessageHandler(message, wParam, lParam, result)) return result;
        return CWindowWnd::HandleMessage(message, wParam, lParam);
    }
    void OnFinalMessage(HWND) override { finalMessage = true; }

private:
    CControlUI* m_root;
};

// Runs the queued messages of this thread through the framework's pre-translation, as
// the message loop would, until the queue is empty. Timers due faster than a loaded
// machine handles them keep the queue from ever emptying, so a second of pumping ends it.
inline void PumpMessages() {
    const DWORD start = ::GetTickCount();
    MSG msg{};
    while (::GetTickCount() - start < 1000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (CPaintManagerUI::TranslateMessage(&msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Pumps messages until done() holds or the time runs out; answers done().
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs) return false;
        PumpMessages();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

inline LPARAM PointParam(int x, int y) {
    return MAKELPARAM(x, y);
}

// A client point of a window as screen coordinates, packed like a wheel message's lParam.
inline LPARAM ScreenPointParam(HWND window, int x, int y) {
    POINT point{x, y};
    ::ClientToScreen(window, &point);
    return MAKELPARAM(point.x, point.y);
}

} // namespace skintest
