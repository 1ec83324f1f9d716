// A control plug-in for the tests: exports the factory, which knows no controls.

namespace SkinUI {
class CControlUI;
}

extern "C" __declspec(dllexport) SkinUI::CControlUI* CreateControl(const wchar_t* /*className*/) {
    return nullptr;
}
