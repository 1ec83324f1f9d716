#include "core/CommonControls.h"

#include <commctrl.h>

namespace SkinUI {

bool LoadCommonControls(DWORD classes) {
    using InitCommonControlsExProc = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    static InitCommonControlsExProc initialise = nullptr;
    if (initialise == nullptr) {
        // A failed load is tried again next time.
        const HMODULE module =
            ::LoadLibraryExW(L"comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (module == nullptr) return false;
        // Through the generic function pointer type, which any entry point converts to.
        using AnyProc = void (*)();
        initialise = reinterpret_cast<InitCommonControlsExProc>(
            reinterpret_cast<AnyProc>(::GetProcAddress(module, "InitCommonControlsEx")));
        if (initialise == nullptr) return false;
    }
    const INITCOMMONCONTROLSEX request{sizeof(request), classes};
    return initialise(&request) != FALSE;
}

} // namespace SkinUI
