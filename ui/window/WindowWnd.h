// Binds one object to one native window: registers its class, creates or subclasses the
// window and routes every message to HandleMessage.
#pragma once

#include <windows.h>

namespace SkinUI {

class CWindowWnd {
public:
    CWindowWnd() = default;
    /// Copies the binding fields; no window is duplicated.
    CWindowWnd(const CWindowWnd&) = default;
    CWindowWnd& operator=(const CWindowWnd&) = default;
    virtual ~CWindowWnd() = default;

    /// The bound window; null while unbound.
    HWND GetHWND() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    /// Registers GetWndClassName() with __WndProc; an existing class counts as success.
    bool RegisterWindowClass();
    /// Registers GetWndClassName() as a copy of GetSuperClassName() (a system class or
    /// one of the instance) whose messages go through __ControlProc.
    bool RegisterSuperclass();

    /// Registers the class and creates the window with this object as its creation
    /// parameter; null when either fails.
    HWND Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, const RECT& rc,
                HMENU menu = nullptr);
    HWND Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, int x = CW_USEDEFAULT,
                int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT,
                HMENU menu = nullptr);
    /// Created at 0,0 with no size: skinned windows size themselves.
    HWND CreateSkinWindow(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle);
    /// Takes over the messages of an existing window; null (and unbound) on failure.
    HWND Subclass(HWND window);
    /// Gives a subclassed window its own procedure back, while it exists.
    void Unsubclass();

    void ShowWindow(bool show = true, bool takeFocus = true);
    /// Shows the window with its owner disabled until it closes; returns the result code
    /// given to Close. A WM_QUIT met on the way ends the loop and is posted again.
    UINT ShowModal();
    /// Posts WM_CLOSE carrying the result code.
    void Close(UINT result = IDOK);
    /// Centres on the owner, else on the monitor's work area, kept inside the work area.
    void CenterWindow();
    /// Sets the big and small icons from an icon resource of the instance. The window owns
    /// them: they are destroyed when it is, or when SetIcon replaces them.
    void SetIcon(UINT resourceId);
    /// Resizes so the client area is cx by cy; -1 keeps that dimension.
    void ResizeClient(int cx = -1, int cy = -1);

    LRESULT SendMessageW(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT PostMessageW(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

protected:
    virtual const wchar_t* GetWndClassName() const = 0;
    /// The class to super-class, or null for a class of its own.
    virtual const wchar_t* GetSuperClassName() const { return nullptr; }
    virtual UINT GetClassStyle() const { return 0; }
    /// Every message of the window but WM_NCDESTROY; the default passes it to the
    /// previous window procedure.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    /// The last call for the window, after it is destroyed; objects may delete themselves.
    virtual void OnFinalMessage(HWND hWnd);

    static LRESULT CALLBACK __WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK __ControlProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    WNDPROC m_OldWndProc = ::DefWindowProcW; ///< where HandleMessage passes messages on
    bool m_bSubclassed = false;              ///< bound by Subclass, not by Create
};

} // namespace SkinUI
