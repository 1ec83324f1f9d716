// Binds one object to one native window: registers its class, creates or
// subclasses the window and routes every message to HandleMessage.
#pragma once

#include <windows.h>

namespace SkinUI {

class CWindowWnd {
public:
    CWindowWnd() = default;
    CWindowWnd(const CWindowWnd&) = default;
    CWindowWnd& operator=(const CWindowWnd&) = default;
    virtual ~CWindowWnd() = default;

    HWND GetHWND() const { return hWnd_; }
    operator HWND() const { return hWnd_; }

    // Registers GetWndClassName() with __WndProc; an existing class counts as success.
    bool RegisterWindowClass();
    // Registers GetWndClassName() as a copy of GetSuperClassName() with __ControlProc.
    bool RegisterSuperclass();

    HWND Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, const RECT& rc,
                HMENU menu = nullptr);
    HWND Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, int x = CW_USEDEFAULT,
                int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT,
                HMENU menu = nullptr);
    // Created at 0,0 with no size: skinned windows size themselves.
    HWND CreateSkinWindow(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle);
    // Takes over the messages of an existing window; null on failure.
    HWND Subclass(HWND window);
    void Unsubclass();

    void ShowWindow(bool show = true, bool takeFocus = true);
    // Shows the window with its owner disabled until it closes; returns the
    // result code given to Close.
    UINT ShowModal();
    // Posts WM_CLOSE carrying the result code.
    void Close(UINT result = IDOK);
    // Centres on the owner, else on the monitor's work area, kept inside the work area.
    void CenterWindow();
    void SetIcon(UINT resourceId);
    // Resizes so the client area is cx by cy; -1 keeps that dimension.
    void ResizeClient(int cx = -1, int cy = -1);

    LRESULT SendMessageW(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT PostMessageW(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

protected:
    virtual const wchar_t* GetWndClassName() const = 0;
    virtual const wchar_t* GetSuperClassName() const { return nullptr; }
    virtual UINT GetClassStyle() const { return 0; }
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The last call for the window, after it is destroyed; objects may delete themselves here.
    virtual void OnFinalMessage(HWND hWnd);

    static LRESULT CALLBACK __WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK __ControlProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hWnd_ = nullptr;
    WNDPROC oldWndProc_ = ::DefWindowProcW;
    bool subclassed_ = false;

private:
    // Common end of both procedures at WM_NCDESTROY.
    static LRESULT FinalMessage(CWindowWnd* window, HWND hWnd, UINT message, WPARAM wParam,
                                LPARAM lParam);
};

} // namespace SkinUI
