// The life of a native window that a control lays over itself while it is edited (the
// native edit, the date picker). The window object owns itself and goes with its window;
// the control holds only a pointer to it. Either may go first: the control's destructor
// calls Detach, and the window's end tells a control that is still there. The object is
// deleted only once no handler of it is on the stack, so a handler may destroy the window,
// or the control, and return safely.
#pragma once

#include <windows.h>

#include "window/PaintManagerUI.h"
#include "window/WindowWnd.h"

namespace SkinUI {

/// `TOwner` is the control; it names this class a friend and keeps its window in
/// `m_pWindow`.
template <typename TOwner> class COwnedNativeWnd : public CWindowWnd {
public:
    /// The owner is going away: forget it and destroy the window (and with it this object).
    void Detach() {
        m_pOwner = nullptr;
        if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    }

protected:
    /// A handler of this object is on the stack while one lives.
    class CBusyScope {
    public:
        explicit CBusyScope(COwnedNativeWnd& window) : m_window(window) { ++m_window.m_nBusy; }
        ~CBusyScope() {
            --m_window.m_nBusy;
            m_window.DeleteIfFinished();
        }
        CBusyScope(const CBusyScope&) = delete;
        CBusyScope& operator=(const CBusyScope&) = delete;

    private:
        COwnedNativeWnd& m_window;
    };

    /// Opens the window for `owner` over `area` (a child of the owner's paint window)
    /// unless it is open already, lets the derived class set it up, shows and focuses it.
    /// False when it cannot be made or ends while being set up: the object is then gone
    /// (or goes as its last handler returns) and the owner's pointer to it is cleared.
    bool Open(TOwner* owner, DWORD style, const RECT& area) {
        m_pOwner = owner;
        bool open = false;
        {
            CBusyScope busy(*this);
            CPaintManagerUI* manager = owner->GetManager();
            const HWND parent = manager != nullptr ? manager->GetPaintWindow() : nullptr;
            if (m_hWnd == nullptr &&
                (parent == nullptr || Create(parent, nullptr, style, 0, area) == nullptr)) {
                if (owner->m_pWindow == this) owner->m_pWindow = nullptr;
                m_pOwner = nullptr;
                if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
                m_bFinished = true; // deleted as the scope ends
                return false;
            }
            SetUp(*owner, *manager);
            ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
            ::SetFocus(m_hWnd);
            m_bInit = true;
            open = !m_bFinished;
        }
        return open;
    }

    /// Gives the new or reopened window the owner's settings.
    virtual void SetUp(TOwner& owner, CPaintManagerUI& manager) = 0;
    /// The messages of the window, while a busy scope keeps this object alive.
    virtual LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) final {
        CBusyScope busy(*this);
        return Handle(message, wParam, lParam);
    }

    /// Tells the owner the window is gone, then deletes this object once no message of it
    /// is being handled any more.
    void OnFinalMessage(HWND) override {
        if (TOwner* owner = m_pOwner) {
            m_pOwner = nullptr;
            if (owner->m_pWindow == this) owner->m_pWindow = nullptr;
            owner->Invalidate();
        }
        m_bFinished = true;
        DeleteIfFinished();
    }

    TOwner* m_pOwner = nullptr; ///< not owned; null once the owner is gone
    bool m_bInit = false;       ///< set up: what happens now is the user's doing

private:
    void DeleteIfFinished() {
        if (m_bFinished && m_nBusy == 0) delete this;
    }

    int m_nBusy = 0;          ///< handlers of this object on the stack
    bool m_bFinished = false; ///< the window is destroyed, or was never made
};

} // namespace SkinUI
