#include "ProbeWindows.h"

namespace Probe {

namespace {

struct TopLevelSearch {
    const WindowQuery* query;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<TopLevelSearch*>(param);
    const WindowQuery& query = *search->query;
    if (window == query.excluded) return TRUE;
    if (query.visibleOnly && !IsWindowVisible(window)) return TRUE;
    if (query.process != 0 && ProcessOf(window) != query.process) return TRUE;
    if (query.otherThan != 0 && ProcessOf(window) == query.otherThan) return TRUE;
    if (query.owner != nullptr && GetWindow(window, GW_OWNER) != query.owner) return TRUE;
    if (!query.className.empty() && ClassName(window) != query.className) return TRUE;
    if (!query.text.empty() && WindowText(window) != query.text) return TRUE;
    search->found.push_back(window);
    return TRUE;
}

struct DescendantSearch {
    const std::wstring* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDescendant(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<DescendantSearch*>(param);
    if (search->className->empty() || ClassName(window) == *search->className)
        search->found.push_back(window);
    return TRUE;
}

} // namespace

std::vector<HWND> FindTopLevel(const WindowQuery& query) {
    TopLevelSearch search{&query, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> FindDescendants(HWND parent, const std::wstring& className) {
    // EnumChildWindows already walks the whole subtree.
    DescendantSearch search{&className, {}};
    EnumChildWindows(parent, CollectDescendant, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring WindowText(HWND window) {
    // WM_GETTEXT crosses processes, and a long address must come back whole.
    const LRESULT length =
        SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 256, L'\0');
    const int copied = GetWindowTextW(window, &text[0], static_cast<int>(text.size()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 255);
    return name;
}

DWORD ProcessOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

std::wstring RectText(const RECT& rect) {
    return std::to_wstring(rect.left) + L"," + std::to_wstring(rect.top) + L"," +
           std::to_wstring(rect.right) + L"," + std::to_wstring(rect.bottom);
}

std::wstring Describe(HWND window) {
    if (!IsWindow(window)) return L"hwnd=" + std::to_wstring(UINT_PTR(window)) + L" gone=1";
    RECT bounds{};
    GetWindowRect(window, &bounds);
    RECT client{};
    GetClientRect(window, &client);
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    std::wstring line = L"hwnd=" + std::to_wstring(UINT_PTR(window));
    line += L" pid=" + std::to_wstring(ProcessOf(window));
    line += L" visible=" + std::to_wstring(IsWindowVisible(window) ? 1 : 0);
    line += L" iconic=" + std::to_wstring(IsIconic(window) ? 1 : 0);
    line += L" zoomed=" + std::to_wstring(IsZoomed(window) ? 1 : 0);
    line += L" popup=" + std::to_wstring((style & WS_POPUP) ? 1 : 0);
    line += L" layered=" + std::to_wstring((exStyle & WS_EX_LAYERED) ? 1 : 0);
    line += L" owner=" + std::to_wstring(UINT_PTR(GetWindow(window, GW_OWNER)));
    line += L" window=" + RectText(bounds);
    line += L" client=" + std::to_wstring(client.right) + L"," + std::to_wstring(client.bottom);
    line += L" class=" + ClassName(window);
    line += L" text=" + WindowText(window);
    return line;
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(15);
    }
}

} // namespace Probe
