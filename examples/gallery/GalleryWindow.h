// The gallery's main window: every control of the skin on four tabs, a status line that
// names each notification, and a few handlers that make the controls work together.
#pragma once

#include <SkinUI.h>

class CGalleryWindow : public SkinUI::WindowImplBase {
public:
    /// skinFolder: the folder of gallery.xml and its images, relative to the program or
    /// absolute, ending with a separator.
    explicit CGalleryWindow(const wchar_t* skinFolder = L"skin\\");

protected:
    const wchar_t* GetWndClassName() const override { return L"SkinUIGallery"; }
    SkinUI::CSkinString GetSkinDirectory() const override { return m_skinFolder; }
    SkinUI::CSkinString GetSkinXmlName() override { return L"gallery.xml"; }

    /// Fills the server list: its rows come from code, one text per column.
    void InitWindow() override;
    /// Writes "<sender>: <type>" into the status line (focus moves aside), then runs the
    /// map's handler.
    void Notify(SkinUI::TNotifyUI& msg) override;
    /// The program ends with its main window.
    void OnFinalMessage(HWND window) override;
    /// Shows the maximise or the restore button, whichever applies.
    LRESULT OnSize(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled) override;

private:
    void OnTabChanged(SkinUI::TNotifyUI& msg);
    void OnUnlock(SkinUI::TNotifyUI& msg);
    void OnVolume(SkinUI::TNotifyUI& msg);
    void OnItemSelect(SkinUI::TNotifyUI& msg);
    void OnLink(SkinUI::TNotifyUI& msg);
    void OnPlayerReturn(SkinUI::TNotifyUI& msg);
    void OnOpenLayered(SkinUI::TNotifyUI& msg);

    /// Shows what was chosen last, beside the status line.
    void ShowChoice(const SkinUI::CSkinString& text);
    template <class T> T* Find(const wchar_t* name) {
        return static_cast<T*>(m_PaintManager.FindControl(name));
    }

    SkinUI::CSkinString m_skinFolder;
    HWND m_layered = nullptr; ///< the layered window, while it is open

    SKIN_DECLARE_MESSAGE_MAP()
};
