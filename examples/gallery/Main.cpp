// The gallery: every control of SkinUI in one skinned, resizable window, from the skin
// folder beside the program.
#include "GalleryWindow.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, wchar_t*, int) {
    SkinUI::CPaintManagerUI::SetInstance(instance);
    CGalleryWindow window;
    if (window.Create(nullptr, L"SkinUI Gallery",
                      WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME,
                      0) == nullptr)
        return 1;
    window.CenterWindow();
    window.ShowWindow();
    SkinUI::CPaintManagerUI::MessageLoop();
    SkinUI::CPaintManagerUI::Term();
    return 0;
}
