// What the client's three windows share: the window class "Varnel", the skin archive
// compiled into the executable, and objects that free themselves with their window.
#pragma once

#include "window/WindowImplBase.h"

class CMicroClientFrame : public SkinUI::WindowImplBase {
protected:
    const wchar_t* GetWndClassName() const override { return L"Varnel"; }
    /// Deletes the object after the base has let go of its window.
    void OnFinalMessage(HWND hWnd) override {
        WindowImplBase::OnFinalMessage(hWnd);
        delete this;
    }
    SkinUI::CSkinString GetSkinDirectory() const override { return L".\\"; }
    SkinUI::UILIB_RESOURCETYPE GetResourceType() const override {
        return SkinUI::UILIB_FROM_ZIPRESOURCE;
    }
    /// The "ZIPRES" resource holding the skin archive.
    DWORD GetResourceID() const override { return 101; }
};
