// The smallest SkinUI program: one skinned window from the skin folder beside it.
#include <skinui/SkinUI.h>

using namespace SkinUI;

class CHelloWindow : public WindowImplBase {
protected:
    const wchar_t* GetWndClassName() const override { return L"HelloSkinUI"; }
    CSkinString GetSkinXmlName() override { return L"hello.xml"; }
    CSkinString GetSkinDirectory() const override {
        wchar_t path[MAX_PATH];
        DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        while (length > 0 && path[length - 1] != L'\\') --length;
        return CSkinString(path, static_cast<int>(length)) + L"skin\\";
    }
    void OnFinalMessage(HWND window) override {
        WindowImplBase::OnFinalMessage(window);
        ::PostQuitMessage(0);
    }
    void Notify(TNotifyUI& msg) override {
        if (msg.type == L"click" && msg.sender->GetName() == L"hello") {
            msg.sender->SetText(L"Hello again!");
        }
        WindowImplBase::Notify(msg);
    }
};

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, wchar_t*, int) {
    CPaintManagerUI::SetInstance(instance);
    CHelloWindow window;
    if (window.Create(nullptr, L"Hello SkinUI", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, 0) ==
        nullptr)
        return 1;
    window.CenterWindow();
    window.ShowWindow();
    CPaintManagerUI::MessageLoop();
    CPaintManagerUI::Term();
    return 0;
}
