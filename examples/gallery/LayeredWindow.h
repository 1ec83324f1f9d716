// A second window with per-pixel alpha and a shadow; it deletes itself when it closes.
#pragma once

#include <SkinUI.h>

class CLayeredWindow : public SkinUI::WindowImplBase {
public:
    explicit CLayeredWindow(const SkinUI::CSkinString& skinFolder) : m_skinFolder(skinFolder) {}

protected:
    const wchar_t* GetWndClassName() const override { return L"SkinUIGalleryLayered"; }
    SkinUI::CSkinString GetSkinDirectory() const override { return m_skinFolder; }
    SkinUI::CSkinString GetSkinXmlName() override { return L"layered.xml"; }
    void OnFinalMessage(HWND window) override {
        WindowImplBase::OnFinalMessage(window);
        delete this;
    }

private:
    SkinUI::CSkinString m_skinFolder;
};
