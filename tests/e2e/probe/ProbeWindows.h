// Window queries the end-to-end driver asks from inside Wine: finding another process's
// windows, describing their state, and waiting for a state with a time limit.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace Probe {

// What a top-level window search looks for; empty strings match anything.
struct WindowQuery {
    std::wstring className;
    std::wstring text;
    HWND owner = nullptr;    // only windows owned by this one
    HWND excluded = nullptr; // never this one
    DWORD process = 0;       // only windows of this process
    DWORD otherThan = 0;     // never windows of this process
    bool visibleOnly = false;
};

// Top-level windows matching the query, in Z order.
std::vector<HWND> FindTopLevel(const WindowQuery& query);

// Descendants of parent (children, grandchildren...) with the class name (any when empty).
std::vector<HWND> FindDescendants(HWND parent, const std::wstring& className);

std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
DWORD ProcessOf(HWND window);

// One line "key=value ..." with the state the driver checks; the text comes last.
std::wstring Describe(HWND window);

// Calls condition every few milliseconds until it holds or timeoutMs has passed.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs);

std::wstring RectText(const RECT& rect);

} // namespace Probe
